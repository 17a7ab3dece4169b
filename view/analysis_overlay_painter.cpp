#include "view/analysis_overlay_painter.h"

#include "view/display_color_painter.h"

#include <QPainter>
#include <QPen>
#include <QPolygonF>

TColorValue OverlayColour(const TColorSet& colours, TOverlayTrace trace) {
    switch (trace) {
    case TOverlayTrace::FitCurve:
        return colours.FitGraph;
    case TOverlayTrace::FitResidual:
        return colours.FitResidual;
    case TOverlayTrace::Reference:
        return colours.RefGraph;
    case TOverlayTrace::Difference:
        return colours.DiffGraph;
    }
    return colours.Graph;
}

void DrawOverlayCurves(QPainter& p, const std::vector<TOverlayCurve>& curves,
                       const TColorSet& colours, const TOverlayAxes& axes, double lineWidth) {
    if (curves.empty() || axes.Clip.isEmpty())
        return;
    p.save();
    p.setClipRect(axes.Clip);
    p.setBrush(Qt::NoBrush);
    for (const TOverlayCurve& curve : curves) {
        const std::size_t n = std::min(curve.Codes.size(), curve.Ordinates.size());
        if (n == 0)
            continue;
        QPolygonF line;
        line.reserve(static_cast<qsizetype>(n));
        // Through the pixels' centres, as the points are set.
        for (std::size_t k = 0; k < n; ++k)
            line.append(QPointF(axes.X(curve.Codes[k]) + 0.5, axes.Y(curve.Ordinates[k]) + 0.5));
        QPen pen(ToQColor(OverlayColour(colours, curve.Kind)), lineWidth);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
        if (line.size() == 1)
            p.drawPoint(line.front());
        else
            p.drawPolyline(line);
    }
    p.restore();
}

QStringList WrapResultLines(const QStringList& lines, int width,
                            const std::function<int(const QString&)>& advance) {
    const QString gap = QStringLiteral("  ");
    QStringList out;
    for (const QString& line : lines) {
        if (advance(line) <= width) {
            out << line;
            continue;
        }
        QString current;
        for (const QString& part : line.split(gap, Qt::SkipEmptyParts)) {
            const QString joined = current.isEmpty() ? part : current + gap + part;
            if (!current.isEmpty() && advance(joined) > width) {
                out << current;
                current = part;
            } else {
                current = joined;
            }
        }
        if (!current.isEmpty())
            out << current;
    }
    return out;
}
