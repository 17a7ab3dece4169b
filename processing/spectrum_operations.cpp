#include "processing/spectrum_operations.h"

#include "processing/point_range.h"
#include "processing/round_half_even.h"
#include "processing/work_list.h"
#include "tdx/tdx.h"

#include <algorithm>
#include <cstdint>
#include <limits>

void FillGaps(TPointTable& store) {
    const TPointRange range = WholeSpectrum(store);
    if (range.Empty)
        return;
    // The carried value is the last data point seen, so a run of empty slots
    // takes the point before the run. A filled slot becomes a data point of
    // its own field code, so it is drawn and saved where it is. A reserved
    // code inside the range (only in a damaged file) is neither copied nor
    // overwritten.
    std::uint16_t carried = store[range.First].Y;
    for (int k = range.First + 1; k <= range.Last; ++k) {
        TPointSlot& slot = store[k];
        if (slot.Y == EmptyY)
            slot = TPointSlot{static_cast<std::uint16_t>(k), carried};
        else if (IsValidSlot(slot))
            carried = slot.Y;
    }
}

void LowPassFilter(TPointTable& store, std::int32_t n) {
    if (n < 1)
        return;
    const TPointRange range = WholeSpectrum(store);
    if (range.Empty)
        return;
    const int blockLast = static_cast<int>(
        std::min<std::int64_t>(static_cast<std::int64_t>(range.First) + n - 1, range.Last));

    // Start value: the mean of the data points of the first block. With a full
    // block of points this is the sum divided by n.
    std::int64_t sum = 0;
    int count = 0;
    for (int k = range.First; k <= blockLast; ++k) {
        if (IsValidSlot(store[k])) {
            sum += store[k].Y;
            ++count;
        }
    }
    float y = static_cast<float>(sum) / static_cast<float>(count);
    const std::uint16_t start = RoundToOrdinate(y, 0, MaxValidY);
    // An empty slot that the filter fills becomes a point of its own code.
    for (int k = range.First; k <= blockLast; ++k) {
        if (IsValidSlot(store[k]) || store[k].Y == EmptyY)
            store[k] = TPointSlot{static_cast<std::uint16_t>(k), start};
    }

    const float fn = static_cast<float>(n);
    for (int k = blockLast + 1; k <= range.Last; ++k) {
        TPointSlot& slot = store[k];
        if (slot.Y == EmptyY)
            slot = TPointSlot{static_cast<std::uint16_t>(k), RoundToOrdinate(y, 0, MaxValidY)};
        else if (!IsValidSlot(slot))
            continue; // a reserved code: left alone, the filter does not see it
        const float delta = static_cast<float>(slot.Y) - y;
        y = y + delta / fn;
        slot.Y = RoundToOrdinate(y, 0, MaxValidY);
    }
}

void SmoothSpectrum(TPointTable& store, std::int32_t h) {
    FillGaps(store);
    const TPointRange range = WholeSpectrum(store);
    if (range.Empty || h < 1 || static_cast<std::int64_t>(2) * h + 1 > range.Count())
        return;
    TWorkList list;
    CopyOrdinates(store, range, list);
    // The library sums a window in a signed 32-bit value; refuse a window that
    // could overflow it (only with ordinates far above the 12-bit scale).
    const std::int64_t largest = *std::max_element(list.begin(), list.end());
    if ((static_cast<std::int64_t>(2) * h + 1) * largest > std::numeric_limits<std::int32_t>::max())
        return;
    Gliss(static_cast<std::uint16_t>(h), list.data(), range.Count() - 1);
    WriteOrdinates(store, range, list);
}

void EqualizeRange(TPointTable& store, std::uint16_t a, std::uint16_t b) {
    const TPointRange range = RangeBetween(store, a, b);
    if (range.Empty)
        return;
    const double base = store[range.First].Y;
    float slope = 0; // a single point: no slope, the point becomes 2048
    if (range.Last > range.First)
        slope = static_cast<float>((store[range.Last].Y - base) / (range.Last - range.First));
    for (int k = range.First; k <= range.Last; ++k) {
        TPointSlot& slot = store[k];
        if (!IsValidSlot(slot))
            continue;
        const double value =
            slot.Y + double(ZeroLine) - base - static_cast<double>(k - range.First) * slope;
        slot.Y = RoundToOrdinate(value, 0, MaxAmplitudeCode);
    }
}
