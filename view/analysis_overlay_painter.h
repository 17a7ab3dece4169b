#pragma once

#include "config/kav_cfg.h"
#include "processing/analysis_overlay.h"

#include <QRect>
#include <QStringList>
#include <functional>

class QPainter;

// Where the traces of the line fit and the comparison land on a device: the
// affine map of the plot (or the page) from sweep codes to columns and from
// ordinates to rows, and the rectangle they are kept in.
struct TOverlayAxes {
    double Left = 0; // column of ViewMin
    double Kx = 1;   // columns per sweep code
    int ViewMin = 0;
    double MidY = 0; // row of the zero line (ordinate 2048)
    double Ky = 1;   // rows per amplitude code
    QRect Clip;

    double X(double code) const { return Left + (code - ViewMin) * Kx; }
    double Y(double ordinate) const { return MidY - (ordinate - ZeroLine) * Ky; }
};

// The colour of a trace in a colour set.
TColorValue OverlayColour(const TColorSet& colours, TOverlayTrace trace);

// Each trace as a line through its points in its own colour, kept inside
// the axes' rectangle; lineWidth in device pixels.
void DrawOverlayCurves(QPainter& p, const std::vector<TOverlayCurve>& curves,
                       const TColorSet& colours, const TOverlayAxes& axes, double lineWidth);

// The result lines broken at their double spaces, where the values are
// joined, so that each fits `width` as `advance` measures it; a single value
// wider than that stays whole on its own line.
QStringList WrapResultLines(const QStringList& lines, int width,
                            const std::function<int(const QString&)>& advance);
