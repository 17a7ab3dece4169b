// The results of the fit and the comparison in the main window once the
// operator has closed their window: "Результаты анализа..." brings it back
// while there is something to show; and a fit that does not converge, run
// from the menu, says so in one line and leaves the spectrum, its undo copy
// and the menu as they were.

#include "app_fixture.h"
#include "processing/analysis_results_window.h"

#include <QDir>
#include <QPushButton>
#include <QTableWidget>

namespace {

struct TAnalysisResultsTest : TWindowTest {
    // Runs a menu item whose dialog the operator answers with OK.
    void RunOk(const char* menu, const char* item) {
        Port.OnDialog = [](QDialog& d) {
            d.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
            QTest::mouseClick(d.findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
            d.hide();
        };
        QAction* action = Item(menu, item);
        ASSERT_TRUE(action && action->isEnabled()) << item;
        action->trigger();
        Port.OnDialog = nullptr;
    }
    void FitBetween(int from, int to) {
        TKavCfg& cfg = W.Session->Settings();
        cfg.Visir1 = cfg.Visir2 = true;
        cfg.VisKoord1 = static_cast<std::uint16_t>(from);
        cfg.VisKoord2 = static_cast<std::uint16_t>(to);
        cfg.Fit.LineCount = 1;
        RunOk("Функции", "Аппроксимация линий...");
    }
    QAction* Reopen() const { return Item("Функции", "Результаты анализа..."); }
    TAnalysisResultsWindow& Results() const { return *W->findChild<TAnalysisResultsWindow*>(); }
};

TEST_F(TAnalysisResultsTest, ClosedResultsComeBackFromTheMenuWhileAFitIsShown) {
    ASSERT_NE(Reopen(), nullptr);
    EXPECT_FALSE(Reopen()->isEnabled());
    OpenTestSpectrum();
    EXPECT_FALSE(Reopen()->isEnabled());

    FitBetween(30000, 40000);
    ASSERT_TRUE(Port.Errors.isEmpty()) << Port.Errors.join('\n').toStdString();
    ASSERT_TRUE(Results().isVisible());
    EXPECT_TRUE(Reopen()->isEnabled());
    const QString shown = Results().ClipboardText();
    QTest::mouseClick(Results().findChild<QPushButton*>("CloseBtn"), Qt::LeftButton);
    ASSERT_FALSE(Results().isVisible());

    // The menu as the operator opens it, for the eye.
    QMenu* functions = W->findChild<QMenu*>("FunctionsMenu");
    ASSERT_NE(functions, nullptr);
    functions->popup(W->mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(functions));
    SavePicture(*functions, QStringLiteral("functions_menu.png"));
    functions->hide();

    Reopen()->trigger();
    ASSERT_TRUE(Results().isVisible());
    EXPECT_EQ(Results().ClipboardText(), shown);
    EXPECT_GE(Results().Table()->rowCount(), 5);
    SavePicture(Results(), QStringLiteral("results_reopened.png"));

    // Closing the spectrum takes the fit away, and the item with it.
    Item("Спектр", "Закрыть")->trigger();
    EXPECT_TRUE(W.Session->Analysis().Empty());
    EXPECT_FALSE(Reopen()->isEnabled());
    EXPECT_FALSE(Results().isVisible());
}

TEST_F(TAnalysisResultsTest, FitThatDoesNotConvergeSaysSoAndChangesNothing) {
    OpenTestSpectrum();
    Act(*W, "AFilter")->trigger(); // an undo copy to keep
    ASSERT_TRUE(Act(*W, "ABackUp")->isEnabled());
    const auto points = std::make_unique<TPointTable>(W.Session->Points());
    const auto undo = std::make_unique<TPointTable>(W.Session->Undo());

    // Two evaluations: the start and one trial step.
    W.Session->Analysis().SetMaxFitEvaluations(2);
    FitBetween(30000, 40000);
    ASSERT_EQ(Port.Errors, QStringList{QStringLiteral("Аппроксимация не сошлась (итераций: 1)")});
    EXPECT_TRUE(*points == W.Session->Points());
    EXPECT_TRUE(*undo == W.Session->Undo());
    EXPECT_TRUE(Act(*W, "ABackUp")->isEnabled());
    EXPECT_TRUE(W.Session->Analysis().Empty());
    EXPECT_FALSE(Reopen()->isEnabled());
    EXPECT_FALSE(Results().isVisible());

    // With its budget back the same fit is made.
    W.Session->Analysis().SetMaxFitEvaluations(DefaultFitEvaluations);
    FitBetween(30000, 40000);
    EXPECT_EQ(Port.Errors.size(), 1);
    EXPECT_TRUE(W.Session->Analysis().HasFit());
}

} // namespace
