#include "config/settings_store.h"
#include "processing/compare_setup_dialog.h"
#include "processing/fit_setup_dialog.h"
#include "processing/gliss_setup_dialog.h"
#include "processing/low_pass_setup_dialog.h"
#include "processing/min_max_setup_dialog.h"
#include "qstring_printer.h"
#include "view/qt_app.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

// The three processing option dialogs, driven through their controls.

namespace {

struct TProcessingSetupTest : ::testing::Test {
    TKavCfg Cfg{};

    void SetUp() override { SetDefaults(Cfg, QStringLiteral("/tmp")); }

    static void Retype(QSpinBox* spin, const char* text) {
        spin->selectAll();
        QTest::keyClicks(spin, QString::fromLatin1(text));
    }
    static void Tick(QCheckBox* box) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
};

} // namespace

TEST_F(TProcessingSetupTest, LowPassShowsAndStoresItsConstant) {
    TLowPassSetupForm d(Cfg);
    d.show();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Фильтр низкой чстоты"));
    EXPECT_EQ(d.findChild<QGroupBox*>()->title(),
              QStringLiteral("Постоянная времени фильтра в отсчетах развертки"));
    EXPECT_EQ(d.ConstEdit()->value(), 10); // the setting, not the field's minimum
    Retype(d.ConstEdit(), "5000");         // the digit that would leave 2..2000 is refused
    QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(Cfg.LPFConst, 500);
}

TEST_F(TProcessingSetupTest, GlissStoresItsConstantAndItsSwitch) {
    Cfg.GlissConst = 1; // from a hand-edited Kav.ini: shown at the bound
    TGlissSetupForm d(Cfg);
    d.show();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Сглаживание спектра"));
    EXPECT_EQ(d.ConstEdit()->value(), 2);
    QTest::keyClick(d.ConstEdit(), Qt::Key_Up);
    Tick(d.AutoBox());
    QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
    EXPECT_EQ(Cfg.GlissConst, 3);
    EXPECT_TRUE(Cfg.AutoGliss);
}

TEST_F(TProcessingSetupTest, MinMaxStepsByTenFromTheStoredValues) {
    TMinMaxSetupForm d(Cfg);
    d.show();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Поиск экстремумов"));
    EXPECT_EQ(d.NoiseEdit()->value(), 20);
    EXPECT_EQ(d.StepEdit()->value(), 100);
    QTest::keyClick(d.NoiseEdit(), Qt::Key_Up);
    QTest::keyClick(d.StepEdit(), Qt::Key_Down);
    Tick(d.AutoBox());
    QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
    EXPECT_EQ(Cfg.FindMaxNoise, 30);
    EXPECT_EQ(Cfg.FindMaxStep, 90);
    EXPECT_TRUE(Cfg.AutoMinMax);

    // The one instance shows the settings afresh at every opening.
    Cfg.FindMaxNoise = 5;
    Cfg.AutoMinMax = false;
    d.show();
    EXPECT_EQ(d.NoiseEdit()->value(), 10);
    EXPECT_FALSE(d.AutoBox()->isChecked());
}

TEST_F(TProcessingSetupTest, CancelChangesNothing) {
    const TKavCfg before = Cfg;
    TLowPassSetupForm low(Cfg);
    TGlissSetupForm gliss(Cfg);
    TMinMaxSetupForm minMax(Cfg);
    for (QDialog* d : {static_cast<QDialog*>(&low), static_cast<QDialog*>(&gliss),
                       static_cast<QDialog*>(&minMax)}) {
        d->show();
        for (QSpinBox* spin : d->findChildren<QSpinBox*>())
            Retype(spin, "700");
        for (QCheckBox* box : d->findChildren<QCheckBox*>())
            Tick(box);
        QTest::mouseClick(d->findChild<QPushButton*>("CancelBtn"), Qt::LeftButton);
        EXPECT_EQ(d->result(), QDialog::Rejected);
    }
    EXPECT_TRUE(Cfg == before);
}

