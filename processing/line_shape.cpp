#include "processing/line_shape.h"

#include <numbers>

namespace {

// The double integral of a line of unit amplitude and unit width.
const double LorentzArea = std::numbers::pi / std::numbers::sqrt3;
const double GaussArea = std::sqrt(2 * std::numbers::pi * std::numbers::e) / 8;

} // namespace

TLineIntegral LineDoubleIntegral(TLineShape shape, const TLineParams& p) {
    double c = 0;
    double dc = 0; // d c / d eta
    switch (shape) {
    case TLineShape::Lorentz:
        c = LorentzArea;
        break;
    case TLineShape::Gauss:
        c = GaussArea;
        break;
    case TLineShape::Voigt:
        c = p.Mix * LorentzArea + (1 - p.Mix) * GaussArea;
        dc = LorentzArea - GaussArea;
        break;
    }
    const double w2 = p.Width * p.Width;
    return TLineIntegral{p.Amplitude * w2 * c, 2 * p.Amplitude * p.Width * c, w2 * c,
                         p.Amplitude * w2 * dc};
}
