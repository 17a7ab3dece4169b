#pragma once

#include <cmath>
#include <cstdint>

// A floating value taken to the nearest integer, halves to the even
// neighbour (the default rounding mode of the floating-point unit, which the
// program never changes).
inline long double RoundHalfEven(long double value) {
    return std::nearbyint(value);
}

// The same for a value that lands in a 16-bit ordinate, limited to lo..hi.
// A NaN becomes lo so that nothing undefined reaches the point table.
// Adding and taking away 2^52 rounds a double in 0..2^52 to an integer in
// the current rounding mode, halves to even, without a library call.
inline std::uint16_t RoundToOrdinate(double value, std::uint16_t lo, std::uint16_t hi) {
    if (!(value >= lo)) // also catches NaN
        return lo;
    if (value >= hi)
        return hi;
    constexpr double TwoPow52 = 4503599627370496.0;
    return static_cast<std::uint16_t>((value + TwoPow52) - TwoPow52);
}
