#pragma once

#include "spectrum/point_slot.h"

#include <cstdint>

// Operations that rewrite the ordinates of the spectrum in place. None of
// them changes the X word of a data point, writes an ordinate above 65519 or
// touches the parameter slots 65520..65535; an empty slot they fill becomes
// a data point of its own field code.

// Each empty slot between the first and the last data point takes the
// ordinate of the data point before it.
void FillGaps(TPointTable& store);

// First-order recursive low-pass filter of time constant n over the whole
// spectrum, 32-bit float state. The first n slots (or fewer, when the
// spectrum is shorter) take the mean of their data points; empty slots take
// the running value. An n below 1 leaves the spectrum unchanged.
void LowPassFilter(TPointTable& store, std::int32_t n);

// Gap filling, then a moving average of 2h + 1 points over the whole
// spectrum by the library's Gliss. With fewer than 2h + 1 points, or h below
// 1, only the gaps are filled.
void SmoothSpectrum(TPointTable& store, std::int32_t h);

// The straight line through the first and the last data point between a and
// b becomes the zero line 2048. Empty slots inside the range stay empty; a
// range of one point becomes 2048. Results are limited to 0..4095.
void EqualizeRange(TPointTable& store, std::uint16_t a, std::uint16_t b);
