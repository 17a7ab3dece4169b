#include "acquisition/real_time_filter.h"

void ArmRealTimeFilter(TAcquisitionState& s, bool enabled) {
    s.LpfActive = enabled;
    if (enabled) {
        s.LpfCount = 0;
        s.LpfAverage = 0;
    }
}

void ArmSummation(TAcquisitionState& s, bool enabled, std::int32_t rtNumb) {
    if (enabled && !s.SumActive) {
        s.SumActive = true;
        s.SumCount = 0;
        s.SumValues.fill(0);
    }
    if (!s.SumActive)
        return;
    // A limit below 1 counts as 1, so every sweep is a mean of one.
    const std::int32_t limit = std::max(rtNumb, 1);
    if (limit < s.SumCount) {
        s.SumCount = 0;
        s.SumValues.fill(0);
    }
    if (limit > s.SumCount)
        ++s.SumCount;
    s.SumActive = enabled;
}
