#include "processing/spectrum_compare.h"

#include "base/instrument_tables.h"
#include "config/settings_store.h"
#include "processing/field_shift.h"
#include "processing/point_range.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/parameter_block.h"
#include "spectrum/spectrum_view.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr int AbsoluteFieldUnit = 3;
constexpr int MinComparedPoints = 3;

// Points in ascending order of their position (sample codes), with their
// amplitudes relative to the zero line.
struct TTrace {
    std::vector<double> X;
    std::vector<double> Y;

    bool Empty() const { return X.empty(); }
    // Linear interpolation; x must lie within the trace.
    double At(double x) const {
        const auto hi = std::upper_bound(X.begin(), X.end(), x);
        if (hi == X.begin())
            return Y.front();
        if (hi == X.end())
            return Y.back();
        const std::size_t k = static_cast<std::size_t>(hi - X.begin());
        const double t = (x - X[k - 1]) / (X[k] - X[k - 1]);
        return Y[k - 1] + t * (Y[k] - Y[k - 1]);
    }
};

// The sample's points of its range, at their own codes.
TTrace SampleTrace(const TPointTable& store, std::uint16_t from, std::uint16_t to) {
    TTrace t;
    const TPointRange range = RangeBetween(store, from, to);
    for (int k = range.First; !range.Empty && k <= range.Last; ++k) {
        if (IsValidSlot(store[k])) {
            t.X.push_back(k);
            t.Y.push_back(static_cast<double>(store[k].Y) - ZeroLine);
        }
    }
    return t;
}

// The reference's points placed on the sample's codes by their field.
TTrace PlacedTrace(const TCompareSpectrum& reference, const TMeasureUnit& sampleField) {
    TTrace t;
    const TPointRange range = WholeSpectrum(*reference.Points);
    std::vector<std::pair<double, double>> points;
    for (int k = range.First; !range.Empty && k <= range.Last; ++k) {
        const TPointSlot& slot = (*reference.Points)[k];
        if (!IsValidSlot(slot))
            continue;
        const double field = UnitValue(reference.Field, k);
        const double x = (field - sampleField.KoeffB) / sampleField.KoeffK;
        if (std::isfinite(x))
            points.emplace_back(x, static_cast<double>(slot.Y) - ZeroLine);
    }
    std::sort(points.begin(), points.end());
    for (const auto& [x, y] : points) {
        if (!t.X.empty() && x <= t.X.back())
            continue; // two codes on one place (a degenerate calibration)
        t.X.push_back(x);
        t.Y.push_back(y);
    }
    return t;
}

// The indexes of the trace's points within lo..hi.
std::pair<std::size_t, std::size_t> Within(const TTrace& t, double lo, double hi) {
    const auto a = std::lower_bound(t.X.begin(), t.X.end(), lo);
    const auto b = std::upper_bound(t.X.begin(), t.X.end(), hi);
    return {static_cast<std::size_t>(a - t.X.begin()), static_cast<std::size_t>(b - t.X.begin())};
}

// The double integral of points a..b-1 as the program takes it: the
// amplitudes less their mean, summed twice, each step weighted by the field
// between neighbouring points (in the absolute field unit, through
// fieldPerCode).
double DoubleIntegral(const TTrace& t, std::size_t a, std::size_t b, double fieldPerCode) {
    if (b - a < 2)
        return 0;
    const double mean = std::accumulate(t.Y.begin() + a, t.Y.begin() + b, 0.0) / (b - a);
    double s1 = 0;
    double s2 = 0;
    for (std::size_t i = a; i < b; ++i) {
        const double dx =
            std::fabs((i > a ? t.X[i] - t.X[i - 1] : t.X[a + 1] - t.X[a]) * fieldPerCode);
        s1 += (t.Y[i] - mean) * dx;
        s2 += s1 * dx;
    }
    return s2;
}

double PeakToPeak(const TTrace& t, std::size_t a, std::size_t b) {
    if (a >= b)
        return 0;
    const auto [lo, hi] = std::minmax_element(t.Y.begin() + a, t.Y.begin() + b);
    return *hi - *lo;
}

// The shift, in sample codes, from the cross-correlation of both traces
// resampled on one grid over lo..hi, the grid step being the sample's
// typical point spacing there; at most half the interval either way.
double FindShiftCodes(const TTrace& sample, const TTrace& placed, double lo, double hi) {
    const auto [a, b] = Within(sample, lo, hi);
    std::vector<double> gaps;
    for (std::size_t i = a + 1; i < b; ++i)
        gaps.push_back(sample.X[i] - sample.X[i - 1]);
    if (gaps.empty())
        return 0;
    std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
    const double step = std::max(gaps[gaps.size() / 2], 1.0);
    const int n = static_cast<int>((hi - lo) / step) + 1;
    std::vector<double> s(n);
    std::vector<double> r(n);
    for (int i = 0; i < n; ++i) {
        s[i] = sample.At(lo + i * step);
        r[i] = placed.At(lo + i * step);
    }
    return CrossCorrelationLag(s, r, n / 2) * step;
}

} // namespace

