#include "processing/line_fit.h"

#include "processing/jacobian_factor.h"
#include "processing/point_range.h"
#include "processing/work_list.h"
#include "tdx/tdx.h"

#include <Eigen/Dense>
#include <unsupported/Eigen/LevenbergMarquardt>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>

namespace {

using Eigen::MatrixXd;
using Eigen::VectorXd;

// Below this reciprocal condition of the (column-scaled) normal matrix the
// data do not fix every parameter: two lines on top of each other, a line
// wider than the range.
constexpr double MinReciprocalCondition = 1e-13;

// The residuals model - data of the points, and their Jacobian, for the
// optimiser. Every evaluation of the residuals also forms the Jacobian, in
// the same pass and straight into the optimiser's matrix: the optimiser asks
// for the Jacobian only where it last evaluated the residuals (the start,
// then each accepted step), and the shapes' costly parts (the exponential,
// the powers of t) serve both. Between taking the factor of its Jacobian
// and asking for the next one, Eigen's Levenberg-Marquardt reads only the
// factor, never the matrix, so a trial step may overwrite it. Returning -1
// stops the optimiser when the model leaves the finite numbers (a width run
// to zero): one NaN or infinity makes the sum of the residuals so, checked
// in one vectorised pass, and the diagonal of the Jacobian's normal matrix,
// which the factor needs anyway.
struct TResiduals : Eigen::DenseFunctor<double> {
    using QRSolver = TJacobianFactor;
    using JacobianType = TFitJacobian;

    TResiduals(const TLineModel& model, const VectorXd& x, const VectorXd& y)
        : Eigen::DenseFunctor<double>(model.ParameterCount(), static_cast<int>(x.size())),
          Model(model), X(x), Y(y) {
        const auto s = X.array() - model.Origin;
        Baseline.Count = static_cast<double>(X.size());
        Baseline.Sum = s.sum();
        Baseline.SumOfSquares = s.square().sum();
    }

    int operator()(const VectorXd& p, VectorXd& f) const {
        const int n = values();
        f.resize(n); // the optimiser may hand over a vector of its own size
        const bool withJacobian = Jacobian && Jacobian->rows() == n && Jacobian->cols() == inputs();
        Evaluate(p, f.data(), withJacobian ? Jacobian : nullptr);
        if (withJacobian)
            JacobianAt = p;
        else
            JacobianAt.resize(0);
        f -= Y;
        return std::isfinite(f.sum()) ? 0 : -1;
    }

    int df(const VectorXd& p, TFitJacobian& jacobian) const {
        if (&jacobian != Jacobian || JacobianAt.size() != p.size() || JacobianAt != p) {
            VectorXd values(this->values());
            Evaluate(p, values.data(), &jacobian);
        }
        JacobianAt.resize(0);
        return jacobian.FormNormal(&Baseline) ? 0 : -1;
    }

    // The model's values, and its Jacobian into a matrix when given. The
    // baseline's columns, which no parameter changes, are written once into
    // each matrix: nothing but this functor writes the optimiser's.
    void Evaluate(const VectorXd& p, double* out, TFitJacobian* jacobian) const {
        const bool baseline = jacobian && jacobian->data() != BaselineWrittenIn;
        EvaluateModel(Model, p.data(), X.data(), values(), out,
                      jacobian ? jacobian->data() : nullptr, baseline);
        if (baseline)
            BaselineWrittenIn = jacobian->data();
    }

