#pragma once

#include <cmath>
#include <cstdint>

// A floating value taken to the nearest integer, halves to the even
// neighbour (the default rounding mode of the floating-point unit, which the
// program never changes).
inline long double RoundHalfEven(long double value) {
    return std::nearbyint(value);
}

// The same, limited to lo..hi, for values that land in a 16-bit ordinate.
// A NaN becomes lo so that nothing undefined reaches the point table.
inline std::uint16_t RoundToOrdinate(long double value, std::uint16_t lo, std::uint16_t hi) {
    if (!(value >= lo)) // also catches NaN
        return lo;
    if (value >= hi)
        return hi;
    return static_cast<std::uint16_t>(std::nearbyint(value));
}
