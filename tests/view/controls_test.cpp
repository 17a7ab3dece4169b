// The visirs, the selections with the mouse and the panels around the plot:
// the controller against recording doubles, then wired to the real widgets
// and driven with QTest input; the status bar, the view bounds' edits and
// the colour dialog.

#include "view/color_setup_dialog.h"
#include "view/plot_widget.h"
#include "view/status_bar_widget.h"
#include "view/view_bounds_widget.h"
#include "view/visir_controller.h"
#include "view/visir_panel_widget.h"
#include "view/visir_view_widget.h"

#include "qt_app.h"
#include "scripted_dialog_port.h"
#include "view/display_color.h"
#include "view_fixture.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace {

// Records what the controller changes outside the plot.
class TRecordingVisirView : public TVisirView {
public:
    std::map<int, std::pair<QString, QString>> Readouts;
    std::map<int, int> UpDowns;
    std::map<int, bool> Shown;
    std::map<int, QString> Panels;
    bool ScaleDown = false;
    bool MouseSelect = false;
    std::vector<std::pair<int, int>> Views;
    std::vector<std::pair<int, int>> Sweeps;

    void SetVisirReadout(int n, const QString& a, const QString& o) override {
        Readouts[n] = {a, o};
    }
    void SetVisirUpDown(int n, int position) override { UpDowns[n] = position; }
    void SetVisirShown(int n, bool shown) override { Shown[n] = shown; }
    void SetStatusPanel(int index, const QString& text) override { Panels[index] = text; }
    void SetScaleButtonDown(bool down) override { ScaleDown = down; }
    void SetMouseSelectChecked(bool on) override { MouseSelect = on; }
    void SelectView(int a, int b) override { Views.emplace_back(a, b); }
    void SelectSweepBounds(int a, int b) override { Sweeps.emplace_back(a, b); }
};

// A plot that keeps the exclusive-or state of every column: a column holds a
// line when it was drawn an odd number of times.
class TRecordingSurface : public TPlotSurface {
public:
    TPlotGeometry Geo;
    std::map<int, int> LineDraws;
    std::vector<std::pair<int, int>> Bands;
    std::vector<TColorValue> BandColours;
    TPointerShape Shape = TPointerShape::Default;

    const TPlotGeometry& Geometry() const override { return Geo; }
    void DrawVisirLine(int x, TColorValue) override { ++LineDraws[x]; }
    void MergeBand(int a, int b, TColorValue c) override {
        Bands.emplace_back(a, b);
        BandColours.push_back(c);
    }
    void SetPointerShape(TPointerShape s) override { Shape = s; }

    std::vector<int> LinesOn() const {
        std::vector<int> out;
        for (auto [x, n] : LineDraws)
            if (n % 2)
                out.push_back(x);
        return out;
    }
};

struct VisirControllerTest : ::testing::Test {
    TViewFixture F;
    TRecordingVisirView View;
    TRecordingSurface Surface;
    TVisirController C{F.Cfg, *F.Store, F.Format, F.GFactor, View};

    VisirControllerTest() {
        // A 1000-column plot over codes 10000..20000: 10 codes per column.
        F.Cfg.ViewMin = 10000;
        F.Cfg.ViewMax = 20000;
        Surface.Geo = TPlotGeometry::Compute(1000, 400, 10000, 20000, 0);
        C.SetSurface(&Surface);
    }
};

} // namespace

TEST_F(VisirControllerTest, PlacingAVisirFillsItsReadoutsAndMovesOneLine) {
    F.Put(12340, 2048 + 100);
    F.Cfg.Visir1 = true;
    C.SetVisir1(12340);
    EXPECT_EQ(F.Cfg.VisKoord1, 12340);
    EXPECT_EQ(View.Readouts[1].first, "12340");
    EXPECT_EQ(View.Readouts[1].second, "100");
    EXPECT_EQ(View.UpDowns[1], 12340 - 32767);
    EXPECT_EQ(C.VisirX(1), 234);
    EXPECT_EQ(Surface.LinesOn(), std::vector<int>{234});

    C.SetVisir1(12343); // 234.3 -> 234: same column, nothing drawn
    EXPECT_EQ(Surface.LineDraws[234], 1);
    EXPECT_EQ(View.Readouts[1].second, "<НЕТ>");

    C.SetVisir1(15000);
    EXPECT_EQ(Surface.LinesOn(), std::vector<int>{500});
    C.SetVisir1(25000); // outside the view: erased, code and readouts kept
    EXPECT_TRUE(Surface.LinesOn().empty());
    EXPECT_EQ(C.VisirX(1), -1);
    EXPECT_EQ(C.VisirDrawn(1), -1);
    EXPECT_EQ(F.Cfg.VisKoord1, 25000);
    EXPECT_EQ(View.Readouts[1].first, "25000");
}

