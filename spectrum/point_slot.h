#pragma once

#include <array>
#include <cstdint>

// One slot of the point table: a data point (X = field code, Y = amplitude
// code 0..4095), a parameter record (X = value, Y = code 65520..65534) or
// empty (X = 0, Y = 65535). Laid out exactly as a 4-byte file record.
struct TPointSlot {
    std::uint16_t X = 0;
    std::uint16_t Y = 65535;

    bool operator==(const TPointSlot&) const = default;
};
static_assert(sizeof(TPointSlot) == 4);

inline constexpr int PointSlotCount = 65536;
inline constexpr std::uint16_t EmptyY = 65535;
inline constexpr std::uint16_t MaxValidY = 65519; // Y above this is empty or a parameter
inline constexpr std::uint16_t MaxFieldCode = 65519;
inline constexpr std::uint16_t MaxAmplitudeCode = 4095;
inline constexpr std::uint16_t ZeroLine = 2048;

// A table of 65536 slots. The program holds two: PointStore (the spectrum)
// and UndoStore (the undo copy and the file loader's read buffer).
using TPointTable = std::array<TPointSlot, PointSlotCount>;

inline bool IsValidSlot(const TPointSlot& s) {
    return s.Y <= MaxValidY;
}
