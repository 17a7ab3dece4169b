#pragma once

// Spectra of known first-derivative lines with seeded Gaussian noise, built
// from the textbook forms of the lines (not from the program's own shape
// functions, so that a wrong width or amplitude convention there shows).

#include "base/measure_unit.h"
#include "config/fit_settings.h"
#include "spectrum/point_slot.h"
#include "spectrum/point_store.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

struct TTrueLine {
    double Centre;    // field code
    double Width;     // peak-to-peak, codes
    double Amplitude; // peak-to-peak, codes; positive: maximum on the low-field side
    double Mix = 1;   // pseudo-Voigt: 1 Lorentzian .. 0 Gaussian
};

// d/dx of 1 / (1 + ((x - c) / G)^2), G the half-width at half height, whose
// extrema lie G / sqrt(3) on either side: G = sqrt(3) / 2 * width. Scaled to
// the peak-to-peak amplitude 9 / (4 sqrt(3) G).
inline double TextbookLorentz(double x, const TTrueLine& l) {
    const double g = std::numbers::sqrt3 / 2 * l.Width;
    const double u = (x - l.Centre) / g;
    const double d = -2 * u / (g * (1 + u * u) * (1 + u * u));
    return l.Amplitude * d / (9 / (4 * std::numbers::sqrt3 * g));
}

// d/dx of exp(-(x - c)^2 / (2 s^2)), extrema at s on either side: s =
// width / 2; peak-to-peak 2 exp(-1/2) / s.
inline double TextbookGauss(double x, const TTrueLine& l) {
    const double s = l.Width / 2;
    const double u = (x - l.Centre) / s;
    const double d = -u / s * std::exp(-u * u / 2);
    return l.Amplitude * d / (2 * std::exp(-0.5) / s);
}

inline double TextbookLine(TLineShape shape, double x, const TTrueLine& l) {
    switch (shape) {
    case TLineShape::Lorentz:
        return TextbookLorentz(x, l);
    case TLineShape::Gauss:
        return TextbookGauss(x, l);
    case TLineShape::Voigt:
        return l.Mix * TextbookLorentz(x, l) + (1 - l.Mix) * TextbookGauss(x, l);
    }
    return 0;
}

struct TSyntheticSpectrum {
    TLineShape Shape = TLineShape::Lorentz;
    std::vector<TTrueLine> Lines;
    double Offset = 2048; // baseline ordinate at Origin
    double Slope = 0;     // codes per field code
    double Origin = 32760;
    double Noise = 0; // standard deviation, amplitude codes
    int First = 20000;
    int Last = 45000;
    int Step = 10; // a point every Step field codes

    double Value(double x) const {
        double y = Offset + Slope * (x - Origin);
        for (const TTrueLine& l : Lines)
            y += TextbookLine(Shape, x, l);
        return y;
    }

    // The spectrum as the store holds it: ordinates rounded to whole codes
    // and held within 0..4095.
    std::unique_ptr<TPointTable> Make(std::uint64_t seed) const {
        auto store = std::make_unique<TPointTable>();
        ClearPoints(*store);
        std::mt19937_64 random(seed);
        std::normal_distribution<double> noise(0, Noise > 0 ? Noise : 1);
        for (int x = First; x <= Last; x += Step) {
            double y = Value(x) + (Noise > 0 ? noise(random) : 0);
            y = std::clamp(std::nearbyint(y), 0.0, 4095.0);
            (*store)[x] = TPointSlot{static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y)};
        }
        return store;
    }
};

// Spectra over the field, for the comparison.

// A field axis: absolute field lo at code 0 and hi at code 65519.
inline TMeasureUnit Axis(double lo, double hi) {
    TMeasureUnit u;
    u.X1 = lo;
    u.X2 = hi;
    u.Name = "Э";
    CalcUnitKoeff(u, 0, 65519);
    return u;
}

// Points every `step` codes between two fields, their ordinates 2048 plus
// a function of the field, rounded.
inline std::unique_ptr<TPointTable> Recorded(const TMeasureUnit& axis, double from, double to,
                                             int step,
                                             const std::function<double(double)>& signal) {
    auto store = std::make_unique<TPointTable>();
    ClearPoints(*store);
    const int first = static_cast<int>(std::ceil((from - axis.KoeffB) / axis.KoeffK));
    const int last = static_cast<int>(std::floor((to - axis.KoeffB) / axis.KoeffK));
    for (int code = first; code <= last; code += step) {
        const double y =
            std::clamp(std::nearbyint(2048 + signal(UnitValue(axis, code))), 0.0, 4095.0);
        (*store)[code] =
            TPointSlot{static_cast<std::uint16_t>(code), static_cast<std::uint16_t>(y)};
    }
    return store;
}

// Two lines of a standard, in Э: a strong one and a weaker one beside it.
// Gaussian: a Lorentzian's tails fall below half a code far from the line
// and are rounded away, the more so the weaker the line, which takes a few
// per cent off the double integral of a weak copy.
inline double Standard(double field) {
    return TextbookGauss(field, {3180, 2.5, 1600}) + TextbookGauss(field, {3215, 1.8, 900});
}
