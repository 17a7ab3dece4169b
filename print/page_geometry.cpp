#include "print/page_geometry.h"

#include "view/plot_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// A device coordinate from a 64-bit quotient, held far outside any page so
// that absurd margins from a settings file stay defined.
int HoldCoordinate(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, -1000000000, 1000000000));
}

// (margin - offset) * pixels / millimetres, truncated toward zero.
std::int64_t MarginPixels(std::int32_t margin, int offset, int pixels, int millimetres) {
    return (static_cast<std::int64_t>(margin) - offset) * pixels / millimetres;
}

int RoundToInt(double v) {
    return TPlotGeometry::ToPixel(v);
}

} // namespace

int PointDistance(QPoint a, QPoint b) {
    const double dx = static_cast<double>(a.x()) - b.x();
    const double dy = static_cast<double>(a.y()) - b.y();
    return RoundToInt(std::sqrt(dx * dx + dy * dy));
}

TPaperSize NearestPaper(int w, int h) {
    TPaperSize best = StandardPapers[0];
    int bestDistance = PointDistance(QPoint(w, h), QPoint(best.Width, best.Height));
    for (const TPaperSize& paper : StandardPapers) {
        const int d = PointDistance(QPoint(w, h), QPoint(paper.Width, paper.Height));
        if (d < bestDistance) {
            best = paper;
            bestDistance = d;
        }
    }
    return best;
}

TPaperOffsets UnprintableOffsets(int horzSize, int vertSize) {
    const TPaperSize paper = NearestPaper(horzSize, vertSize);
    return {(paper.Width - horzSize) / 2, (paper.Height - vertSize) / 2};
}

TPageMargins RaisedMargins(const TPageMargins& margins, const TPaperOffsets& offsets) {
    return {std::max(margins.Left, offsets.Dx), std::max(margins.Top, offsets.Dy),
            std::max(margins.Right, offsets.Dx), std::max(margins.Bottom, offsets.Dy)};
}

TPageGeometry TPageGeometry::Compute(const TPrintableArea& area, const TPageMargins& margins,
                                     int viewMin, int viewMax, int ordScale) {
    TPageGeometry g;
    const TPaperOffsets off = UnprintableOffsets(area.HorzSize, area.VertSize);
    const TPageMargins m = RaisedMargins(margins, off);
    g.Left = HoldCoordinate(MarginPixels(m.Left, off.Dx, area.HorzRes, area.HorzSize));
    g.Top = HoldCoordinate(MarginPixels(m.Top, off.Dy, area.VertRes, area.VertSize));
    g.Right =
        HoldCoordinate(area.HorzRes - MarginPixels(m.Right, off.Dx, area.HorzRes, area.HorzSize));
    g.Bottom =
        HoldCoordinate(area.VertRes - MarginPixels(m.Bottom, off.Dy, area.VertRes, area.VertSize));
    g.ViewMin = viewMin;
    g.ViewMax = viewMax > viewMin ? viewMax : viewMin + 1;
    g.OrdScale = std::clamp(ordScale, 0, 6);
    g.KxP = static_cast<float>(static_cast<double>(g.Right - g.Left) / (g.ViewMax - g.ViewMin));
    g.KyP = static_cast<float>(static_cast<double>(g.Bottom - g.Top) / (1 << (12 - g.OrdScale)));
    g.MidP = static_cast<int>((static_cast<std::int64_t>(g.Top) + g.Bottom) / 2);
    return g;
}

int TPageGeometry::XOfCode(long code) const {
    return RoundToInt(static_cast<double>(code - ViewMin) * static_cast<double>(KxP)) + Left;
}

int TPageGeometry::YOfOrdinate(long ordinate) const {
    return MidP - RoundToInt(static_cast<double>(ordinate - 2048) * static_cast<double>(KyP));
}

int TPageGeometry::PointY(long ordinate) const {
    return std::min(YOfOrdinate(ordinate), Bottom - 2);
}

TSampleGeometry ComputeSample(int previewW, int previewH, int horzSize, int vertSize,
                              const TPageMargins& margins) {
    TSampleGeometry g;
    const TPaperSize paper = NearestPaper(horzSize, vertSize);
    g.Scale = paper.Height <= paper.Width ? 0.85 * previewW / paper.Width
                                          : 0.85 * previewH / paper.Height;
    const int pageW = RoundToInt(horzSize * g.Scale);
    const int pageH = RoundToInt(vertSize * g.Scale);
    g.Page.Left = (previewW - pageW) / 2;
    g.Page.Right = previewW - g.Page.Left;
    g.Page.Top = (previewH - pageH) / 2;
    g.Page.Bottom = previewH - g.Page.Top;
    g.Plot.Left = g.Page.Left + RoundToInt(margins.Left * g.Scale);
    g.Plot.Top = g.Page.Top + RoundToInt(margins.Top * g.Scale);
    g.Plot.Right = g.Page.Right - RoundToInt(margins.Right * g.Scale);
    g.Plot.Bottom = g.Page.Bottom - RoundToInt(margins.Bottom * g.Scale);
    g.GridY = (g.Plot.Top + g.Plot.Bottom) / 2;
    return g;
}
