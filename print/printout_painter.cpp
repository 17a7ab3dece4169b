#include "print/printout_painter.h"

#include "print/printout_texts.h"
#include "processing/analysis_overlay.h"
#include "processing/result_texts.h"
#include "view/analysis_overlay_painter.h"
#include "view/arrow_painter.h"
#include "view/display_color_painter.h"
#include "view/plot_geometry.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <algorithm>
#include <vector>

namespace {

// One painting of the page: the painter, the geometry, the colours and the
// text measures, with the steps of the printout as methods, in their order.
class TPagePainter {
public:
    TPagePainter(QPainter& p, const TPrintout& page, const TPageGeometry& geo)
        : P(p), Page(page), Geo(geo), Colours(page.Cfg.PrinterColors), Font(PrintoutFont()),
          Metrics(Font, p.device()), DeviceW(p.device()->width()), DeviceH(p.device()->height()) {}

    void Paint() {
        Frame();
        P.setFont(Font);
        ScaleAndBoundLabels();
        Label(Geo.Left + 1, Geo.Top + 1, Page.Header, Colours.Text);
        Grid();
        Points();
        Analysis();
        Visir(1);
        Visir(2);
        Extrema();
        PairTexts();
        AreaLabel();
        CornerTexts();
    }

private:
    int TextW(const QString& text) const { return Metrics.horizontalAdvance(text); }
    int TextH() const { return Metrics.height(); }

    // A text on a box of the background colour, its top left corner at
    // (x, y).
    void Label(int x, int y, const QString& text, TColorValue colour) {
        if (text.isEmpty())
            return;
        P.fillRect(QRect(x, y, TextW(text), TextH()), ToQColor(Colours.BackGround));
        P.setPen(QPen(ToQColor(colour), PenWidth));
        P.drawText(x, y + Metrics.ascent(), text);
    }

    // A label that would start at (x, y), kept on the page: labels of
    // extrema near the page's edges stay whole.
    void LabelOnPage(int x, int y, const QString& text) {
        const int tw = TextW(text);
        Label(KeepLabelInside(x, tw, DeviceW), std::max(std::min(y, DeviceH - TextH()), 0), text,
              Colours.Text);
    }

    void Frame() {
        P.setPen(QPen(ToQColor(Colours.Border), 1));
        P.setBrush(ToQColor(Colours.BackGround));
        P.drawRect(Geo.Left, Geo.Top, Geo.Right - Geo.Left - 1, Geo.Bottom - Geo.Top - 1);
    }

    void ScaleAndBoundLabels() {
        const QString top = Page.Format.AmplToStr(TopAmplitude(Geo.OrdScale));
        Label(Geo.Right - TextW(top) - 2, Geo.Top + 1, top, Colours.Text);
        const QString min = Page.Format.FieldToStr(static_cast<std::uint16_t>(Geo.ViewMin));
        const QString max = Page.Format.FieldToStr(static_cast<std::uint16_t>(Geo.ViewMax));
        WMin = TextW(min);
        WMax = TextW(max);
        const int y = Geo.Bottom - 1 - TextH();
        Label(Geo.Left + 2, y, min, Colours.Text);
        Label(Geo.Right - WMax - 2, y, max, Colours.Text);
    }

    void Grid() {
        const int s = TopAmplitude(Geo.OrdScale);
        const auto row = [&](int y, int amplitude) {
            P.setPen(QPen(ToQColor(Colours.Grid), 1));
            P.drawLine(Geo.Left, y, Geo.Right - 1, y);
            const QString label = Page.Format.AmplToStr(amplitude);
            Label(Geo.Right - TextW(label) - 2, y - TextH() - 2, label, Colours.Text);
        };
        row(Geo.MidP, 0);
        row((Geo.Top + Geo.MidP) / 2, s / 2);
        row((Geo.MidP + Geo.Bottom) / 2, -(s / 2));
    }

