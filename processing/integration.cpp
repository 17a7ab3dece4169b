#include "processing/integration.h"

#include "processing/point_range.h"
#include "processing/round_half_even.h"
#include "processing/spectrum_operations.h"

#include <cmath>

namespace {

// The mean ordinate of the data points of the range, 64-bit.
double MeanOrdinate(const TPointTable& store, const TPointRange& range) {
    double sum = 0;
    int count = 0;
    for (int k = range.First; k <= range.Last; ++k) {
        if (IsValidSlot(store[k])) {
            sum += store[k].Y;
            ++count;
        }
    }
    return sum / count;
}

} // namespace

double DoubleIntegral(TPointTable& store, std::uint16_t a, std::uint16_t b,
                      std::uint16_t gainFactor) {
    FillGaps(store);
    const TPointRange range = RangeBetween(store, a, b);
    if (range.Empty)
        return -1;
    const double m = static_cast<double>(RoundHalfEven(MeanOrdinate(store, range)));
    const double g = gainFactor == 0 ? 1.0 : gainFactor;
    double s1 = 0;
    double s2 = 0;
    for (int k = range.First; k <= range.Last; ++k) {
        if (!IsValidSlot(store[k]))
            continue;
        s1 = s1 + (store[k].Y - m) / g;
        s2 = s2 + s1;
    }
    return std::fabs(s2);
}

void IntegrateRange(TPointTable& store, std::uint16_t a, std::uint16_t b) {
    FillGaps(store);
    const TPointRange range = RangeBetween(store, a, b);
    if (range.Empty)
        return;
    const double mean = MeanOrdinate(store, range);
    const double m = static_cast<double>(RoundHalfEven(mean));

    double s = 0;
    double hi = 0;
    double lo = 0;
    for (int k = range.First; k <= range.Last; ++k) {
        if (!IsValidSlot(store[k]))
            continue;
        s = s + store[k].Y - m;
        if (s >= hi)
            hi = s;
        if (s < lo)
            lo = s;
    }
    double scale = 1;
    if (hi > 1024 && std::fabs(hi) >= std::fabs(lo))
        scale = 1024 / hi;
    if (std::fabs(lo) > 1024 && std::fabs(lo) > std::fabs(hi))
        scale = 1024 / std::fabs(lo);

    // The second pass runs with the unrounded mean, so it can drift from the
    // scaled first pass; the limit keeps every result on the 12-bit scale.
    s = ZeroLine;
    for (int k = range.First; k <= range.Last; ++k) {
        TPointSlot& slot = store[k];
        if (!IsValidSlot(slot))
            continue;
        s = s + (slot.Y - mean) * scale;
        slot.Y = RoundToOrdinate(s, 0, MaxAmplitudeCode);
    }
}
