#pragma once

#include <QPoint>
#include <array>
#include <cstdint>

// The plot's geometry as the last full paint computed it, and the transforms
// between store codes and pixels. The plot, the visirs, the mouse and the
// live drawing all use the same instance, so a pixel set during acquisition
// lands where the full paint would put it.
struct TPlotGeometry {
    int W = 0;        // plot width in pixels
    int H = 0;        // plot height in pixels
    int ViewMin = 0;  // sweep code at the left edge
    int ViewMax = 1;  // sweep code at the right edge, always above ViewMin here
    float Kx = 0;     // pixels per sweep code
    float Ky = 0;     // pixels per amplitude code
    int MidY = 0;     // row of the zero line (amplitude code 2048)
    int OrdScale = 0; // 0..6: the height spans 2^(12 - OrdScale) amplitude codes

    // Geometry of a w x h plot showing viewMin..viewMax at ordinate scale
    // ordScale. Bounds that are equal or crossed are kept one code apart
    // (the right edge moves), and ordScale is held to 0..6, so Kx and Ky are
    // always defined and positive for a plot of non-zero size.
    static TPlotGeometry Compute(int w, int h, int viewMin, int viewMax, int ordScale);

    // Column of a sweep code: [(code - ViewMin) * Kx], halves to even.
    int XOfCode(long code) const {
        return ToPixel(static_cast<double>(code - ViewMin) * static_cast<double>(Kx));
    }
    // Row of an ordinate for marks: MidY - [(ordinate - 2048) * Ky].
    int YOfOrdinate(long ordinate) const {
        return MidY - ToPixel(static_cast<double>(ordinate - 2048) * static_cast<double>(Ky));
    }
    // Row of an ordinate for points: as YOfOrdinate, at most H - 2.
    int PointY(long ordinate) const {
        const int y = YOfOrdinate(ordinate);
        return y < H - 2 ? y : H - 2;
    }
    // Sweep code under a column: [x / Kx] + ViewMin; ViewMin while the plot
    // has no width yet.
    long CodeOfX(int x) const;
    // The same held to the field codes 0..65519, the slots that can hold a
    // point: a pointer dragged outside the plot never indexes past the store.
    std::uint16_t FieldCodeOfX(int x) const;

    bool operator==(const TPlotGeometry&) const = default;

    // A pixel coordinate from a floating value: nearest integer, halves to
    // even, held far outside any canvas so the conversion is always defined
    // (a NaN goes far left). Adding and taking away 1.5 * 2^52 rounds in the
    // default mode (nearest, halves to even) without a library call; this
    // runs twice for every point of a paint. The project never builds with
    // fast-math, which could fold the two steps.
    static int ToPixel(double v) {
        if (!(v > -1.0e9))
            return -1000000000;
        if (v > 1.0e9)
            return 1000000000;
        constexpr double Shift = 6755399441055744.0;
        return static_cast<int>((v + Shift) - Shift);
    }
};

// Amplitude of the top edge relative to the zero line: 2^(11 - OrdScale).
int TopAmplitude(int ordScale);

// Where an extremum's label goes and which arrow marks it. (x, y) is the
// extremum's pixel, tw and th the label's width and height.
struct TMarkPlace {
    int LabelX = 0;
    int LabelY = 0;      // top of the label
    bool UpArrow = true; // tip from below (label under the extremum)
};

// A maximum keeps its label above unless 2 * th + 20 > y (no room above).
TMarkPlace PlaceMaximumMark(int x, int y, int tw, int th);
// A minimum keeps its label below unless th + 20 > h - y (no room below).
TMarkPlace PlaceMinimumMark(int x, int y, int tw, int th, int h);

// The left edge of a label of width tw that would start at left, moved just
// enough to keep the whole label on a plot of width w (a label wider than
// the plot starts at 0). Labels of extrema near the plot's sides stay
// readable.
int KeepLabelInside(int left, int tw, int w);

// The 7-point arrow whose tip touches (x, y): from below when up, else from
// above. Used by the plot and the printout.
std::array<QPoint, 7> ArrowPolygon(int x, int y, bool up);
