#include "app_fixture.h"

#include "app/instrument_groups_widget.h"
#include "view/plot_widget.h"
#include "view/status_bar_widget.h"
#include "view/view_bounds_widget.h"
#include "view/visir_controller.h"
#include "view/visir_panel_widget.h"

#include <QAction>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

namespace {

// The window at a size with a processed spectrum; the picture is written to
// $KAV7_SCREENSHOT_DIR/<name> when that variable is set.
struct TLayoutCase {
    QSize Size;
    const char* Picture;
    bool Integrate;
};

QRect InWindow(const QWidget* w, const QWidget* window) {
    return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
}

void CheckLayout(TKavMainForm& w) {
    const QRect window = w.rect();
    // Nothing is laid out narrower than it needs.
    EXPECT_LE(w.centralWidget()->minimumSizeHint().width(), w.centralWidget()->width());
    EXPECT_LE(w.centralWidget()->minimumSizeHint().height(), w.centralWidget()->height());
    TInstrumentGroupsWidget* g = w.InstrumentGroups();
    const std::vector<QWidget*> row = {g->CorrectionGroup(), g->GainGroup(), g->SpeedGroup(),
                                       g->BoundsGroup()};
    const std::vector<QWidget*> strip = {w.VisirPanel(1),
                                         w.VisirPanel(2),
                                         w.ViewBounds()->MinView(),
                                         w.ViewBounds()->MinViewExt(),
                                         w.ViewBounds()->MaxView(),
                                         w.ViewBounds()->MaxViewExt(),
                                         w.findChild<QWidget*>("AllBtn")};
    for (const auto* set : {&row, &strip}) {
        for (size_t i = 0; i < set->size(); ++i) {
            const QWidget* a = (*set)[i];
            SCOPED_TRACE(a->objectName().toStdString() + " " + a->metaObject()->className());
            EXPECT_TRUE(a->isVisible());
            EXPECT_TRUE(window.contains(InWindow(a, &w))) << a->width();
            EXPECT_GE(a->width(), a->minimumSizeHint().width())
                << (a->layout() ? a->layout()->minimumSize().width() : -1) << " "
                << QFontMetrics(a->font()).horizontalAdvance(a->property("title").toString());
            for (size_t j = i + 1; j < set->size(); ++j)
                EXPECT_FALSE(InWindow(a, &w).intersects(InWindow((*set)[j], &w))) << j;
        }
    }
    // The plot sits above the strip, the strip above the groups.
    EXPECT_LT(InWindow(w.Plot(), &w).bottom(), InWindow(w.VisirPanel(1), &w).top());
    EXPECT_LT(InWindow(w.VisirPanel(2), &w).bottom(), InWindow(g->CorrectionGroup(), &w).top());
    EXPECT_GE(w.Plot()->height(), 100);
    EXPECT_EQ(g->CorrectionGroup()->height(), 66);
    // The status panels used by the display are inside the window.
    // The status panels used by the display are inside the window and show
    // their whole text.
    for (int k : {3, 4, 5, 6, 7, 8, 9, 10}) {
        const QLabel* panel = w.StatusPanels()->PanelLabel(k);
        EXPECT_TRUE(window.contains(InWindow(panel, &w))) << k;
        EXPECT_LE(panel->fontMetrics().horizontalAdvance(panel->text()),
                  panel->contentsRect().width())
            << k << " " << panel->text().toStdString();
    }
}

} // namespace

class TLayoutTest : public ::testing::TestWithParam<TLayoutCase> {};

TEST_P(TLayoutTest, ProcessedSpectrumFitsTheWindow) {
    const TLayoutCase c = GetParam();
    TAppDir dir;
    const QString file = dir.Path("sample.kav");
    WriteTestSpectrum(file);
    TScriptedPort port;
    auto w = ShowWindow(port);
    w->resize(c.Size);
    QApplication::processEvents();
    ASSERT_EQ(w->size(), c.Size);
    port.OpenAnswers << file;
    MenuItem(*w, "Спектр", "Открыть...")->trigger();
    MenuItem(*w, "Вид", "Установить визиры")->trigger();
    if (c.Integrate) {
        w->Visirs().SetVisir1(26000);
        w->Visirs().SetVisir2(41000);
        w->findChild<QAction*>("AMinMax")->trigger();
        MenuItem(*w, "Функции", "Интеграл")->trigger();
        EXPECT_GE(w->Results().Area, 0);
    } else {
        w->Visirs().SetVisir1(8000);
        w->Visirs().SetVisir2(60000);
        w->findChild<QAction*>("AMinMax")->trigger();
        MenuItem(*w, "Функции", "Отношение пиков")->trigger();
        EXPECT_GT(w->Results().MaxCount, 0);
        EXPECT_NE(w->Results().TibaAmp, 0);
    }
    EXPECT_TRUE(port.Warnings.isEmpty());
    QApplication::processEvents();
    CheckLayout(*w);
    const QString out = qEnvironmentVariable("KAV7_SCREENSHOT_DIR");
    if (!out.isEmpty())
        EXPECT_TRUE(w->grab().save(QDir(out).filePath(QString::fromLatin1(c.Picture)), "PNG"));
}

INSTANTIATE_TEST_SUITE_P(Sizes, TLayoutTest,
                         ::testing::Values(TLayoutCase{QSize(760, 500), "main-window.png", false},
                                           TLayoutCase{QSize(500, 450), "main-window-min.png",
                                                       true}));

TEST(ToolBarFit, EveryButtonShowsAtTheDefaultWidth) {
    TAppDir dir;
    TScriptedPort port;
    auto w = ShowWindow(port);
    w->resize(760, 500);
    QApplication::processEvents();
    for (QAction* a : w->MainBar()->actions()) {
        if (a->isSeparator())
            continue;
        QWidget* button = w->MainBar()->widgetForAction(a);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isVisible())
            << a->objectName().toStdString() << " " << button->sizeHint().width() << " "
            << button->font().pointSizeF();
        EXPECT_LE(InWindow(button, w.get()).right(), w->width())
            << a->objectName().toStdString() << " font " << button->font().pointSizeF();
    }
}
