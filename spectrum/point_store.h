#pragma once

#include "spectrum/point_slot.h"

#include <cstdint>

// Every one of the 65536 slots, reserved ones included, becomes X 0, Y 65535.
void ClearPoints(TPointTable& table);

// From the smaller of a and b, steps up past slots that hold no data point
// (stops at 65535). Callers test the returned slot before use.
std::uint16_t FirstValidPoint(const TPointTable& table, std::uint16_t a, std::uint16_t b);

// From the larger of a and b, steps down past slots that hold no data point
// (stops at 0). Callers test the returned slot before use.
std::uint16_t LastValidPoint(const TPointTable& table, std::uint16_t a, std::uint16_t b);
