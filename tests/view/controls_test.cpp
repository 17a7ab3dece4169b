// The visirs and the selections with the mouse on the real widgets, wired as
// the window wires them and driven with QTest input or the controller's
// handlers; the status bar, the view bounds' edits and the colour dialog.

#include "view/color_setup_dialog.h"
#include "view/plot_widget.h"
#include "view/status_bar_widget.h"
#include "view/view_bounds_widget.h"
#include "view/visir_controller.h"
#include "view/visir_panel_widget.h"
#include "view/visir_view_widget.h"

#include "qt_app.h"
#include "scripted_port.h"
#include "view/display_color_painter.h"
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
#include <memory>
#include <utility>
#include <vector>

namespace {

// The plot (1000 columns over the codes 10000..20000, 10 codes a column)
// with its visir strip, view bounds, scale button and status bar, shown.
struct VisirTest : ::testing::Test {
    TViewFixture F;
    std::unique_ptr<QWidget> Window = std::make_unique<QWidget>();
    TPlotWidget* Plot;
    TVisirPanelWidget* Panel1 = new TVisirPanelWidget(1);
    TVisirPanelWidget* Panel2 = new TVisirPanelWidget(2);
    TViewBoundsWidget* Bounds;
    TKavStatusBar* Status = new TKavStatusBar;
    QToolButton* ScaleBtn = new QToolButton;
    QAction* AVisir1 = new QAction(Window.get());
    QAction* AVisir2 = new QAction(Window.get());
    QAction* AMouseSelect = new QAction(Window.get());
    std::unique_ptr<TVisirWidgetView> View;
    std::unique_ptr<TVisirController> C;
    std::vector<std::pair<int, int>> Sweeps;
    int Repaints = 0;

    VisirTest() {
        F.Cfg.ViewMin = 10000;
        F.Cfg.ViewMax = 20000;
        Plot = new TPlotWidget(F.Cfg, *F.Store, F.Results, F.Readings, F.Format, F.GFactor);
        Plot->setFixedSize(1000, 400);
        Bounds = new TViewBoundsWidget(F.Cfg, F.Format);
        auto* layout = new QVBoxLayout(Window.get());
        for (QWidget* w :
             std::initializer_list<QWidget*>{Plot, Panel1, Panel2, Bounds, ScaleBtn, Status})
            layout->addWidget(w);
        for (QAction* a : {AVisir1, AVisir2, AMouseSelect})
            a->setCheckable(true);
        View = std::make_unique<TVisirWidgetView>(TVisirWidgets{Plot, Panel1, Panel2, Status,
                                                                Bounds, ScaleBtn, AVisir1, AVisir2,
                                                                nullptr, AMouseSelect});
        C = std::make_unique<TVisirController>(F.Cfg, *F.Store, F.Format, F.GFactor, *View);
        View->Bind(*C);
        View->OnSweepBoundsSelected = [this](int b, int t) { Sweeps.emplace_back(b, t); };
        QObject::connect(Bounds, &TViewBoundsWidget::ViewChanged, [this] { ++Repaints; });
        C->ApplyStoredVisirs();
        Window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
    }

    void Press(int x) { QTest::mousePress(Plot, Qt::LeftButton, {}, QPoint(x, 150)); }
    void Move(int x) { QTest::mouseMove(Plot, QPoint(x, 150)); }
    void Release(int x) { QTest::mouseRelease(Plot, Qt::LeftButton, {}, QPoint(x, 150)); }
    QRgb Pixel(int x, int y) const { return Plot->Canvas().pixel(x, y); }
    QRgb Bg() const { return ToRgb(F.Cfg.DisplayColors.BackGround); }
    Qt::CursorShape Pointer() const { return Plot->cursor().shape(); }
    std::pair<int, int> ViewBounds() const { return {F.Cfg.ViewMin, F.Cfg.ViewMax}; }
    // The columns that hold a visir line (row 50 crosses no grid line).
    std::vector<int> LinesOn() const {
        std::vector<int> out;
        for (int x = 1; x < 950; ++x)
            if (Pixel(x, 50) != Bg())
                out.push_back(x);
        return out;
    }
};

constexpr QRgb SkyBlue = qRgb(0xA6, 0xCA, 0xF0); // the view selection's band
constexpr QRgb Fuchsia = qRgb(0xFF, 0x00, 0xFF); // the sweep selection's band

} // namespace

