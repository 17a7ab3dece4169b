#pragma once

#include <QFont>

// A point smaller and semi-condensed: the tool bar, the control groups and
// the status bar fit the window's widths with it.
inline QFont CompactFont(QFont font) {
    font.setPointSizeF(font.pointSizeF() - 1);
    font.setStretch(QFont::SemiCondensed);
    return font;
}