TEST_F(VisirControllerTest, GFactorReadoutReplacesTheFieldWhenShown) {
    F.GFactor.Text = [](std::uint16_t code) { return QStringLiteral("g=%1").arg(code); };
    F.GFactor.Shown = true;
    C.SetVisir2(14000);
    EXPECT_EQ(View.Readouts[2].first, "g=14000");
    F.GFactor.Shown = false;
    C.SetVisir2(14000);
    EXPECT_EQ(View.Readouts[2].first, "14000");
}

TEST_F(VisirControllerTest, DistanceNeedsBothVisirsAndDropsTheAbsoluteOffset) {
    F.Cfg.Visir1 = true;
    C.SetVisir1(11000);
    C.SetVisir1(12000);
    EXPECT_EQ(View.Panels.count(7), 0u); // one visir: panel 7 untouched

    F.Cfg.Visir2 = true;
    C.SetVisir2(10000);
    EXPECT_EQ(View.Panels[7], "dH=2000");

    F.Cfg.RazvUnit = 3; // absolute field 3000..3300 Э over the whole sweep
    C.SetVisir2(12000 - 6552);
    const QString relative = [&] {
        F.Cfg.RazvUnit = 2;
        const QString t = F.Format.FieldToStr(6552);
        F.Cfg.RazvUnit = 3;
        return t;
    }();
    EXPECT_EQ(View.Panels[7], "dH=" + relative);
    EXPECT_EQ(View.Panels[7], "dH=30 Э");
    EXPECT_EQ(F.Cfg.RazvUnit, 3); // the selection is given back
}

TEST_F(VisirControllerTest, TogglingPlacesAVisirInsideTheViewOrAtItsCentre) {
    F.Cfg.VisKoord1 = 50; // outside 10000..20000
    F.Cfg.VisKoord2 = 19000;
    C.AVisir1Execute();
    C.AVisir2Execute();
    EXPECT_TRUE(F.Cfg.Visir1);
    EXPECT_TRUE(View.Shown[1]);
    EXPECT_EQ(F.Cfg.VisKoord1, 15000 - 120);
    EXPECT_EQ(F.Cfg.VisKoord2, 19000); // inside: kept
    EXPECT_EQ(Surface.LinesOn(), (std::vector<int>{488, 900}));

    C.AVisir1Execute(); // hidden: the line goes
    EXPECT_FALSE(F.Cfg.Visir1);
    EXPECT_FALSE(View.Shown[1]);
    EXPECT_EQ(Surface.LinesOn(), std::vector<int>{900});

    F.Cfg.VisKoord2 = 20000; // on the edge is not strictly inside
    C.AStandVisirExecute();
    EXPECT_TRUE(F.Cfg.Visir1 && F.Cfg.Visir2);
    EXPECT_EQ(F.Cfg.VisKoord1, 14880);
    EXPECT_EQ(F.Cfg.VisKoord2, 15120);
    EXPECT_EQ(Surface.LinesOn(), (std::vector<int>{488, 512}));
    EXPECT_EQ(View.Panels[7], "dH=240");
}

TEST_F(VisirControllerTest, UpDownClicksMoveTheVisirByOneCode) {
    F.Cfg.Visir1 = true;
    C.SetVisir1(15000);
    C.UpDownClicked(1, 15001 - 32767);
    EXPECT_EQ(C.VisirCode(1), 15001);
    C.UpDownClicked(1, 15001 - 32767); // already there: nothing placed
    EXPECT_EQ(C.VisirCode(1), 15001);
    C.UpDownClicked(1, -32767);
    EXPECT_EQ(C.VisirCode(1), 0);
}

