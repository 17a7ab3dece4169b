#pragma once

#include "config/fit_settings.h"
#include "processing/line_model.h"
#include "spectrum/point_slot.h"

#include <cstdint>
#include <vector>

// Fitting 1 to 4 first-derivative lines on a straight baseline to the
// spectrum between two bounds, by least squares (Levenberg-Marquardt). The
// starting values come from the extremum search: each of the strongest
// maximum/minimum pairs gives a line's centre (midway), width (their
// distance) and amplitude (their difference), so a typical spectrum fits
// with nothing typed. The search runs as the operator set it, and again
// with wider windows and an automatic threshold when that finds too few
// pairs. Everything is in codes: field codes on the abscissa,
// amplitude codes (ordinates, zero line 2048) on the ordinate; fit_values.h
// turns the results into the units the plot shows. The spectrum is only
// read: a fit, refused or not, changes nothing.

// Evaluations of the model before the optimiser gives up; a fit that
// starts from the extrema needs a few dozen.
inline constexpr int DefaultFitEvaluations = 400;

struct TFitRequest {
    std::uint16_t From = 0; // bounds of the range, in either order
    std::uint16_t To = MaxFieldCode;
    int LineCount = 1; // 1..4
    TLineShape Shape = TLineShape::Lorentz;
    std::uint16_t Noise = 20; // the extremum search that gives the starting values
    std::uint16_t Step = 100;
    int MaxEvaluations = DefaultFitEvaluations; // 1 or more
};

enum class TFitStatus {
    Done,
    BadRequest,     // a line count outside 1..4
    TooFewPoints,   // fewer points in the range than parameters
    FlatSegment,    // every point of the range has the same ordinate
    NoExtremumPair, // the extremum search found no maximum/minimum pair
    TooFewPairs,    // fewer pairs than lines asked for
    NotConverged,   // the optimiser stopped without converging
    Undetermined,   // it converged, but the data do not fix every parameter
};

// A fitted quantity and its standard error from the covariance of the fit.
struct TFitValue {
    double Value = 0;
    double Error = 0;
};

struct TFittedLine {
    TFitValue Centre;         // field code
    TFitValue Width;          // peak-to-peak, field codes
    TFitValue Amplitude;      // peak-to-peak, amplitude codes, signed
    TFitValue Mix;            // pseudo-Voigt only: 1 Lorentzian .. 0 Gaussian
    TFitValue DoubleIntegral; // over the whole axis, field code^2 * amplitude code
};

// The fitted curve and the residual on the spectrum's own points of the
// range, ready to draw: Fitted is an ordinate (the scale of the points'
// Y, zero line 2048), Residual is Y - Fitted.
struct TFitCurve {
    std::vector<std::uint16_t> Codes;
    std::vector<double> Fitted;
    std::vector<double> Residual;
};

struct TLineFit {
    TFitStatus Status = TFitStatus::BadRequest;
    TLineShape Shape = TLineShape::Lorentz;
    int LineCount = 0;
    std::uint16_t First = 0; // the range's first and last data point
    std::uint16_t Last = 0;
    int PointCount = 0;
    int ParameterCount = 0;
    int PairsFound = 0;
    int Iterations = 0; // Jacobian evaluations of the optimiser

    std::vector<TFittedLine> Lines; // by centre, low field first
    TFitValue BaselineOffset;       // ordinate at BaselineOrigin
    TFitValue BaselineSlope;        // amplitude codes per field code
    double BaselineOrigin = 0;      // field code
    double ResidualRms = 0;         // amplitude codes
    double RSquared = 0;

    // The model and its parameters in codes, with their covariance
    // (ParameterCount squared, row-major), for drawing the curve anywhere
    // and for quantities derived from several parameters.
    TLineModel Model;
    std::vector<double> Parameters;
    std::vector<double> Covariance;
    TFitCurve Curve;

    bool Done() const { return Status == TFitStatus::Done; }
};

TLineFit FitLines(const TPointTable& store, const TFitRequest& request);

// The fitted curve at a field code (an ordinate).
double FittedOrdinate(const TLineFit& fit, double code);
