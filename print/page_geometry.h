#pragma once

#include <QPoint>
#include <array>
#include <cstdint>

// The page of the printout: which standard paper a printer holds, how much of
// it the printer cannot reach, where the plot rectangle lies inside the
// margins, and the transforms between store codes and device pixels. Every
// length is in whole millimetres or whole device pixels, as printers report
// them.

// Paper width and height in millimetres.
struct TPaperSize {
    int Width = 0;
    int Height = 0;

    bool operator==(const TPaperSize&) const = default;
};

// The standard papers, in the order in which a tie is decided: A4 portrait
// and landscape, A3 portrait and landscape.
inline constexpr std::array<TPaperSize, 4> StandardPapers = {
    TPaperSize{210, 297}, TPaperSize{297, 210}, TPaperSize{297, 420}, TPaperSize{420, 297}};

// The Euclidean distance of two points, taken to the nearest integer (halves
// to even).
int PointDistance(QPoint a, QPoint b);

// The standard paper whose (width, height) is nearest to (w, h), distances
// compared as PointDistance gives them; on equal distance the earlier entry
// of StandardPapers wins.
TPaperSize NearestPaper(int w, int h);

// The printable area of a page as the device reports it: pixels and
// millimetres.
struct TPrintableArea {
    int HorzRes = 0;
    int VertRes = 0;
    int HorzSize = 0;
    int VertSize = 0;

    // A device that reports no area (a broken driver) cannot be printed on:
    // every transform divides by these.
    bool IsValid() const { return HorzRes > 0 && VertRes > 0 && HorzSize > 0 && VertSize > 0; }
};

// The unprintable strip on each side, in millimetres: half the difference
// between the nearest standard paper and the printable area, truncated
// toward zero. Dx is on the left and on the right, Dy on the top and bottom.
struct TPaperOffsets {
    int Dx = 0;
    int Dy = 0;

    bool operator==(const TPaperOffsets&) const = default;
};
TPaperOffsets UnprintableOffsets(int horzSize, int vertSize);

// Margins from the paper's edges in millimetres (PrnL, PrnT, PrnR, PrnB).
struct TPageMargins {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
};

// The margins as a page can take them: each at least the unprintable strip
// of its side, as the print setup dialog raises them.
TPageMargins RaisedMargins(const TPageMargins& margins, const TPaperOffsets& offsets);

// The plot rectangle of the printout in device pixels and the transforms of
// the page. The rectangle's right and bottom edges are exclusive, as the
// frame is drawn from Left to Right - 1.
struct TPageGeometry {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int ViewMin = 0;
    int ViewMax = 1; // always above ViewMin here
    int OrdScale = 0;
    float KxP = 0; // device pixels per sweep code
    float KyP = 0; // device pixels per amplitude code
    int MidP = 0;  // row of the zero line (amplitude code 2048)

    // The page of a printable area with the given margins, showing
    // viewMin..viewMax at ordinate scale ordScale. Each side is
    // (margin - offset) * pixels / millimetres from the printable area's
    // edge, products in 64 bits and the quotient truncated toward zero; a
    // margin below its side's offset counts as the offset (RaisedMargins),
    // so nothing is placed where the printer cannot reach.
    // Bounds that are equal or crossed are kept one code apart, ordScale is
    // held to 0..6. The area must be valid.
    static TPageGeometry Compute(const TPrintableArea& area, const TPageMargins& margins,
                                 int viewMin, int viewMax, int ordScale);

    // False when the margins leave no room between them for the plot.
    bool HasPlot() const { return Right > Left && Bottom > Top; }

    // Column of a sweep code: [(code - ViewMin) * KxP] + Left, halves to even.
    int XOfCode(long code) const;
    // Row of an ordinate for marks: MidP - [(ordinate - 2048) * KyP].
    int YOfOrdinate(long ordinate) const;
    // Row of an ordinate for points: as YOfOrdinate, at most Bottom - 2.
    int PointY(long ordinate) const;
};

// The preview of the print setup dialog, in preview pixels: the printable
// area of the page drawn to scale and centred, the plot rectangle inside the
// margins, and the row of its middle line. Right and bottom are exclusive.
struct TSampleRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    bool operator==(const TSampleRect&) const = default;
};

struct TSampleGeometry {
    double Scale = 0; // preview pixels per millimetre
    TSampleRect Page;
    TSampleRect Plot;
    int GridY = 0;
};

// The preview of a previewW x previewH box for a printable area of
// horzSize x vertSize millimetres with the given margins (millimetres from
// each side of the printable area as drawn). The page fills 85 % of the
// box's side that the paper's longer side runs along.
TSampleGeometry ComputeSample(int previewW, int previewH, int horzSize, int vertSize,
                              const TPageMargins& margins);
