#include "view/plot_widget.h"

#include "canvas_checks.h"
#include "processing/result_texts.h"
#include "qt_app.h"
#include "view/display_color.h"
#include "view/visir_controller.h"
#include "view_fixture.h"

#include <QDir>
#include <QResizeEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

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

    // The label as the plot places it on the right edge.
    bool RightLabelAt(int top, const QString& text) const {
        const QFontMetrics fm(Plot.LabelFont(), &Canvas());
        return HoldsLabel(Canvas(), Plot.LabelFont(), 400 - 4 - fm.horizontalAdvance(text), top,
                          text, Bg(), TextColour());
    }
    int TextHeight() const { return QFontMetrics(Plot.LabelFont(), &Canvas()).height(); }
};

} // namespace

TEST_F(PlotWidgetTest, EmptyStoreShowsFrameGridAndTheFourLabels) {
    Plot.ScreenBoxPaint();
    const QImage& c = Canvas();
    ASSERT_EQ(c.size(), QSize(400, 300));
    const QRgb border = ToRgb(F.Cfg.DisplayColors.Border);
    const QRgb grid = ToRgb(F.Cfg.DisplayColors.Grid);
    for (QPoint p : {QPoint(0, 0), QPoint(399, 0), QPoint(0, 299), QPoint(399, 299), QPoint(200, 0),
                     QPoint(200, 299), QPoint(0, 120), QPoint(399, 120)})
        EXPECT_EQ(c.pixel(p), border) << p.x() << "," << p.y();
    for (int row : {75, 150, 225}) {
        EXPECT_EQ(c.pixel(1, row), grid) << row;
        EXPECT_EQ(c.pixel(300, row), grid) << row;
    }
    const int h = TextHeight();
    EXPECT_TRUE(RightLabelAt(1, "2048"));
    EXPECT_TRUE(RightLabelAt(150 - 1 - h, "0"));
    EXPECT_TRUE(RightLabelAt(75 - 1 - h, "1024"));
    EXPECT_TRUE(RightLabelAt(225 - 1 - h, "-1024"));

    // Nothing else: inside the frame, off the grid rows and left of the
    // labels, every pixel is background.
    int other = 0;
    for (int y = 1; y < 299; ++y)
        for (int x = 1; x < 300; ++x)
            other += y != 75 && y != 150 && y != 225 && c.pixel(x, y) != Bg();
    EXPECT_EQ(other, 0);
}

TEST_F(PlotWidgetTest, OrdinateScaleChangesTheGridLabels) {
    F.Cfg.OrdScale = 6;
    Plot.ScreenBoxPaint();
    const int h = TextHeight();
    EXPECT_TRUE(RightLabelAt(1, "32"));
    EXPECT_TRUE(RightLabelAt(75 - 1 - h, "16"));
    EXPECT_TRUE(RightLabelAt(225 - 1 - h, "-16"));
    EXPECT_FALSE(RightLabelAt(1, "2048"));
}

TEST_F(PlotWidgetTest, PointsAreSinglePixelsAtTheirTransforms) {
    F.Cfg.ViewMin = 1000;
    F.Cfg.ViewMax = 1800; // 0.5 pixel per code
    F.Put(1101, 2048 + 600);
    F.Put(1203, 0);                             // far below the zero line: held to row H - 2
    F.Put(1600, 4095);                          // near the top
    F.Put(900, 2048);                           // left of the view
    (*F.Store)[1500] = TPointSlot{1500, 65526}; // a parameter record is no point
    Plot.ScreenBoxPaint();
    const TPlotGeometry& g = Plot.Geometry();
    const QRgb graph = ToRgb(F.Cfg.DisplayColors.Graph);
    EXPECT_EQ(g.XOfCode(1101), 50); // 50.5 -> 50
    EXPECT_EQ(Canvas().pixel(50, g.PointY(2048 + 600)), graph);
    EXPECT_EQ(Canvas().pixel(102, 298), graph);
    EXPECT_EQ(Canvas().pixel(300, g.PointY(4095)), graph);
    EXPECT_EQ(CountColour(Canvas(), Canvas().rect(), graph), 3);

    // A live pixel lands where the paint puts it.
    F.Put(1401, 2048 - 300);
    Plot.PlotSlot(1401);
    EXPECT_EQ(Canvas().pixel(g.XOfCode(1401), g.PointY(2048 - 300)), graph);
    Plot.PlotPoint(1700, 2048 + 100, F.Cfg.DisplayColors.ADC2);
    EXPECT_EQ(Canvas().pixel(350, g.PointY(2148)), ToRgb(F.Cfg.DisplayColors.ADC2));
}

