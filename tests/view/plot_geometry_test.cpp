#include "view/plot_geometry.h"
#include "view/view_bounds.h"

#include "config/settings_store.h"

#include <gtest/gtest.h>

TEST(PlotGeometry, ScalesFollowWidthViewAndOrdinateScale) {
    const auto g = TPlotGeometry::Compute(1000, 500, 1000, 3000, 0);
    EXPECT_FLOAT_EQ(g.Kx, 0.5f);
    EXPECT_FLOAT_EQ(g.Ky, 500.0f / 4096);
    EXPECT_EQ(g.MidY, 250);
    const auto g6 = TPlotGeometry::Compute(1000, 501, 1000, 3000, 6);
    EXPECT_FLOAT_EQ(g6.Ky, 501.0f / 64);
    EXPECT_EQ(g6.MidY, 250); // truncated
    EXPECT_EQ(TopAmplitude(0), 2048);
    EXPECT_EQ(TopAmplitude(6), 32);
}

TEST(PlotGeometry, AbscissaRoundsHalvesToEven) {
    const auto g = TPlotGeometry::Compute(100, 100, 0, 200, 0); // Kx 0.5
    EXPECT_EQ(g.XOfCode(0), 0);
    EXPECT_EQ(g.XOfCode(1), 0); // 0.5 -> 0
    EXPECT_EQ(g.XOfCode(3), 2); // 1.5 -> 2
    EXPECT_EQ(g.XOfCode(5), 2); // 2.5 -> 2
    EXPECT_EQ(g.XOfCode(200), 100);
    const auto shifted = TPlotGeometry::Compute(100, 100, 1000, 1200, 0);
    EXPECT_EQ(shifted.XOfCode(1007), 4); // 3.5 -> 4
    EXPECT_EQ(shifted.XOfCode(990), -5); // left of the view
}

TEST(PlotGeometry, OrdinateRowsAndThePointLimit) {
    const auto g = TPlotGeometry::Compute(400, 400, 0, 65519, 0); // Ky 400/4096
    EXPECT_EQ(g.YOfOrdinate(2048), 200);
    EXPECT_EQ(g.YOfOrdinate(4095), 200 - 200); // 2047 * 0.09765625 = 199.9 -> 200
    EXPECT_EQ(g.YOfOrdinate(0), 400);          // marks are not limited
    EXPECT_EQ(g.PointY(0), 398);               // points stay on row H - 2
    EXPECT_EQ(g.PointY(2048 + 1024), 100);
    // Ky 400/4096 * 2^6 = 6.25: 10 codes above the zero line is 62.5 -> 62.
    const auto g6 = TPlotGeometry::Compute(400, 400, 0, 65519, 6);
    EXPECT_EQ(g6.YOfOrdinate(2058), 200 - 62);
    EXPECT_EQ(g6.YOfOrdinate(2060), 200 - 75);
}

TEST(PlotGeometry, InverseAndPointerOutsideThePlot) {
    const auto g = TPlotGeometry::Compute(655, 300, 100, 65600, 0); // Kx 0.01
    EXPECT_EQ(g.CodeOfX(0), 100);
    EXPECT_EQ(g.CodeOfX(10), 1100);
    for (int code : {100, 5000, 31234, 65000})
        EXPECT_NEAR(g.CodeOfX(g.XOfCode(code)), code, 50) << code;
    // Far left and far right of the plot: never outside the field codes.
    EXPECT_EQ(g.CodeOfX(-50), -4900);
    EXPECT_EQ(g.FieldCodeOfX(-50), 0);
    EXPECT_EQ(g.FieldCodeOfX(900), 65519);
    EXPECT_EQ(g.FieldCodeOfX(10), 1100);
}

TEST(PlotGeometry, EqualOrCrossedBoundsAndAnUnsizedPlotStayDefined) {
    const auto equal = TPlotGeometry::Compute(500, 300, 2000, 2000, 0);
    EXPECT_GT(equal.ViewMax, equal.ViewMin);
    EXPECT_FLOAT_EQ(equal.Kx, 500.0f);
    const auto crossed = TPlotGeometry::Compute(500, 300, 3000, 2000, 9);
    EXPECT_EQ(crossed.ViewMax, 3001);
    EXPECT_GT(crossed.Kx, 0.0f);
    EXPECT_EQ(crossed.OrdScale, 6);
    const auto unsized = TPlotGeometry::Compute(0, 0, 100, 900, 0);
    EXPECT_EQ(unsized.CodeOfX(37), 100);
    EXPECT_EQ(unsized.FieldCodeOfX(37), 100);
}

