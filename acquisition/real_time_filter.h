#pragma once

#include "acquisition/acquisition_state.h"
#include "processing/round_half_even.h"
#include "spectrum/point_slot.h"

#include <algorithm>
#include <cstdint>

// The real-time filter and the summation of sweeps. Both keep single-precision
// state, one running value and one value per field code, so a point costs a
// few arithmetic steps. A constant below 1 (a hand-edited settings file) counts
// as 1: the value passes unchanged instead of being divided by zero.

// Arms the filter at the start of a forward sweep.
void ArmRealTimeFilter(TAcquisitionState& s, bool enabled);

// Starts, counts or restarts the summation at the start of a forward sweep;
// SumActive then follows `enabled`, so switching it off takes effect for this
// sweep's points while the count stays to be shown.
void ArmSummation(TAcquisitionState& s, bool enabled, std::int32_t rtNumb);

// One point through the filter: over the first `constant` points of a sweep
// the running mean, then an exponential average of weight 1/constant.
inline std::uint16_t FilterPoint(TAcquisitionState& s, std::int32_t constant, std::uint16_t y) {
    if (std::max(constant, 1) > s.LpfCount)
        ++s.LpfCount;
    const double average = s.LpfAverage;
    s.LpfAverage = static_cast<float>(average + (y - average) / s.LpfCount);
    return RoundToOrdinate(s.LpfAverage, 0, MaxAmplitudeCode);
}

// One point into the running mean over sweeps at its field code.
inline std::uint16_t SumPoint(TAcquisitionState& s, std::uint16_t x, std::uint16_t y) {
    const double mean = s.SumValues[x];
    const std::int32_t count = std::max(s.SumCount, 1);
    s.SumValues[x] = static_cast<float>(mean + (y - mean) / count);
    return RoundToOrdinate(s.SumValues[x], 0, MaxAmplitudeCode);
}
