#pragma once

#include <cstdint>

// How the reference of a comparison is scaled before it is laid over the
// spectrum. The values are those stored in Kav.ini (section "Compare", key
// Normalization).
enum class TNormalization : std::uint8_t {
    None = 0,       // the reference's codes as they are
    PeakToPeak = 1, // scaled to the sample's peak-to-peak amplitude
    Integral = 2,   // scaled to the sample's double integral
    Records = 3,    // by the two files' gains: as if recorded at the sample's gain
};

inline constexpr int NormalizationCount = 4;

// What the comparison is asked for besides the reference (section
// "Compare" of Kav.ini).
struct TCompareSettings {
    TNormalization Normalization = TNormalization::None;
    bool FindShift = false;
    bool ShowDifference = true;
    double ReferenceSpins = 0; // the reference's spin count; 0: not given

    bool operator==(const TCompareSettings&) const = default;
};
