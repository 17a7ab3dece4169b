#pragma once

#include "config/fit_settings.h"

#include <cmath>

// First-derivative line shapes, as a field-modulated spectrometer records an
// absorption line, written in the two numbers an operator reads off the
// trace: the peak-to-peak width W (the field between the maximum and the
// minimum) and the signed peak-to-peak amplitude A (positive when the
// maximum lies on the low-field side). With t = (x - centre) / (W / 2) the
// extrema sit at t = -1 and t = +1 for every shape, and the line is
//   Lorentzian:   A * -(8/9) t / (1 + t^2/3)^2
//   Gaussian:     A * -(t/2) exp((1 - t^2) / 2)
//   pseudo-Voigt: eta * Lorentzian + (1 - eta) * Gaussian, both of width W,
// so that W and A are the peak-to-peak width and amplitude for any mixing
// eta (0 Gaussian, 1 Lorentzian).

struct TLineParams {
    double Centre = 0;
    double Width = 1;     // peak-to-peak, > 0
    double Amplitude = 0; // peak-to-peak, signed
    double Mix = 1;       // eta; read by the pseudo-Voigt only
};

// The value of the line at x and its partial derivatives with respect to
// every parameter.
struct TLinePoint {
    double Value = 0;
    double DCentre = 0;
    double DWidth = 0;
    double DAmplitude = 0;
    double DMix = 0; // 0 for the Lorentzian and the Gaussian
};

inline TLinePoint EvaluateLine(TLineShape shape, const TLineParams& p, double x);

// The value alone, for drawing.
inline double LineValue(TLineShape shape, const TLineParams& p, double x);

// The double integral of the line over the whole field axis (the area under
// its absorption curve): A * W^2 * c, with c = pi / sqrt(3) for the
// Lorentzian and sqrt(2 pi e) / 8 for the Gaussian, mixed linearly by eta.
struct TLineIntegral {
    double Value = 0;
    double DWidth = 0;
    double DAmplitude = 0;
    double DMix = 0;
};

TLineIntegral LineDoubleIntegral(TLineShape shape, const TLineParams& p);

// The shapes themselves, inline: the fit evaluates them at every point of a
// spectrum in every iteration. UnitLorentz and UnitGauss are the lines of
// unit amplitude at t, with their slopes d/dt when asked.

inline double UnitLorentz(double t, double* slope) {
    const double s = 1 + t * t / 3;
    const double inv = 1 / (s * s);
    if (slope)
        *slope = -(8.0 / 9.0) * (1 - t * t) * inv / s;
    return -(8.0 / 9.0) * t * inv;
}

inline double UnitGauss(double t, double* slope) {
    const double e = std::exp(0.5 * (1 - t * t));
    if (slope)
        *slope = -0.5 * (1 - t * t) * e;
    return -0.5 * t * e;
}

inline TLinePoint EvaluateLine(TLineShape shape, const TLineParams& p, double x) {
    const double t = 2 * (x - p.Centre) / p.Width;
    double phi = 0;
    double slope = 0;
    double dMix = 0;
    switch (shape) {
    case TLineShape::Lorentz:
        phi = UnitLorentz(t, &slope);
        break;
    case TLineShape::Gauss:
        phi = UnitGauss(t, &slope);
        break;
    case TLineShape::Voigt: {
        double dl = 0;
        double dg = 0;
        const double l = UnitLorentz(t, &dl);
        const double g = UnitGauss(t, &dg);
        phi = p.Mix * l + (1 - p.Mix) * g;
        slope = p.Mix * dl + (1 - p.Mix) * dg;
        dMix = p.Amplitude * (l - g);
        break;
    }
    }
    const double as = p.Amplitude * slope;
    return TLinePoint{p.Amplitude * phi, -2 * as / p.Width, -as * t / p.Width, phi, dMix};
}

inline double LineValue(TLineShape shape, const TLineParams& p, double x) {
    const double t = 2 * (x - p.Centre) / p.Width;
    switch (shape) {
    case TLineShape::Lorentz:
        return p.Amplitude * UnitLorentz(t, nullptr);
    case TLineShape::Gauss:
        return p.Amplitude * UnitGauss(t, nullptr);
    case TLineShape::Voigt:
        return p.Amplitude *
               (p.Mix * UnitLorentz(t, nullptr) + (1 - p.Mix) * UnitGauss(t, nullptr));
    }
    return 0;
}