    // Each point is a filled square of 3 x 3 device pixels centred on its
    // place; squares that fall on the same place as the one before are
    // painted once. Points stay inside the frame: what lies above the plot
    // is not printed, as the screen does not show it.
    void Points() {
        const int first = std::max(Geo.ViewMin, 0);
        const int last = std::min(Geo.ViewMax, PointSlotCount - 1);
        std::vector<QRect> graph;
        std::vector<QRect> raw;
        const bool withRaw = Page.Cfg.ShowFirst && Page.RawTrace;
        const auto add = [](std::vector<QRect>& list, int x, int y) {
            const QRect square(x - 1, y - 1, 3, 3);
            if (list.empty() || list.back() != square)
                list.push_back(square);
        };
        for (int k = first; k <= last; ++k) {
            const TPointSlot& slot = Page.Store[k];
            if (!IsValidSlot(slot))
                continue;
            const int x = Geo.XOfCode(slot.X);
            add(graph, x, Geo.PointY(slot.Y));
            if (withRaw)
                add(raw, x, Geo.PointY(Page.RawTrace[k]));
        }
        P.save();
        P.setClipRect(
            QRect(Geo.Left + 1, Geo.Top + 1, Geo.Right - Geo.Left - 2, Geo.Bottom - Geo.Top - 2));
        P.setPen(Qt::NoPen);
        P.setBrush(ToQColor(Colours.Graph));
        P.drawRects(graph.data(), static_cast<int>(graph.size()));
        if (withRaw) {
            P.setBrush(ToQColor(Colours.AddGraph));
            P.drawRects(raw.data(), static_cast<int>(raw.size()));
        }
        P.restore();
    }

    // The traces of the line fit and the comparison over the points, three
    // device pixels wide as the points are, and their result lines at the
    // bottom left above the row of the bound and visir captions.
    void Analysis() {
        const TAnalysisOverlay* analysis = Page.Analysis;
        if (!analysis || analysis->Empty() || !analysis->Describes(Page.Store))
            return;
        TOverlayAxes axes;
        axes.Left = Geo.Left;
        axes.Kx = Geo.KxP;
        axes.ViewMin = Geo.ViewMin;
        axes.MidY = Geo.MidP;
        axes.Ky = Geo.KyP;
        axes.Clip =
            QRect(Geo.Left + 1, Geo.Top + 1, Geo.Right - Geo.Left - 2, Geo.Bottom - Geo.Top - 2);
        DrawOverlayCurves(P, analysis->Curves(), Colours, axes, 3);
        const QStringList lines =
            WrapResultLines(analysis->TextLines(Page.Cfg, Page.Format), Geo.Right - Geo.Left - 4,
                            [this](const QString& text) { return TextW(text); });
        int y = Geo.Bottom - 1 - TextH() * static_cast<int>(lines.size() + 1);
        for (const QString& line : lines) {
            Label(Geo.Left + 2, y, line, Colours.Text);
            y += TextH();
        }
    }

    // A shown visir strictly inside the view: its line, two pixels wide,
    // and its caption on the bottom row, visir 1's after the lower view
    // bound and visir 2's before the upper one. From the first visir on,
    // every line of the page keeps that width.
    void Visir(int n) {
        const bool shown = n == 1 ? Page.Cfg.Visir1 : Page.Cfg.Visir2;
        const std::uint16_t code = n == 1 ? Page.Cfg.VisKoord1 : Page.Cfg.VisKoord2;
        if (!shown || code <= Geo.ViewMin || code >= Geo.ViewMax)
            return;
        const TColorValue colour = n == 1 ? Colours.Visir1 : Colours.Visir2;
        PenWidth = 2;
        const int x = Geo.XOfCode(code);
        QPen pen(ToQColor(colour), PenWidth);
        pen.setCapStyle(Qt::FlatCap);
        P.setPen(pen);
        P.drawLine(x, Geo.Top + TextH(), x, Geo.Bottom - TextH());
        const QString caption = VisirCaption(Page.Format, Page.Store, code);
        const int y = Geo.Bottom - 1 - TextH();
        const int left =
            n == 1 ? Geo.Left + 5 * WMin / 3 : Geo.Right - 5 * WMax / 3 - TextW(caption);
        Label(left, y, caption, colour);
    }

    // Maxima are labelled above with a downward arrow, minima below with an
    // upward arrow, whatever room there is.
    void Extrema() {
        const QColor text = ToQColor(Colours.Text);
        const auto mark = [&](std::uint16_t slotIndex, bool maximum) {
            const TPointSlot& slot = Page.Store[slotIndex];
            if (!IsValidSlot(slot))
                return;
            const int x = Geo.XOfCode(slot.X);
            const int y = Geo.YOfOrdinate(slot.Y);
            const QString label = ExtremumLabel(Page.Format, slot.Y);
            const int tw = TextW(label);
            LabelOnPage(x - tw / 2, maximum ? y - 20 - TextH() : y + 22, label);
            P.setPen(QPen(text, PenWidth));
            P.setBrush(text);
            if (maximum)
                DrawDownArrow(P, x, y);
            else
                DrawUpArrow(P, x, y);
        };
        const TSpectrumResults& r = Page.Results;
        const std::size_t maxCount = std::min<std::size_t>(r.MaxCount, r.MaxPositions.size());
        for (std::size_t k = 0; k < maxCount; ++k)
            mark(r.MaxPositions[k], true);
        const std::size_t minCount = std::min<std::size_t>(r.MinCount, r.MinPositions.size());
        for (std::size_t k = 0; k < minCount; ++k)
            mark(r.MinPositions[k], false);
    }

