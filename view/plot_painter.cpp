#include "view/plot_painter.h"

#include "base/number_style.h"
#include "processing/analysis_overlay.h"
#include "processing/result_texts.h"
#include "view/analysis_overlay_painter.h"
#include "view/arrow_painter.h"
#include "view/display_color_painter.h"
#include "view/image_pixels_painter.h"
#include "view/label_painter.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QVector>
#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace {

// The pixels of a w x h plot, each holding the colour index written last
// (0: none), so that the colours overlap as they do when drawn in turn.
class TPixelMask {
public:
    TPixelMask(int w, int h) : W(w), H(h), Set(static_cast<std::size_t>(w) * h, 0) {}
    void Put(int x, int y, std::uint8_t index) {
        if (static_cast<unsigned>(x) < static_cast<unsigned>(W) &&
            static_cast<unsigned>(y) < static_cast<unsigned>(H))
            Set[static_cast<std::size_t>(y) * W + x] = index;
    }
    // One rectangle per run of pixels of colour `index` in a column.
    QVector<QRect> ColumnRuns(std::uint8_t index) const {
        QVector<QRect> runs;
        for (int x = 0; x < W; ++x) {
            int y = 0;
            while (y < H) {
                if (At(x, y) != index) {
                    ++y;
                    continue;
                }
                const int top = y;
                while (y < H && At(x, y) == index)
                    ++y;
                runs.append(QRect(x, top, 1, y - top));
            }
        }
        return runs;
    }

private:
    std::uint8_t At(int x, int y) const { return Set[static_cast<std::size_t>(y) * W + x]; }
    int W;
    int H;
    std::vector<std::uint8_t> Set;
};

// A whole row or column of a 32-bit image in one colour; nothing outside it.
void SetRow(QImage& image, int y, QRgb colour) {
    if (y < 0 || y >= image.height())
        return;
    auto* row = reinterpret_cast<QRgb*>(image.bits() + y * image.bytesPerLine());
    std::fill(row, row + image.width(), colour);
}

void SetColumn(QImage& image, int x, QRgb colour) {
    if (x < 0 || x >= image.width())
        return;
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (int y = 0; y < image.height(); ++y)
        reinterpret_cast<QRgb*>(bits + y * stride)[x] = colour;
}

// Ordinates whose rows the raster point loop looks up: the 12-bit codes.
constexpr int RowTableSize = 4096;

void FillRuns(QPainter& p, const TPixelMask& mask, std::uint8_t index, TColorValue colour) {
    const QVector<QRect> runs = mask.ColumnRuns(index);
    if (runs.isEmpty())
        return;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(ToQColor(colour));
    p.drawRects(runs.constData(), static_cast<int>(runs.size()));
    p.restore();
}

} // namespace

// The labels and arrows of one drawing step on one painter, whose pen is the
// text colour and whose font is the labels' font: measured with one set of
// metrics; on a 32-bit image with sprites, copied from them and set straight
// into the pixels.
class TPlotLabels {
public:
    TPlotLabels(QPainter& p, const QFont& font, const TColorSet& colours, TLabelSprites* sprites,
                bool vector)
        : P(p), Vector(vector), Background(ToQColor(colours.BackGround)),
          Text(ToRgb(colours.Text)) {
        QPaintDevice* device = p.device();
        if (sprites && !vector && device && device->devType() == QInternal::Image) {
            auto* image = static_cast<QImage*>(device);
            if (image->format() == QImage::Format_RGB32) {
                Canvas = image;
                Sprites = sprites;
                Sprites->Prepare(font, *image, ToRgb(colours.BackGround), Text);
            }
        }
        if (!Sprites)
            OwnMetrics.emplace(font, device);
    }

    // A text measured: its advance, and the box drawn for it when there is
    // one (valid until the next text is measured).
    struct TLabel {
        const QString& Text;
        int Width = 0;
        const QImage* Box = nullptr;
    };

    int Height() const { return Metrics().height(); }
    TLabel Measure(const QString& text) {
        if (!Sprites)
            return {text, OwnMetrics->horizontalAdvance(text)};
        const TLabelSprites::TSprite& sprite = Sprites->Sprite(text);
        return {text, sprite.Width, sprite.Box.isNull() ? nullptr : &sprite.Box};
    }

