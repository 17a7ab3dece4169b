#include "processing/extremum_search.h"

#include "processing/point_range.h"
#include "processing/spectrum_operations.h"
#include "processing/work_list.h"
#include "tdx/tdx.h"

#include <algorithm>

void FindExtrema(TPointTable& store, std::uint16_t a, std::uint16_t b, std::uint16_t noise,
                 std::uint16_t step, TSpectrumResults& results) {
    FillGaps(store);
    const TPointRange range = RangeBetween(store, a, b);
    // A window below 2 never advances in the library's search.
    if (range.Empty || step < 2)
        return;
    const int n = range.Count();
    const int lastIndex = n - 1;
    results.MaxPositions.assign(n, 0);
    results.MinPositions.assign(n, 0);
    results.PairAmplitudes.assign(n, 0);

    TWorkList list;
    CopyOrdinates(store, range, list);
    std::uint16_t maxCount = 0;
    FindMaximums(noise, step, list.data(), lastIndex, results.MaxPositions.data(), lastIndex,
                 &maxCount);

    // Minima are the maxima of the inverted 12-bit scale; an ordinate above
    // it counts as full scale instead of wrapping round.
    TWorkList inverted(list.size());
    std::transform(list.begin(), list.end(), inverted.begin(), [](std::uint16_t v) {
        return static_cast<std::uint16_t>(MaxAmplitudeCode - std::min(v, MaxAmplitudeCode));
    });
    std::uint16_t minCount = 0;
    FindMaximums(noise, step, inverted.data(), lastIndex, results.MinPositions.data(), lastIndex,
                 &minCount);

    // The amplitudes are measured on the ordinates themselves: the same
    // differences as on the inverted list, also for ordinates off the scale.
    results.MaxCount = maxCount;
    results.MinCount = minCount;
    results.PairCount =
        CalcAmp(minCount, maxCount, list.data(), lastIndex, results.MinPositions.data(), lastIndex,
                results.MaxPositions.data(), lastIndex, results.PairAmplitudes.data(), lastIndex);
    for (int k = 0; k < results.MinCount; ++k)
        results.MinPositions[k] = static_cast<std::uint16_t>(results.MinPositions[k] + range.First);
    for (int k = 0; k < results.MaxCount; ++k)
        results.MaxPositions[k] = static_cast<std::uint16_t>(results.MaxPositions[k] + range.First);
}

void FindPeakRatio(TPointTable& store, std::uint16_t a, std::uint16_t b, std::uint16_t noise,
                   std::uint16_t step, TSpectrumResults& results) {
    FillGaps(store);
    const TPointRange range = RangeBetween(store, a, b);
    if (range.Empty || step < 2)
        return;
    TWorkList list;
    CopyOrdinates(store, range, list);
    // The library inverts the samples on the 12-bit scale; an ordinate above
    // it is taken as full scale.
    for (std::uint16_t& v : list)
        v = std::min(v, MaxAmplitudeCode);
    std::uint16_t tibaAmp = 0;
    std::uint16_t titanAmp = 0;
    std::uint16_t tibaMinPos = 0;
    std::uint16_t tibaMaxPos = 0;
    std::uint16_t titanMinPos = 0;
    std::uint16_t titanMaxPos = 0;
    CalcTibaTitan(noise, step, list.data(), range.Count() - 1, &tibaAmp, &titanAmp, &tibaMinPos,
                  &tibaMaxPos, &titanMinPos, &titanMaxPos);
    results.TibaAmp = tibaAmp;
    results.TitanAmp = titanAmp;
}
