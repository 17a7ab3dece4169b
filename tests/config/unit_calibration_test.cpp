#include "config/settings_store.h"
#include "config/unit_calibration.h"
#include "qstring_printer.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

const QChar Comma(',');

TKavCfg Defaults() {
    TKavCfg cfg{};
    SetDefaults(cfg, QStringLiteral("/tmp"));
    return cfg;
}

int Row(TUnitGroup group, int unit) {
    return CalibrationRowOf(group, unit);
}

} // namespace

TEST(CalibrationText, ParsesWhatTheEditsShowAndNothingElse) {
    const std::pair<const char*, double> numbers[] = {
        {"3360,1", 3360.1}, {"-10", -10},      {"0", 0},
        {",5", 0.5},        {"1E-0006", 1e-6}, {"-1,2346E-0005", -1.2346e-5},
    };
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(ParseCalibrationText(QString::fromUtf8(text), Comma), value) << text;
    for (const char* text : {"", "-", "1,,2", "1,2,3", "3360.1", "1-2", "--1", "1E999", "NAN"})
        EXPECT_EQ(ParseCalibrationText(QString::fromUtf8(text), Comma), std::nullopt) << text;
    // With "." as the window's separator the roles swap.
    EXPECT_EQ(ParseCalibrationText(QStringLiteral("3360.1"), QChar('.')), 3360.1);
    EXPECT_EQ(ParseCalibrationText(QStringLiteral("3360,1"), QChar('.')), std::nullopt);
}

TEST(ApplyCalibration, RefusesBadFieldsAndChangesNothing) {
    struct Case {
        const char* Name;
        int Row;
        bool Max;
        const char* Text;
        TCalibrationFault Fault;
        int BlamedRow;
        const char* Warning;
    };
    const int razv0 = Row(TUnitGroup::Razv, 0);
    // Texts that are no number and equal codes are driven through the
    // dialog's own tests; here the values too large for a line.
    const Case cases[] = {
        {"equal sweep codes", razv0, false, "65519", TCalibrationFault::EqualReferences, razv0,
         "Страница \"Развёртка\", единица \"Ток электромагнита, отсчет ЦАП\": значения Min и "
         "Max равны. По ним пересчитываются единицы этой страницы, они должны различаться."},
        {"codes beyond a float", razv0, true, "1E0040", TCalibrationFault::NoLine, razv0,
         "Страница \"Развёртка\", единица \"Ток электромагнита, отсчет ЦАП\": по значениям "
         "Min и Max нельзя построить шкалу: числа слишком велики."},
        {"a line beyond a double", Row(TUnitGroup::ADC, 2), true, "1E0308",
         TCalibrationFault::NoLine, Row(TUnitGroup::ADC, 2), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TKavCfg cfg = Defaults();
        if (c.Row == Row(TUnitGroup::ADC, 2)) {
            // Reference codes 1e-30 apart and values 2e308 apart.
            cfg.ADCUnits[0].X2 = 1e-30;
            cfg.ADCUnits[2].X1 = -1e308;
        }
        const TKavCfg before = cfg;
        TCalibrationInput in = CalibrationInputFrom(cfg, Comma);
        // Changes before the bad field must not stick either.
        in.MinTexts[razv0] = QStringLiteral("5");
        in.MaxTexts[Row(TUnitGroup::Razv, 2)] = QStringLiteral("999");
        in.Selected = {2, 1, 1, 2};
        (c.Max ? in.MaxTexts : in.MinTexts)[c.Row] = QString::fromUtf8(c.Text);
        const auto refusal = ApplyCalibration(cfg, in, Comma);
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->Fault, c.Fault);
        EXPECT_EQ(refusal->Row, c.BlamedRow);
        EXPECT_TRUE(refusal->MinField && refusal->MaxField);
        if (c.Warning) {
            EXPECT_EQ(CalibrationRefusalText(*refusal), QString::fromUtf8(c.Warning));
        }
        EXPECT_TRUE(cfg == before);
    }
}
