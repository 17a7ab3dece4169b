// The printout: the page's geometry from the printer's area and the
// margins, the page as painted (frame, texts, points, visirs, extrema and
// results), the PDF written whole or not at all, and kavtool print.
#include "base/atomic_file.h"
#include "disk_limits.h"
#include "kavtool_run.h"
#include "print/page_geometry.h"
#include "print/printout_job_painter.h"
#include "print/printout_painter.h"
#include "print/printout_texts.h"
#include "processing/analysis_overlay.h"
#include "spectrum/parameter_block.h"
#include "spectrum/spectrum_file.h"
#include "temp_files.h"
#include "view/analysis_overlay_painter.h"
#include "view/canvas_checks.h"
#include "view/display_color_painter.h"
#include "view/qt_app.h"
#include "view/view_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

TEST(PageGeometry, NearestPaperByRoundedDistanceEarlierEntryOnATie) {
    const struct {
        int W, H;
        TPaperSize Paper;
    } cases[] = {
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
    for (const auto& c : cases)
        EXPECT_EQ(NearestPaper(c.W, c.H), c.Paper) << c.W << " x " << c.H;
}

// Distances round halves to even; the offsets are half the unprintable
// strip truncated toward zero, negative for an area larger than the paper.
TEST(PageGeometry, PointDistanceRoundsAndOffsetsTruncate) {
    const struct {
        QPoint A, B;
        int Distance;
    } distances[] = {{{0, 0}, {3, 4}, 5},
                     {{3, 4}, {0, 0}, 5},
                     {{0, 0}, {1, 1}, 1}, // 1.41
                     {{0, 0}, {2, 2}, 3},
                     /* 2.83 */ {{-5, 0}, {5, 0}, 10}};
    for (const auto& d : distances)
        EXPECT_EQ(PointDistance(d.A, d.B), d.Distance) << d.A.x() << "," << d.A.y();
    const struct {
        int W, H;
        TPaperOffsets Offsets;
    } offsets[] = {
        {200, 287, {5, 5}}, {203, 290, {3, 3}}, {210, 297, {0, 0}}, {213, 300, {-1, -1}}};
    for (const auto& o : offsets)
        EXPECT_EQ(UnprintableOffsets(o.W, o.H), o.Offsets) << o.W;
}

// An A4 printer that cannot reach 5 mm on each side, at 10 pixels per mm.
constexpr TPrintableArea A4Printer{2000, 2870, 200, 287};

// The plot's edges: left, top, right, bottom.
std::array<int, 4> Edges(const TPageGeometry& g) {
    return {g.Left, g.Top, g.Right, g.Bottom};
}

TEST(PageGeometry, MarginsCountFromThePaperEdgeNotFromThePrintableArea) {
    // Each side on its own, truncated toward zero: (15 - 5) * 2000 / 200.
    // Margins below the offsets (a hand-edited Kav.ini, a printer changed
    // since) are raised to the strip the printer cannot reach.
    const struct {
        TPrintableArea Area;
        TPageMargins Margins;
        std::array<int, 4> Edges;
    } cases[] = {
        {A4Printer, {15, 15, 15, 15}, {100, 100, 2000 - 100, 2870 - 100}},
        // 2 * 2001 / 200 = 20.01, 15 * 2871 / 287 = 150.05, 25 * 2001 / 200 = 250.1
        {{2001, 2871, 200, 287}, {7, 20, 30, 5}, {20, 150, 2001 - 250, 2871}},
        {A4Printer, {5, 5, 5, 5}, {0, 0, 2000, 2870}},
        {A4Printer, {0, 1, 4, -3}, {0, 0, 2000, 2870}},
        {A4Printer, {1, 15, 15, 15}, {0, 100, 2000 - 100, 2870 - 100}},
    };
    for (const auto& c : cases) {
        const TPageGeometry g = TPageGeometry::Compute(c.Area, c.Margins, 0, 65519, 0);
        EXPECT_EQ(Edges(g), c.Edges) << c.Margins.Left << " " << c.Margins.Top;
        EXPECT_TRUE(g.HasPlot());
    }
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

constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Red = 0xFFFF0000;  // Graph and Text
constexpr QRgb Blue = 0xFF0000FF; // Border
constexpr QRgb Lime = 0xFF00FF00; // Visir1
constexpr TColorValue Fuchsia = 0xFF00FF;

// A page of 200 x 287 mm at 300 dots per inch, as an A4 printer that cannot
// reach 5 mm on each side reports it: 15 mm margins leave 10 mm, 118 pixels.
struct PrintoutTest : ::testing::Test {
    TViewFixture F;
    QImage Page{2362, 3390, QImage::Format_RGB32};
    QString Header = PrintoutHeader(false, QStringLiteral("/lab/2024/Образец 1.kav"),
                                    QStringLiteral("20"), QStringLiteral(" 4 мин"));
    QString Reason;

    PrintoutTest() {
        Page.setDotsPerMeterX(11811);
        Page.setDotsPerMeterY(11811);
        Page.fill(White);
        F.Cfg.Visir1 = F.Cfg.Visir2 = false;
    }

    TPrintout Printout() const {
        return TPrintout{{F.Cfg, *F.Store, F.Results, F.Readings, F.Format, F.GFactor}, Header};
    }
    // Paints the page afresh.
    bool Paint(const TPrintout& page) {
        Page.fill(White);
        QPainter p(&Page);
        return PaintPrintout(p, page, &Reason);
    }
    bool Paint() { return Paint(Printout()); }
    // A maximum 1000 above the zero line at 30000, a minimum 1000 below at 31000.
    void TwoExtrema() {
        F.Put(30000, 3048);
        F.Put(31000, 1048);
        F.Results.MaxPositions = {30000};
        F.Results.MinPositions = {31000};
    }
    void Visirs(int one, int two) {
        F.Cfg.Visir1 = F.Cfg.Visir2 = true;
        F.Cfg.VisKoord1 = static_cast<std::uint16_t>(one);
        F.Cfg.VisKoord2 = static_cast<std::uint16_t>(two);
    }
    TPageGeometry Geo() const { return PrintoutGeometry(Printout(), PrintableAreaOf(Page)); }
    QFontMetrics Metrics() const { return QFontMetrics(PrintoutFont(), &Page); }
    int TextW(const QString& text) const { return Metrics().horizontalAdvance(text); }
    int TextH() const { return Metrics().height(); }
    bool Holds(int x, int y, const QString& text, QRgb colour = Red) const {
        return HoldsLabel(Page, PrintoutFont(), x, y, text, White, colour);
    }
    int Count(const QRect& r, QRgb colour) const { return CountColour(Page, r, colour); }
};

TEST_F(PrintoutTest, FrameInsideTheMarginsAndTheHeader) {
    const TPrintableArea area = PrintableAreaOf(Page);
    EXPECT_EQ(std::pair(area.HorzSize, area.VertSize), std::pair(200, 287));
    ASSERT_TRUE(Paint()) << Reason.toStdString();
    const TPageGeometry g = Geo();
    EXPECT_EQ(Edges(g), (std::array{118, 118, 2362 - 118, 3390 - 118}));
    // The frame runs along the first and last column and row of the plot.
    for (int y : {g.Top + 300, g.Bottom - 300}) {
        EXPECT_EQ(Page.pixel(g.Left, y), Blue);
        EXPECT_EQ(Page.pixel(g.Right - 1, y), Blue);
        EXPECT_EQ(Page.pixel(g.Left - 1, y), White);
        EXPECT_EQ(Page.pixel(g.Right, y), White);
    }
    EXPECT_EQ(Page.pixel(1000, g.Top), Blue);
    EXPECT_EQ(Page.pixel(1000, g.Bottom - 1), Blue);
    EXPECT_EQ(Page.pixel(1000, g.Top - 1), White);

    EXPECT_EQ(Header,
              QStringLiteral(" Файл: \"Образец 1.kav\"  Усиление: 20.  Развёртка:  4 мин."));
    EXPECT_TRUE(Holds(g.Left + 1, g.Top + 1, Header));
    // The scale of the top edge, the view bounds and the grid labels.
    EXPECT_TRUE(Holds(g.Right - TextW("2048") - 2, g.Top + 1, "2048"));
    EXPECT_TRUE(Holds(g.Left + 2, g.Bottom - 1 - TextH(), "0"));
    EXPECT_TRUE(Holds(g.Right - TextW("65519") - 2, g.Bottom - 1 - TextH(), "65519"));
    EXPECT_TRUE(Holds(g.Right - TextW("1024") - 2, (g.Top + g.MidP) / 2 - TextH() - 2, "1024"));
    EXPECT_TRUE(
        Holds(g.Right - TextW("-1024") - 2, (g.MidP + g.Bottom) / 2 - TextH() - 2, "-1024"));
    EXPECT_EQ(Page.pixel(g.Left + 500, g.MidP), qRgb(128, 128, 128));
}

// The fitted curve and its residual, or the reference and the difference,
// go on the page in their printer colours with their result lines just
// above the row of the bound captions; an analysis that no longer describes
// the spectrum is not printed.
TEST_F(PrintoutTest, FitAndReferenceTracesWithTheirResultLines) {
    for (int x = 20000; x <= 45000; x += 10) {
        const double u = (x - 32000) / 1000.0;
        F.Put(x, static_cast<int>(std::lround(2048 - 600 * u / std::pow(1 + u * u, 2))));
    }
    TAnalysisOverlay analysis;
    F.Cfg.Fit.LineCount = 1;
    ASSERT_EQ(analysis.Fit(*F.Store, F.Cfg), QString());
    TPrintout page = Printout();
    page.Analysis = &analysis;
    const TColorSet& c = F.Cfg.PrinterColors;
    ASSERT_TRUE(Paint(page)) << Reason.toStdString();
    const TPageGeometry g = Geo();
    const QRect plot(g.Left, g.Top, g.Right - g.Left, g.Bottom - g.Top);
    // The curve runs through the line's extrema, the residual along the
    // zero line; neither leaves the frame.
    const int xMax = g.XOfCode(32000 - 577);
    EXPECT_GT(Count(QRect(xMax - 3, g.YOfOrdinate(2048 + 195) - 12, 7, 24), ToRgb(c.FitGraph)), 0);
    EXPECT_GT(Count(QRect(g.XOfCode(25000), g.MidP - 6, 200, 12), ToRgb(c.FitResidual)), 100);
    EXPECT_EQ(Count(plot, ToRgb(c.FitGraph)), Count(Page.rect(), ToRgb(c.FitGraph)));
    // Broken to the plot's width where values are joined, the last line on
    // top of the caption row.
    const auto holdsLines = [&] {
        const QStringList lines =
            WrapResultLines(analysis.TextLines(F.Cfg, F.Format), g.Right - g.Left - 4,
                            [&](const QString& text) { return TextW(text); });
        const int n = static_cast<int>(lines.size());
        for (int i = 0; i < n; ++i) {
            if (!Holds(g.Left + 2, g.Bottom - 1 - (n + 1 - i) * TextH(), lines[i]))
                return false;
        }
        return n >= 2;
    };
    EXPECT_TRUE(holdsLines());

    analysis.RemoveFit();
    ASSERT_EQ(analysis.Compare(*F.Store, F.Cfg, *F.Store, QStringLiteral("self.kav"), {}),
              QString());
    ASSERT_TRUE(Paint(page));
    EXPECT_EQ(Count(Page.rect(), ToRgb(c.FitGraph)), 0);
    EXPECT_GT(Count(QRect(xMax - 3, g.YOfOrdinate(2048 + 195) - 12, 7, 24), ToRgb(c.RefGraph)), 0);
    EXPECT_GT(Count(QRect(g.XOfCode(25000), g.MidP - 6, 200, 12), ToRgb(c.DiffGraph)), 100);
    EXPECT_TRUE(holdsLines());

    F.Put(32000, 3000);
    ASSERT_TRUE(Paint(page));
    EXPECT_EQ(Count(Page.rect(), ToRgb(c.RefGraph)), 0);
    EXPECT_EQ(Count(Page.rect(), ToRgb(c.DiffGraph)), 0);
}

TEST_F(PrintoutTest, PointsAreSmallSquaresAtTheirPlaceAndStayInThePlot) {
    F.Cfg.OrdScale = 3;
    F.Put(30000, 2100);
    F.Put(40000, 0);    // far below the zero line: held two rows above the bottom
    F.Put(50000, 4095); // far above the top at this scale: not printed
    ASSERT_TRUE(Paint());
    const TPageGeometry g = Geo();
    const int x = g.XOfCode(30000);
    const int y = g.PointY(2100);
    EXPECT_EQ(x, 118 + static_cast<int>(std::nearbyint(30000 * g.KxP)));
    EXPECT_EQ(y, g.MidP - static_cast<int>(std::nearbyint(52 * g.KyP)));
    EXPECT_EQ(Count(QRect(x - 1, y - 1, 3, 3), Red), 9);
    EXPECT_EQ(Count(QRect(x - 2, y - 2, 5, 5), Red), 9);

    // The square on the row Bottom - 2 leaves the frame whole.
    const int xLow = g.XOfCode(40000);
    EXPECT_EQ(Count(QRect(xLow - 1, g.Bottom - 3, 3, 2), Red), 6);
    EXPECT_EQ(Page.pixel(xLow, g.Bottom - 1), Blue);

    EXPECT_EQ(Count(QRect(g.XOfCode(50000) - 1, 0, 3, Page.height()), Red), 0);
}

TEST_F(PrintoutTest, TheRawTraceBesideEachPointWhenShowFirstIsOn) {
    F.Put(30000, 2548);
    std::vector<std::uint16_t> raw(PointSlotCount, 2048);
    raw[30000] = 2848;
    F.Cfg.PrinterColors.AddGraph = Fuchsia;
    TPrintout page = Printout();
    page.RawTrace = raw.data();
    const TPageGeometry g = Geo();
    const QRect rawSquare(g.XOfCode(30000) - 1, g.PointY(2848) - 1, 3, 3);
    ASSERT_TRUE(Paint(page));
    EXPECT_EQ(Count(rawSquare, ToRgb(Fuchsia)), 0); // ShowFirst is off
    F.Cfg.ShowFirst = true;
    ASSERT_TRUE(Paint(page));
    EXPECT_EQ(Count(rawSquare, ToRgb(Fuchsia)), 9);
    EXPECT_EQ(Count(QRect(g.XOfCode(30000) - 1, g.PointY(2548) - 1, 3, 3), Red), 9);
}

TEST_F(PrintoutTest, VisirLineAndCaption) {
    F.Put(20000, 2648);
    Visirs(20000, 45000); // the second over a slot without a point
    F.Cfg.PrinterColors.Visir2 = Fuchsia;
    ASSERT_TRUE(Paint());
    const TPageGeometry g = Geo();
    const int h = TextH();

    // A line two pixels wide from a text line below the top to a text line
    // above the bottom.
    const int x1 = g.XOfCode(20000);
    const QRect column(x1 - 2, g.Top + h, 5, g.Bottom - h - (g.Top + h));
    EXPECT_GE(Count(column, Lime), 2 * (column.height() - 2));
    EXPECT_LE(Count(column, Lime), 2 * column.height() + 4);
    EXPECT_EQ(Count(QRect(x1 - 2, g.Top + 1, 5, h - 2), Lime), 0);

    const QString caption1 = QStringLiteral("{20000  600}");
    EXPECT_EQ(VisirCaption(F.Format, *F.Store, 20000), caption1);
    const int wMin = TextW("0");
    EXPECT_TRUE(Holds(g.Left + 5 * wMin / 3, g.Bottom - 1 - h, caption1, Lime));

    const QString caption2 = QStringLiteral("{45000  <НЕТ>}");
    EXPECT_EQ(VisirCaption(F.Format, *F.Store, 45000), caption2);
    const int wMax = TextW("65519");
    EXPECT_TRUE(Holds(g.Right - 5 * wMax / 3 - TextW(caption2), g.Bottom - 1 - h, caption2,
                      ToRgb(Fuchsia)));
    EXPECT_GT(Count(QRect(g.XOfCode(45000) - 2, g.MidP, 5, 10), ToRgb(Fuchsia)), 10);
}

TEST_F(PrintoutTest, AVisirOnAViewBoundIsNotPrinted) {
    F.Cfg.ViewMin = 10000;
    F.Cfg.ViewMax = 30000;
    Visirs(10000, 30000);
    F.Cfg.PrinterColors.Visir2 = Fuchsia;
    ASSERT_TRUE(Paint());
    EXPECT_EQ(Count(Page.rect(), Lime), 0);
    EXPECT_EQ(Count(Page.rect(), ToRgb(Fuchsia)), 0);

    // One code inside the view, both are there.
    Visirs(10001, 29999);
    ASSERT_TRUE(Paint());
    EXPECT_GT(Count(Page.rect(), Lime), 100);
    EXPECT_GT(Count(Page.rect(), ToRgb(Fuchsia)), 100);
}

TEST_F(PrintoutTest, MaximumLabelledAboveItsArrowMinimumBelow) {
    TwoExtrema();
    F.Results.MaxCount = F.Results.MinCount = 1;
    ASSERT_TRUE(Paint());
    const TPageGeometry g = Geo();
    const int h = TextH();

    const int x = g.XOfCode(30000);
    const int y = g.YOfOrdinate(3048);
    EXPECT_TRUE(Holds(x - TextW("1000") / 2, y - 20 - h, "1000"));
    // The arrow points down at the maximum from above: its head and stem
    // are filled in Text, between the label and the point.
    EXPECT_EQ(Page.pixel(x, y - 4), Red);
    EXPECT_EQ(Page.pixel(x, y - 15), Red);
    EXPECT_EQ(Page.pixel(x + 6, y - 7), Red);
    EXPECT_EQ(Page.pixel(x + 6, y + 7), White); // nothing below

    const int xm = g.XOfCode(31000);
    const int ym = g.YOfOrdinate(1048);
    EXPECT_TRUE(Holds(xm - TextW("-1000") / 2, ym + 22, "-1000"));
    EXPECT_EQ(Page.pixel(xm, ym + 15), Red);
    EXPECT_EQ(Page.pixel(xm + 6, ym - 7), White);
}

TEST_F(PrintoutTest, PairAmplitudesAreaAndTheSecondLine) {
    TwoExtrema();
    F.Results.PairCount = 1;
    F.Results.PairAmplitudes = {2000};
    F.Results.Area = 1234.5;
    F.Results.TibaAmp = 500;
    F.Results.TitanAmp = 240;
    F.Cfg.VisKoord1 = 40000;
    F.Cfg.VisKoord2 = 50000;
    F.Readings.AdcFieldValue = 3.3f;
    F.GFactor.Shown = true;
    F.GFactor.Text = [](std::uint16_t code) { return QStringLiteral("g=%1").arg(code); };
    ASSERT_TRUE(Paint());
    const TPageGeometry g = Geo();
    const int h = TextH();

    const int xPair = g.XOfCode(30500);
    EXPECT_TRUE(Holds(xPair - TextW("A=2000") / 2, g.Top + 2 * h, "A=2000"));
    EXPECT_TRUE(Holds(xPair - TextW("g=30500") / 2, g.Top + 3 * h, "g=30500"));
    // The area goes below the pair texts, so that it never covers them.
    const QString area = QStringLiteral("S=") + F.Format.AreaToStr(1234.5);
    EXPECT_TRUE(Holds(g.XOfCode(45000) - TextW(area) / 2, g.Top + 4 * h, area));

    // The ADC field does not fit the 10 mm margin: it starts the second line
    // of the plot, and the peak ratio follows it.
    const QString adc = QStringLiteral("АМ=3,30 Э");
    EXPECT_EQ(AdcFieldText(F.Cfg, F.Readings, QChar(',')), adc);
    const QString line = adc + QStringLiteral("   Tiba/Titan=500/240=2,08");
    EXPECT_TRUE(Holds(g.Left + 1, g.Top + 1 + h, line));

    // Without g-factors the area is one row nearer; without pairs it takes
    // their row.
    F.GFactor.Shown = false;
    ASSERT_TRUE(Paint());
    EXPECT_TRUE(Holds(g.XOfCode(45000) - TextW(area) / 2, g.Top + 3 * h, area));
    F.Results.PairCount = 0;
    ASSERT_TRUE(Paint());
    EXPECT_TRUE(Holds(g.XOfCode(45000) - TextW(area) / 2, g.Top + 2 * h, area));
    EXPECT_EQ(Count(QRect(xPair - 100, g.Top + 2 * h, 200, h), Red), 0);
}

TEST_F(PrintoutTest, AdcFieldInTheMarginWhenItFits) {
    F.Cfg.PrnL = 60;
    F.Readings.AdcFieldValue = 3.3f;
    ASSERT_TRUE(Paint());
    const TPageGeometry g = Geo();
    ASSERT_GT(g.Left, TextW(QStringLiteral("АМ=3,30 Э")) + 4);
    EXPECT_TRUE(Holds(2, g.Top + 2, QStringLiteral("АМ=3,30 Э")));
    EXPECT_EQ(Count(QRect(g.Left + 1, g.Top + 1 + TextH(), 400, TextH()), Red), 0);
}

// Margins below the printer's strip, printed without the setup dialog,
// give the page the setup dialog would: the header and labels on the paper.
TEST_F(PrintoutTest, MarginsBelowTheStripArePrintedAsRaised) {
    F.Cfg.PrnL = F.Cfg.PrnR = F.Cfg.PrnT = F.Cfg.PrnB = 5;
    ASSERT_TRUE(Paint()) << Reason.toStdString();
    const QImage raised = Page.copy();
    EXPECT_TRUE(Holds(1, 1, Header));
    F.Cfg.PrnL = 0;
    F.Cfg.PrnR = 1;
    F.Cfg.PrnT = 2;
    F.Cfg.PrnB = 3;
    ASSERT_TRUE(Paint()) << Reason.toStdString();
    EXPECT_EQ(Page, raised);
}

TEST_F(PrintoutTest, NoPlotBetweenTheMarginsPaintsNothing) {
    F.Cfg.PrnL = 110;
    F.Cfg.PrnR = 110;
    EXPECT_FALSE(Paint());
    EXPECT_EQ(Reason, QStringLiteral("поля страницы не оставляют места для спектра"));
    EXPECT_EQ(Count(Page.rect(), White), Page.width() * Page.height());

    QImage none;
    EXPECT_FALSE(PrintoutProblem(Printout(), none).isEmpty());
}

// The text a poppler tool gives for a PDF, blanks taken together.
QString Poppler(const QString& tool, const QString& pdf) {
    const TKavtoolRun r =
        RunProgram(tool, tool == "pdftotext" ? QStringList{"-layout", pdf, "-"} : QStringList{pdf});
    EXPECT_EQ(r.Exit, 0) << tool.toStdString() << ": " << r.Err.toStdString();
    return r.Out.simplified();
}

// A processed spectrum: a line with its extrema, its pair amplitude and the
// double integral between the visirs.
struct PrintoutPdf : ::testing::Test, TTempFiles {
    TViewFixture F;
    QString Error;

    PrintoutPdf() {
        for (int code = 20000; code <= 45000; code += 50) {
            const double d = (code - 32500) / 800.0;
            F.Put(code, static_cast<int>(2048 - 1500 * d / ((1 + d * d) * (1 + d * d))));
        }
        F.Cfg.Visir1 = F.Cfg.Visir2 = true;
        F.Cfg.VisKoord1 = 21000;
        F.Cfg.VisKoord2 = 44000;
        F.Results.MaxCount = F.Results.MinCount = F.Results.PairCount = 1;
        F.Results.MaxPositions = {32050};
        F.Results.MinPositions = {32950};
        F.Results.PairAmplitudes = {973};
        F.Results.Area = 123456.0;
    }

    bool WritePdf(const QString& path) {
        const QString header = PrintoutHeader(false, QStringLiteral("/data/line.kav"),
                                              QStringLiteral("5"), QStringLiteral("30 сек"));
        const TPrintout page{{F.Cfg, *F.Store, F.Results, F.Readings, F.Format, F.GFactor}, header};
        return WritePrintoutPdf(path, PdfPageLayout(), page, &Error);
    }

    // The line unprocessed as a file, with the parameter records of gain
    // row 3 ("10") and speed row 8 (" 4 мин").
    QString LineFile() {
        TPointTable store = *F.Store;
        TKavCfg cfg = F.Cfg;
        cfg.Amplifying = 3;
        cfg.Rapid = 8;
        WriteParameterBlock(store, cfg, TInstrumentReadings{});
        EXPECT_TRUE(SaveSpectrumFile(Path("line.kav"), store));
        return Path("line.kav");
    }
    // kavtool print as a lab script runs it: no display, no Qt platform chosen.
    TKavtoolRun Print(const QStringList& args, const QStringList& before = {}) const {
        TKavtoolOptions options{Dir.path()};
        options.NoDisplay = true;
        return RunKavtool(before + QStringList{"print"} + args, options);
    }
};

// A missing folder, a folder in the way, a PDF cut short by the file size
// limit: not taken, the reason is the system's, the previous file stays
// whole with nothing beside it; without the limit the page replaces it: one
// page of A4 in the chosen orientation with the texts of the spectrum.
TEST_F(PrintoutPdf, AFailedWriteNamesTheReasonAndLeavesThePreviousFileWhole) {
    F.Cfg.Orientation = 0;
    const QString path = Path("line.pdf");
    ASSERT_TRUE(WriteFileAtomically(path, "previous"));
    ASSERT_TRUE(QDir(Dir.path()).mkdir("folder.pdf"));
    const struct {
        QString Path;
        rlim_t Limit;
        int Err;
    } cases[] = {{Path("no such folder/line.pdf"), RLIM_INFINITY, ENOENT},
                 {Path("folder.pdf"), RLIM_INFINITY, EISDIR},
                 {path, 4096, EFBIG}};
    for (const auto& c : cases) {
        EXPECT_FALSE(UnderFileSizeLimit(c.Limit, [&] { return WritePdf(c.Path); }));
        if (c.Err == EISDIR) {
            EXPECT_TRUE(Error.endsWith(SystemReason(EISDIR))) << Error.toStdString();
        } else {
            EXPECT_EQ(Error, QStringLiteral("Не удалось записать файл \"%1\": %2")
                                 .arg(c.Path, SystemReason(c.Err)));
        }
    }
    EXPECT_EQ(Read("line.pdf"), "previous");
    EXPECT_EQ(Entries(), QStringList{"line.pdf"});
    ASSERT_TRUE(WritePdf(path)) << Error.toStdString();
    const QString info = Poppler("pdfinfo", path);
    EXPECT_TRUE(info.contains("Pages: 1 ")) << info.toStdString();
    EXPECT_TRUE(info.contains("Page size: 595 x 842 pts (A4)")) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("Спектр КАВ"))) << info.toStdString();
    const QString text = Poppler("pdftotext", path);
    for (const char* part : {"Файл: \"line.kav\" Усиление: 5. Развёртка: 30 сек.",
                             "S=1,235E+005 отсч^3", "A=973", "{21000 0}"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << text.toStdString();
    EXPECT_EQ(Entries(), QStringList{"line.pdf"});
}

// kavtool print processes the file and prints it without a display: the
// orientation from Kav.ini (landscape when it does not say), the gain and
// speed of the file's parameter records. In English when asked for on the
// command line (before or after the command) or by the ini file's Language:
// the drawing part follows, so the page has no Cyrillic left.
TEST_F(PrintoutPdf, KavtoolPrintsAProcessedSpectrumInTheLanguageAskedFor) {
    const QString in = LineFile();
    Write("ru.ini", "[Main]\r\nOrientation=0\r\n");
    Write("en.ini", "[Main]\r\nOrientation=0\r\nLanguage=en\r\n");
    const QStringList ops{"--visirs", "21000", "44000", "minmax", "20", "100", "integrate"};
    const struct {
        QStringList Before, After;
        bool English;
    } cases[] = {
        {{}, {"--ini", Path("ru.ini")}, false},
        {{}, {"--ini", Path("ru.ini"), "--lang", "en"}, true},
        {{}, {"--ini", Path("en.ini")}, true},
        {{"--lang", "en"}, {"--ini", Path("ru.ini")}, true},
    };
    static const QRegularExpression cyrillic(QStringLiteral("[А-Яа-яЁё]"));
    for (const auto& c : cases) {
        const QString pdf = Path(QStringLiteral("%1.pdf").arg(&c - cases));
        const QStringList args = QStringList{in, "-o", pdf} + c.After + ops;
        SCOPED_TRACE((c.Before + args).join(' ').toStdString());
        const TKavtoolRun r = Print(args, c.Before);
        ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
        EXPECT_TRUE(r.Out.isEmpty());
        EXPECT_TRUE(Poppler("pdfinfo", pdf).contains("Page size: 595 x 842 pts (A4)"));
        const QString text = Poppler("pdftotext", pdf);
        for (const char* part : {"A=", "S=", "{21000 ", "\"line.kav\""})
            EXPECT_TRUE(text.contains(part)) << part << " in " << text.toStdString();
        EXPECT_EQ(text.contains(cyrillic), !c.English) << text.toStdString();
        if (!c.English) {
            EXPECT_TRUE(text.contains(
                QStringLiteral("Файл: \"line.kav\" Усиление: 10. Развёртка: 4 мин.")));
        }
    }
    ASSERT_EQ(Print({in, "-o", Path("plain.pdf")}).Exit, 0);
    EXPECT_TRUE(Poppler("pdfinfo", Path("plain.pdf")).contains("Page size: 842 x 595 pts (A4)"));
    EXPECT_FALSE(Poppler("pdftotext", Path("plain.pdf")).contains("S="));
    EXPECT_EQ(Print({in, "-o", Path("e.pdf"), "--lang", "xx"}).Exit, 2);
    EXPECT_FALSE(QFileInfo::exists(Path("e.pdf")));
}

// Bad usage (2) and failures (1) leave no PDF behind.
TEST_F(PrintoutPdf, KavtoolFailuresLeaveNoFile) {
    const QString in = LineFile();
    const QString unwritable = Path("no such folder/x.pdf");
    const struct {
        QStringList Args;
        int Exit;
        QString ErrPart;
    } cases[] = {
        {{in}, 2, "usage: kavtool print"}, // no -o
        {{in, "-o", Path("x.pdf"), "sharpen"}, 2, {}},
        {{Path("missing.kav"), "-o", Path("x.pdf")},
         1,
         "kavtool: file \"" + Path("missing.kav") + "\" not found\n"},
        {{in, "-o", Path("x.pdf"), "equalize"}, 1, QStringLiteral("двух визиров")},
        {{in, "-o", unwritable},
         1,
         QStringLiteral("Не удалось записать файл \"%1\": No such file or directory")
             .arg(unwritable)},
    };
    for (const auto& c : cases) {
        const TKavtoolRun r = Print(c.Args);
        EXPECT_EQ(r.Exit, c.Exit) << c.Args.join(' ').toStdString();
        EXPECT_TRUE(r.Err.contains(c.ErrPart)) << r.Err.toStdString();
    }
    EXPECT_EQ(QDir(Dir.path()).entryList({"*.pdf"}, QDir::Files | QDir::Hidden), QStringList{});
}

} // namespace
