// The line fit and the comparison in the main window: the menu items reach
// their dialogs, OK draws the traces and shows the results (closed, they come
// back from "Результаты анализа..."), refusals say so in one line and change
// nothing, undo and a new spectrum take it all away.

#include "app/analysis_wiring.h"
#include "app_fixture.h"
#include "processing/analysis_results_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QTableWidget>

namespace {

struct TAnalysisWindowTest : TDialogWindowTest {
    // One Lorentzian line, as the fit's dialog is set.
    static void OneLorentzOk(QDialog& d) {
        auto* lines = d.findChild<QSpinBox*>("LineCountEdit");
        lines->selectAll();
        QTest::keyClicks(lines, QStringLiteral("1"));
        d.findChild<QComboBox*>("ShapeBox")->setCurrentIndex(0);
        Ok(d);
    }
    void VisirsAround(int from, int to) {
        TKavCfg& cfg = W.Session->Settings();
        cfg.Visir1 = cfg.Visir2 = true;
        cfg.VisKoord1 = static_cast<std::uint16_t>(from);
        cfg.VisKoord2 = static_cast<std::uint16_t>(to);
    }
    int PixelsOf(TColorValue colour) const { return ::PixelsOf(*W, colour); }
    TAnalysisResultsWindow& Results() const { return *W->findChild<TAnalysisResultsWindow*>(); }
    QAction* Reopen() const { return Item("Функции", "Результаты анализа..."); }
};

} // namespace

TEST_F(TAnalysisWindowTest, FitFromTheMenuDrawsItsCurveUntilUndoOrANewSpectrum) {
    ASSERT_NE(Reopen(), nullptr);
    EXPECT_FALSE(Reopen()->isEnabled());
    OpenTestSpectrum();
    EXPECT_FALSE(Reopen()->isEnabled());
    const TColorSet& screen = W.Session->Settings().DisplayColors;
    EXPECT_EQ(PixelsOf(screen.FitGraph), 0);
    VisirsAround(30000, 40000);

    // Cancel fits nothing.
    Run("Функции", "Аппроксимация линий...", Cancel);
    EXPECT_EQ(Opened, QStringList{"TFitSetupForm"});
    EXPECT_TRUE(W.Session->Analysis().Empty());

    Run("Функции", "Аппроксимация линий...", OneLorentzOk);
    ASSERT_TRUE(Port.Errors.isEmpty()) << Port.Errors.join('\n').toStdString();
    ASSERT_TRUE(W.Session->Analysis().HasFit());
    ASSERT_EQ(W.Session->Analysis().LineFit().Lines.size(), 1u);
    EXPECT_NEAR(W.Session->Analysis().LineFit().Lines[0].Centre.Value, 35000, 10);
    EXPECT_EQ(W.Session->Settings().Fit.LineCount, 1);
    EXPECT_GT(PixelsOf(screen.FitGraph), 100);
    EXPECT_GT(PixelsOf(screen.FitResidual), 100);
    // The results window, with a table the operator can copy.
    EXPECT_TRUE(Results().isVisible());
    EXPECT_GE(Results().Table()->rowCount(), 5);
    EXPECT_EQ(Results().Table()->item(0, 0)->text(), QStringLiteral("B0"));
    EXPECT_TRUE(Results().ClipboardText().contains(QStringLiteral("\nB0\t")));
    // Closed, the results come back from the menu as they were.
    EXPECT_TRUE(Reopen()->isEnabled());
    const QString shown = Results().ClipboardText();
    QTest::mouseClick(Results().findChild<QPushButton*>("CloseBtn"), Qt::LeftButton);
    ASSERT_FALSE(Results().isVisible());
    QMenu* functions = W->findChild<QMenu*>("FunctionsMenu"); // for the eye
    ASSERT_NE(functions, nullptr);
    functions->popup(W->mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(functions));
    SavePicture(*functions, QStringLiteral("functions_menu.png"));
    functions->hide();
    Reopen()->trigger();
    ASSERT_TRUE(Results().isVisible());
    EXPECT_EQ(Results().ClipboardText(), shown);
    SavePicture(Results(), QStringLiteral("results_reopened.png"));

    // Filtering changes the spectrum: the fit no longer describes it.
    Act(*W, "AFilter")->trigger();
    EXPECT_TRUE(W.Session->Analysis().Empty());
    EXPECT_FALSE(Results().isVisible());
    EXPECT_EQ(PixelsOf(screen.FitGraph), 0);

    // Undo takes the fit away.
    Run("Функции", "Аппроксимация линий...", Ok);
    ASSERT_TRUE(W.Session->Analysis().HasFit());
    ASSERT_TRUE(Act(*W, "ABackUp")->isEnabled());
    Item("Функции", "Отмена")->trigger();
    EXPECT_TRUE(W.Session->Analysis().Empty());
    EXPECT_EQ(PixelsOf(screen.FitGraph), 0);

    // So does another spectrum, and closing it.
    Run("Функции", "Аппроксимация линий...", Ok);
    ASSERT_TRUE(W.Session->Analysis().HasFit());
    const QString other = Dir.Path(QStringLiteral("other.kav"));
    TSpectrumRecords records;
    records.FieldLow = 3000;
    WriteTestSpectrum(other, records);
    Port.OpenAnswers << other;
    Item("Спектр", "Открыть...")->trigger();
    ASSERT_EQ(W->windowTitle(), QStringLiteral("Kavis - other.kav"));
    EXPECT_TRUE(W.Session->Analysis().Empty());
    Run("Функции", "Аппроксимация линий...", Ok);
    ASSERT_TRUE(W.Session->Analysis().HasFit());
    Item("Спектр", "Закрыть")->trigger();
    EXPECT_TRUE(W.Session->Analysis().Empty());
    EXPECT_FALSE(Results().isVisible() || Reopen()->isEnabled());

    // The dialog's choice is kept in Kav.ini.
    W.Session->Settings().Fit.Shape = TLineShape::Voigt;
    ASSERT_TRUE(W->close());
    EXPECT_EQ(Dir.ReadBack().Fit, W.Session->Settings().Fit);
}