    void PairTexts() {
        for (const TPairPlace& pair : PairPlaces(Page.Store, Page.Results)) {
            const int x = Geo.XOfCode(pair.MiddleCode);
            const QString label = PairAmplitudeText(Page.Format, pair.Amplitude);
            PairTextsPrinted = true;
            LabelOnPage(x - TextW(label) / 2, Geo.Top + 2 * TextH(), label);
            if (Page.GFactor.Shown) {
                const QString g = Page.GFactor.TextAt(pair.MiddleSlot);
                LabelOnPage(x - TextW(g) / 2, Geo.Top + 3 * TextH(), g);
            }
        }
    }

    // Centred between the visirs, on the row of the pair amplitudes when
    // there are none; otherwise on the row below their texts, so that a line
    // measured between the visirs keeps its amplitude readable.
    void AreaLabel() {
        const QString label = AreaText(Page.Format, Page.Results.Area);
        if (label.isEmpty())
            return;
        const long middle = (static_cast<long>(Page.Cfg.VisKoord1) + Page.Cfg.VisKoord2) / 2;
        int row = 2;
        if (PairTextsPrinted)
            row += Page.GFactor.Shown ? 2 : 1;
        LabelOnPage(Geo.XOfCode(middle) - TextW(label) / 2, Geo.Top + row * TextH(), label);
    }

    // The field through the ADC input two pixels from the page's left edge,
    // in the margin, when it fits there; otherwise on the second line of the
    // plot, where it covers nothing. The peak ratio follows on that line.
    void CornerTexts() {
        const QString adc = AdcFieldText(Page.Cfg, Page.Readings, Page.Format.DecimalSep());
        const QString ratio = PeakRatioText(Page.Format, Page.Results);
        QStringList secondLine;
        if (!adc.isEmpty()) {
            if (2 + TextW(adc) + 2 <= Geo.Left)
                Label(2, Geo.Top + 2, adc, Colours.Text);
            else
                secondLine << adc;
        }
        if (!ratio.isEmpty())
            secondLine << ratio;
        Label(Geo.Left + 1, Geo.Top + 1 + TextH(), secondLine.join(QStringLiteral("   ")),
              Colours.Text);
    }

    QPainter& P;
    const TPrintout& Page;
    const TPageGeometry& Geo;
    const TColorSet& Colours;
    QFont Font;
    QFontMetrics Metrics;
    int DeviceW;
    int DeviceH;
    int PenWidth = 1;
    bool PairTextsPrinted = false;
    int WMin = 0;
    int WMax = 0;
};

} // namespace

QFont PrintoutFont() {
    QFont font;
    font.setPointSize(10);
    return font;
}

TPrintableArea PrintableAreaOf(const QPaintDevice& device) {
    return {device.width(), device.height(), device.widthMM(), device.heightMM()};
}

TPageGeometry PrintoutGeometry(const TPrintout& page, const TPrintableArea& area) {
    const TKavCfg& c = page.Cfg;
    return TPageGeometry::Compute(area, TPageMargins{c.PrnL, c.PrnT, c.PrnR, c.PrnB}, c.ViewMin,
                                  c.ViewMax, c.OrdScale);
}

QString PrintoutProblem(const TPrintout& page, const QPaintDevice& device) {
    const TPrintableArea area = PrintableAreaOf(device);
    if (!area.IsValid())
        return QCoreApplication::translate("PrintoutPainter",
                                           "принтер не сообщает размеры страницы");
    if (!PrintoutGeometry(page, area).HasPlot())
        return QCoreApplication::translate("PrintoutPainter",
                                           "поля страницы не оставляют места для спектра");
    return QString();
}

bool PaintPrintout(QPainter& p, const TPrintout& page, QString* reason) {
    const QString problem = PrintoutProblem(page, *p.device());
    if (!problem.isEmpty()) {
        if (reason)
            *reason = problem;
        return false;
    }
    const TPageGeometry geo = PrintoutGeometry(page, PrintableAreaOf(*p.device()));
    TPagePainter(p, page, geo).Paint();
    return true;
}
