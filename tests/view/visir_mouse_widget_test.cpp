#include "view/plot_widget.h"
#include "view/status_bar_widget.h"
#include "view/view_bounds_widget.h"
#include "view/visir_controller.h"
#include "view/visir_panel_widget.h"
#include "view/visir_view_widget.h"

#include "qt_app.h"
#include "view/display_color.h"
#include "view_fixture.h"

#include <QAction>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

namespace {

// The plot with its visir strip and status bar, wired as the window wires
// them, shown on the offscreen platform and driven with QTest input.
struct VisirMouseTest : ::testing::Test {
    TViewFixture F;
    std::unique_ptr<QWidget> Window = std::make_unique<QWidget>();
    TPlotWidget* Plot;
    TVisirPanelWidget* Panel1;
    TVisirPanelWidget* Panel2;
    TViewBoundsWidget* Bounds;
    TKavStatusBar* Status;
    QToolButton* ScaleBtn;
    QAction* AVisir1;
    QAction* AVisir2;
    QAction* AMouseSelect;
    std::unique_ptr<TVisirWidgetView> View;
    std::unique_ptr<TVisirController> Visirs;
    std::vector<std::pair<int, int>> Sweeps;
    int Repaints = 0;

    VisirMouseTest() {
        F.Cfg.ViewMin = 10000;
        F.Cfg.ViewMax = 20000; // 500 columns: 20 codes per column
        Plot = new TPlotWidget(F.Cfg, *F.Store, F.Results, F.Readings, F.Format, F.GFactor);
        Plot->setFixedSize(500, 300);
        Panel1 = new TVisirPanelWidget(1);
        Panel2 = new TVisirPanelWidget(2);
        Bounds = new TViewBoundsWidget(F.Cfg, F.Format);
        Status = new TKavStatusBar;
        ScaleBtn = new QToolButton;
        auto* layout = new QVBoxLayout(Window.get());
        for (QWidget* w :
             std::initializer_list<QWidget*>{Plot, Panel1, Panel2, Bounds, ScaleBtn, Status})
            layout->addWidget(w);
        AVisir1 = new QAction(QStringLiteral("Визир 1"), Window.get());
        AVisir2 = new QAction(QStringLiteral("Визир 2"), Window.get());
        AMouseSelect = new QAction(QStringLiteral("Определить  мышью"), Window.get());
        AVisir1->setCheckable(true);
        AVisir2->setCheckable(true);
        AMouseSelect->setCheckable(true);

        TVisirWidgets w;
        w.Plot = Plot;
        w.Panel1 = Panel1;
        w.Panel2 = Panel2;
        w.StatusBar = Status;
        w.ViewBounds = Bounds;
        w.ScaleBtn = ScaleBtn;
        w.AVisir1 = AVisir1;
        w.AVisir2 = AVisir2;
        w.AMouseSelect = AMouseSelect;
        View = std::make_unique<TVisirWidgetView>(w);
        Visirs = std::make_unique<TVisirController>(F.Cfg, *F.Store, F.Format, F.GFactor, *View);
        View->Bind(*Visirs);
        View->OnSweepBoundsSelected = [this](int b, int t) { Sweeps.emplace_back(b, t); };
        QObject::connect(Bounds, &TViewBoundsWidget::ViewChanged, [this] { ++Repaints; });
        Visirs->ApplyStoredVisirs();
        Window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
    }

    void Press(int x) { QTest::mousePress(Plot, Qt::LeftButton, {}, QPoint(x, 150)); }
    void Move(int x) { QTest::mouseMove(Plot, QPoint(x, 150)); }
    void Release(int x) { QTest::mouseRelease(Plot, Qt::LeftButton, {}, QPoint(x, 150)); }
    QRgb Pixel(int x, int y) const { return Plot->Canvas().pixel(x, y); }
};

} // namespace

TEST_F(VisirMouseTest, VisirActionsShowPanelsAndReadouts) {
    EXPECT_FALSE(Panel1->isVisible());
    F.Put(14880, 2048 + 11);
    AVisir1->trigger(); // stored at 50: outside the view, so centre - 120
    EXPECT_TRUE(AVisir1->isChecked());
    EXPECT_TRUE(Panel1->isVisible());
    EXPECT_EQ(Panel1->AbscissaText(), "14880");
    EXPECT_EQ(Panel1->OrdinateText(), "11");
    EXPECT_EQ(Panel1->UpDownPosition(), 14880 - 32767);
    EXPECT_EQ(Status->Panel(7), ""); // one visir: no distance

    AVisir2->trigger(); // stored at 65400: centre + 120
    EXPECT_EQ(Panel2->AbscissaText(), "15120");
    EXPECT_EQ(Panel2->OrdinateText(), "<НЕТ>");
    EXPECT_EQ(Status->Panel(7), "dH=240");
    EXPECT_EQ(Pixel(Plot->Geometry().XOfCode(15120), 100), ToRgb(F.Cfg.DisplayColors.Visir2));

    QTest::mouseClick(Panel2->RightButton(), Qt::LeftButton);
    QTest::mouseClick(Panel2->RightButton(), Qt::LeftButton);
    EXPECT_EQ(F.Cfg.VisKoord2, 15122);
    EXPECT_EQ(Status->Panel(7), "dH=242");
    QTest::mouseClick(Panel1->LeftButton(), Qt::LeftButton);
    EXPECT_EQ(F.Cfg.VisKoord1, 14879);

    AVisir1->trigger();
    EXPECT_FALSE(F.Cfg.Visir1);
    EXPECT_FALSE(Panel1->isVisible());
    EXPECT_FALSE(AVisir1->isChecked());
}

