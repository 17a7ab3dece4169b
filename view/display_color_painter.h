#pragma once

#include "config/kav_cfg.h"

#include <QColor>
#include <QRgb>

// A stored colour (red + 256 * green + 65536 * blue) for drawing.
inline QRgb ToRgb(TColorValue c) {
    return qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

inline QColor ToQColor(TColorValue c) {
    return QColor(ToRgb(c));
}

// And back, for a colour chooser's result.
inline TColorValue FromQColor(const QColor& c) {
    return static_cast<TColorValue>(c.red()) + 256u * static_cast<TColorValue>(c.green()) +
           65536u * static_cast<TColorValue>(c.blue());
}