TEST_F(VisirControllerTest, PointerReadoutsAndShapes) {
    F.Put(12000, 2048 - 7);
    F.Cfg.Visir2 = true;
    C.SetVisir2(13000); // column 300
    C.MouseMove(200);
    EXPECT_EQ(View.Panels[3], "ПОЛЕ: 12000");
    EXPECT_EQ(View.Panels[4], "АМПЛ: -7");
    EXPECT_EQ(Surface.Shape, TPointerShape::Default);
    C.MouseMove(303);
    EXPECT_EQ(View.Panels[4], "<НЕТ>");
    EXPECT_EQ(Surface.Shape, TPointerShape::HorizontalSplit);
    C.MouseMove(304);
    EXPECT_EQ(Surface.Shape, TPointerShape::Default);

    // Outside the plot the code is held to the field codes.
    Surface.Geo = TPlotGeometry::Compute(1000, 400, 0, 1000, 0);
    C.MouseMove(-40);
    EXPECT_EQ(View.Panels[3], "ПОЛЕ: 0");
    Surface.Geo = TPlotGeometry::Compute(1000, 400, 65000, 65519, 0);
    C.MouseMove(5000);
    EXPECT_EQ(View.Panels[3], "ПОЛЕ: 65519");
    EXPECT_EQ(View.Panels[4], "<НЕТ>");
}

TEST_F(VisirControllerTest, DraggingAVisirFollowsThePointer) {
    F.Cfg.Visir1 = true;
    F.Cfg.Visir2 = true;
    C.SetVisir1(13000); // column 300
    C.SetVisir2(13020); // column 302: the later test wins
    C.MouseDown(301);
    EXPECT_EQ(C.MouseMode(), TVisirController::DragVisir2);
    C.MouseMove(450);
    EXPECT_EQ(F.Cfg.VisKoord2, 14500);
    C.MouseMove(-100); // off the left edge: left of the view, no line
    EXPECT_EQ(F.Cfg.VisKoord2, 9000);
    EXPECT_EQ(C.VisirDrawn(2), -1);
    C.MouseMove(-2000); // far off: held to code 0
    EXPECT_EQ(F.Cfg.VisKoord2, 0);
    C.MouseUp(-2000);
    EXPECT_EQ(C.MouseMode(), TVisirController::Idle);
    EXPECT_EQ(Surface.LinesOn(), std::vector<int>{300});
    EXPECT_TRUE(View.Views.empty());
    EXPECT_TRUE(View.Sweeps.empty());

    // A visir outside the view has no column to grab at the left edge.
    C.MouseDown(1);
    EXPECT_EQ(C.MouseMode(), TVisirController::Idle);
    C.MouseUp(1);
}

TEST_F(VisirControllerTest, ViewSelectionEitherWayAndItsBand) {
    C.ScaleButtonClicked(true);
    EXPECT_EQ(Surface.Shape, TPointerShape::Hand);
    C.MouseDown(100);
    C.MouseMove(150);
    C.MouseMove(120); // going back leaves the band as it is
    C.MouseUp(400);
    ASSERT_EQ(View.Views.size(), 1u);
    EXPECT_EQ(View.Views[0], std::make_pair(11000, 14000));
    EXPECT_FALSE(C.ScaleArmed());
    EXPECT_FALSE(View.ScaleDown);
    EXPECT_EQ(Surface.Shape, TPointerShape::Default);
    EXPECT_EQ(Surface.Bands, (std::vector<std::pair<int, int>>{{100, 150}, {150, 120}}));
    EXPECT_EQ(Surface.BandColours[0], 0xF0CAA6u);

    C.ScaleButtonClicked(true);
    C.MouseDown(400);
    C.MouseUp(100);
    EXPECT_EQ(View.Views[1], std::make_pair(11000, 14000));
}

TEST_F(VisirControllerTest, NarrowSelectionsWidenTo512Codes) {
    C.ScaleButtonClicked(true);
    C.MouseDown(100);
    C.MouseUp(110); // 100 codes
    EXPECT_EQ(View.Views.back(), std::make_pair(11000, 11512));

    Surface.Geo = TPlotGeometry::Compute(1000, 400, 64519, 65519, 0); // 1 code per column
    C.ScaleButtonClicked(true);
    C.MouseDown(600);
    C.MouseUp(700); // 65119..65219: widening right would reach 65535
    EXPECT_EQ(View.Views.back(), std::make_pair(65219 - 512, 65219));
    C.ScaleButtonClicked(true);
    C.MouseDown(2000); // both far right of the plot: held to 65519
    C.MouseUp(3000);
    EXPECT_EQ(View.Views.back(), std::make_pair(65519 - 512, 65519));
}

