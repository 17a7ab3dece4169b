// The plot: its transforms, the placement of its marks, the screen canvas
// where it differs from a full paint (live pixels, exclusive-or marks, held
// paints) and the PNG and SVG pictures.

#include "processing/analysis_overlay.h"
#include "view/analysis_overlay_painter.h"
#include "view/plot_geometry.h"
#include "view/plot_picture_painter.h"
#include "view/plot_widget.h"
#include "view/view_bounds.h"

#include "canvas_checks.h"
#include "qt_app.h"
#include "view/display_color_painter.h"
#include "view/visir_controller.h"
#include "view_fixture.h"

#include <QFile>
#include <QProcess>
#include <QResizeEvent>
#include <QTemporaryDir>
#include <QTest>
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

TEST(PlotGeometry, ColumnsAndRowsRoundHalvesToEven) {
    const struct {
        TPlotGeometry G;
        int Code, X;
    } columns[] = {
        {TPlotGeometry::Compute(100, 100, 0, 200, 0), 0, 0}, // Kx 0.5
        {TPlotGeometry::Compute(100, 100, 0, 200, 0), 1, 0}, // 0.5 -> 0
        {TPlotGeometry::Compute(100, 100, 0, 200, 0), 3, 2}, // 1.5 -> 2
        {TPlotGeometry::Compute(100, 100, 0, 200, 0), 5, 2}, // 2.5 -> 2
        {TPlotGeometry::Compute(100, 100, 0, 200, 0), 200, 100},
        {TPlotGeometry::Compute(100, 100, 1000, 1200, 0), 1007, 4}, // 3.5 -> 4
        {TPlotGeometry::Compute(100, 100, 1000, 1200, 0), 990, -5}, // left of the view
    };
    for (const auto& c : columns)
        EXPECT_EQ(c.G.XOfCode(c.Code), c.X) << c.Code;

    const auto g = TPlotGeometry::Compute(400, 400, 0, 65519, 0); // Ky 400/4096
    EXPECT_EQ(g.YOfOrdinate(2048), 200);
    EXPECT_EQ(g.YOfOrdinate(4095), 0); // 2047 * 0.09765625 = 199.9 -> 200
    EXPECT_EQ(g.YOfOrdinate(0), 400);  // marks are not limited
    EXPECT_EQ(g.PointY(0), 398);       // points stay on row H - 2
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

TEST(MarkPlacement, LabelsGoWhereThereIsRoomAndStayInside) {
    // th 15: a maximum needs y >= 50 for its label above, a minimum in a
    // plot of height 300 needs 300 - y >= 35 for its label below.
    const struct {
        TMarkPlace Place;
        bool UpArrow;
        int LabelX, LabelY;
    } cases[] = {
        {PlaceMaximumMark(100, 49, 30, 15), true, 85, 69},
        {PlaceMaximumMark(100, 50, 30, 15), false, 85, 50 - 20 - 15},
        {PlaceMinimumMark(100, 266, 31, 15, 300), false, 85, 266 - 20 - 15},
        {PlaceMinimumMark(100, 265, 31, 15, 300), true, 85, 285},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.Place.UpArrow, c.UpArrow);
        EXPECT_EQ(QPoint(c.Place.LabelX, c.Place.LabelY), QPoint(c.LabelX, c.LabelY));
    }
    EXPECT_EQ(KeepLabelInside(100, 40, 400), 100);
    EXPECT_EQ(KeepLabelInside(-15, 40, 400), 0);
    EXPECT_EQ(KeepLabelInside(380, 40, 400), 360);
    EXPECT_EQ(KeepLabelInside(10, 500, 400), 0);
    // Arrows touch the extremum from the label's side.
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
    const auto bounds = [&] { return std::pair{cfg.ViewMin, cfg.ViewMax}; };
    SetViewMin(cfg, 70000);
    EXPECT_EQ(bounds(), std::pair(65007, 65519));
    SetViewMax(cfg, 600);
    EXPECT_EQ(bounds(), std::pair(599, 600)); // the crossed lower bound gave way
    SetViewMin(cfg, 600);
    EXPECT_EQ(bounds(), std::pair(600, 601));
    SetViewMax(cfg, -5);
    EXPECT_EQ(bounds(), std::pair(511, 512));
    // Both at once: a valid range as given, above, below or at the right end.
    for (const auto& [low, high] : {std::pair{1000, 2000}, {5000, 9000}, {100, 700}}) {
        SetViewBounds(cfg, low, high);
        EXPECT_EQ(bounds(), std::pair(low, high));
    }
    SetViewBounds(cfg, 65023, 65535);
    EXPECT_EQ(bounds(), std::pair(65007, 65519));
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

namespace {

struct PlotWidgetTest : ::testing::Test {
    TViewFixture F;
    TNullVisirView Quiet;
    TVisirController Visirs{F.Cfg, *F.Store, F.Format, F.GFactor, Quiet};
    TPlotWidget Plot{F.Cfg, *F.Store, F.Results, F.Readings, F.Format, F.GFactor};

    QRgb Bg() const { return ToRgb(F.Cfg.DisplayColors.BackGround); }
    QRgb TextColour() const { return ToRgb(F.Cfg.DisplayColors.Text); }
    const QImage& Canvas() const { return Plot.Canvas(); }

    PlotWidgetTest() {
        Plot.resize(400, 300);
        Plot.SetVisirs(&Visirs);
        Visirs.SetSurface(&Plot);
    }
    // A sawtooth over the view 0..4000, a point every `step` codes.
    void Sawtooth(int step, int period) {
        F.Cfg.ViewMin = 0;
        F.Cfg.ViewMax = 4000;
        for (int k = 0; k <= 4000; k += step)
            F.Put(k, 2048 + (k % period) - period / 2);
    }
};

} // namespace

TEST_F(PlotWidgetTest, LivePixelsLandWhereThePaintPutsThem) {
    F.Cfg.ViewMin = 1000;
    F.Cfg.ViewMax = 1800; // 0.5 pixel per code
    F.Put(1101, 2048 + 600);
    // The raw trace beside the points is drawn only when asked.
    std::vector<std::uint16_t> raw(65536, 2048 + 1500);
    Plot.SetRawTrace(raw.data());
    Plot.ScreenBoxPaint();
    const QRgb add = ToRgb(F.Cfg.DisplayColors.AddGraph);
    EXPECT_EQ(CountColour(Canvas(), Canvas().rect(), add), 0);
    F.Cfg.ShowFirst = true;
    Plot.ScreenBoxPaint();
    const TPlotGeometry& g = Plot.Geometry();
    EXPECT_EQ(Canvas().pixel(50, g.PointY(2048 + 1500)), add);
    const QRgb graph = ToRgb(F.Cfg.DisplayColors.Graph);
    EXPECT_EQ(Canvas().pixel(50, g.PointY(2048 + 600)), graph); // 50.5 -> 50
    F.Put(1401, 2048 - 300);
    Plot.PlotSlot(1401);
    EXPECT_EQ(Canvas().pixel(g.XOfCode(1401), g.PointY(2048 - 300)), graph);
    Plot.PlotPoint(1700, 2048 + 100, F.Cfg.DisplayColors.ADC2);
    EXPECT_EQ(Canvas().pixel(350, g.PointY(2148)), ToRgb(F.Cfg.DisplayColors.ADC2));
    EXPECT_EQ(CountColour(Canvas(), Canvas().rect(), graph), 2);
}

TEST_F(PlotWidgetTest, ArrowsPointAtTheExtremumFromTheLabelsSide) {
    F.Cfg.ViewMin = 0;
    F.Cfg.ViewMax = 4000;    // 0.1 pixel per code
    F.Put(1000, 4000);       // maximum near the top: label below, up arrow
    F.Put(2000, 2048 + 600); // maximum with room above
    F.Put(3000, 100);        // minimum near the bottom: label above, down arrow
    F.Results.MaxPositions = {1000, 2000};
    F.Results.MaxCount = 2;
    F.Results.MinPositions = {3000};
    F.Results.MinCount = 1;
    Plot.ScreenBoxPaint();
    const TPlotGeometry& g = Plot.Geometry();
    for (const auto& [slot, up] : {std::pair{1000, true}, {2000, false}, {3000, false}}) {
        SCOPED_TRACE(slot);
        const int x = g.XOfCode(slot);
        const int y = g.YOfOrdinate((*F.Store)[slot].Y);
        // The shaft is filled in the text colour on the label's side only.
        EXPECT_EQ(Canvas().pixel(x, up ? y + 12 : y - 12), TextColour());
        EXPECT_NE(Canvas().pixel(x, up ? y - 12 : y + 12), TextColour());
    }
}

TEST_F(PlotWidgetTest, VisirLinesAndTheFieldMarkerEraseThemselves) {
    Sawtooth(3, 700);
    F.Results.MaxPositions = {2100};
    F.Results.MaxCount = 1;
    Plot.ScreenBoxPaint();
    const QImage before = Canvas().copy();

    Plot.DrawVisirLine(210, F.Cfg.DisplayColors.Visir1);
    EXPECT_EQ(Canvas().pixel(210, 3) ^ before.pixel(210, 3), 0x00FF00u); // lime
    EXPECT_EQ(Canvas().pixel(210, 2), before.pixel(210, 2));             // from row 3
    EXPECT_EQ(Canvas().pixel(210, 300 - 5) ^ before.pixel(210, 295), 0x00FF00u);
    EXPECT_EQ(Canvas().pixel(210, 300 - 4), before.pixel(210, 296)); // to H - 5
    Plot.DrawVisirLine(210, F.Cfg.DisplayColors.Visir1);
    EXPECT_EQ(Canvas(), before);

    // Through the visirs: shown, dragged across labels and points, hidden.
    Visirs.AVisir1Execute();
    Visirs.AVisir2Execute();
    for (int code = 1500; code < 2600; code += 37)
        Visirs.SetVisir1(static_cast<std::uint16_t>(code));
    Visirs.SetVisir2(9000); // out of the view
    Visirs.AVisir1Execute();
    Visirs.AVisir2Execute();
    EXPECT_EQ(Canvas(), before);

    Plot.MoveFieldMarker(1000);
    EXPECT_EQ(Plot.FieldMarkerX(), 100);
    EXPECT_EQ(Canvas().pixel(100, 292) ^ before.pixel(100, 292), 0xFF0000u); // apex, red
    EXPECT_EQ(Canvas().pixel(95, 297) ^ before.pixel(95, 297), 0xFF0000u);   // base corner
    Plot.MoveFieldMarker(1003); // same column: nothing drawn
    Plot.MoveFieldMarker(3000);
    EXPECT_EQ(Canvas().pixel(100, 292), before.pixel(100, 292));
    Plot.MoveFieldMarker(5000); // outside the view: erased and forgotten
    EXPECT_EQ(Plot.FieldMarkerX(), -1);
    EXPECT_EQ(Canvas(), before);
}

TEST_F(PlotWidgetTest, RepaintForgetsTheMovingMarks) {
    F.Cfg.ViewMin = 0;
    F.Cfg.ViewMax = 4000;
    Visirs.AVisir1Execute();
    Plot.MoveFieldMarker(1000);
    Plot.ScreenBoxPaint(); // the visir is placed again, the marker is gone
    EXPECT_EQ(Plot.FieldMarkerX(), -1);
    const QImage painted = Canvas().copy();
    Plot.MoveFieldMarker(1000);
    Plot.MoveFieldMarker(5000);
    EXPECT_EQ(Canvas(), painted);
    Visirs.AVisir1Execute();
    Plot.DrawGrid();
    const QImage grid = Canvas().copy();
    Visirs.AVisir1Execute();
    Visirs.AVisir1Execute();
    EXPECT_EQ(Canvas(), grid);
}

TEST_F(PlotWidgetTest, HeldPaintsAreDrawnOnceWhenThePlotFirstReachesTheScreen) {
    Sawtooth(7, 900);
    Visirs.AVisir1Execute();
    Plot.PaintOnceWhenShown();
    Plot.ScreenBoxPaint();
    Plot.resize(420, 310);
    Plot.ScreenBoxPaint();
    EXPECT_EQ(Plot.FullPaintCount(), 0);
    Plot.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Plot));
    EXPECT_EQ(Plot.FullPaintCount(), 1);
    // The one paint is the whole picture at the final size, visir included.
    const QImage shown = Canvas().copy();
    EXPECT_EQ(shown.size(), QSize(420, 310));
    Plot.ScreenBoxPaint();
    EXPECT_EQ(Canvas(), shown);
    EXPECT_EQ(Plot.FullPaintCount(), 2); // once shown, every paint is drawn at once
}

