#pragma once

#include "config/kav_cfg.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/point_slot.h"

#include <QChar>
#include <cstdint>

class TSpectrumView;

// Codes of the parameter records (the Y word). Each is written into the slot
// one above its code; a loaded record sits in the slot equal to its code.
inline constexpr std::uint16_t ParGain = 65534;      // gain row (Amplifying)
inline constexpr std::uint16_t ParSpeed = 65533;     // speed row (Rapid)
inline constexpr std::uint16_t ParSerial = 65532;    // instrument serial-number byte
inline constexpr std::uint16_t ParProgram = 65531;   // instrument program-number byte
inline constexpr std::uint16_t ParFieldLow = 65530;  // X1 of sweep unit 3, times 10
inline constexpr std::uint16_t ParFieldHigh = 65529; // X2 of sweep unit 3, times 10
inline constexpr std::uint16_t ParAdcCode = 65528;   // last ADC reading
inline constexpr std::uint16_t ParSumCount = 65527;  // sweeps in the summation
inline constexpr std::uint16_t ParFilter = 65526;    // real-time filter constant, 0 = off
inline constexpr std::uint16_t ParAdcField = 65525;  // ADC field (ADC unit 3) times 100

inline constexpr std::uint16_t FirstParameterCode = 65520; // lowest code of a parameter record
inline constexpr int ParameterRecordCount = 10;

// The record name of a code ("ParGain"...), or empty for a code that carries
// no parameter.
const char* ParameterName(std::uint16_t code);

// Rounds to the nearest integer, halves to the even neighbour, and keeps the
// low 16 bits of the result (two's complement for negative values). A value
// that is not finite gives 0.
std::uint16_t RoundToWord(long double value);

// Writes the ten parameter records into slots 65535 down to 65526.
void WriteParameterBlock(TPointTable& store, const TKavCfg& cfg,
                         const TInstrumentReadings& readings);

// Applies the parameter records of a freshly loaded table to the settings,
// the readings and the window. A gain or speed record outside its table is
// ignored, as if the file had none, so a damaged file never selects a row
// the instrument does not have.
void ApplyFileParameters(const TPointTable& store, TKavCfg& cfg, TInstrumentReadings& readings,
                         TSpectrumView& view, QChar decimalSep);
