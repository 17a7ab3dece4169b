#pragma once

#include <QImage>
#include <QRgb>

// Direct access to a 32-bit image's pixels for loops that set thousands of
// them; a point outside the image is passed over.
struct TImagePixels {
    uchar* Bits;
    qsizetype BytesPerLine;
    int W;
    int H;

    static TImagePixels Of(QImage& image) {
        return {image.bits(), image.bytesPerLine(), image.width(), image.height()};
    }
    void Put(int x, int y, QRgb colour) const {
        if (static_cast<unsigned>(x) < static_cast<unsigned>(W) &&
            static_cast<unsigned>(y) < static_cast<unsigned>(H))
            reinterpret_cast<QRgb*>(Bits + y * BytesPerLine)[x] = colour;
    }
};