TEST_F(PlotWidgetTest, RawTraceIsDrawnBesideEachPointWhenAsked) {
    std::vector<std::uint16_t> raw(65536, 2048);
    raw[2000] = 2048 + 1500;
    F.Cfg.ViewMin = 0;
    F.Cfg.ViewMax = 4000;
    F.Put(2000, 2048 + 500);
    Plot.SetRawTrace(raw.data());
    Plot.ScreenBoxPaint();
    const QRgb add = ToRgb(F.Cfg.DisplayColors.AddGraph);
    EXPECT_EQ(CountColour(Canvas(), Canvas().rect(), add), 0);
    F.Cfg.ShowFirst = true;
    Plot.ScreenBoxPaint();
    EXPECT_EQ(Canvas().pixel(200, Plot.Geometry().PointY(2048 + 1500)), add);
}

TEST_F(PlotWidgetTest, ExtremumLabelsKeepInsideThePlot) {
    F.Cfg.ViewMin = 0;
    F.Cfg.ViewMax = 4000;    // 0.1 pixel per code
    F.Put(1000, 4000);       // maximum near the top: label below, up arrow
    F.Put(2000, 2048 + 600); // maximum with room above
    F.Put(3000, 100);        // minimum near the bottom: label above, down arrow
    F.Put(40, 2048 + 900);   // at the left edge: the label moves inside
    F.Results.MaxPositions = {1000, 2000, 40};
    F.Results.MaxCount = 3;
    F.Results.MinPositions = {3000};
    F.Results.MinCount = 1;
    Plot.ScreenBoxPaint();
    const TPlotGeometry& g = Plot.Geometry();
    const QFont& font = Plot.LabelFont();
    const int th = TextHeight();
    const QFontMetrics fm(font, &Canvas());
    const auto check = [&](int slot, bool maximum) {
        const int x = g.XOfCode(slot);
        const int y = g.YOfOrdinate((*F.Store)[slot].Y);
        const QString label = F.Format.AmplToStr((*F.Store)[slot].Y - 2048);
        const int tw = fm.horizontalAdvance(label);
        const TMarkPlace place =
            maximum ? PlaceMaximumMark(x, y, tw, th) : PlaceMinimumMark(x, y, tw, th, g.H);
        EXPECT_TRUE(HoldsLabel(Canvas(), font, KeepLabelInside(place.LabelX, tw, g.W), place.LabelY,
                               label, Bg(), TextColour()))
            << slot;
        // The arrow's shaft is filled in the text colour on the label's side.
        const int shaft = place.UpArrow ? y + 12 : y - 12;
        EXPECT_EQ(Canvas().pixel(x, shaft), TextColour()) << slot;
        EXPECT_NE(Canvas().pixel(x, place.UpArrow ? y - 12 : y + 12), TextColour()) << slot;
        return place;
    };
    EXPECT_TRUE(check(1000, true).UpArrow);
    EXPECT_FALSE(check(2000, true).UpArrow);
    EXPECT_FALSE(check(3000, false).UpArrow);
    EXPECT_LT(check(40, true).LabelX, 0);
}

TEST_F(PlotWidgetTest, AreaAdcAndRatioTextsFollowTheirEmptyValues) {
    F.Cfg.ViewMin = 0;
    F.Cfg.ViewMax = 4000;
    F.Cfg.Visir1 = F.Cfg.Visir2 = true;
    F.Cfg.VisKoord1 = 1000;
    F.Cfg.VisKoord2 = 3000;
    F.Results.Area = -1;
    Plot.ScreenBoxPaint();
    const QImage bare = Canvas().copy();

    F.Results.Area = 0; // zero is a value and is shown
    Plot.ScreenBoxPaint();
    const QString s = QStringLiteral("S=") + F.Format.AreaToStr(0);
    const QFontMetrics fm(Plot.LabelFont(), &Canvas());
    const int middle = (Plot.Geometry().XOfCode(1000) + Plot.Geometry().XOfCode(3000)) / 2;
    EXPECT_TRUE(HoldsLabel(Canvas(), Plot.LabelFont(), middle - fm.horizontalAdvance(s) / 2,
                           TextHeight(), s, Bg(), TextColour()));
    EXPECT_NE(Canvas(), bare);

    F.Results.Area = -1;
    F.Readings.AdcFieldValue = 0; // no reading: hidden like -1
    Plot.ScreenBoxPaint();
    EXPECT_EQ(Canvas(), bare);
    F.Results.TibaAmp = 500; // a ratio without its second amplitude is not shown
    F.Results.TitanAmp = 0;
    Plot.ScreenBoxPaint();
    EXPECT_EQ(Canvas(), bare);

    F.Cfg.Visir1 = F.Cfg.Visir2 = false; // no line through the corner texts
    F.Readings.AdcFieldValue = 3.5f;
    Plot.ScreenBoxPaint();
    const QString adc = QStringLiteral("АМ=3,50 ") + F.Cfg.ADCUnits[3].Name;
    EXPECT_TRUE(HoldsLabel(Canvas(), Plot.LabelFont(), 2, 2, adc, Bg(), TextColour()));

    // The peak ratio is written over the field reading.
    F.Results.TitanAmp = 250;
    Plot.ScreenBoxPaint();
    EXPECT_TRUE(HoldsLabel(Canvas(), Plot.LabelFont(), 2, 2, PeakRatioText(F.Format, F.Results),
                           Bg(), TextColour()));
    EXPECT_TRUE(PeakRatioText(F.Format, F.Results).startsWith("Tiba/Titan=500/250=2"));
}

