#pragma once

#include <cstdint>

// The shape of a fitted first-derivative line. The values are those stored
// in Kav.ini (section "LineFit", key LineShape).
enum class TLineShape : std::uint8_t {
    Lorentz = 0,
    Gauss = 1,
    Voigt = 2, // pseudo-Voigt: a Lorentzian and a Gaussian of one width, mixed
};

inline constexpr int LineShapeCount = 3;
inline constexpr int MinFitLines = 1;
inline constexpr int MaxFitLines = 4;

// What the line fit is asked for (section "LineFit" of Kav.ini).
struct TFitSettings {
    std::uint8_t LineCount = 1; // 1..4 lines
    TLineShape Shape = TLineShape::Lorentz;
    // The microwave frequency in MHz for the g-factors; 0: none given, the
    // frequency computed from the DPPH line is used when there is one.
    double FrequencyMHz = 0;

    bool operator==(const TFitSettings&) const = default;
};