    // A label with its top left corner at (x, y): the background box of the
    // text's advance and the font's height, the text on its baseline.
    void Draw(int x, int y, const TLabel& label) {
        if (label.Box) {
            CopyLabelBox(*Canvas, *label.Box, x, y);
            return;
        }
        const QFontMetrics& fm = Metrics();
        P.fillRect(QRect(x, y, label.Width, fm.height()), Background);
        P.drawText(x, y + fm.ascent(), label.Text);
    }
    void Draw(int x, int y, const QString& text) { Draw(x, y, Measure(text)); }
    // Centred on column x, kept inside a plot of width w.
    void DrawCentred(int x, int y, const QString& text, int w) {
        const TLabel label = Measure(text);
        Draw(KeepLabelInside(x - label.Width / 2, label.Width, w), y, label);
    }

    // An extremum's arrow; the painter's brush is the text colour too.
    void Arrow(int x, int y, bool up) {
        if (Canvas && StampArrow(*Canvas, x, y, up, Text))
            return;
        if (Vector) {
            P.save();
            P.translate(0.5, 0.5);
        }
        if (up)
            DrawUpArrow(P, x, y);
        else
            DrawDownArrow(P, x, y);
        if (Vector)
            P.restore();
    }

private:
    const QFontMetrics& Metrics() const { return Sprites ? Sprites->Metrics() : *OwnMetrics; }

    QPainter& P;
    bool Vector;
    QColor Background;
    QRgb Text;
    QImage* Canvas = nullptr;
    TLabelSprites* Sprites = nullptr;
    std::optional<QFontMetrics> OwnMetrics;
};

TPlotPainter::TPlotPainter(const TPlotSource& source, const TColorSet& colours, const QFont& font,
                           bool vector, TLabelSprites* sprites)
    : Source(source), Colours(colours), Font(font), Vector(vector), Sprites(sprites) {}

TPlotGeometry TPlotPainter::Geometry(int w, int h) const {
    return TPlotGeometry::Compute(w, h, Source.Cfg.ViewMin, Source.Cfg.ViewMax,
                                  Source.Cfg.OrdScale);
}

// A one-pixel line between pixel (x1, y1) and pixel (x2, y2). On a vector
// device the line runs through the pixels' centres, so that it covers them
// instead of straddling two rows.
void TPlotPainter::DrawHairline(QPainter& p, int x1, int y1, int x2, int y2) const {
    if (Vector)
        p.drawLine(QLineF(x1 + 0.5, y1 + 0.5, x2 + 0.5, y2 + 0.5));
    else
        p.drawLine(x1, y1, x2, y2);
}

void TPlotPainter::DrawGrid(QPainter& p, const TPlotGeometry& geo) const {
    const int w = geo.W;
    const int h = geo.H;
    // On a raster canvas of the plot's size the frame and the grid lines are
    // set straight into the pixels: the rows and columns a one-pixel pen
    // covers.
    QImage* raster = nullptr;
    if (auto* device = p.device();
        !Vector && w >= 2 && h >= 2 && device && device->devType() == QInternal::Image) {
        auto* image = static_cast<QImage*>(device);
        if (image->format() == QImage::Format_RGB32 && image->size() == QSize(w, h))
            raster = image;
    }
    p.fillRect(QRect(0, 0, w, h), ToQColor(Colours.BackGround));
    if (raster) {
        const QRgb border = ToRgb(Colours.Border);
        SetRow(*raster, 0, border);
        SetRow(*raster, h - 1, border);
        SetColumn(*raster, 0, border);
        SetColumn(*raster, w - 1, border);
    } else {
        p.setPen(ToQColor(Colours.Border));
        if (Vector)
            p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
        else
            p.drawRect(0, 0, w - 1, h - 1);
    }

    p.setFont(Font);
    TPlotLabels labels(p, Font, Colours, Sprites, Vector);
    const int s = TopAmplitude(Source.Cfg.OrdScale);
    const int textH = labels.Height(); // the height of "0"
    const QColor text = ToQColor(Colours.Text);
    const QColor grid = ToQColor(Colours.Grid);
    const auto rightLabel = [&](int top, int amplitude) {
        const QString label = Source.Format.AmplToStr(amplitude);
        p.setPen(text);
        const TPlotLabels::TLabel measured = labels.Measure(label);
        labels.Draw(w - 4 - measured.Width, top, measured);
    };
    const auto gridRow = [&](int y, int amplitude) {
        if (raster) {
            SetRow(*raster, y, ToRgb(Colours.Grid));
        } else {
            p.setPen(grid);
            DrawHairline(p, 0, y, w - 1, y);
        }
        rightLabel(y - 1 - textH, amplitude);
    };
    rightLabel(1, s);
    gridRow(geo.MidY, 0);
    gridRow(geo.MidY / 2, s / 2);
    gridRow((3 * geo.MidY) / 2, -(s / 2));
}

