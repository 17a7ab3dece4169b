#include "view/plot_painter.h"

#include "processing/result_texts.h"
#include "spectrum/number_style.h"
#include "view/arrow_painter.h"
#include "view/display_color.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QVector>
#include <algorithm>
#include <vector>

namespace {

// Direct access to an image's pixels for the point loop.
struct TPixels {
    uchar* Bits;
    qsizetype BytesPerLine;
    int W;
    int H;
    void Put(int x, int y, QRgb colour) const {
        if (static_cast<unsigned>(x) < static_cast<unsigned>(W) &&
            static_cast<unsigned>(y) < static_cast<unsigned>(H))
            reinterpret_cast<QRgb*>(Bits + y * BytesPerLine)[x] = colour;
    }
};

// The pixels of one colour on a w x h plot, each set once.
class TPixelMask {
public:
    TPixelMask(int w, int h) : W(w), H(h), Set(static_cast<std::size_t>(w) * h, 0) {}
    void Put(int x, int y) {
        if (static_cast<unsigned>(x) < static_cast<unsigned>(W) &&
            static_cast<unsigned>(y) < static_cast<unsigned>(H))
            Set[static_cast<std::size_t>(y) * W + x] = 1;
    }
    // One rectangle per run of set pixels in a column.
    QVector<QRect> ColumnRuns() const {
        QVector<QRect> runs;
        for (int x = 0; x < W; ++x) {
            int y = 0;
            while (y < H) {
                if (!At(x, y)) {
                    ++y;
                    continue;
                }
                const int top = y;
                while (y < H && At(x, y))
                    ++y;
                runs.append(QRect(x, top, 1, y - top));
            }
        }
        return runs;
    }

private:
    bool At(int x, int y) const { return Set[static_cast<std::size_t>(y) * W + x] != 0; }
    int W;
    int H;
    std::vector<std::uint8_t> Set;
};

void FillRuns(QPainter& p, const TPixelMask& mask, TColorValue colour) {
    const QVector<QRect> runs = mask.ColumnRuns();
    if (runs.isEmpty())
        return;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(ToQColor(colour));
    p.drawRects(runs.constData(), static_cast<int>(runs.size()));
    p.restore();
}

} // namespace

TPlotPainter::TPlotPainter(const TPlotSource& source, const TColorSet& colours, const QFont& font,
                           bool vector)
    : Source(source), Colours(colours), Font(font), Vector(vector) {}

TPlotGeometry TPlotPainter::Geometry(int w, int h) const {
    return TPlotGeometry::Compute(w, h, Source.Cfg.ViewMin, Source.Cfg.ViewMax,
                                  Source.Cfg.OrdScale);
}

void TPlotPainter::DrawLabel(QPainter& p, int x, int y, const QString& text) const {
    const QFontMetrics fm(Font, p.device());
    p.fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), ToQColor(Colours.BackGround));
    p.drawText(x, y + fm.ascent(), text);
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
    p.fillRect(QRect(0, 0, w, h), ToQColor(Colours.BackGround));
    p.setPen(ToQColor(Colours.Border));
    if (Vector)
        p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    else
        p.drawRect(0, 0, w - 1, h - 1);

    p.setFont(Font);
    const QFontMetrics fm(Font, p.device());
    const int s = TopAmplitude(Source.Cfg.OrdScale);
    const int textH = fm.height(); // the height of "0"
    const auto rightLabel = [&](int top, int amplitude) {
        const QString text = Source.Format.AmplToStr(amplitude);
        p.setPen(ToQColor(Colours.Text));
        DrawLabel(p, w - 4 - fm.horizontalAdvance(text), top, text);
    };
    const auto gridRow = [&](int y, int amplitude) {
        p.setPen(ToQColor(Colours.Grid));
        DrawHairline(p, 0, y, w - 1, y);
        rightLabel(y - 1 - textH, amplitude);
    };
    rightLabel(1, s);
    gridRow(geo.MidY, 0);
    gridRow(geo.MidY / 2, s / 2);
    gridRow((3 * geo.MidY) / 2, -(s / 2));
}

void TPlotPainter::DrawPoints(QImage& image, const TPlotGeometry& geo) const {
    const TPixels px{image.bits(), image.bytesPerLine(), image.width(), image.height()};
    const QRgb graph = ToRgb(Colours.Graph);
    const QRgb addGraph = ToRgb(Colours.AddGraph);
    const bool raw = Source.Cfg.ShowFirst && Source.RawTrace;
    const int first = std::max(Source.Cfg.ViewMin, 0);
    const int last = std::min(Source.Cfg.ViewMax, PointSlotCount - 1);
    for (int k = first; k <= last; ++k) {
        const TPointSlot& s = Source.Store[k];
        if (!IsValidSlot(s))
            continue;
        const int x = geo.XOfCode(s.X);
        px.Put(x, geo.PointY(s.Y), graph);
        if (raw)
            px.Put(x, geo.PointY(Source.RawTrace[k]), addGraph);
    }
}