TEST_F(VisirControllerTest, SweepSelectionSetsTheBoundsAndDisarms) {
    C.AMouseSelectExecute();
    EXPECT_TRUE(View.MouseSelect);
    EXPECT_EQ(Surface.Shape, TPointerShape::Hand);
    C.MouseMove(10); // armed: the hand stays over the plot
    EXPECT_EQ(Surface.Shape, TPointerShape::Hand);
    C.MouseDown(700);
    EXPECT_EQ(C.MouseMode(), TVisirController::SelectSweep);
    C.MouseMove(200);
    EXPECT_EQ(Surface.BandColours.back(), 0xFF00FFu);
    C.MouseUp(200);
    ASSERT_EQ(View.Sweeps.size(), 1u);
    EXPECT_EQ(View.Sweeps[0], std::make_pair(12000, 17000));
    EXPECT_TRUE(View.Views.empty());
    EXPECT_FALSE(C.MouseSelectArmed());
    EXPECT_FALSE(View.MouseSelect);

    // The view selection disarms the sweep selection when both are armed.
    C.AMouseSelectExecute();
    C.ScaleButtonClicked(true);
    C.MouseDown(100);
    EXPECT_EQ(C.MouseMode(), TVisirController::SelectView);
    EXPECT_FALSE(View.MouseSelect);
    C.MouseUp(900);
    EXPECT_EQ(View.Views.back(), std::make_pair(11000, 19000));
    EXPECT_EQ(View.Sweeps.size(), 1u);

    C.AResetDiapExecute();
    EXPECT_EQ(View.Sweeps.back(), std::make_pair(0, 65519));
}

TEST_F(VisirControllerTest, ClickWithoutAModeChangesNothing) {
    C.MouseDown(500);
    C.MouseMove(520);
    C.MouseUp(520);
    EXPECT_TRUE(View.Views.empty());
    EXPECT_TRUE(View.Sweeps.empty());
    EXPECT_TRUE(Surface.Bands.empty());
    EXPECT_TRUE(Surface.LineDraws.empty());
}

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

TEST(StatusBar, DesignTextsUntilTheWindowIsFirstShown) {
    QMainWindow window;
    auto* bar = new TKavStatusBar;
    window.setStatusBar(bar);
    const char* design[] = {
        "", "", "", "", "", "PR:", "S/N:", "Info", "АВТО", "ФИЛЬТР", "НАКОПЛ", ""};
    for (int k = 0; k < TKavStatusBar::PanelCount; ++k) {
        EXPECT_EQ(bar->Panel(k), QString::fromUtf8(design[k])) << k;
        EXPECT_EQ(bar->PanelLabel(k)->width(), TKavStatusBar::PanelWidths[k]) << k;
    }
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (int k = 0; k < TKavStatusBar::PanelCount; ++k)
        EXPECT_EQ(bar->Panel(k), "") << k;

    // Written panels keep their texts when the window is shown again.
    bar->SetPanel(7, QStringLiteral("dH=240"));
    bar->SetPanel(12, QStringLiteral("nowhere"));
    bar->SetPanel(-1, QStringLiteral("nowhere"));
    window.hide();
    window.show();
    EXPECT_EQ(bar->Panel(7), "dH=240");
    bar->SetPanel(7, QString());
    EXPECT_EQ(bar->Panel(7), "");
    EXPECT_EQ(bar->Panel(12), "");
}

