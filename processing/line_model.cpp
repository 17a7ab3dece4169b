#include "processing/line_model.h"

#include <cstddef>

TLineParams TLineModel::Line(const double* params, int k) const {
    const double* p = params + k * ParametersPerLine();
    TLineParams line{p[0], p[1], p[2], 1};
    if (Shape == TLineShape::Voigt)
        line.Mix = p[3];
    return line;
}

namespace {

// One line's values added into values and its columns written, in one pass
// over the points; the shape is a template argument so that the loop holds
// no switch.
template <TLineShape Shape>
void AddLine(const TLineParams& p, const double* x, int n, double* values, double* dCentre,
             double* dWidth, double* dAmplitude, double* dMix) {
    for (int i = 0; i < n; ++i) {
        const TLinePoint v = EvaluateLine(Shape, p, x[i]);
        values[i] += v.Value;
        if (dCentre) {
            dCentre[i] = v.DCentre;
            dWidth[i] = v.DWidth;
            dAmplitude[i] = v.DAmplitude;
            if (dMix)
                dMix[i] = v.DMix;
        }
    }
}

template <TLineShape Shape>
void AddLineValues(const TLineParams& p, const double* x, int n, double* values) {
    for (int i = 0; i < n; ++i)
        values[i] += LineValue(Shape, p, x[i]);
}

} // namespace

void EvaluateModel(const TLineModel& model, const double* params, const double* x, int n,
                   double* values, double* jacobian, bool baselineColumns) {
    const double offset = params[model.OffsetIndex()];
    const double slope = params[model.SlopeIndex()];
    for (int i = 0; i < n; ++i)
        values[i] = offset + slope * (x[i] - model.Origin);
    if (jacobian && baselineColumns) {
        double* dOffset = jacobian + static_cast<std::ptrdiff_t>(model.OffsetIndex()) * n;
        double* dSlope = jacobian + static_cast<std::ptrdiff_t>(model.SlopeIndex()) * n;
        for (int i = 0; i < n; ++i) {
            dOffset[i] = 1;
            dSlope[i] = x[i] - model.Origin;
        }
    }

    const int per = model.ParametersPerLine();
    for (int k = 0; k < model.LineCount; ++k) {
        const TLineParams p = model.Line(params, k);
        if (!jacobian) {
            switch (model.Shape) {
            case TLineShape::Lorentz:
                AddLineValues<TLineShape::Lorentz>(p, x, n, values);
                break;
            case TLineShape::Gauss:
                AddLineValues<TLineShape::Gauss>(p, x, n, values);
                break;
            case TLineShape::Voigt:
                AddLineValues<TLineShape::Voigt>(p, x, n, values);
                break;
            }
            continue;
        }
        double* column = jacobian + static_cast<std::ptrdiff_t>(k) * per * n;
        double* dMix = per == 4 ? column + 3 * static_cast<std::ptrdiff_t>(n) : nullptr;
        switch (model.Shape) {
        case TLineShape::Lorentz:
            AddLine<TLineShape::Lorentz>(p, x, n, values, column, column + n, column + 2 * n,
                                         nullptr);
            break;
        case TLineShape::Gauss:
            AddLine<TLineShape::Gauss>(p, x, n, values, column, column + n, column + 2 * n,
                                       nullptr);
            break;
        case TLineShape::Voigt:
            AddLine<TLineShape::Voigt>(p, x, n, values, column, column + n, column + 2 * n, dMix);
            break;
        }
    }
}

double ModelValue(const TLineModel& model, const std::vector<double>& params, double x) {
    double v = 0;
    EvaluateModel(model, params.data(), &x, 1, &v, nullptr);
    return v;
}