TEST_F(VisirTest, PlacingAVisirFillsItsReadoutsAndMovesOneLine) {
    F.Put(12340, 2048 + 100);
    F.Cfg.Visir1 = true;
    C->SetVisir1(12340);
    EXPECT_EQ(F.Cfg.VisKoord1, 12340);
    EXPECT_EQ(Panel1->AbscissaText(), "12340");
    EXPECT_EQ(Panel1->OrdinateText(), "100");
    EXPECT_EQ(Panel1->UpDownPosition(), 12340 - 32767);
    EXPECT_EQ(C->VisirX(1), 234);
    EXPECT_EQ(LinesOn(), std::vector<int>{234});
    EXPECT_EQ(Pixel(234, 50), ToRgb(F.Cfg.DisplayColors.Visir1));

    C->SetVisir1(12343); // 234.3 -> 234: same column, nothing drawn
    EXPECT_EQ(LinesOn(), std::vector<int>{234});
    EXPECT_EQ(Panel1->OrdinateText(), "<НЕТ>");

    C->SetVisir1(15000);
    EXPECT_EQ(LinesOn(), std::vector<int>{500});
    C->SetVisir1(25000); // outside the view: erased, code and readouts kept
    EXPECT_TRUE(LinesOn().empty());
    EXPECT_EQ(C->VisirX(1), -1);
    EXPECT_EQ(C->VisirDrawn(1), -1);
    EXPECT_EQ(F.Cfg.VisKoord1, 25000);
    EXPECT_EQ(Panel1->AbscissaText(), "25000");

    // The g-factor readout replaces the field when shown.
    F.GFactor.Text = [](std::uint16_t code) { return QStringLiteral("g=%1").arg(code); };
    F.GFactor.Shown = true;
    C->SetVisir2(14000);
    EXPECT_EQ(Panel2->AbscissaText(), "g=14000");
    F.GFactor.Shown = false;
    C->SetVisir2(14000);
    EXPECT_EQ(Panel2->AbscissaText(), "14000");

    // The up-down control moves the visir by one code.
    C->UpDownClicked(1, 15001 - 32767);
    EXPECT_EQ(C->VisirCode(1), 15001);
    C->UpDownClicked(1, 15001 - 32767); // already there: nothing placed
    EXPECT_EQ(C->VisirCode(1), 15001);
    C->UpDownClicked(1, -32767);
    EXPECT_EQ(C->VisirCode(1), 0);
}

TEST_F(VisirTest, DistanceNeedsBothVisirsAndDropsTheAbsoluteOffset) {
    F.Cfg.Visir1 = true;
    C->SetVisir1(11000);
    C->SetVisir1(12000);
    EXPECT_EQ(Status->Panel(7), ""); // one visir: no distance

    F.Cfg.Visir2 = true;
    C->SetVisir2(10000);
    EXPECT_EQ(Status->Panel(7), "dH=2000");

    F.Cfg.RazvUnit = 3; // absolute field 3000..3300 Э over the whole sweep
    C->SetVisir2(12000 - 6552);
    EXPECT_EQ(Status->Panel(7), "dH=30 Э");
    EXPECT_EQ(F.Cfg.RazvUnit, 3); // the selection is given back
}

TEST_F(VisirTest, TogglingPlacesAVisirInsideTheViewOrAtItsCentre) {
    F.Put(14880, 2048 + 11);
    F.Cfg.VisKoord1 = 50; // outside 10000..20000
    F.Cfg.VisKoord2 = 19000;
    AVisir1->trigger();
    AVisir2->trigger();
    EXPECT_TRUE(F.Cfg.Visir1 && AVisir1->isChecked() && Panel1->isVisible());
    EXPECT_EQ(F.Cfg.VisKoord1, 15000 - 120);
    EXPECT_EQ(Panel1->AbscissaText(), "14880");
    EXPECT_EQ(Panel1->OrdinateText(), "11");
    EXPECT_EQ(F.Cfg.VisKoord2, 19000); // inside: kept
    EXPECT_EQ(LinesOn(), (std::vector<int>{488, 900}));
    EXPECT_EQ(Pixel(900, 50), ToRgb(F.Cfg.DisplayColors.Visir2));
    // The strip's arrows move a visir by one code.
    QTest::mouseClick(Panel2->RightButton(), Qt::LeftButton);
    EXPECT_EQ(F.Cfg.VisKoord2, 19001);
    QTest::mouseClick(Panel1->LeftButton(), Qt::LeftButton);
    EXPECT_EQ(F.Cfg.VisKoord1, 14879);
    EXPECT_EQ(Status->Panel(7), "dH=4122");

    AVisir1->trigger(); // hidden: the line goes
    EXPECT_FALSE(F.Cfg.Visir1 || AVisir1->isChecked() || Panel1->isVisible());
    EXPECT_EQ(LinesOn(), std::vector<int>{900});

    F.Cfg.VisKoord2 = 20000; // on the edge is not strictly inside
    C->AStandVisirExecute();
    EXPECT_TRUE(F.Cfg.Visir1 && F.Cfg.Visir2);
    EXPECT_EQ(std::tuple(F.Cfg.VisKoord1, F.Cfg.VisKoord2), std::tuple(14879, 15120));
    EXPECT_EQ(LinesOn(), (std::vector<int>{488, 512}));
    EXPECT_EQ(Status->Panel(7), "dH=241");
}

