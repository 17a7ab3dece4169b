#include "processing/extremum_search.h"

#include "processing/point_range.h"
#include "processing/spectrum_operations.h"
#include "processing/work_list.h"
#include "tdx/tdx.h"

#include <algorithm>
#include <memory>

void FindExtrema(TPointTable& store, std::uint16_t a, std::uint16_t b, std::uint16_t noise,
                 std::uint16_t step, TSpectrumResults& results) {
    FillGaps(store);
    const TPointRange range = RangeBetween(store, a, b);
    // A window below 2 never advances in the library's search.
    if (range.Empty || step < 2)
        return;
    const int n = range.Count();
    const int lastIndex = n - 1;
    // The library writes only the positions it finds (a handful on a real
    // spectrum): the lists it writes into are left unfilled, so that memory
    // it never writes is never touched.
    const auto maxima = std::make_unique_for_overwrite<std::uint16_t[]>(std::size_t(n));
    const auto minima = std::make_unique_for_overwrite<std::uint16_t[]>(std::size_t(n));

    TWorkList list;
    CopyOrdinates(store, range, list);
    std::uint16_t maxCount = 0;
    FindMaximums(noise, step, list.data(), lastIndex, maxima.get(), lastIndex, &maxCount);

    // Minima are the maxima of the inverted 12-bit scale; an ordinate above
    // it counts as full scale instead of wrapping round. The list is
    // inverted in place and read again from the table afterwards.
    for (std::uint16_t& v : list)
        v = static_cast<std::uint16_t>(MaxAmplitudeCode - std::min(v, MaxAmplitudeCode));
    std::uint16_t minCount = 0;
    FindMaximums(noise, step, list.data(), lastIndex, minima.get(), lastIndex, &minCount);
    CopyOrdinates(store, range, list);

    // The amplitudes are measured on the ordinates themselves: the same
    // differences as on the inverted list, also for ordinates off the scale.
    const int pairs = std::min(maxCount, minCount);
    const auto amplitudes = std::make_unique_for_overwrite<std::uint16_t[]>(std::size_t(pairs));
    results.MaxCount = maxCount;
    results.MinCount = minCount;
    results.PairCount = CalcAmp(minCount, maxCount, list.data(), lastIndex, minima.get(), lastIndex,
                                maxima.get(), lastIndex, amplitudes.get(), pairs - 1);
    auto placed = [&range](std::uint16_t position) {
        return static_cast<std::uint16_t>(position + range.First);
    };
    results.MaxPositions.resize(maxCount);
    std::transform(maxima.get(), maxima.get() + maxCount, results.MaxPositions.begin(), placed);
    results.MinPositions.resize(minCount);
    std::transform(minima.get(), minima.get() + minCount, results.MinPositions.begin(), placed);
    results.PairAmplitudes.assign(amplitudes.get(), amplitudes.get() + results.PairCount);
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