TEST_F(PlotWidgetTest, AGridWipeWhileHeldDropsTheFullPaintBeforeIt) {
    F.Put(30000, 3000);
    // The size settled before the hold (a hidden widget gets its resize at
    // its first show).
    QResizeEvent settled(Plot.size(), QSize());
    QApplication::sendEvent(&Plot, &settled);
    Plot.setAttribute(Qt::WA_PendingResizeEvent, false);
    const int painted = Plot.FullPaintCount();
    Plot.PaintOnceWhenShown();
    Plot.ScreenBoxPaint();
    Plot.DrawGrid(); // drawn at once, as acquisition does when reception starts
    const QImage grid = Canvas().copy();
    Plot.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Plot));
    EXPECT_EQ(Plot.FullPaintCount(), painted);
    EXPECT_EQ(Canvas(), grid);
}

namespace {

// A processed spectrum for the pictures: two derivative lines with their
// extrema and pair amplitudes, "S=", the field reading, the peak ratio and
// both visirs.
struct PlotPicture : PlotWidgetTest {
    TPlotSource Source{F.Cfg, *F.Store, F.Results, F.Readings, F.Format, F.GFactor};
    QTemporaryDir Dir;

    PlotPicture() {
        Plot.resize(760, 500);
        F.Cfg.ViewMin = 2000;
        F.Cfg.ViewMax = 62000;
        F.Cfg.AmpUnit = 1;
        const double centres[] = {20000, 44000};
        for (int k = 0; k <= 65519; k += 3) {
            double v = 0;
            for (double c : centres) {
                const double u = (k - c) / 1500;
                v += -1500 * 2.6 * u / ((1 + u * u) * (1 + u * u));
            }
            F.Put(k, static_cast<int>(2048 + v));
        }
        for (int j = 1; j >= 0; --j) {
            const auto lo = static_cast<std::uint16_t>(centres[j] - 867 - 1);
            const auto hi = static_cast<std::uint16_t>(centres[j] + 867 - 1);
            F.Results.MaxPositions.push_back(lo - lo % 3);
            F.Results.MinPositions.push_back(hi - hi % 3);
            F.Results.PairAmplitudes.push_back(2900);
        }
        F.Results.MaxCount = F.Results.MinCount = F.Results.PairCount = 2;
        F.Results.Area = 2.5e7;
        F.Results.TibaAmp = 2900;
        F.Results.TitanAmp = 2800;
        F.Readings.AdcFieldValue = 3.4f;
        F.Cfg.VisKoord1 = 12000;
        F.Cfg.VisKoord2 = 52000;
        F.Cfg.Visir1 = F.Cfg.Visir2 = true;
    }
};

} // namespace