TEST_F(VisirTest, PointerReadoutsAndShapes) {
    F.Put(12000, 2048 - 7);
    F.Cfg.Visir2 = true;
    C->SetVisir2(13000); // column 300
    Move(200);
    EXPECT_EQ(Status->Panel(3), "ПОЛЕ: 12000");
    EXPECT_EQ(Status->Panel(4), "АМПЛ: -7");
    EXPECT_EQ(Pointer(), Qt::ArrowCursor);
    Move(303);
    EXPECT_EQ(Status->Panel(4), "<НЕТ>");
    EXPECT_EQ(Pointer(), Qt::SplitHCursor);
    Move(304);
    EXPECT_EQ(Pointer(), Qt::ArrowCursor);

    // Outside the plot the code is held to the field codes.
    Bounds->SetBounds(0, 1000);
    C->MouseMove(-40);
    EXPECT_EQ(Status->Panel(3), "ПОЛЕ: 0");
    Bounds->SetBounds(65000, 65519);
    C->MouseMove(5000);
    EXPECT_EQ(Status->Panel(3), "ПОЛЕ: 65519");
    EXPECT_EQ(Status->Panel(4), "<НЕТ>");
}

TEST_F(VisirTest, DraggingAVisirFollowsThePointer) {
    F.Cfg.Visir1 = true;
    F.Cfg.Visir2 = true;
    C->SetVisir1(13000); // column 300
    C->SetVisir2(13020); // column 302: the later test wins
    Move(301);
    EXPECT_EQ(Pointer(), Qt::SplitHCursor);
    Press(301);
    EXPECT_EQ(C->MouseMode(), TVisirController::DragVisir2);
    Move(450);
    EXPECT_EQ(F.Cfg.VisKoord2, 14500);
    EXPECT_EQ(Panel2->AbscissaText(), "14500");
    EXPECT_EQ(Status->Panel(7), "dH=1500");
    EXPECT_EQ(LinesOn(), (std::vector<int>{300, 450}));
    Move(-100); // off the left edge: left of the view, no line
    EXPECT_EQ(F.Cfg.VisKoord2, 9000);
    EXPECT_EQ(C->VisirDrawn(2), -1);
    Move(-2000); // far off: held to code 0
    EXPECT_EQ(F.Cfg.VisKoord2, 0);
    Release(-2000);
    EXPECT_EQ(C->MouseMode(), TVisirController::Idle);
    EXPECT_EQ(LinesOn(), std::vector<int>{300});
    EXPECT_EQ(ViewBounds(), std::pair(10000, 20000));
    EXPECT_EQ(Repaints, 0);
    EXPECT_TRUE(Sweeps.empty());

    // A visir outside the view has no column to grab at the left edge.
    C->MouseDown(1);
    EXPECT_EQ(C->MouseMode(), TVisirController::Idle);
    C->MouseUp(1);
}

