#include "sim/sim_signal.h"

#include <cmath>

std::uint64_t TSimRandom::Next() {
    std::uint64_t z = (State += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double TSimRandom::Uniform() {
    return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

double TSimRandom::Gauss() {
    if (HasSpare) {
        HasSpare = false;
        return Spare;
    }
    // Marsaglia's polar method.
    double u = 0, v = 0, s = 0;
    do {
        u = 2 * Uniform() - 1;
        v = 2 * Uniform() - 1;
        s = u * u + v * v;
    } while (s >= 1 || s == 0);
    const double factor = std::sqrt(-2 * std::log(s) / s);
    Spare = v * factor;
    HasSpare = true;
    return u * factor;
}

namespace {

// First derivative of a Lorentzian line whose lobes reach +amplitude and
// -amplitude, the positive lobe on the low-field side.
double DerivativeLine(double field, double centre, double widthPP, double amplitude) {
    const double halfWidth = widthPP * std::sqrt(3.0) / 2;
    const double x = (field - centre) / halfWidth;
    const double peak = (1 / std::sqrt(3.0)) / ((4.0 / 3) * (4.0 / 3)); // value at x = 1/sqrt(3)
    return -amplitude * (x / ((1 + x * x) * (1 + x * x))) / peak;
}

} // namespace

double TSimSpectrum::FieldGauss(double fieldCode) {
    return SpanLowGauss + fieldCode * (SpanHighGauss - SpanLowGauss) / 65520.0;
}

double TSimSpectrum::Signal(double fieldCode) const {
    const double b = FieldGauss(fieldCode);
    double s = DerivativeLine(b, DpphGauss, DpphWidthGauss, DpphAmplitude);
    for (int m = -5; m <= 5; m += 2)
        s += DerivativeLine(b, MnCentreGauss + m * MnSplittingGauss / 2, MnWidthGauss, MnAmplitude);
    return s;
}