TCompareSpectrum OpenedSpectrum(const TPointTable& points, const TKavCfg& cfg) {
    TCompareSpectrum s;
    s.Points = &points;
    s.Field = cfg.RazvUnits[AbsoluteFieldUnit];
    s.GainRow = cfg.Amplifying;
    for (int slot = FirstParameterCode; slot < PointSlotCount; ++slot) {
        if (points[slot].Y == ParSumCount && points[slot].X > 0)
            s.SweepCount = points[slot].X;
    }
    return s;
}

TKavCfg ReferenceSettings(const TKavCfg& cfg, const TPointTable& reference) {
    TKavCfg out = cfg;
    RestoreUnitSnapshot(out);
    TInstrumentReadings readings;
    TNullSpectrumView view;
    ApplyFileParameters(reference, out, readings, view, QChar(u'.'));
    return out;
}

TSpectrumComparison CompareSpectra(const TCompareSpectrum& sample,
                                   const TCompareSpectrum& reference,
                                   const TCompareRequest& request) {
    TSpectrumComparison out;
    out.Normalization = request.Normalization;
    out.SampleGainRow = sample.GainRow;
    out.ReferenceGainRow = reference.GainRow;
    out.SampleSweeps = sample.SweepCount;
    out.ReferenceSweeps = reference.SweepCount;

    const TTrace s = SampleTrace(*sample.Points, request.From, request.To);
    if (s.Empty()) {
        out.Status = TCompareStatus::EmptySample;
        return out;
    }
    const TTrace r = PlacedTrace(reference, sample.Field);
    if (r.Empty()) {
        out.Status = TCompareStatus::EmptyReference;
        return out;
    }
    auto overlap = [&](double shift, double& lo, double& hi) {
        lo = std::max(s.X.front(), r.X.front() + shift);
        hi = std::min(s.X.back(), r.X.back() + shift);
        const auto [a, b] = Within(s, lo, hi);
        return lo <= hi && b - a >= MinComparedPoints;
    };
    double lo = 0;
    double hi = 0;
    if (!overlap(0, lo, hi)) {
        out.Status = TCompareStatus::NoOverlap;
        return out;
    }
    if (request.FindShift) {
        out.ShiftCodes = FindShiftCodes(s, r, lo, hi);
        if (!overlap(out.ShiftCodes, lo, hi)) {
            out.Status = TCompareStatus::NoOverlap;
            return out;
        }
    }
    out.ShiftField = out.ShiftCodes * sample.Field.KoeffK;

    const auto [sa, sb] = Within(s, lo, hi);
    const auto [ra, rb] = Within(r, lo - out.ShiftCodes, hi - out.ShiftCodes);
    // The reference as placed, on the sample's points: both double
    // integrals run over the same points of the same field interval, so
    // that the Lorentzian tails cut off at its ends weigh the same in both.
    TTrace placed;
    for (std::size_t i = sa; i < sb; ++i) {
        placed.X.push_back(s.X[i]);
        placed.Y.push_back(r.At(s.X[i] - out.ShiftCodes));
    }
    const double sampleGain = GainFactor(sample.GainRow);
    const double referenceGain = GainFactor(reference.GainRow);
    const double sampleDi = DoubleIntegral(s, sa, sb, sample.Field.KoeffK);
    const double referenceDi = DoubleIntegral(placed, 0, placed.X.size(), sample.Field.KoeffK);
    out.SampleIntegral = sampleDi / sampleGain;
    out.ReferenceIntegral = referenceDi / referenceGain;
    out.HasRatio = out.ReferenceIntegral != 0 && std::isfinite(out.ReferenceIntegral);
    if (out.HasRatio) {
        out.IntegralRatio = out.SampleIntegral / out.ReferenceIntegral;
        out.HasSpins = request.ReferenceSpins > 0;
        out.SampleSpins = out.HasSpins ? out.IntegralRatio * request.ReferenceSpins : 0;
    }

    switch (request.Normalization) {
    case TNormalization::None:
        out.Scale = 1;
        break;
    case TNormalization::PeakToPeak: {
        const double ppr = PeakToPeak(r, ra, rb);
        if (ppr == 0) {
            out.Status = TCompareStatus::ZeroReference;
            return out;
        }
        out.Scale = PeakToPeak(s, sa, sb) / ppr;
        break;
    }
    case TNormalization::Integral:
        if (referenceDi == 0 || !std::isfinite(referenceDi)) {
            out.Status = TCompareStatus::ZeroReference;
            return out;
        }
        out.Scale = sampleDi / referenceDi;
        break;
    case TNormalization::Records:
        out.Scale = sampleGain / referenceGain;
        break;
    }

    double sum = 0;
    for (std::size_t i = sa; i < sb; ++i) {
        const double ref = out.Scale * placed.Y[i - sa];
        const double difference = s.Y[i] - ref;
        out.Curve.Codes.push_back(static_cast<std::uint16_t>(s.X[i]));
        out.Curve.Reference.push_back(ZeroLine + ref);
        out.Curve.Difference.push_back(difference);
        sum += difference * difference;
    }
    out.PointCount = static_cast<int>(sb - sa);
    out.First = out.Curve.Codes.front();
    out.Last = out.Curve.Codes.back();
    out.ResidualRms = std::sqrt(sum / out.PointCount);
    out.Status = TCompareStatus::Done;
    return out;
}