// In the screen's colours the picture is the canvas, pixel for pixel, at the
// canvas's resolution.
TEST_F(PlotPicture, PngInTheScreensColoursIsTheCanvas) {
    F.Cfg.BMPColors = F.Cfg.DisplayColors;
    F.Cfg.Visir1 = F.Cfg.Visir2 = false; // exclusive-or on the screen only
    Plot.ScreenBoxPaint();
    const QImage same = PlotPictureImage(Source, Plot.LabelFont(), QSize(760, 500));
    ASSERT_EQ(Plot.Canvas().dotsPerMeterX(), same.dotsPerMeterX());
    EXPECT_EQ(same, Plot.Canvas());
    EXPECT_EQ(DefaultPictureSize, QSize(1600, 1000));
}

TEST_F(PlotPicture, SvgIsVectorAndARealRendererDrawsTheSamePicture) {
    const QSize size(800, 500);
    const QByteArray svg = PlotPictureSvg(Source, Plot.LabelFont(), size, "processed");
    EXPECT_FALSE(svg.contains("<image"));
    EXPECT_TRUE(svg.contains(">A=")) << "pair amplitudes are text";
    EXPECT_TRUE(svg.contains(">Tiba/Titan="));
    EXPECT_TRUE(svg.contains(">S="));

    const QString svgPath = Dir.filePath("p.svg");
    const QString pngPath = Dir.filePath("p.png");
    QFile f(svgPath);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(svg);
    f.close();
    QProcess rsvg;
    rsvg.start("rsvg-convert", {"-w", "800", "-h", "500", svgPath, "-o", pngPath});
    ASSERT_TRUE(rsvg.waitForFinished(60000)) << "rsvg-convert (librsvg2-bin) must be installed";
    ASSERT_EQ(rsvg.exitCode(), 0) << rsvg.readAllStandardError().toStdString();
    const QImage rendered = QImage(pngPath).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(rendered.size(), size);

    // Every point of the raster picture away from texts is dark in the
    // rendering too; frame and visir lines lie on the same pixels.
    const QImage raster = PlotPictureImage(Source, Plot.LabelFont(), size);
    const QRgb black = ToRgb(F.Cfg.BMPColors.Graph);
    int points = 0;
    int dark = 0;
    for (int y = 40; y < size.height() - 40; ++y)
        for (int x = 1; x < size.width() - 60; ++x) {
            if (raster.pixel(x, y) != black)
                continue;
            ++points;
            dark += qGray(rendered.pixel(x, y)) < 96;
        }
    ASSERT_GT(points, 1000);
    EXPECT_GE(dark, points * 99 / 100) << dark << " of " << points;
    const TPlotGeometry g = TPlotGeometry::Compute(800, 500, 2000, 62000, 0);
    EXPECT_EQ(rendered.pixel(0, 300), ToRgb(F.Cfg.BMPColors.Border));
    EXPECT_EQ(rendered.pixel(g.XOfCode(12000), 300), ToRgb(F.Cfg.BMPColors.Visir1));
    EXPECT_EQ(rendered.pixel(5, 440), ToRgb(F.Cfg.BMPColors.BackGround));
}

