#pragma once

#include "config/kav_cfg.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/point_slot.h"

#include <QChar>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

struct TMeasureUnit;

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

// Records beyond the ten of the block, written only where they are needed
// and each into the slot equal to its code (where a load puts it). A program
// that does not know them keeps them and ignores them.
// ParFieldUnit: 1 when the field bounds are tenths of a millitesla (the
// spectrum is calibrated in mT, or its bounds in gauss do not fit 16 bits in
// tenths); without it they are tenths of a gauss (Э).
inline constexpr std::uint16_t ParFieldUnit = 65524;
// ParAmplScale: the 1-2-5 step (signed 16-bit) of the factor the amplitudes of
// an imported spectrum were multiplied by to fill the 12-bit codes.
inline constexpr std::uint16_t ParAmplScale = 65523;
inline constexpr std::uint16_t FieldUnitMillitesla = 1;

inline constexpr std::uint16_t FirstParameterCode = 65520; // lowest code of a parameter record
inline constexpr int ParameterRecordCount = 10;

// The record name of a code ("ParGain"...), or empty for a code that carries
// no parameter.
const char* ParameterName(std::uint16_t code);

// Rounds to the nearest integer, halves to the even neighbour, and keeps the
// low 16 bits of the result (two's complement for negative values). A value
// that is not finite gives 0.
std::uint16_t RoundToWord(long double value);

// The field bound records of sweep unit 3 (the values ParFieldLow and
// ParFieldHigh carry) and whether they are tenths of a millitesla.
struct TFieldBoundRecords {
    std::uint16_t Low = 0;
    std::uint16_t High = 0;
    bool Millitesla = false;
};

// The records of a field calibration: its bounds in tenths of its unit, when
// they fit 0..65535; a gauss calibration (Э, Гс, G, Oe) whose bounds do not
// fit but are whole gauss (a Q-band sweep, 200 .. 14200 Э) as tenths of a
// millitesla. False when neither holds the bounds; then `records` carry the
// tenths of the unit with their low 16 bits, as an older file did.
bool FieldBoundRecordsOf(const TMeasureUnit& field, TFieldBoundRecords& records);

// The factor of a 1-2-5 step: step 0 is 1, 1 is 2, 2 is 5, 3 is 10, -1 is 0.5,
// -3 is 0.1. Steps beyond ±90 give nothing.
std::optional<double> AmplitudeScaleOfStep(int step);

// The largest 1-2-5 step whose factor is at most `factor` (> 0).
int AmplitudeScaleStepBelow(double factor);

// Writes the ten parameter records into slots 65535 down to 65526, and the
// field unit record into its slot when the bounds are in millitesla (the slot
// is emptied when they are not). A calibration FieldBoundRecordsOf refuses is
// written with its bounds cut to 16 bits.
void WriteParameterBlock(TPointTable& store, const TKavCfg& cfg,
                         const TInstrumentReadings& readings);

// Applies the parameter records of a freshly loaded table to the settings,
// the readings and the window. A gain or speed record outside its table is
// ignored, as if the file had none, so a damaged file never selects a row
// the instrument does not have.
void ApplyFileParameters(const TPointTable& store, TKavCfg& cfg, TInstrumentReadings& readings,
                         TSpectrumView& view, QChar decimalSep);

// A status panel a table's parameter records fill with a translated text.
struct TTranslatedPanel {
    int Index = 0;
    QString Text;                  // as it was made
    std::function<QString()> Make; // the text again, in the language in force
};

// The panels ApplyFileParameters fills with a translated text (the sweep
// count and the filter), as it fills them in the language now in force.
std::vector<TTranslatedPanel> TranslatedFilePanels(const TPointTable& store);
