#pragma once

#include <QString>
#include <array>
#include <cstdint>

// The instrument's code tables. Row indexes are the settings Amplifying
// (gain) and Rapid (sweep speed) and the item indexes of their selectors.

struct TGainRow {
    const char* Name;     // shown text, UTF-8
    std::uint8_t KodAmpl; // code sent to and reported by the instrument
    std::uint16_t Factor; // divides signal values shown in physical units
};

struct TSpeedRow {
    const char* Name;      // Russian text with its leading blanks, UTF-8
    std::uint8_t KodRapid; // code sent to and reported by the instrument
    std::uint8_t PointsPerStep;
};

inline constexpr int GainRowCount = 8;
inline constexpr int SpeedRowCount = 12;
inline constexpr int BaudRowCount = 19;

extern const std::array<TGainRow, GainRowCount> GainTable;
extern const std::array<TSpeedRow, SpeedRowCount> SpeedTable;
// The shown text of a speed row in the program's language; empty outside
// the table.
QString SpeedName(int row);
// Rates in their stored order (256000 before 230400).
extern const std::array<std::int32_t, BaudRowCount> BaudTable;

// The gain factor of a row; rows outside the table count as factor 1 so that
// a hand-edited setting never divides by zero or reads past the table.
std::uint16_t GainFactor(int row);
