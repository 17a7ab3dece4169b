#pragma once

#include "spectrum/point_slot.h"

#include <cstdint>

// The slots an operation works on: from the first to the last data point
// between two bounds. Slots 65520..65535 hold parameter records and never
// belong to a range, so the bounds are limited to 65519 before the search.
struct TPointRange {
    std::uint16_t First = 0;
    std::uint16_t Last = 0;
    bool Empty = true; // no data point between the bounds

    int Count() const { return Empty ? 0 : Last - First + 1; }
};

// First and last data point between a and b, in either order.
TPointRange RangeBetween(const TPointTable& store, std::uint16_t a, std::uint16_t b);

// First and last data point of the whole spectrum.
TPointRange WholeSpectrum(const TPointTable& store);
