#pragma once

#include "config/kav_cfg.h"

#include <QByteArray>
#include <cstdint>

// What the command frames carry, taken from the settings.
struct TCommandValues {
    std::int32_t PoleMax = 65519;
    std::int32_t PoleMin = 0;
    int Amplifying = 0; // GainTable row
    int Rapid = 10;     // SpeedTable row
    std::int32_t Correction = 0;
};

TCommandValues CommandValuesOf(const TKavCfg& cfg);

// The whole command frame for a code: 0x81 0x58, the code, its parameters and
// the checksum of code and parameters; the ADC request (144) is the three
// bytes 0x81 0x58 0x90. Empty for any other code.
//
// Values outside their range (from a hand-edited settings file) are held:
// bounds at 0..65535, correction at -32767..32767, and a gain or speed row
// outside its table at the default row (gain "1", speed " 1 мин").
QByteArray BuildCommand(int code, const TCommandValues& values);

// The parameters the frames carry, held as BuildCommand holds them: the
// sweep bounds, KodAmpl and KodRapid, and the correction as 1..65535.
struct TSentParameters {
    std::uint16_t PoleMax = 0;
    std::uint16_t PoleMin = 0;
    std::uint8_t KodAmpl = 0;
    std::uint8_t KodRapid = 0;
    std::uint16_t Ukorr = 0;
};
TSentParameters SentParameters(const TCommandValues& values);
