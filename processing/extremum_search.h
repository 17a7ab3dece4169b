#pragma once

#include "spectrum/point_slot.h"
#include "spectrum/spectrum_results.h"

#include <cstdint>

// Extremum search between a and b after gap filling: the maxima and minima
// found by the library with the given noise threshold and window, as slot
// indexes rightmost first, and the peak-to-peak amplitude of each
// maximum/minimum pair counted from the right. TibaAmp and TitanAmp are not
// touched. An empty range or a window below 2 leaves every result as it was.
void FindExtrema(TPointTable& store, std::uint16_t a, std::uint16_t b, std::uint16_t noise,
                 std::uint16_t step, TSpectrumResults& results);

// The amplitudes of the two rightmost lines between a and b after gap
// filling: TibaAmp (second from the right, 0 when there is no such line) and
// TitanAmp (the rightmost). The ordinates themselves are not changed. An
// empty range or a window below 2 leaves the results as they were.
void FindPeakRatio(TPointTable& store, std::uint16_t a, std::uint16_t b, std::uint16_t noise,
                   std::uint16_t step, TSpectrumResults& results);
