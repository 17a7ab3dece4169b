#include "print/print_sample_painter.h"

#include "view/display_color_painter.h"

#include <QPainter>
#include <QPen>

namespace {

// A filled rectangle whose outline runs along its first and last row and
// column (right and bottom exclusive).
void Box(QPainter& p, const TSampleRect& r, const QColor& fill, const QColor& outline) {
    if (r.Right <= r.Left || r.Bottom <= r.Top)
        return;
    p.setPen(QPen(outline, 1));
    p.setBrush(fill);
    p.drawRect(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1);
}

} // namespace

void PaintPrintSample(QPainter& p, QSize box, const TSampleGeometry& sample,
                      const TColorSet& printerColours, const QColor& groupColour) {
    p.fillRect(QRect(QPoint(0, 0), box), groupColour);
    Box(p, sample.Page, Qt::white, Qt::black);
    Box(p, sample.Plot, ToQColor(printerColours.BackGround), ToQColor(printerColours.Border));
    if (sample.Plot.Right > sample.Plot.Left && sample.Plot.Bottom > sample.Plot.Top) {
        p.setPen(QPen(ToQColor(printerColours.Grid), 1));
        p.drawLine(sample.Plot.Left, sample.GridY, sample.Plot.Right - 1, sample.GridY);
    }
}