TEST_F(VisirMouseTest, PointerReadoutsFollowTheMouse) {
    F.Put(12000, 2048 - 40);
    Move(100);
    EXPECT_EQ(Status->Panel(3), "ПОЛЕ: 12000");
    EXPECT_EQ(Status->Panel(4), "АМПЛ: -40");
    Move(101);
    EXPECT_EQ(Status->Panel(3), "ПОЛЕ: 12020");
    EXPECT_EQ(Status->Panel(4), "<НЕТ>");
}

TEST_F(VisirMouseTest, DraggingAVisirWithTheMouse) {
    Visirs->AStandVisirExecute(); // 14880 and 15120: columns 244 and 256
    Move(246);
    EXPECT_EQ(Plot->cursor().shape(), Qt::SplitHCursor);
    Press(246);
    Move(300);
    Move(350);
    Release(350);
    EXPECT_EQ(F.Cfg.VisKoord1, 17000);
    EXPECT_EQ(Panel1->AbscissaText(), "17000");
    EXPECT_EQ(Status->Panel(7), "dH=1880");
    EXPECT_EQ(Pixel(350, 100), ToRgb(F.Cfg.DisplayColors.Visir1));
    EXPECT_EQ(Pixel(244, 100), ToRgb(F.Cfg.DisplayColors.BackGround));
    EXPECT_EQ(Plot->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(F.Cfg.ViewMin, 10000); // nothing else changed
    EXPECT_EQ(F.Cfg.ViewMax, 20000);
    EXPECT_TRUE(Sweeps.empty());
}

TEST_F(VisirMouseTest, ZoomBandSetsTheViewBounds) {
    QTest::mouseClick(ScaleBtn, Qt::LeftButton);
    EXPECT_TRUE(ScaleBtn->isChecked());
    EXPECT_EQ(Plot->cursor().shape(), Qt::PointingHandCursor);
    Press(400);
    Move(300);
    // The band is merged into the plot: sky blue over the black background.
    EXPECT_EQ(Pixel(350, 40), qRgb(0xA6, 0xCA, 0xF0));
    EXPECT_EQ(Pixel(399, 40), qRgb(0xA6, 0xCA, 0xF0));
    EXPECT_EQ(Pixel(299, 40), ToRgb(F.Cfg.DisplayColors.BackGround));
    const int before = Repaints;
    Release(100); // right to left
    EXPECT_FALSE(ScaleBtn->isChecked());
    EXPECT_EQ(F.Cfg.ViewMin, 12000);
    EXPECT_EQ(F.Cfg.ViewMax, 18000);
    EXPECT_EQ(Bounds->MinView()->value(), 12000);
    EXPECT_EQ(Bounds->MaxView()->value(), 18000);
    EXPECT_EQ(Bounds->MinViewExt()->text(), "12000");
    EXPECT_EQ(Repaints, before + 1);
    EXPECT_EQ(Plot->Geometry().ViewMin, 12000); // repainted: the band is gone
    EXPECT_EQ(Pixel(350, 40), ToRgb(F.Cfg.DisplayColors.BackGround));

    // Too narrow a band is widened to 512 codes.
    QTest::mouseClick(ScaleBtn, Qt::LeftButton);
    Press(200);
    Release(205); // 12 codes per column now: 60 codes
    EXPECT_EQ(F.Cfg.ViewMax - F.Cfg.ViewMin, 512);
}

TEST_F(VisirMouseTest, SweepBoundsBandGoesToTheInstrumentControls) {
    AMouseSelect->trigger();
    EXPECT_TRUE(AMouseSelect->isChecked());
    Press(50);
    Move(80);
    EXPECT_EQ(Pixel(60, 200), qRgb(0xFF, 0x00, 0xFF));
    Release(450);
    ASSERT_EQ(Sweeps.size(), 1u);
    EXPECT_EQ(Sweeps[0], std::make_pair(11000, 19000));
    EXPECT_FALSE(AMouseSelect->isChecked());
    EXPECT_EQ(F.Cfg.ViewMin, 10000); // the view stays
    EXPECT_EQ(Plot->cursor().shape(), Qt::ArrowCursor);

    // A plain click afterwards selects nothing.
    Press(100);
    Release(300);
    EXPECT_EQ(Sweeps.size(), 1u);
    EXPECT_EQ(F.Cfg.ViewMin, 10000);
}

TEST_F(VisirMouseTest, PointerLeavingThePlotWhileSelecting) {
    QTest::mouseClick(ScaleBtn, Qt::LeftButton);
    Press(20);
    Move(-300); // far left of the plot: code below 0, held to 0
    EXPECT_EQ(Status->Panel(3), "ПОЛЕ: 4000");
    Release(-800);
    EXPECT_EQ(F.Cfg.ViewMin, 0);
    EXPECT_EQ(F.Cfg.ViewMax, 10400);
}