    const TLineModel& Model;
    const VectorXd& X;
    const VectorXd& Y;
    TBaselineColumns Baseline;
    // The optimiser's Jacobian, and the parameters it was last formed at.
    TFitJacobian* Jacobian = nullptr;
    mutable VectorXd JacobianAt;
    // The storage the baseline's columns were last written into.
    mutable const double* BaselineWrittenIn = nullptr;
};

bool Converged(Eigen::LevenbergMarquardtSpace::Status status) {
    using namespace Eigen::LevenbergMarquardtSpace;
    switch (status) {
    case RelativeReductionTooSmall:
    case RelativeErrorTooSmall:
    case RelativeErrorAndReductionTooSmall:
    case CosinusTooSmall:
    case FtolTooSmall: // no further reduction is possible: at the minimum
    case XtolTooSmall:
    case GtolTooSmall:
        return true;
    default:
        return false;
    }
}

// A line's starting values from one maximum/minimum pair.
struct TStartLine {
    double Centre;
    double Width;
    double Amplitude;
};

// The line-like pairs of one extremum search over the range, strongest
// first: neighbouring maxima and minima in field order, each extremum in
// one pair at most. The search is the processing library's, as the
// extremum search runs it (maxima, then maxima of the inverted 12-bit
// scale), on the range's ordinates with every empty slot taking the point
// before it; the spectrum itself is not touched. (The search's own pairing
// counts maxima and minima from the right, which pairs the wrong ones as
// soon as a shoulder between two lines adds a maximum.)
struct TPair {
    double MaxAt;
    double MinAt;
    double Amplitude;
};

std::vector<TPair> SearchPairs(const TWorkList& list, const TPointRange& range, std::uint16_t noise,
                               std::uint16_t step) {
    const int last = static_cast<int>(list.size()) - 1;
    std::vector<std::uint16_t> maxima(list.size());
    std::vector<std::uint16_t> minima(list.size());
    std::uint16_t maxCount = 0;
    std::uint16_t minCount = 0;
    if (step >= 2 && last >= 1) {
        FindMaximums(noise, step, list.data(), last, maxima.data(), last, &maxCount);
        TWorkList inverted(list.size());
        std::transform(list.begin(), list.end(), inverted.begin(), [](std::uint16_t v) {
            return static_cast<std::uint16_t>(MaxAmplitudeCode - std::min(v, MaxAmplitudeCode));
        });
        FindMaximums(noise, step, inverted.data(), last, minima.data(), last, &minCount);
    }
    struct TExtremum {
        int At;
        bool Maximum;
    };
    std::vector<TExtremum> extrema;
    for (int k = 0; k < maxCount; ++k)
        extrema.push_back({maxima[k], true});
    for (int k = 0; k < minCount; ++k)
        extrema.push_back({minima[k], false});
    std::sort(extrema.begin(), extrema.end(),
              [](const TExtremum& a, const TExtremum& b) { return a.At < b.At; });

    struct TCandidate {
        std::size_t Left;
        double Amplitude;
    };
    std::vector<TCandidate> candidates;
    for (std::size_t i = 0; i + 1 < extrema.size(); ++i) {
        if (extrema[i].Maximum == extrema[i + 1].Maximum)
            continue;
        const double amplitude =
            std::fabs(static_cast<double>(list[extrema[i].At]) - list[extrema[i + 1].At]);
        candidates.push_back({i, amplitude});
    }
    std::stable_sort(
        candidates.begin(), candidates.end(),
        [](const TCandidate& a, const TCandidate& b) { return a.Amplitude > b.Amplitude; });
    std::vector<bool> used(extrema.size(), false);
    std::vector<TPair> pairs;
    for (const TCandidate& c : candidates) {
        if (used[c.Left] || used[c.Left + 1])
            continue;
        used[c.Left] = used[c.Left + 1] = true;
        const TExtremum& a = extrema[c.Left];
        const TExtremum& b = extrema[c.Left + 1];
        pairs.push_back({static_cast<double>(range.First + (a.Maximum ? a.At : b.At)),
                         static_cast<double>(range.First + (a.Maximum ? b.At : a.At)),
                         c.Amplitude});
    }
    return pairs;
}

// The starting lines: the strongest `count` pairs of the extremum search,
// by centre. The search runs first as the operator set it; when that finds
// fewer pairs than lines (a weak or broad line rises by less than the noise
// threshold within one window), it runs again with the automatic threshold
// of the peak ratio, a tenth of the range's span, and windows of twice,
// four times... the set length, up to a quarter of the range.
std::vector<TStartLine> StartLines(const TPointTable& store, const TPointRange& range,
                                   const TFitRequest& r, int count, int& pairsFound) {
    TWorkList list;
    CopyOrdinates(store, range, list);
    std::vector<TPair> pairs = SearchPairs(list, range, r.Noise, r.Step);
    pairsFound = static_cast<int>(pairs.size());
    if (pairsFound < count) {
        const auto [lo, hi] = std::minmax_element(list.begin(), list.end());
        const auto noise = static_cast<std::uint16_t>((*hi - *lo) / 10);
        for (int step = std::max<int>(r.Step, 2) * 2; step <= range.Count() / 4; step *= 2) {
            std::vector<TPair> more =
                SearchPairs(list, range, noise, static_cast<std::uint16_t>(step));
            pairsFound = std::max(pairsFound, static_cast<int>(more.size()));
            if (static_cast<int>(more.size()) >= count) {
                pairs = std::move(more);
                break;
            }
        }
    }
    pairs.resize(std::min<std::size_t>(pairs.size(), static_cast<std::size_t>(count)));

    std::vector<TStartLine> lines;
    for (const TPair& p : pairs) {
        // The maximum on the low-field side is a positive line.
        const double sign = p.MaxAt <= p.MinAt ? 1 : -1;
        lines.push_back({(p.MaxAt + p.MinAt) / 2, std::max(std::fabs(p.MinAt - p.MaxAt), 1.0),
                         sign * p.Amplitude});
    }
    std::sort(lines.begin(), lines.end(),
              [](const TStartLine& a, const TStartLine& b) { return a.Centre < b.Centre; });
    return lines;
}

// The covariance of the scaled parameters, s^2 (J^T J)^-1, through the
// column-scaled normal matrix; false when it is singular.
bool Covariance(const MatrixXd& normal, double residualVariance, MatrixXd& covariance) {
    const VectorXd diagonal = normal.diagonal();
    if ((diagonal.array() <= 0).any() || !diagonal.allFinite())
        return false;
    const VectorXd d = diagonal.cwiseSqrt().cwiseInverse();
    const MatrixXd scaled = d.asDiagonal() * normal * d.asDiagonal();
    const Eigen::SelfAdjointEigenSolver<MatrixXd> eigen(scaled);
    if (eigen.info() != Eigen::Success)
        return false;
    const VectorXd lambda = eigen.eigenvalues();
    if (!(lambda.minCoeff() > MinReciprocalCondition * lambda.maxCoeff()))
        return false;
    const MatrixXd inverse = eigen.eigenvectors() * lambda.cwiseInverse().asDiagonal() *
                             eigen.eigenvectors().transpose();
    covariance = residualVariance * (d.asDiagonal() * inverse * d.asDiagonal());
    return covariance.allFinite();
}

TFitValue Entry(const VectorXd& p, const MatrixXd& c, int i) {
    return TFitValue{p[i], std::sqrt(std::max(c(i, i), 0.0))};
}

} // namespace