TEST_F(TAnalysisWindowTest, RefusedFitSaysSoInOneLineAndChangesNothing) {
    OpenTestSpectrum();
    Act(*W, "AFilter")->trigger(); // an undo copy to keep
    const auto points = std::make_unique<TPointTable>(W.Session->Points());
    const auto undo = std::make_unique<TPointTable>(W.Session->Undo());
    const auto unchanged = [&] {
        return *points == W.Session->Points() && *undo == W.Session->Undo() &&
               Act(*W, "ABackUp")->isEnabled();
    };
    VisirsAround(30000, 40000);

    // Two evaluations, the start and one trial step: the fit does not
    // converge and there is nothing to show.
    W.Session->Analysis().SetMaxFitEvaluations(2);
    Run("Функции", "Аппроксимация линий...", OneLorentzOk);
    ASSERT_EQ(Port.Errors, QStringList{QStringLiteral("Аппроксимация не сошлась (итераций: 1)")});
    EXPECT_TRUE(unchanged());
    EXPECT_TRUE(W.Session->Analysis().Empty());
    EXPECT_FALSE(Reopen()->isEnabled() || Results().isVisible());

    // With its budget back the same fit is made, and later refusals keep it:
    // three points between the visirs; the flat far end of the sweep.
    W.Session->Analysis().SetMaxFitEvaluations(DefaultFitEvaluations);
    Run("Функции", "Аппроксимация линий...", Ok);
    ASSERT_TRUE(W.Session->Analysis().HasFit());
    const double centre = W.Session->Analysis().LineFit().Lines[0].Centre.Value;
    const int fitPixels = PixelsOf(W.Session->Settings().DisplayColors.FitGraph);
    VisirsAround(1000, 1008);
    Run("Функции", "Аппроксимация линий...", Ok);
    VisirsAround(63000, 64000);
    Run("Функции", "Аппроксимация линий...", Ok);
    ASSERT_EQ(Port.Errors.size(), 3);
    for (const QString& e : Port.Errors.mid(1)) {
        EXPECT_TRUE(e.startsWith(QStringLiteral("Аппроксимация"))) << e.toStdString();
        EXPECT_FALSE(e.contains(u'\n')) << e.toStdString();
    }
    EXPECT_TRUE(unchanged());
    ASSERT_TRUE(W.Session->Analysis().HasFit());
    EXPECT_EQ(W.Session->Analysis().LineFit().Lines[0].Centre.Value, centre);
    EXPECT_EQ(PixelsOf(W.Session->Settings().DisplayColors.FitGraph), fitPixels);
}

