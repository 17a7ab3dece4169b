// The comparison's choices in the main window: the dialog opens on what
// Kav.ini holds, OK keeps the new choice for the next comparison and in
// Kav.ini at exit, Cancel keeps the old one; an older Kav.ini without the
// section starts from the defaults.

#include "app/analysis_wiring.h"
#include "app_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace {

struct TCompareSettingsWindowTest : TDialogWindowTest {
    QString Reference = Dir.Path(QStringLiteral("reference.kav"));

    // A new window on the Kav.ini given, with the test spectrum open.
    void StartOn(const QByteArray& ini) {
        Dir.WriteIni(ini);
        W = ShowWindow(Port);
        OpenTestSpectrum();
        WriteTestSpectrum(Reference);
    }
    void Compare(const std::function<void(QDialog&)>& play) {
        Port.OpenAnswers << Reference;
        Run("Спектр", "Сравнить с...", play);
    }
    const TCompareSettings& Kept() const { return W.Session->Settings().Compare; }
    int DifferencePixels() const {
        return PixelsOf(*W, W.Session->Settings().DisplayColors.DiffGraph);
    }
};

// What the dialog shows of the settings.
struct TShown {
    int Normalization;
    bool Shift, Difference;
    QString Spins;
    bool operator==(const TShown&) const = default;
};
TShown ShownIn(QDialog& d) {
    return {d.findChild<QComboBox*>("NormalizationBox")->currentIndex(),
            d.findChild<QCheckBox*>("ShiftBox")->isChecked(),
            d.findChild<QCheckBox*>("DifferenceBox")->isChecked(),
            d.findChild<QLineEdit*>("SpinsEdit")->text()};
}

} // namespace

TEST_F(TCompareSettingsWindowTest, DialogOpensOnKavIniAndOkKeepsTheChoiceThere) {
    StartOn("[Compare]\r\nNormalization=2\r\nFindShift=1\r\nShowDifference=0\r\n"
            "ReferenceSpins=2.5E17\r\n");
    const TCompareSettings fromFile{TNormalization::Integral, true, false, 2.5e17};
    ASSERT_EQ(Kept(), fromFile);

    // Cancel, after changing everything: nothing compared, nothing kept.
    TShown shown{};
    Compare([&](QDialog& d) {
        shown = ShownIn(d);
        SavePicture(d, QStringLiteral("compare-settings-from-ini.png"));
        d.findChild<QComboBox*>("NormalizationBox")->setCurrentIndex(1);
        Tick(d, "ShiftBox");
        d.findChild<QLineEdit*>("SpinsEdit")->setText(QStringLiteral("7"));
        Cancel(d);
    });
    EXPECT_EQ(shown, (TShown{2, true, false, QStringLiteral("2.500E+017")}));
    EXPECT_EQ(Kept(), fromFile);
    EXPECT_TRUE(W.Session->Analysis().Empty());

    // OK as it stands: the comparison runs with the file's choice, without
    // the difference trace the file turned off.
    Compare(Ok);
    ASSERT_TRUE(Port.Errors.isEmpty()) << Port.Errors.join('\n').toStdString();
    ASSERT_TRUE(W.Session->Analysis().HasComparison());
    EXPECT_EQ(W.Session->Analysis().ComparisonSettings(), fromFile);
    EXPECT_EQ(W.Session->Analysis().Comparison().Normalization, TNormalization::Integral);
    EXPECT_NEAR(W.Session->Analysis().Comparison().SampleSpins, 2.5e17, 2.5e15);
    EXPECT_EQ(DifferencePixels(), 0);

    // OK with a new choice keeps it for the next comparison...
    Compare([](QDialog& d) {
        d.findChild<QComboBox*>("NormalizationBox")->setCurrentIndex(1);
        Tick(d, "ShiftBox");
        Tick(d, "DifferenceBox");
        d.findChild<QLineEdit*>("SpinsEdit")->setText(QStringLiteral("1e16"));
        Ok(d);
    });
    const TCompareSettings chosen{TNormalization::PeakToPeak, false, true, 1e16};
    EXPECT_EQ(Kept(), chosen);
    EXPECT_EQ(W.Session->Analysis().ComparisonSettings(), chosen);
    EXPECT_GT(DifferencePixels(), 100);
    Compare([&](QDialog& d) {
        shown = ShownIn(d);
        Cancel(d);
    });
    EXPECT_EQ(shown, (TShown{1, false, true, QStringLiteral("1.000E+016")}));

    // ...and in Kav.ini at exit, for the next start.
    ASSERT_TRUE(W->close());
    EXPECT_EQ(Dir.ReadBack().Compare, chosen);
    W = ShowWindow(Port);
    EXPECT_EQ(Kept(), chosen);
}

TEST_F(TCompareSettingsWindowTest, OlderKavIniStartsFromTheDefaultsAndGainsTheSection) {
    StartOn("[Main]\r\nFindMaxNoise=30\r\n[LineFit]\r\nLineCount=2\r\n");
    EXPECT_EQ(Kept(), TCompareSettings{});
    TShown shown{};
    Compare([&](QDialog& d) {
        shown = ShownIn(d);
        Cancel(d);
    });
    EXPECT_EQ(shown, (TShown{0, false, true, QString()}));

    // Never opened but for a Cancel: saved with the defaults, as "LineFit"
    // is, the file's own values kept.
    ASSERT_TRUE(W->close());
    const QByteArray saved = Dir.IniText();
    EXPECT_TRUE(saved.contains("[Compare]\r\nNormalization=0\r\nFindShift=0\r\n"
                               "ShowDifference=1\r\nReferenceSpins=0\r\n"))
        << saved.toStdString();
    const TKavCfg back = Dir.ReadBack();
    EXPECT_EQ(back.Compare, TCompareSettings{});
    EXPECT_EQ(back.FindMaxNoise, 30);
    EXPECT_EQ(back.Fit.LineCount, 2);
}
