#include "view/plot_geometry.h"

#include <algorithm>
#include <cmath>

TPlotGeometry TPlotGeometry::Compute(int w, int h, int viewMin, int viewMax, int ordScale) {
    TPlotGeometry g;
    g.W = std::max(w, 0);
    g.H = std::max(h, 0);
    g.ViewMin = viewMin;
    g.ViewMax = viewMax > viewMin ? viewMax : viewMin + 1;
    g.OrdScale = std::clamp(ordScale, 0, 6);
    g.Kx = static_cast<float>(static_cast<double>(g.W) / (g.ViewMax - g.ViewMin));
    g.Ky = static_cast<float>(static_cast<double>(g.H) / (1 << (12 - g.OrdScale)));
    g.MidY = g.H / 2;
    return g;
}

long TPlotGeometry::CodeOfX(int x) const {
    if (!(Kx > 0))
        return ViewMin;
    return ToPixel(static_cast<double>(x) / static_cast<double>(Kx)) + static_cast<long>(ViewMin);
}

std::uint16_t TPlotGeometry::FieldCodeOfX(int x) const {
    return static_cast<std::uint16_t>(std::clamp<long>(CodeOfX(x), 0, 65519));
}

int TopAmplitude(int ordScale) {
    return 1 << (11 - std::clamp(ordScale, 0, 6));
}

TMarkPlace PlaceMaximumMark(int x, int y, int tw, int th) {
    if (2 * th + 20 > y)
        return {x - tw / 2, y + 20, true};
    return {x - tw / 2, y - 20 - th, false};
}

TMarkPlace PlaceMinimumMark(int x, int y, int tw, int th, int h) {
    if (th + 20 > h - y)
        return {x - tw / 2, y - 20 - th, false};
    return {x - tw / 2, y + 20, true};
}

int KeepLabelInside(int left, int tw, int w) {
    return std::max(std::min(left, w - tw), 0);
}

std::array<QPoint, 7> ArrowPolygon(int x, int y, bool up) {
    const int d = up ? 1 : -1;
    return {QPoint(x, y),
            QPoint(x + 8, y + 8 * d),
            QPoint(x + 3, y + 8 * d),
            QPoint(x + 3, y + 18 * d),
            QPoint(x - 3, y + 18 * d),
            QPoint(x - 3, y + 8 * d),
            QPoint(x - 8, y + 8 * d)};
}