TEST(MarkPlacement, MaximumNearTheTopGoesBelowWithAnUpArrow) {
    // th 15: room above needs y >= 50.
    const auto high = PlaceMaximumMark(100, 49, 30, 15);
    EXPECT_TRUE(high.UpArrow);
    EXPECT_EQ(high.LabelX, 85);
    EXPECT_EQ(high.LabelY, 69);
    const auto roomy = PlaceMaximumMark(100, 50, 30, 15);
    EXPECT_FALSE(roomy.UpArrow);
    EXPECT_EQ(roomy.LabelY, 50 - 20 - 15);
}

TEST(MarkPlacement, MinimumNearTheBottomGoesAboveWithADownArrow) {
    // h 300, th 15: room below needs 300 - y >= 35.
    const auto low = PlaceMinimumMark(100, 266, 31, 15, 300);
    EXPECT_FALSE(low.UpArrow);
    EXPECT_EQ(low.LabelX, 85);
    EXPECT_EQ(low.LabelY, 266 - 20 - 15);
    const auto roomy = PlaceMinimumMark(100, 265, 31, 15, 300);
    EXPECT_TRUE(roomy.UpArrow);
    EXPECT_EQ(roomy.LabelY, 285);
}

TEST(MarkPlacement, LabelsAtTheSidesMoveInside) {
    EXPECT_EQ(KeepLabelInside(100, 40, 400), 100);
    EXPECT_EQ(KeepLabelInside(-15, 40, 400), 0);
    EXPECT_EQ(KeepLabelInside(380, 40, 400), 360);
    EXPECT_EQ(KeepLabelInside(10, 500, 400), 0);
}

TEST(MarkPlacement, ArrowsTouchTheExtremumFromTheLabelSide) {
    const auto up = ArrowPolygon(50, 100, true);
    EXPECT_EQ(up[0], QPoint(50, 100));
    EXPECT_EQ(up[1], QPoint(58, 108));
    EXPECT_EQ(up[3], QPoint(53, 118));
    EXPECT_EQ(up[6], QPoint(42, 108));
    const auto down = ArrowPolygon(50, 100, false);
    EXPECT_EQ(down[1], QPoint(58, 92));
    EXPECT_EQ(down[4], QPoint(47, 82));
}

TEST(ViewBounds, EditsAreHeldToTheirRangesAndNeverCross) {
    TKavCfg cfg{};
    SetDefaults(cfg, QStringLiteral("/tmp"));
    SetViewMin(cfg, 70000);
    EXPECT_EQ(cfg.ViewMin, 65007);
    EXPECT_EQ(cfg.ViewMax, 65519);
    SetViewMax(cfg, 600);
    EXPECT_EQ(cfg.ViewMax, 600);
    EXPECT_EQ(cfg.ViewMin, 599); // the crossed lower bound gave way
    SetViewMin(cfg, 600);
    EXPECT_EQ(cfg.ViewMin, 600);
    EXPECT_EQ(cfg.ViewMax, 601);
    SetViewMax(cfg, -5);
    EXPECT_EQ(cfg.ViewMax, 512);
    EXPECT_EQ(cfg.ViewMin, 511);
}

TEST(ViewBounds, BothAtOnceTakeAValidRangeAsGiven) {
    TKavCfg cfg{};
    SetDefaults(cfg, QStringLiteral("/tmp"));
    SetViewBounds(cfg, 1000, 2000);
    EXPECT_EQ(cfg.ViewMin, 1000);
    EXPECT_EQ(cfg.ViewMax, 2000);
    SetViewBounds(cfg, 5000, 9000); // entirely above the old view
    EXPECT_EQ(cfg.ViewMin, 5000);
    EXPECT_EQ(cfg.ViewMax, 9000);
    SetViewBounds(cfg, 100, 700); // entirely below
    EXPECT_EQ(cfg.ViewMin, 100);
    EXPECT_EQ(cfg.ViewMax, 700);
    SetViewBounds(cfg, 65023, 65535); // a selection at the right end
    EXPECT_EQ(cfg.ViewMin, 65007);
    EXPECT_EQ(cfg.ViewMax, 65519);
}

TEST(ViewBounds, OrdinateScaleStepsStopAtTheirEnds) {
    TKavCfg cfg{};
    EXPECT_FALSE(DecOrdScale(cfg));
    for (int k = 0; k < 6; ++k)
        EXPECT_TRUE(IncOrdScale(cfg));
    EXPECT_EQ(cfg.OrdScale, 6);
    EXPECT_FALSE(IncOrdScale(cfg));
    EXPECT_TRUE(DecOrdScale(cfg));
    EXPECT_EQ(cfg.OrdScale, 5);
}
