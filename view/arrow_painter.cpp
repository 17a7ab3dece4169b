#include "view/arrow_painter.h"

#include "view/plot_geometry.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <vector>

namespace {

void DrawArrow(QPainter& p, int x, int y, bool up) {
    const auto arrow = ArrowPolygon(x, y, up);
    p.drawPolygon(arrow.data(), static_cast<int>(arrow.size()));
}

// The pixels of an arrow as runs along its rows, relative to its tip.
struct TArrowPixels {
    struct TRun {
        int Dy;
        int FromDx;
        int ToDx; // inclusive
    };
    std::vector<TRun> Runs;
    int Left = 0, Right = 0, Top = 0, Bottom = 0; // bounds relative to the tip

    // Drawn once by the painter, away from every edge, and read back.
    explicit TArrowPixels(bool up) {
        constexpr int Side = 64;
        constexpr int Tip = Side / 2;
        QImage scratch(Side, Side, QImage::Format_RGB32);
        scratch.fill(0);
        {
            QPainter p(&scratch);
            p.setPen(QColor(Qt::white));
            p.setBrush(QColor(Qt::white));
            DrawArrow(p, Tip, Tip, up);
        }
        for (int y = 0; y < Side; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
            for (int x = 0; x < Side; ++x) {
                if ((row[x] & 0xFFFFFF) == 0)
                    continue;
                const int from = x;
                while (x + 1 < Side && (row[x + 1] & 0xFFFFFF) != 0)
                    ++x;
                Runs.push_back({y - Tip, from - Tip, x - Tip});
            }
        }
        for (const TRun& r : Runs) {
            Left = std::min(Left, r.FromDx);
            Right = std::max(Right, r.ToDx);
            Top = std::min(Top, r.Dy);
            Bottom = std::max(Bottom, r.Dy);
        }
    }
};

} // namespace

void DrawUpArrow(QPainter& p, int x, int y) {
    DrawArrow(p, x, y, true);
}

void DrawDownArrow(QPainter& p, int x, int y) {
    DrawArrow(p, x, y, false);
}

bool StampArrow(QImage& image, int x, int y, bool up, QRgb colour) {
    static const TArrowPixels Up(true);
    static const TArrowPixels Down(false);
    const TArrowPixels& arrow = up ? Up : Down;
    // Two pixels of room: where a line would be clipped the painter may
    // choose other pixels near the edge.
    constexpr int Room = 2;
    if (x + arrow.Left - Room < 0 || x + arrow.Right + Room >= image.width() ||
        y + arrow.Top - Room < 0 || y + arrow.Bottom + Room >= image.height())
        return false;
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (const TArrowPixels::TRun& r : arrow.Runs) {
        QRgb* row = reinterpret_cast<QRgb*>(bits + (y + r.Dy) * stride) + x;
        std::fill(row + r.FromDx, row + r.ToDx + 1, colour);
    }
    return true;
}
