#include "view/label_painter.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

void TLabelSprites::Prepare(const QFont& font, const QImage& canvas, QRgb background, QRgb text) {
    if (Fm && font == Font && canvas.dotsPerMeterX() == DotsPerMeterX &&
        canvas.dotsPerMeterY() == DotsPerMeterY && background == Background && text == Text)
        return;
    Font = font;
    DotsPerMeterX = canvas.dotsPerMeterX();
    DotsPerMeterY = canvas.dotsPerMeterY();
    Background = background;
    Text = text;
    const QImage device = Blank(1, 1, 0);
    Fm.emplace(Font, &device);
    Sprites.clear();
    Pixels = 0;
}

const TLabelSprites::TSprite& TLabelSprites::Sprite(const QString& text) {
    auto found = Sprites.find(text);
    if (found == Sprites.end())
        return *Sprites.insert(text, TSprite{Fm->horizontalAdvance(text), QImage(), false});
    if (found->Tried)
        return *found;
    TSprite sprite{found->Width, DrawBox(text, found->Width), true};
    const qsizetype pixels = qsizetype{sprite.Box.width()} * sprite.Box.height();
    if (Pixels + pixels > MaxPixels) {
        Sprites.clear();
        Pixels = 0;
    }
    Pixels += pixels;
    return *Sprites.insert(text, std::move(sprite));
}

QImage TLabelSprites::Blank(int w, int h, QRgb fill) const {
    QImage image(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32);
    image.setDotsPerMeterX(DotsPerMeterX);
    image.setDotsPerMeterY(DotsPerMeterY);
    image.fill(fill);
    return image;
}

QImage TLabelSprites::DrawBox(const QString& text, int width) const {
    const int h = Fm->height();
    const int ascent = Fm->ascent();
    if (width <= 0 || h <= 0)
        return QImage();

    // Where the text leaves ink: white on black, with a line's height of room
    // around its box and around the glyphs' bounds.
    const QRect box(0, 0, width, h);
    const QRect area = (box | Fm->boundingRect(text).translated(0, ascent)).adjusted(-h, -h, h, h);
    QImage probe = Blank(area.width(), area.height(), qRgb(0, 0, 0));
    {
        QPainter p(&probe);
        p.setFont(Font);
        p.setPen(QColor(Qt::white));
        p.drawText(-area.left(), -area.top() + ascent, text);
    }
    const QRect inProbe = box.translated(-area.left(), -area.top());
    const int probeW = probe.width();
    const int probeH = probe.height();
    const auto inked = [](const QRgb* from, const QRgb* to) {
        return std::any_of(from, to, [](QRgb c) { return (c & 0xFFFFFF) != 0; });
    };
    for (int y = 0; y < probeH; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(probe.constScanLine(y));
        const bool beside = y >= inProbe.top() && y <= inProbe.bottom();
        if (beside
                ? inked(row, row + inProbe.left()) || inked(row + inProbe.right() + 1, row + probeW)
                : inked(row, row + probeW))
            return QImage();
    }

    // The box as the plot draws it.
    QImage drawn = Blank(width, h, Background);
    QPainter p(&drawn);
    p.setFont(Font);
    p.setPen(QColor(Text));
    p.drawText(0, ascent, text);
    p.end();
    return drawn;
}

void CopyLabelBox(QImage& canvas, const QImage& box, int x, int y) {
    const QRect target = QRect(x, y, box.width(), box.height()).intersected(canvas.rect());
    if (target.isEmpty())
        return;
    const qsizetype toStride = canvas.bytesPerLine();
    const qsizetype fromStride = box.bytesPerLine();
    uchar* to = canvas.bits() + target.top() * toStride + target.left() * sizeof(QRgb);
    const uchar* from =
        box.constBits() + (target.top() - y) * fromStride + (target.left() - x) * sizeof(QRgb);
    const std::size_t bytes = static_cast<std::size_t>(target.width()) * sizeof(QRgb);
    for (int row = 0; row < target.height(); ++row)
        std::memcpy(to + row * toStride, from + row * fromStride, bytes);
}
