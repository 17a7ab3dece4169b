#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QRgb>
#include <QString>
#include <optional>

class QPainter;

// The plot's labels drawn once each. A label is a box of its text's advance
// and the font's height filled with the background, with the text on the
// baseline in the text colour. Text drawn at whole-pixel positions is the same
// wherever it is drawn, so the box, drawn once into a sprite, is copied onto a
// raster canvas pixel for pixel as drawing it there would leave it; a text
// whose ink reaches outside its box (where it would blend into what lies
// underneath) gets no sprite and is drawn each time. A text is only measured
// the first time it is asked for, and drawn into its sprite the second time:
// a text shown once costs no more than drawing it.
//
// The sprites stay valid while the font, the resolution and the two colours
// stay the same; Prepare forgets them when any of these changes.
class TLabelSprites {
public:
    struct TSprite {
        int Width = 0;
        // The drawn box; null while the text has been asked for once only,
        // and for good when its ink leaves the box.
        QImage Box;
        bool Tried = false; // whether the box has been drawn (or found impossible)
    };

    // The font, the canvas (its resolution) and the colours of the labels
    // to come.
    void Prepare(const QFont& font, const QImage& canvas, QRgb background, QRgb text);
    // The label of a text: measured on the first request, drawn on the
    // second. Valid until the next request.
    const TSprite& Sprite(const QString& text);
    const QFontMetrics& Metrics() const { return *Fm; }

    // More pixels than this are not kept: the sprites start again.
    static constexpr qsizetype MaxPixels = 2 * 1024 * 1024;

private:
    // The box of a measured text, or a null image when its ink leaves it.
    QImage DrawBox(const QString& text, int width) const;
    QImage Blank(int w, int h, QRgb fill) const;

    QFont Font;
    int DotsPerMeterX = 0;
    int DotsPerMeterY = 0;
    QRgb Background = 0;
    QRgb Text = 0;
    std::optional<QFontMetrics> Fm;
    QHash<QString, TSprite> Sprites;
    qsizetype Pixels = 0;
};

// Copies a label's box onto a 32-bit image with its top left corner at
// (x, y), the part inside the image only.
void CopyLabelBox(QImage& canvas, const QImage& box, int x, int y);
