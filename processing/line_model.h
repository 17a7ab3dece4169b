#pragma once

#include "config/fit_settings.h"
#include "processing/line_shape.h"

#include <vector>

// The model a spectrum is fitted with: 1 to 4 first-derivative lines of one
// shape on a straight baseline, Offset + Slope * (x - Origin). Its
// parameters sit in one vector: for each line Centre, Width, Amplitude and,
// for the pseudo-Voigt, Mix; then Offset and Slope.
struct TLineModel {
    TLineShape Shape = TLineShape::Lorentz;
    int LineCount = 1;
    double Origin = 0; // where the baseline's offset is read

    int ParametersPerLine() const { return Shape == TLineShape::Voigt ? 4 : 3; }
    int ParameterCount() const { return LineCount * ParametersPerLine() + 2; }
    int OffsetIndex() const { return LineCount * ParametersPerLine(); }
    int SlopeIndex() const { return OffsetIndex() + 1; }

    // The parameters of line k out of the vector.
    TLineParams Line(const double* params, int k) const;
};

// The model at n points x: values[i] = model(x[i]). When jacobian is given it
// receives the partial derivatives, column-major, n rows by
// ParameterCount() columns: jacobian[j * n + i] = d model(x[i]) / d param j.
// The baseline's two columns (1 and x - Origin) do not depend on the
// parameters: without baselineColumns they are left as they are, for a
// caller that evaluates again into a matrix that holds them already.
void EvaluateModel(const TLineModel& model, const double* params, const double* x, int n,
                   double* values, double* jacobian, bool baselineColumns = true);

// The model at one point, for drawing the fitted curve anywhere.
double ModelValue(const TLineModel& model, const std::vector<double>& params, double x);
