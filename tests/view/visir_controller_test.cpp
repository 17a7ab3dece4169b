#include "view/visir_controller.h"

#include "view_fixture.h"

#include <gtest/gtest.h>
#include <map>
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
    std::vector<int> PanelWrites;
    bool ScaleDown = false;
    bool MouseSelect = false;
    std::vector<std::pair<int, int>> Views;
    std::vector<std::pair<int, int>> Sweeps;

    void SetVisirReadout(int n, const QString& a, const QString& o) override {
        Readouts[n] = {a, o};
    }
    void SetVisirUpDown(int n, int position) override { UpDowns[n] = position; }
    void SetVisirShown(int n, bool shown) override { Shown[n] = shown; }
    void SetStatusPanel(int index, const QString& text) override {
        Panels[index] = text;
        PanelWrites.push_back(index);
    }
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