TEST(ViewBoundsEdits, EditsSetTheViewTheirUnitTextsAndTheScale) {
    TViewFixture f;
    f.Cfg.ViewMin = 70000; // hand-edited settings file
    f.Cfg.ViewMax = 100;
    TViewBoundsWidget bounds(f.Cfg, f.Format);
    QSignalSpy changed(&bounds, &TViewBoundsWidget::ViewChanged);
    EXPECT_EQ(bounds.MaxView()->toolTip(), "Верхняя граница отображения");
    EXPECT_TRUE(bounds.MinViewExt()->isReadOnly());
    bounds.LoadFromSettings();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_LT(f.Cfg.ViewMin, f.Cfg.ViewMax);
    EXPECT_EQ(f.Cfg.ViewMin, bounds.MinView()->value());
    EXPECT_EQ(f.Cfg.ViewMax, bounds.MaxView()->value());

    bounds.MinView()->setValue(1000);
    EXPECT_EQ(f.Cfg.ViewMin, 1000);
    EXPECT_EQ(bounds.MinViewExt()->text(), "1000");
    // An upper bound set below the lower one pushes the lower one down.
    bounds.MaxView()->setValue(800);
    EXPECT_EQ(f.Cfg.ViewMax, 800);
    EXPECT_EQ(bounds.MinView()->value(), 799);
    EXPECT_EQ(changed.count(), 3);

    bounds.AIncScaleExecute();
    bounds.AIncScaleExecute();
    EXPECT_EQ(f.Cfg.OrdScale, 2);
    bounds.ADecScaleExecute();
    EXPECT_EQ(changed.count(), 6);
    bounds.AAllViewExecute();
    EXPECT_EQ(f.Cfg.OrdScale, 0);
    EXPECT_EQ(f.Cfg.ViewMin, 0);
    EXPECT_EQ(f.Cfg.ViewMax, 65519);
    EXPECT_EQ(changed.count(), 7);
    bounds.ADecScaleExecute(); // already 0: nothing to repaint
    bounds.AAllViewExecute();  // nothing changed, still repainted
    EXPECT_EQ(changed.count(), 8);
    f.Cfg.RazvUnit = 3; // a unit change shows at the next refresh
    bounds.RefreshTexts();
    EXPECT_EQ(bounds.MaxViewExt()->text(), "3300 Э");
}

namespace {

constexpr TColorValue Red = 255;
constexpr TColorValue Blue = 16711680;
constexpr TColorValue Olive = 0x008080;

struct TColorSetupTest : ::testing::Test {
    TKavCfg Cfg{};
    TScriptedDialogPort Port;

    void SetUp() override { SetDefaults(Cfg, QStringLiteral("/tmp")); }

    static void ClickPanel(TColorSetupForm& d, const char* name) {
        auto* panel = d.findChild<QFrame*>(QString::fromLatin1(name));
        ASSERT_TRUE(panel) << name;
        for (int k = 0; k < d.Sheets()->count(); ++k)
            if (d.Sheets()->widget(k)->isAncestorOf(panel))
                d.Sheets()->setCurrentIndex(k);
        QTest::mouseClick(panel, Qt::LeftButton);
    }
};

} // namespace

TEST_F(TColorSetupTest, ChosenColoursGoToTheirSetsOnOkAndNowhereOnCancel) {
    Cfg.PrinterColors.Grid = 0x123456;
    TColorSetupForm d(Cfg, Port);
    d.show();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Настройка цветов"));
    ASSERT_EQ(d.Sheets()->count(), 3);
    EXPECT_EQ(d.Sheets()->tabText(2), QStringLiteral("Файл BMP"));

    Port.Colours = {Red, Olive, std::nullopt, Blue};
    ClickPanel(d, "PVisir2");    // printer Visir2 -> red
    ClickPanel(d, "Graph2");     // screen AddGraph -> olive
    ClickPanel(d, "BText");      // chooser cancelled: unchanged
    ClickPanel(d, "BackGround"); // screen background -> blue
    // Each chooser starts at the colour of its own set and row.
    EXPECT_EQ(Port.ColourStarts,
              (std::vector<TColorValue>{Blue, Cfg.DisplayColors.AddGraph, Cfg.BMPColors.Text,
                                        Cfg.DisplayColors.BackGround}));
    EXPECT_EQ(d.PanelColor(1, 7), Red);

    const TKavCfg before = Cfg;
    QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(Cfg.PrinterColors.Visir2, Red);
    EXPECT_EQ(Cfg.DisplayColors.AddGraph, Olive);
    EXPECT_EQ(Cfg.DisplayColors.BackGround, Blue);
    EXPECT_EQ(Cfg.BMPColors, before.BMPColors);
    EXPECT_EQ(Cfg.PrinterColors.Grid, 0x123456u);
    TColorSet printer = before.PrinterColors;
    printer.Visir2 = Red;
    EXPECT_EQ(Cfg.PrinterColors, printer);

    const TKavCfg accepted = Cfg;
    TColorSetupForm again(Cfg, Port);
    again.show();
    Port.Colours = {Red, Red};
    ClickPanel(again, "Text");
    ClickPanel(again, "BVisir1");
    QTest::mouseClick(again.CancelBtn(), Qt::LeftButton);
    EXPECT_EQ(again.result(), QDialog::Rejected);
    EXPECT_TRUE(Cfg == accepted);
}
