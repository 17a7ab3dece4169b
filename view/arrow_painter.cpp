#include "view/arrow_painter.h"

#include "view/plot_geometry.h"

#include <QPainter>

namespace {

void DrawArrow(QPainter& p, int x, int y, bool up) {
    const auto arrow = ArrowPolygon(x, y, up);
    p.drawPolygon(arrow.data(), static_cast<int>(arrow.size()));
}

} // namespace

void DrawUpArrow(QPainter& p, int x, int y) {
    DrawArrow(p, x, y, true);
}

void DrawDownArrow(QPainter& p, int x, int y) {
    DrawArrow(p, x, y, false);
}