void TPlotPainter::DrawPoints(QPainter& p, const TPlotGeometry& geo) const {
    TPixelMask points(geo.W, geo.H);
    TPixelMask rawPoints(geo.W, geo.H);
    const bool raw = Source.Cfg.ShowFirst && Source.RawTrace;
    const int first = std::max(Source.Cfg.ViewMin, 0);
    const int last = std::min(Source.Cfg.ViewMax, PointSlotCount - 1);
    for (int k = first; k <= last; ++k) {
        const TPointSlot& s = Source.Store[k];
        if (!IsValidSlot(s))
            continue;
        const int x = geo.XOfCode(s.X);
        points.Put(x, geo.PointY(s.Y));
        if (raw)
            rawPoints.Put(x, geo.PointY(Source.RawTrace[k]));
    }
    // The spectrum over its raw trace.
    FillRuns(p, rawPoints, Colours.AddGraph);
    FillRuns(p, points, Colours.Graph);
}

void TPlotPainter::DrawMarksAndTexts(QPainter& p, const TPlotGeometry& geo) const {
    p.setFont(Font);
    p.setPen(ToQColor(Colours.Text));
    DrawExtremumMarks(p, geo);
    DrawPairTexts(p, geo);
    DrawAreaText(p, geo);
    // Drawn before the visir lines, so that erasing a line by drawing it
    // again gives these texts back unharmed.
    DrawCornerTexts(p);
}

void TPlotPainter::DrawExtremumMarks(QPainter& p, const TPlotGeometry& geo) const {
    const QFontMetrics fm(Font, p.device());
    const QColor text = ToQColor(Colours.Text);
    const TPointTable& store = Source.Store;
    const TSpectrumResults& results = Source.Results;
    const auto mark = [&](std::uint16_t slotIndex, bool maximum) {
        const TPointSlot& slot = store[slotIndex];
        if (!IsValidSlot(slot))
            return;
        const int x = geo.XOfCode(slot.X);
        const int y = geo.YOfOrdinate(slot.Y);
        const QString label = ExtremumLabel(Source.Format, slot.Y);
        const int tw = fm.horizontalAdvance(label);
        const int th = fm.height();
        const TMarkPlace place =
            maximum ? PlaceMaximumMark(x, y, tw, th) : PlaceMinimumMark(x, y, tw, th, geo.H);
        p.setPen(text);
        DrawLabel(p, KeepLabelInside(place.LabelX, tw, geo.W), place.LabelY, label);
        p.setBrush(text);
        if (Vector) {
            p.save();
            p.translate(0.5, 0.5);
        }
        if (place.UpArrow)
            DrawUpArrow(p, x, y);
        else
            DrawDownArrow(p, x, y);
        if (Vector)
            p.restore();
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

void TPlotPainter::DrawPairTexts(QPainter& p, const TPlotGeometry& geo) const {
    const QFontMetrics fm(Font, p.device());
    const TPointTable& store = Source.Store;
    const TSpectrumResults& results = Source.Results;
    const std::size_t count =
        std::min({static_cast<std::size_t>(results.PairCount), results.PairAmplitudes.size(),
                  results.MinPositions.size(), results.MaxPositions.size()});
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint16_t minSlot = results.MinPositions[k];
        const std::uint16_t maxSlot = results.MaxPositions[k];
        if (!IsValidSlot(store[minSlot]) || !IsValidSlot(store[maxSlot]))
            continue;
        const std::uint32_t middle =
            (static_cast<std::uint32_t>(store[minSlot].X) + store[maxSlot].X) / 2;
        const int x = geo.XOfCode(middle);
        const QString label = PairAmplitudeText(Source.Format, results.PairAmplitudes[k]);
        const int tw = fm.horizontalAdvance(label);
        DrawLabel(p, KeepLabelInside(x - tw / 2, tw, geo.W), 2, label);
        if (Source.GFactor.Shown) {
            const auto slot =
                static_cast<std::uint16_t>((static_cast<std::uint32_t>(minSlot) + maxSlot) / 2);
            const QString g = Source.GFactor.TextAt(slot);
            if (!g.isEmpty())
                DrawLabel(p,
                          KeepLabelInside(x - fm.horizontalAdvance(g) / 2, fm.horizontalAdvance(g),
                                          geo.W),
                          fm.height() + 2, g);
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

void TPlotPainter::DrawAreaText(QPainter& p, const TPlotGeometry& geo) const {
    const QString label = AreaText(Source.Format, Source.Results.Area);
    if (label.isEmpty())
        return;
    const QFontMetrics fm(Font, p.device());
    // Centred between the visirs where this paint is about to put them.
    const int middle = (VisirColumn(1, geo) + VisirColumn(2, geo)) / 2;
    const int tw = fm.horizontalAdvance(label);
    DrawLabel(p, KeepLabelInside(middle - tw / 2, tw, geo.W), fm.height(), label);
}

void TPlotPainter::DrawCornerTexts(QPainter& p) const {
    if (Source.Readings.AdcFieldValue > 0) {
        const QString text =
            QStringLiteral("АМ=") +
            FormatFixed(Source.Readings.AdcFieldValue, 2, 2, Source.Format.DecimalSep()) +
            QStringLiteral(" ") + Source.Cfg.ADCUnits[3].Name;
        DrawLabel(p, 2, 2, text);
    }
    const QString ratio = PeakRatioText(Source.Format, Source.Results);
    if (!ratio.isEmpty())
        DrawLabel(p, 2, 2, ratio);
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
