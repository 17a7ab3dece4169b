#pragma once

#include "config/kav_cfg.h"

#include <QChar>
#include <QString>
#include <cstdint>

// Frequency of the DPPH line per oersted (its g-factor 2.0036 times the
// frequency per oersted for g = 1), kHz per Э.
inline constexpr long double DpphFrequencyFactor = 2804.28704712L;
// Frequency per oersted for g = 1, kHz per Э.
inline constexpr long double GOneFrequencyFactor = 1399.6242L;

// The total field at a sweep code in the absolute field unit (sweep unit 3),
// whatever unit is selected for display.
double AbsoluteField(const TKavCfg& cfg, std::uint16_t code);

// The resonator frequency in kHz from the DPPH line at the given code,
// rounded halves to even and limited to the 32-bit range.
std::int32_t DpphResonatorFrequency(const TKavCfg& cfg, std::uint16_t code);

// "f=" and ResonatorFreq in MHz, general (5, 1), then "МГц".
QString FrequencyText(const TKavCfg& cfg, QChar decimalSep);

// The g-factor at a sweep code: "g=" and g in general (5, 4). Where the
// absolute field is 0 the g-factor does not exist and the text is empty.
QString GFactorText(const TKavCfg& cfg, std::uint16_t code, QChar decimalSep);

// The g-factor itself; false where it does not exist (field 0).
bool GFactorAt(const TKavCfg& cfg, std::uint16_t code, double& g);