TEST_F(PlotWidgetTest, VisirLinesAndTheFieldMarkerEraseThemselves) {
    F.Cfg.ViewMin = 0;
    F.Cfg.ViewMax = 4000;
    for (int k = 0; k <= 4000; k += 3)
        F.Put(k, 2048 + (k % 700) - 350);
    F.Results.MaxPositions = {2100};
    F.Results.MaxCount = 1;
    Plot.ScreenBoxPaint();
    const QImage before = Canvas().copy();

    Plot.DrawVisirLine(210, F.Cfg.DisplayColors.Visir1);
    EXPECT_NE(Canvas(), before);
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
    F.Cfg.ViewMin = 0;
    F.Cfg.ViewMax = 4000;
    for (int k = 0; k <= 4000; k += 7)
        F.Put(k, 2048 + (k % 900) - 450);
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

TEST_F(PlotWidgetTest, ProcessedSpectrumPicture) {
    // A processed spectrum as the operator sees it: three derivative lines,
    // their extremum marks and pair amplitudes, both visirs and "S=". Set
    // KAV_VIEW_SHOT to a file name to keep the picture.
    Plot.resize(760, 500);
    F.Cfg.ViewMin = 2000;
    F.Cfg.ViewMax = 62000;
    F.Cfg.AmpUnit = 1;
    const double centres[] = {12000, 30000, 47000};
    const double widths[] = {1500, 900, 2200};
    const double heights[] = {1700, 900, 1300};
    for (int k = 0; k <= 65519; ++k) {
        double v = 0;
        for (int j = 0; j < 3; ++j) {
            const double u = (k - centres[j]) / widths[j];
            v += -heights[j] * 2.6 * u / ((1 + u * u) * (1 + u * u));
        }
        v += 25 * std::sin(k * 0.37) * std::cos(k * 0.011);
        F.Put(k, std::clamp(static_cast<int>(2048 + v), 0, 4095));
    }
    // Extremum lists rightmost first, minimum k paired with maximum k.
    for (int j = 2; j >= 0; --j) {
        const int lo = static_cast<int>(centres[j] - widths[j] / std::sqrt(3.0));
        const int hi = static_cast<int>(centres[j] + widths[j] / std::sqrt(3.0));
        F.Results.MaxPositions.push_back(static_cast<std::uint16_t>(lo));
        F.Results.MinPositions.push_back(static_cast<std::uint16_t>(hi));
        F.Results.PairAmplitudes.push_back(
            static_cast<std::uint16_t>((*F.Store)[lo].Y - (*F.Store)[hi].Y));
    }
    F.Results.MaxCount = F.Results.MinCount = F.Results.PairCount = 3;
    F.Results.Area = 1.234e7;
    F.Cfg.Visir1 = F.Cfg.Visir2 = true;
    F.Cfg.VisKoord1 = 8000;
    F.Cfg.VisKoord2 = 52000;
    Plot.ScreenBoxPaint();

    const QImage& c = Canvas();
    ASSERT_EQ(c.size(), QSize(760, 500));
    // Every pair amplitude is drawn on the top row of texts.
    const QFontMetrics fm(Plot.LabelFont(), &c);
    for (int k = 0; k < 3; ++k) {
        const QString label =
            QStringLiteral("A=") + F.Format.AmplToStr(F.Results.PairAmplitudes[k]);
        const int x =
            Plot.Geometry().XOfCode((F.Results.MinPositions[k] + F.Results.MaxPositions[k]) / 2);
        EXPECT_TRUE(HoldsLabel(c, Plot.LabelFont(), x - fm.horizontalAdvance(label) / 2, 2, label,
                               Bg(), TextColour()))
            << label.toStdString();
    }
    if (const QByteArray path = qgetenv("KAV_VIEW_SHOT"); !path.isEmpty())
        EXPECT_TRUE(c.save(QString::fromLocal8Bit(path), "PNG"));
}