// A field emptied or typed below its range and confirmed with OK at once
// (the focus still in it) stores the range's minimum, as every option
// dialog's spin field does; it never falls back to the value shown before.
TEST_F(TProcessingSetupTest, AFieldEmptiedOrBelowItsRangeStoresTheMinimum) {
    Cfg.LPFConst = 300;
    Cfg.GlissConst = 300;
    Cfg.FindMaxNoise = 300;
    Cfg.FindMaxStep = 300;
    TLowPassSetupForm lowPass(Cfg);
    TGlissSetupForm gliss(Cfg);
    TMinMaxSetupForm minMax(Cfg);
    const struct {
        QDialog* Dialog;
        QSpinBox* Field;
        const char* Text;
        QPushButton* Ok;
        int Expected;
        const int& Stored;
    } cases[] = {
        {&lowPass, lowPass.ConstEdit(), "", lowPass.OKBtn(), 2, Cfg.LPFConst},
        {&gliss, gliss.ConstEdit(), "1", gliss.OKBtn(), 2, Cfg.GlissConst},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Dialog->objectName().toStdString());
        c.Dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(c.Dialog));
        c.Field->setFocus();
        c.Field->selectAll();
        QTest::keyClick(c.Field, Qt::Key_Delete);
        QTest::keyClicks(c.Field, QString::fromLatin1(c.Text));
        QTest::mouseClick(c.Ok, Qt::LeftButton);
        EXPECT_EQ(c.Dialog->result(), QDialog::Accepted);
        EXPECT_EQ(c.Stored, c.Expected);
    }
    minMax.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&minMax));
    for (QSpinBox* field : {minMax.NoiseEdit(), minMax.StepEdit()}) {
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
    }
    QTest::mouseClick(minMax.OKBtn(), Qt::LeftButton);
    EXPECT_EQ(Cfg.FindMaxNoise, 10);
    EXPECT_EQ(Cfg.FindMaxStep, 50);
}

// The fit's dialog shows the stored settings, writes what OK confirms and
// nothing on Cancel; the line count cannot leave 1..4.
TEST_F(TProcessingSetupTest, FitSetupWritesItsCopyOnOkOnly) {
    TFitSettings settings{2, TLineShape::Gauss, 9400};
    {
        TFitSetupForm d(settings);
        d.show();
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Аппроксимация линий"));
        EXPECT_EQ(d.LineCountEdit()->value(), 2);
        EXPECT_EQ(d.ShapeBox()->currentText(), QStringLiteral("Гаусс"));
        EXPECT_EQ(d.FrequencyEdit()->value(), 9400);
        Retype(d.LineCountEdit(), "9"); // refused: above 4
        d.ShapeBox()->setCurrentIndex(2);
        d.FrequencyEdit()->setValue(0);
        QTest::mouseClick(d.CancelBtn(), Qt::LeftButton);
        EXPECT_EQ(d.result(), QDialog::Rejected);
        EXPECT_EQ(settings, (TFitSettings{2, TLineShape::Gauss, 9400}));
    }
    TFitSetupForm d(settings);
    d.show();
    Retype(d.LineCountEdit(), "4");
    d.ShapeBox()->setCurrentIndex(2);
    EXPECT_EQ(d.ShapeBox()->currentText(), QStringLiteral("Псевдо-Фойгт"));
    d.FrequencyEdit()->setValue(0);
    QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(settings, (TFitSettings{4, TLineShape::Voigt, 0}));
}

TEST_F(TProcessingSetupTest, CompareSetupWritesItsCopyOnOkOnly) {
    TCompareSettings settings;
    settings.ReferenceSpins = 2e17;
    TCompareSetupForm d(settings, QChar(','));
    d.show();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Сравнение со спектром"));
    EXPECT_EQ(d.NormalizationBox()->currentText(), QStringLiteral("без нормировки"));
    EXPECT_EQ(d.SpinsEdit()->text(), QStringLiteral("2,000E+017"));
    EXPECT_TRUE(d.DifferenceBox()->isChecked());
    d.NormalizationBox()->setCurrentIndex(2);
    Tick(d.ShiftBox());
    Tick(d.DifferenceBox());
    d.SpinsEdit()->setText(QStringLiteral("1,5e16"));
    QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(settings.Normalization, TNormalization::Integral);
    EXPECT_TRUE(settings.FindShift);
    EXPECT_FALSE(settings.ShowDifference);
    EXPECT_EQ(settings.ReferenceSpins, 1.5e16);

    // Cancel keeps everything; a spin count that is no count is not given.
    TCompareSetupForm again(settings, QChar(','));
    again.NormalizationBox()->setCurrentIndex(0);
    QTest::mouseClick(again.CancelBtn(), Qt::LeftButton);
    EXPECT_EQ(settings.Normalization, TNormalization::Integral);
    const std::pair<const char*, double> spins[] = {
        {"", 0}, {"abc", 0}, {"-5", 0}, {"0", 0}, {"inf", 0}, {"1e400", 0}, {" 3.5E17 ", 3.5e17}};
    for (const auto& [text, value] : spins)
        EXPECT_EQ(TCompareSetupForm::SpinCountOf(QString::fromLatin1(text)), value) << text;
}
