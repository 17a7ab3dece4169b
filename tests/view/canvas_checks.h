#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

// The label as the plot draws it, rendered alone: a background box of the
// text's width and height with the text in it. Returns the box's rectangle on
// the canvas.
inline QRect LabelBox(const QImage& canvas, const QFont& font, int x, int y, const QString& text) {
    const QFontMetrics fm(font, &canvas);
    return QRect(x, y, fm.horizontalAdvance(text), fm.height());
}

// True when the canvas holds exactly that label at (x, y): the same pixels as
// the text drawn on a plain background of the same colour.
inline bool HoldsLabel(const QImage& canvas, const QFont& font, int x, int y, const QString& text,
                       QRgb background, QRgb colour) {
    const QRect box = LabelBox(canvas, font, x, y, text);
    QImage ref(canvas.size(), canvas.format());
    ref.setDotsPerMeterX(canvas.dotsPerMeterX());
    ref.setDotsPerMeterY(canvas.dotsPerMeterY());
    ref.fill(background);
    {
        QPainter p(&ref);
        p.setFont(font);
        p.setPen(QColor(colour));
        p.drawText(x, y + QFontMetrics(font, &canvas).ascent(), text);
    }
    const QRect clip = box.intersected(canvas.rect());
    if (clip.isEmpty())
        return false;
    bool inked = false;
    for (int yy = clip.top(); yy <= clip.bottom(); ++yy)
        for (int xx = clip.left(); xx <= clip.right(); ++xx) {
            if (canvas.pixel(xx, yy) != ref.pixel(xx, yy))
                return false;
            inked = inked || ref.pixel(xx, yy) != background;
        }
    return inked;
}

// Pixels of one colour inside a rectangle.
inline int CountColour(const QImage& canvas, const QRect& r, QRgb colour) {
    int n = 0;
    const QRect clip = r.intersected(canvas.rect());
    for (int y = clip.top(); y <= clip.bottom(); ++y)
        for (int x = clip.left(); x <= clip.right(); ++x)
            n += canvas.pixel(x, y) == colour;
    return n;
}