TLineFit FitLines(const TPointTable& store, const TFitRequest& request) {
    TLineFit fit;
    fit.Shape = request.Shape;
    fit.LineCount = request.LineCount;
    if (request.LineCount < MinFitLines || request.LineCount > MaxFitLines)
        return fit; // BadRequest

    TLineModel model{request.Shape, request.LineCount, 0};
    const int p = model.ParameterCount();
    fit.ParameterCount = p;

    const TPointRange range = RangeBetween(store, request.From, request.To);
    std::vector<std::uint16_t> codes;
    std::vector<double> y;
    if (!range.Empty) {
        fit.First = range.First;
        fit.Last = range.Last;
        codes.reserve(range.Count());
        y.reserve(range.Count());
        for (int k = range.First; k <= range.Last; ++k) {
            if (IsValidSlot(store[k])) {
                codes.push_back(static_cast<std::uint16_t>(k));
                y.push_back(store[k].Y);
            }
        }
    }
    const int n = static_cast<int>(codes.size());
    fit.PointCount = n;
    if (n <= p) {
        fit.Status = TFitStatus::TooFewPoints;
        return fit;
    }
    const Eigen::Map<const VectorXd> data(y.data(), n);
    const double yMin = data.minCoeff();
    const double yMax = data.maxCoeff();
    if (yMin == yMax) {
        fit.Status = TFitStatus::FlatSegment;
        return fit;
    }

    const std::vector<TStartLine> start =
        StartLines(store, range, request, request.LineCount, fit.PairsFound);
    if (fit.PairsFound == 0) {
        fit.Status = TFitStatus::NoExtremumPair;
        return fit;
    }
    if (static_cast<int>(start.size()) < request.LineCount) {
        fit.Status = TFitStatus::TooFewPairs;
        return fit;
    }

    // The optimiser works on centred and scaled numbers: the range becomes
    // -1..1 and the ordinates span about 2, so every parameter is of order
    // one and the normal matrix is well conditioned.
    const double xc = (static_cast<double>(fit.First) + fit.Last) / 2;
    const double xs = std::max((static_cast<double>(fit.Last) - fit.First) / 2, 1.0);
    const double yMean = data.mean();
    const double ys = (yMax - yMin) / 2;
    VectorXd xScaled(n);
    const double xInverse = 1 / xs;
    for (int i = 0; i < n; ++i)
        xScaled[i] = (codes[i] - xc) * xInverse;
    const VectorXd yScaled = (data.array() - yMean) * (1 / ys);

    // Parameter j in codes is Shift[j] + Scale[j] * scaled parameter j.
    VectorXd scale(p);
    VectorXd shift = VectorXd::Zero(p);
    VectorXd params(p);
    const int per = model.ParametersPerLine();
    for (int k = 0; k < request.LineCount; ++k) {
        const int j = k * per;
        scale.segment(j, 3) << xs, xs, ys;
        shift[j] = xc;
        params[j] = (start[k].Centre - xc) / xs;
        params[j + 1] = start[k].Width / xs;
        params[j + 2] = start[k].Amplitude / ys;
        if (per == 4) {
            scale[j + 3] = 1;
            params[j + 3] = 0.5;
        }
    }
    scale[model.OffsetIndex()] = ys;
    shift[model.OffsetIndex()] = yMean;
    scale[model.SlopeIndex()] = ys / xs;
    params[model.OffsetIndex()] = 0;
    params[model.SlopeIndex()] = 0;

    TResiduals residuals(model, xScaled, yScaled);
    Eigen::LevenbergMarquardt<TResiduals> lm(residuals);
    residuals.Jacobian = &lm.jacobian();
    lm.setMaxfev(std::max(request.MaxEvaluations, 1));
    const auto status = lm.minimize(params);
    fit.Iterations = static_cast<int>(lm.njev());
    if (!Converged(status) || !params.allFinite()) {
        fit.Status = TFitStatus::NotConverged;
        return fit;
    }

    // The covariance from the factor of the last step's Jacobian, J P = Q R,
    // so J^T J = P R^T R P^T, and the residuals at the solution.
    const VectorXd& f = lm.fvec();
    const double rss = f.squaredNorm();
    const MatrixXd r = lm.matrixR().topLeftCorner(p, p).triangularView<Eigen::Upper>();
    const Eigen::PermutationMatrix<Eigen::Dynamic, Eigen::Dynamic, int> permutation =
        lm.permutation();
    const MatrixXd normal = permutation * (r.transpose() * r) * permutation.transpose();
    MatrixXd covScaled;
    if (!Covariance(normal, rss / (n - p), covScaled)) {
        fit.Status = TFitStatus::Undetermined;
        return fit;
    }

    // A negative width with a negative amplitude is the same line: the
    // shapes are odd in t. Both change sign, and so do their covariances
    // with the other parameters.
    for (int k = 0; k < request.LineCount; ++k) {
        const int j = k * per;
        if (params[j + 1] < 0) {
            for (int q : {j + 1, j + 2}) {
                params[q] = -params[q];
                covScaled.row(q) *= -1;
                covScaled.col(q) *= -1;
            }
        }
    }

    // Into codes.
    const VectorXd inCodes = shift + scale.cwiseProduct(params);
    const MatrixXd cov = scale.asDiagonal() * covScaled * scale.asDiagonal();

    // Lines by centre; a line whose centre left the range, or whose width
    // shrank to nothing, is not fixed by these data.
    std::vector<int> order(request.LineCount);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return inCodes[a * per] < inCodes[b * per]; });
    model.Origin = xc;
    fit.Model = model;
    fit.Parameters.assign(p, 0);
    std::vector<int> from(p); // parameter i of the result is parameter from[i] of the fit
    for (int k = 0; k < request.LineCount; ++k)
        for (int q = 0; q < per; ++q)
            from[k * per + q] = order[k] * per + q;
    from[model.OffsetIndex()] = model.OffsetIndex();
    from[model.SlopeIndex()] = model.SlopeIndex();
    VectorXd sorted(p);
    MatrixXd sortedCov(p, p);
    for (int i = 0; i < p; ++i) {
        sorted[i] = inCodes[from[i]];
        for (int j = 0; j < p; ++j)
            sortedCov(i, j) = cov(from[i], from[j]);
    }
    fit.Parameters.assign(sorted.data(), sorted.data() + p);
    fit.Covariance.resize(static_cast<std::size_t>(p) * p);
    for (int i = 0; i < p; ++i)
        for (int j = 0; j < p; ++j)
            fit.Covariance[static_cast<std::size_t>(i) * p + j] = sortedCov(i, j);

    for (int k = 0; k < request.LineCount; ++k) {
        const int j = k * per;
        TFittedLine line;
        line.Centre = Entry(sorted, sortedCov, j);
        line.Width = Entry(sorted, sortedCov, j + 1);
        line.Amplitude = Entry(sorted, sortedCov, j + 2);
        if (per == 4)
            line.Mix = Entry(sorted, sortedCov, j + 3);
        else
            line.Mix = TFitValue{request.Shape == TLineShape::Gauss ? 0.0 : 1.0, 0};
        if (line.Centre.Value < fit.First || line.Centre.Value > fit.Last ||
            !(line.Width.Value > 0)) {
            fit.Status = TFitStatus::Undetermined;
            return fit;
        }
        // The double integral and its error through its gradient.
        const TLineIntegral di = LineDoubleIntegral(request.Shape, model.Line(sorted.data(), k));
        VectorXd gradient = VectorXd::Zero(p);
        gradient[j + 1] = di.DWidth;
        gradient[j + 2] = di.DAmplitude;
        if (per == 4)
            gradient[j + 3] = di.DMix;
        line.DoubleIntegral =
            TFitValue{di.Value, std::sqrt(std::max(gradient.dot(sortedCov * gradient), 0.0))};
        fit.Lines.push_back(line);
    }
    fit.BaselineOrigin = xc;
    fit.BaselineOffset = Entry(sorted, sortedCov, model.OffsetIndex());
    fit.BaselineSlope = Entry(sorted, sortedCov, model.SlopeIndex());

    const double tss = yScaled.squaredNorm();
    fit.RSquared = 1 - rss / tss;
    fit.ResidualRms = std::sqrt(rss / n) * ys;

    fit.Curve.Codes = std::move(codes);
    fit.Curve.Fitted.resize(n);
    fit.Curve.Residual.resize(n);
    Eigen::Map<VectorXd> fitted(fit.Curve.Fitted.data(), n);
    fitted = data + f * ys; // f = model - data, scaled
    Eigen::Map<VectorXd>(fit.Curve.Residual.data(), n) = data - fitted;
    fit.Status = TFitStatus::Done;
    return fit;
}

double FittedOrdinate(const TLineFit& fit, double code) {
    if (fit.Parameters.empty())
        return 0;
    return ModelValue(fit.Model, fit.Parameters, code);
}