TEST_F(PlotPicture, AFailedWriteNamesTheFileAndLeavesNothing) {
    QString error;
    const QString missing = Dir.filePath("none/p.png");
    EXPECT_FALSE(WritePlotPicture(missing, TPictureFormat::Png, Source, Plot.LabelFont(),
                                  DefaultPictureSize, &error));
    EXPECT_TRUE(error.contains(missing)) << error.toStdString();
    const QString tiny = Dir.filePath("tiny.svg");
    EXPECT_FALSE(WritePlotPicture(tiny, TPictureFormat::Svg, Source, Plot.LabelFont(),
                                  QSize(10, 10), &error));
    EXPECT_FALSE(QFile::exists(tiny));
    ASSERT_TRUE(WritePlotPicture(tiny, TPictureFormat::Svg, Source, Plot.LabelFont(),
                                 QSize(200, 100), &error))
        << error.toStdString();
    EXPECT_TRUE(QFile::exists(tiny));
}

// A fit shown over the spectrum goes into the pictures in the picture's
// colours, its result lines as text in the SVG; one that no longer
// describes the spectrum does not.
TEST_F(PlotPicture, TheFitShownGoesIntoThePictures) {
    F.Cfg.Visir1 = F.Cfg.Visir2 = false;
    F.Cfg.Fit.LineCount = 2;
    TAnalysisOverlay analysis;
    ASSERT_EQ(analysis.Fit(*F.Store, F.Cfg), QString());
    TPlotSource shown = Source;
    shown.Analysis = &analysis;
    const QSize size(800, 500);
    const auto count = [](const QImage& image, TColorValue colour) {
        return CountColour(image, image.rect(), ToRgb(colour));
    };
    const QImage png = PlotPictureImage(shown, Plot.LabelFont(), size);
    EXPECT_GT(count(png, F.Cfg.BMPColors.FitGraph), 200);
    EXPECT_GT(count(png, F.Cfg.BMPColors.FitResidual), 200);
    EXPECT_EQ(count(PlotPictureImage(Source, Plot.LabelFont(), size), F.Cfg.BMPColors.FitResidual),
              0);
    const QByteArray svg = PlotPictureSvg(shown, Plot.LabelFont(), size, "fitted");
    // Cyrillic and Latin runs are separate text elements.
    EXPECT_TRUE(svg.contains(">Линия 1: ")) << "result lines are text";
    EXPECT_TRUE(svg.contains(">Линия 2: "));
    EXPECT_TRUE(svg.contains(">СКО остатка="));

    F.Put(30000, 100);
    EXPECT_EQ(count(PlotPictureImage(shown, Plot.LabelFont(), size), F.Cfg.BMPColors.FitResidual),
              0);
}

// Result lines too wide for the plot break where their values are joined.
TEST(ResultLines, BreakAtTheGapsBetweenValues) {
    const auto chars = [](const QString& s) { return static_cast<int>(s.size()); };
    const QStringList lines = {"A=1  B=22  C=333", "short", "Wide=0123456789  D=4"};
    EXPECT_EQ(WrapResultLines(lines, 100, chars), lines);
    EXPECT_EQ(WrapResultLines(lines, 9, chars),
              (QStringList{"A=1  B=22", "C=333", "short", "Wide=0123456789", "D=4"}));
    EXPECT_EQ(WrapResultLines(lines, 4, chars),
              (QStringList{"A=1", "B=22", "C=333", "short", "Wide=0123456789", "D=4"}));
}