TEST_F(VisirTest, ViewSelectionEitherWayWithItsBand) {
    // Not armed, a drag changes nothing.
    const QImage before = Plot->Canvas().copy();
    Press(500);
    Move(520);
    Release(520);
    EXPECT_EQ(Plot->Canvas(), before);
    EXPECT_EQ(Repaints, 0);
    EXPECT_TRUE(Sweeps.empty());

    QTest::mouseClick(ScaleBtn, Qt::LeftButton);
    EXPECT_TRUE(ScaleBtn->isChecked());
    EXPECT_EQ(Pointer(), Qt::PointingHandCursor);
    Press(100);
    Move(150);
    Move(120); // going back leaves the band as it is
    EXPECT_EQ(Pixel(140, 40), SkyBlue);
    EXPECT_EQ(Pixel(99, 40), Bg());
    EXPECT_EQ(Pixel(151, 40), Bg());
    Release(400);
    EXPECT_EQ(ViewBounds(), std::pair(11000, 14000));
    EXPECT_EQ(Repaints, 1);
    EXPECT_EQ(Bounds->MinView()->value(), 11000);
    EXPECT_EQ(Bounds->MaxViewExt()->text(), "14000");
    EXPECT_FALSE(C->ScaleArmed() || ScaleBtn->isChecked());
    EXPECT_EQ(Pointer(), Qt::ArrowCursor);
    EXPECT_EQ(Plot->Geometry().ViewMin, 11000); // repainted: the band is gone
    EXPECT_EQ(Pixel(140, 40), Bg());

    // From right to left.
    Bounds->SetBounds(10000, 20000);
    QTest::mouseClick(ScaleBtn, Qt::LeftButton);
    Press(400);
    Release(100);
    EXPECT_EQ(ViewBounds(), std::pair(11000, 14000));

    // The pointer leaving the plot: the code is held to 0.
    Bounds->SetBounds(10000, 20000);
    QTest::mouseClick(ScaleBtn, Qt::LeftButton);
    Press(40);
    Move(-600);
    EXPECT_EQ(Status->Panel(3), "ПОЛЕ: 4000");
    Release(-1600);
    EXPECT_EQ(ViewBounds(), std::pair(0, 10400));
}

// 100 codes widen to the right; 65119..65219 (1 code per column) would
// reach 65535 and widen to the left; both ends far right of the plot are
// held to 65519.
TEST_F(VisirTest, NarrowSelectionsWidenTo512Codes) {
    const struct {
        std::pair<int, int> View, Columns, Selected;
    } cases[] = {{{10000, 20000}, {100, 110}, {11000, 11512}},
                 {{64519, 65519}, {600, 700}, {65219 - 512, 65219}},
                 {{64519, 65519}, {2000, 3000}, {65519 - 512, 65519}}};
    for (const auto& c : cases) {
        Bounds->SetBounds(c.View.first, c.View.second);
        C->ScaleButtonClicked(true);
        C->MouseDown(c.Columns.first);
        C->MouseUp(c.Columns.second);
        EXPECT_EQ(ViewBounds(), c.Selected) << c.Columns.first;
    }
}

TEST_F(VisirTest, SweepSelectionSetsTheBoundsAndDisarms) {
    AMouseSelect->trigger();
    EXPECT_TRUE(AMouseSelect->isChecked());
    EXPECT_EQ(Pointer(), Qt::PointingHandCursor);
    Move(10); // armed: the hand stays over the plot
    EXPECT_EQ(Pointer(), Qt::PointingHandCursor);
    Press(700);
    EXPECT_EQ(C->MouseMode(), TVisirController::SelectSweep);
    Move(200);
    EXPECT_EQ(Pixel(450, 40), Fuchsia);
    Release(200);
    ASSERT_EQ(Sweeps.size(), 1u);
    EXPECT_EQ(Sweeps[0], std::make_pair(12000, 17000));
    EXPECT_EQ(Repaints, 0); // the view stays
    EXPECT_FALSE(C->MouseSelectArmed() || AMouseSelect->isChecked());
    EXPECT_EQ(Pointer(), Qt::ArrowCursor);

    // The view selection disarms the sweep selection when both are armed.
    C->AMouseSelectExecute();
    C->ScaleButtonClicked(true);
    C->MouseDown(100);
    EXPECT_EQ(C->MouseMode(), TVisirController::SelectView);
    EXPECT_FALSE(AMouseSelect->isChecked());
    C->MouseUp(900);
    EXPECT_EQ(ViewBounds(), std::pair(11000, 19000));
    EXPECT_EQ(Sweeps.size(), 1u);

    C->AResetDiapExecute();
    EXPECT_EQ(Sweeps.back(), std::make_pair(0, 65519));
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
    EXPECT_EQ(std::tuple(f.Cfg.OrdScale, f.Cfg.ViewMin, f.Cfg.ViewMax), std::tuple(0, 0, 65519));
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
    TScriptedPort Port;

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