void TPlotPainter::DrawPoints(QImage& image, const TPlotGeometry& plot) const {
    // A copy the pixel stores cannot touch, so its fields stay in registers.
    const TPlotGeometry geo = plot;
    const TImagePixels px = TImagePixels::Of(image);
    const QRgb graph = ToRgb(Colours.Graph);
    const QRgb addGraph = ToRgb(Colours.AddGraph);
    const bool raw = Source.Cfg.ShowFirst && Source.RawTrace;
    const int first = std::max(Source.Cfg.ViewMin, 0);
    const int last = std::min(Source.Cfg.ViewMax, PointSlotCount - 1);
    // The rows of the 12-bit ordinates, worked out once for the whole view;
    // any other ordinate goes through the transform.
    std::array<int, RowTableSize> rows;
    for (int v = 0; v < RowTableSize; ++v)
        rows[v] = geo.PointY(v);
    const auto row = [&](std::uint16_t ordinate) {
        return ordinate < RowTableSize ? rows[ordinate] : geo.PointY(ordinate);
    };
    for (int k = first; k <= last; ++k) {
        const TPointSlot& s = Source.Store[k];
        if (!IsValidSlot(s))
            continue;
        const int x = geo.XOfCode(s.X);
        px.Put(x, row(s.Y), graph);
        if (raw)
            px.Put(x, row(Source.RawTrace[k]), addGraph);
    }
}

void TPlotPainter::DrawPoints(QPainter& p, const TPlotGeometry& geo) const {
    // Each point and then its raw point, as the raster drawing puts them:
    // where a pixel is written twice, the later colour is the one seen.
    constexpr std::uint8_t PointIndex = 1;
    constexpr std::uint8_t RawIndex = 2;
    TPixelMask pixels(geo.W, geo.H);
    const bool raw = Source.Cfg.ShowFirst && Source.RawTrace;
    const int first = std::max(Source.Cfg.ViewMin, 0);
    const int last = std::min(Source.Cfg.ViewMax, PointSlotCount - 1);
    for (int k = first; k <= last; ++k) {
        const TPointSlot& s = Source.Store[k];
        if (!IsValidSlot(s))
            continue;
        const int x = geo.XOfCode(s.X);
        pixels.Put(x, geo.PointY(s.Y), PointIndex);
        if (raw)
            pixels.Put(x, geo.PointY(Source.RawTrace[k]), RawIndex);
    }
    FillRuns(p, pixels, RawIndex, Colours.AddGraph);
    FillRuns(p, pixels, PointIndex, Colours.Graph);
}

void TPlotPainter::DrawMarksAndTexts(QPainter& p, const TPlotGeometry& geo) const {
    p.setFont(Font);
    p.setPen(ToQColor(Colours.Text));
    TPlotLabels labels(p, Font, Colours, Sprites, Vector);
    DrawAnalysis(p, labels, geo);
    DrawExtremumMarks(p, labels, geo);
    DrawPairTexts(labels, geo);
    DrawAreaText(labels, geo);
    // Drawn before the visir lines, so that erasing a line by drawing it
    // again gives these texts back unharmed.
    DrawCornerTexts(labels);
}

void TPlotPainter::DrawExtremumMarks(QPainter& p, TPlotLabels& labels,
                                     const TPlotGeometry& geo) const {
    const TPointTable& store = Source.Store;
    const TSpectrumResults& results = Source.Results;
    // Pen and brush are the text colour for labels and arrows. A vector
    // device writes out every change of them, so there they are set at each
    // mark as they always were, and the document stays the same.
    const QColor colour = ToQColor(Colours.Text);
    if (!Vector)
        p.setBrush(colour);
    const int th = labels.Height();
    const auto mark = [&](std::uint16_t slotIndex, bool maximum) {
        const TPointSlot& slot = store[slotIndex];
        if (!IsValidSlot(slot))
            return;
        const int x = geo.XOfCode(slot.X);
        const int y = geo.YOfOrdinate(slot.Y);
        const QString text = ExtremumLabel(Source.Format, slot.Y);
        const TPlotLabels::TLabel label = labels.Measure(text);
        const int tw = label.Width;
        const TMarkPlace place =
            maximum ? PlaceMaximumMark(x, y, tw, th) : PlaceMinimumMark(x, y, tw, th, geo.H);
        if (Vector)
            p.setPen(colour);
        labels.Draw(KeepLabelInside(place.LabelX, tw, geo.W), place.LabelY, label);
        if (Vector)
            p.setBrush(colour);
        labels.Arrow(x, y, place.UpArrow);
    };
    const std::size_t maxCount =
        std::min<std::size_t>(results.MaxCount, results.MaxPositions.size());
    for (std::size_t k = 0; k < maxCount; ++k)
        mark(results.MaxPositions[k], true);
    const std::size_t minCount =
        std::min<std::size_t>(results.MinCount, results.MinPositions.size());
    for (std::size_t k = 0; k < minCount; ++k)
        mark(results.MinPositions[k], false);
}

