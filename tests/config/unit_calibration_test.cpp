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
    struct Case {
        const char* Text;
        std::optional<double> Value;
    };
    const Case cases[] = {
        {"3360,1", 3360.1},
        {"-10", -10},
        {"0", 0},
        {",5", 0.5},
        {"1E-0006", 1e-6},
        {"-1,2346E-0005", -1.2346e-5},
        {"12345", 12345},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"1,,2", std::nullopt},
        {"1,2,3", std::nullopt},
        {"3360.1", std::nullopt},
        {"1-2", std::nullopt},
        {"--1", std::nullopt},
        {"1E999", std::nullopt},
        {"NAN", std::nullopt},
        {"E5", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(ParseCalibrationText(QString::fromUtf8(c.Text), Comma), c.Value);
    }
    // With "." as the window's separator the roles swap.
    EXPECT_EQ(ParseCalibrationText(QStringLiteral("3360.1"), QChar('.')), 3360.1);
    EXPECT_EQ(ParseCalibrationText(QStringLiteral("3360,1"), QChar('.')), std::nullopt);
}

TEST(ApplyCalibration, AnUnchangedOkKeepsFiveSignificantDigits) {
    TKavCfg cfg = Defaults();
    cfg.RazvUnits[3].X1 = 3360.125;
    const TCalibrationInput shown = CalibrationInputFrom(cfg, Comma);
    EXPECT_EQ(shown.MinTexts[Row(TUnitGroup::Razv, 3)], QStringLiteral("3360,1"));
    ASSERT_FALSE(ApplyCalibration(cfg, shown, Comma));
    EXPECT_EQ(cfg.RazvUnits[3].X1, 3360.1);
    // Sweep unit 0's own line runs over codes 0..65535; the other sweep
    // units are stated at unit 0's X1 and X2, codes 0 and 65519.
    EXPECT_DOUBLE_EQ(cfg.RazvUnits[0].KoeffK, 65519.0 / 65535.0);
    EXPECT_DOUBLE_EQ(UnitValue(cfg.RazvUnits[3], 0), 3360.1);
    EXPECT_DOUBLE_EQ(UnitValue(cfg.RazvUnits[3], 65519), 3300);
}

TEST(ApplyCalibration, DerivedUnitsUseTheirUnitZerosNewValuesAndSelectionsAreStored) {
    TKavCfg cfg = Defaults();
    TCalibrationInput in = CalibrationInputFrom(cfg, Comma);
    // ADC unit 0 now spans codes 0..2047: unit 1 reads 10 V at code 2047.
    in.MaxTexts[Row(TUnitGroup::ADC, 0)] = QStringLiteral("2047");
    in.MinTexts[Row(TUnitGroup::Amp, 1)] = QStringLiteral("-2,5");
    in.Selected = {3, 1, -1, 4};
    cfg.CorrUnit = 1;
    ASSERT_FALSE(ApplyCalibration(cfg, in, Comma));
    EXPECT_DOUBLE_EQ(UnitValue(cfg.ADCUnits[1], 2047), 10);
    EXPECT_DOUBLE_EQ(UnitValue(cfg.AmpUnits[1], -2047), -2.5);
    EXPECT_EQ(cfg.RazvUnit, 3);
    EXPECT_EQ(cfg.AmpUnit, 1);
    EXPECT_EQ(cfg.CorrUnit, 1); // nothing selected: the stored index stays
    EXPECT_EQ(cfg.ADCUnit, 4);
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
    const int amp0 = Row(TUnitGroup::Amp, 0);
    const int razv0 = Row(TUnitGroup::Razv, 0);
    const int adc4 = Row(TUnitGroup::ADC, 4);
    const Case cases[] = {
        {"empty Max of the last row", adc4, true, "", TCalibrationFault::NotANumber, adc4,
         "Страница \"Вход АЦП\", единица \"Напряженность поля, Э\": в поле Max не число (\"\")."},
        {"two commas", Row(TUnitGroup::Corr, 1), false, "1,,5", TCalibrationFault::NotANumber,
         Row(TUnitGroup::Corr, 1),
         "Страница \"Коррекция\", единица \"Напряжение, мВ\": в поле Min не число (\"1,,5\")."},
        {"equal amplitude codes", amp0, true, "-2047", TCalibrationFault::EqualReferences, amp0,
         "Страница \"Спектр\", единица \"Напряжение, отсчет АЦП\": значения Min и Max равны. По "
         "ним пересчитываются единицы этой страницы, они должны различаться."},
        {"equal sweep codes", razv0, false, "65519", TCalibrationFault::EqualReferences, razv0,
         nullptr},
        {"codes beyond a float", razv0, true, "1E0040", TCalibrationFault::NoLine, razv0, nullptr},
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
        if (c.Fault == TCalibrationFault::NotANumber) {
            EXPECT_EQ(refusal->MaxField, c.Max);
            EXPECT_EQ(refusal->MinField, !c.Max);
        } else {
            EXPECT_TRUE(refusal->MinField && refusal->MaxField);
        }
        if (c.Warning) {
            EXPECT_EQ(CalibrationRefusalText(*refusal), QString::fromUtf8(c.Warning));
        }
        EXPECT_TRUE(cfg == before);
    }
}
