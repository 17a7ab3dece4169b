#include "print/page_geometry.h"

#include <gtest/gtest.h>

namespace {

struct TPaperCase {
    int W, H;
    TPaperSize Paper;
};

TEST(PageGeometry, NearestPaperByRoundedDistanceEarlierEntryOnATie) {
    const TPaperCase cases[] = {
        {200, 287, {210, 297}}, // an A4 printer with 5 mm it cannot reach
        {287, 200, {297, 210}}, // the same in landscape
        {210, 297, {210, 297}}, // exactly a standard paper
        {290, 410, {297, 420}}, // A3
        {410, 290, {420, 297}},
        {0, 0, {210, 297}},
        // On the line between A4 portrait and landscape: 61.5 from both.
        {253, 253, {210, 297}},
        // 205.25 from A4 portrait, 204.94 from A3 portrait: both round to
        // 205, so the earlier entry wins though A3 is nearer.
        {98, 469, {210, 297}},
        {98, 470, {297, 420}}, // 206.1 against 205.2
    };
    for (const TPaperCase& c : cases)
        EXPECT_EQ(NearestPaper(c.W, c.H), c.Paper) << c.W << " x " << c.H;
}

TEST(PageGeometry, PointDistanceRoundsHalvesToEven) {
    EXPECT_EQ(PointDistance(QPoint(0, 0), QPoint(3, 4)), 5);
    EXPECT_EQ(PointDistance(QPoint(3, 4), QPoint(0, 0)), 5);
    EXPECT_EQ(PointDistance(QPoint(0, 0), QPoint(1, 1)), 1); // 1.41
    EXPECT_EQ(PointDistance(QPoint(0, 0), QPoint(2, 2)), 3); // 2.83
    EXPECT_EQ(PointDistance(QPoint(-5, 0), QPoint(5, 0)), 10);
}

TEST(PageGeometry, OffsetsAreHalfTheUnprintableStripTruncated) {
    EXPECT_EQ(UnprintableOffsets(200, 287), (TPaperOffsets{5, 5}));
    EXPECT_EQ(UnprintableOffsets(203, 290), (TPaperOffsets{3, 3})); // 3.5 truncated
    EXPECT_EQ(UnprintableOffsets(210, 297), (TPaperOffsets{0, 0}));
    // Printable area larger than the paper: the offsets go negative, toward
    // zero.
    EXPECT_EQ(UnprintableOffsets(213, 300), (TPaperOffsets{-1, -1}));
}

// An A4 printer that cannot reach 5 mm on each side, at 10 pixels per mm.
constexpr TPrintableArea A4Printer{2000, 2870, 200, 287};

TEST(PageGeometry, MarginsCountFromThePaperEdgeNotFromThePrintableArea) {
    // A 15 mm margin leaves 10 mm of the printable area: 100 pixels.
    const TPageGeometry g = TPageGeometry::Compute(A4Printer, {15, 15, 15, 15}, 0, 65519, 0);
    EXPECT_EQ(g.Left, 100);
    EXPECT_EQ(g.Top, 100);
    EXPECT_EQ(g.Right, 2000 - 100);
    EXPECT_EQ(g.Bottom, 2870 - 100);
    // Each side on its own, truncated toward zero: (7 - 5) * 2000 / 200.
    const TPageGeometry h = TPageGeometry::Compute({2001, 2871, 200, 287}, {7, 20, 30, 5}, 0, 1, 0);
    EXPECT_EQ(h.Left, 20);          // 2 * 2001 / 200 = 20.01
    EXPECT_EQ(h.Top, 150);          // 15 * 2871 / 287 = 150.05
    EXPECT_EQ(h.Right, 2001 - 250); // 25 * 2001 / 200 = 250.1
    EXPECT_EQ(h.Bottom, 2871 - 0);
    EXPECT_TRUE(h.HasPlot());
}

TEST(PageGeometry, MarginsEqualToTheOffsetsGiveTheWholePrintablePage) {
    const TPageGeometry g = TPageGeometry::Compute(A4Printer, {5, 5, 5, 5}, 0, 65519, 0);
    EXPECT_EQ(g.Left, 0);
    EXPECT_EQ(g.Top, 0);
    EXPECT_EQ(g.Right, 2000);
    EXPECT_EQ(g.Bottom, 2870);
}

TEST(PageGeometry, MarginsThatMeetLeaveNoPlot) {
    EXPECT_FALSE(TPageGeometry::Compute(A4Printer, {110, 15, 110, 15}, 0, 100, 0).HasPlot());
    EXPECT_FALSE(TPageGeometry::Compute(A4Printer, {15, 200, 15, 200}, 0, 100, 0).HasPlot());
    // Absurd stored margins stay defined.
    const TPageGeometry g =
        TPageGeometry::Compute(A4Printer, {2147483647, -2147483647 - 1, 15, 15}, 0, 100, 0);
    EXPECT_FALSE(g.HasPlot());
}

TEST(PageGeometry, TransformsFromTheViewAndTheOrdinateScale) {
    // Plot 100..1900 x 100..2770: 1800 pixels over 900 codes, 2670 over 4096.
    const TPageGeometry g = TPageGeometry::Compute(A4Printer, {15, 15, 15, 15}, 1000, 1900, 0);
    EXPECT_FLOAT_EQ(g.KxP, 2.0f);
    EXPECT_FLOAT_EQ(g.KyP, 2670.0f / 4096);
    EXPECT_EQ(g.MidP, (100 + 2770) / 2);
    EXPECT_EQ(g.XOfCode(1000), 100);
    EXPECT_EQ(g.XOfCode(1900), 1900);
    EXPECT_EQ(g.XOfCode(1450), 1000);
    EXPECT_EQ(g.YOfOrdinate(2048), g.MidP);
    EXPECT_EQ(g.YOfOrdinate(4096), g.MidP - 1335);
    // Marks go where they fall; points stop two rows above the bottom.
    EXPECT_EQ(g.YOfOrdinate(0), g.MidP + 1335);
    EXPECT_EQ(g.PointY(0), 2770 - 2);
    EXPECT_EQ(g.PointY(2048), g.MidP);

    // Ordinate scale 6: the height spans 64 codes.
    const TPageGeometry z = TPageGeometry::Compute(A4Printer, {15, 15, 15, 15}, 0, 100, 6);
    EXPECT_FLOAT_EQ(z.KyP, 2670.0f / 64);
    // Equal view bounds are kept one code apart.
    const TPageGeometry e = TPageGeometry::Compute(A4Printer, {15, 15, 15, 15}, 500, 500, 0);
    EXPECT_EQ(e.ViewMax, 501);
    EXPECT_FLOAT_EQ(e.KxP, 1800.0f);
}

TEST(PageGeometry, PreviewDrawsThePrintableAreaToScaleCentred) {
    // A4 portrait on a 200 x 200 box: the height decides, 170 / 297 px/mm.
    const TSampleGeometry p = ComputeSample(200, 200, 200, 287, {15, 15, 15, 15});
    EXPECT_DOUBLE_EQ(p.Scale, 0.85 * 200 / 297);
    const int w = static_cast<int>(std::nearbyint(200 * p.Scale)); // 114.5 -> 114
    const int h = static_cast<int>(std::nearbyint(287 * p.Scale)); // 164.3 -> 164
    EXPECT_EQ(w, 114);
    EXPECT_EQ(p.Page, (TSampleRect{(200 - w) / 2, (200 - h) / 2, 200 - (200 - w) / 2,
                                   200 - (200 - h) / 2}));
    const int m = static_cast<int>(std::nearbyint(15 * p.Scale)); // 8.6 -> 9
    EXPECT_EQ(p.Plot,
              (TSampleRect{p.Page.Left + m, p.Page.Top + m, p.Page.Right - m, p.Page.Bottom - m}));
    EXPECT_EQ(p.GridY, (p.Plot.Top + p.Plot.Bottom) / 2);

    // Landscape: the width decides and the page turns.
    const TSampleGeometry l = ComputeSample(200, 200, 287, 200, {15, 15, 15, 15});
    EXPECT_DOUBLE_EQ(l.Scale, 0.85 * 200 / 297);
    EXPECT_EQ(l.Page.Right - l.Page.Left, p.Page.Bottom - p.Page.Top);
    EXPECT_EQ(l.Page.Bottom - l.Page.Top, p.Page.Right - p.Page.Left);
}

} // namespace