void TPlotPainter::DrawPairTexts(TPlotLabels& labels, const TPlotGeometry& geo) const {
    for (const TPairPlace& pair : PairPlaces(Source.Store, Source.Results)) {
        const int x = geo.XOfCode(pair.MiddleCode);
        labels.DrawCentred(x, 2, PairAmplitudeText(Source.Format, pair.Amplitude), geo.W);
        if (Source.GFactor.Shown) {
            const QString g = Source.GFactor.TextAt(pair.MiddleSlot);
            if (!g.isEmpty())
                labels.DrawCentred(x, labels.Height() + 2, g, geo.W);
        }
    }
}

int TPlotPainter::VisirColumn(int n, const TPlotGeometry& geo) const {
    const TKavCfg& cfg = Source.Cfg;
    const bool shown = n == 1 ? cfg.Visir1 : cfg.Visir2;
    const int code = n == 1 ? cfg.VisKoord1 : cfg.VisKoord2;
    if (!shown || code < geo.ViewMin || code > geo.ViewMax)
        return -1;
    return geo.XOfCode(code);
}

void TPlotPainter::DrawAreaText(TPlotLabels& labels, const TPlotGeometry& geo) const {
    const QString label = AreaText(Source.Format, Source.Results.Area);
    if (label.isEmpty())
        return;
    // Centred between the visirs where this paint is about to put them.
    const int middle = (VisirColumn(1, geo) + VisirColumn(2, geo)) / 2;
    labels.DrawCentred(middle, labels.Height(), label, geo.W);
}

void TPlotPainter::DrawCornerTexts(TPlotLabels& labels) const {
    if (Source.Readings.AdcFieldValue > 0) {
        const QString text =
            QCoreApplication::translate("PlotPainter", "АМ=") +
            FormatFixed(Source.Readings.AdcFieldValue, 2, 2, Source.Format.DecimalSep()) +
            QStringLiteral(" ") + Source.Cfg.ADCUnits[3].Name;
        labels.Draw(2, 2, text);
    }
    const QString ratio = PeakRatioText(Source.Format, Source.Results);
    if (!ratio.isEmpty())
        labels.Draw(2, 2, ratio);
}

void TPlotPainter::DrawVisirLines(QPainter& p, const TPlotGeometry& geo) const {
    if (geo.H - 5 < 3)
        return;
    for (int n = 1; n <= 2; ++n) {
        const int x = VisirColumn(n, geo);
        if (x < 0)
            continue;
        p.setPen(ToQColor(n == 1 ? Colours.Visir1 : Colours.Visir2));
        DrawHairline(p, x, 3, x, geo.H - 5);
    }
}

void TPlotPainter::DrawAnalysis(QPainter& p, TPlotLabels& labels, const TPlotGeometry& geo) const {
    const TAnalysisOverlay* analysis = Source.Analysis;
    if (!analysis || analysis->Empty() || !analysis->Describes(Source.Store))
        return;
    TOverlayAxes axes;
    axes.Left = 0;
    axes.Kx = geo.Kx;
    axes.ViewMin = geo.ViewMin;
    axes.MidY = geo.MidY;
    axes.Ky = geo.Ky;
    axes.Clip = QRect(1, 1, geo.W - 2, geo.H - 2);
    DrawOverlayCurves(p, analysis->Curves(), Colours, axes, 1);
    // The result lines from the bottom up, the last line lowest.
    p.setPen(ToQColor(Colours.Text));
    const QStringList lines =
        WrapResultLines(analysis->TextLines(Source.Cfg, Source.Format), geo.W - 4,
                        [&](const QString& text) { return labels.Measure(text).Width; });
    const int th = labels.Height();
    int y = geo.H - 4 - th * static_cast<int>(lines.size());
    for (const QString& line : lines) {
        labels.Draw(2, y, line);
        y += th;
    }
}
