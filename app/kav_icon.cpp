#include "app/kav_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace {

QPixmap DrawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(QPen(QColor(0x30, 0x50, 0xd0), 3));
    p.setBrush(Qt::black);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 8, 8);
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
    p.drawLine(QPointF(6, 32), QPointF(58, 32));
    // The first derivative of a Lorentzian line, as the spectrometer draws it.
    QPainterPath path;
    for (int k = 0; k <= 52; ++k) {
        const double x = (k - 26) / 6.0;
        const double y = 32 - 44 * x / std::pow(1 + x * x, 2);
        if (k == 0)
            path.moveTo(6 + k, y);
        else
            path.lineTo(6 + k, y);
    }
    p.setPen(QPen(QColor(0xff, 0xe0, 0x20), 3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    return pixmap;
}

} // namespace

QIcon KavIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(DrawIcon(size));
    return icon;
}
