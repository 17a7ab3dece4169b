#pragma once

#include "spectrum/point_slot.h"

#include <cstdint>

// The double integral of the spectrum between a and b, after gap filling:
// the ordinates less their rounded mean, divided by the gain factor, summed
// twice; the result is its absolute value in code units. A range without a
// data point gives -1, the value that hides the area on the plot.
double DoubleIntegral(TPointTable& store, std::uint16_t a, std::uint16_t b,
                      std::uint16_t gainFactor);

// Replaces the spectrum between a and b (after gap filling) by its running
// integral about the mean, scaled down to stay within 1024 codes of the zero
// line 2048. Results are limited to 0..4095.
void IntegrateRange(TPointTable& store, std::uint16_t a, std::uint16_t b);