TEST_F(TAnalysisWindowTest, CompareFromTheMenuOverlaysTheReferenceUntilRemoved) {
    OpenTestSpectrum();
    const QString reference = Dir.Path(QStringLiteral("reference.kav"));
    WriteTestSpectrum(reference);
    const TColorSet& screen = W.Session->Settings().DisplayColors;
    EXPECT_FALSE(Act(*W, "ACompareOff")->isEnabled());

    // Cancel in the file dialog, then in the comparison's: nothing.
    Run("Спектр", "Сравнить с...", Ok);
    EXPECT_TRUE(Opened.isEmpty());
    Port.OpenAnswers << reference;
    Run("Спектр", "Сравнить с...", Cancel);
    EXPECT_EQ(Opened, QStringList{"TCompareSetupForm"});
    EXPECT_TRUE(W.Session->Analysis().Empty());
    ASSERT_FALSE(Port.OpenRequests.empty());
    EXPECT_EQ(Port.OpenRequests.back().Title, QStringLiteral("Открыть спектр для сравнения"));
    EXPECT_TRUE(Port.OpenRequests.back().Filter.contains(QStringLiteral("*.DSC")));

    Port.OpenAnswers << reference;
    Run("Спектр", "Сравнить с...", [](QDialog& d) {
        d.findChild<QComboBox*>("NormalizationBox")->setCurrentIndex(1); // peak to peak
        d.findChild<QLineEdit*>("SpinsEdit")->setText(QStringLiteral("1e17"));
        Ok(d);
    });
    ASSERT_TRUE(Port.Errors.isEmpty()) << Port.Errors.join('\n').toStdString();
    ASSERT_TRUE(W.Session->Analysis().HasComparison());
    EXPECT_NEAR(W.Session->Analysis().Comparison().Scale, 1, 1e-3);
    EXPECT_NEAR(W.Session->Analysis().Comparison().SampleSpins, 1e17, 1e15);
    EXPECT_EQ(W.Session->Analysis().ReferenceName(), QStringLiteral("reference.kav"));
    EXPECT_TRUE(Act(*W, "ACompareOff")->isEnabled());
    EXPECT_GT(PixelsOf(screen.RefGraph), 100);
    EXPECT_GT(PixelsOf(screen.DiffGraph), 100);
    EXPECT_TRUE(Results().isVisible());

    // A reference swept where the spectrum is not: refused in one line, the
    // comparison shown stays.
    const QString far = Dir.Path(QStringLiteral("far.kav"));
    TSpectrumRecords records;
    records.FieldLow = 5000;
    records.FieldHigh = 5300;
    WriteTestSpectrum(far, records);
    Port.OpenAnswers << far;
    // The dialog opens on the choice made before.
    Run("Спектр", "Сравнить с...", [](QDialog& d) {
        EXPECT_EQ(d.findChild<QComboBox*>("NormalizationBox")->currentIndex(), 1);
        Ok(d);
    });
    // And a file that is no spectrum at all.
    const QString junk = Dir.Path(QStringLiteral("junk.csv"));
    Dir.Write(junk, "not a spectrum\n");
    Port.OpenAnswers << junk;
    Run("Спектр", "Сравнить с...", Ok);
    ASSERT_EQ(Port.Errors.size(), 2);
    EXPECT_EQ(Port.Errors[0],
              QStringLiteral("Спектр сравнения не перекрывается с текущим по полю"));
    EXPECT_FALSE(Port.Errors[1].contains(u'\n')) << Port.Errors[1].toStdString();
    EXPECT_EQ(W.Session->Analysis().ReferenceName(), QStringLiteral("reference.kav"));

    Run("Спектр", "Убрать сравнение", Ok);
    EXPECT_FALSE(W.Session->Analysis().HasComparison());
    EXPECT_FALSE(Act(*W, "ACompareOff")->isEnabled());
    EXPECT_EQ(PixelsOf(screen.RefGraph), 0);
    EXPECT_FALSE(Results().isVisible());
}
