#pragma once

#include <cstdint>

// What the program last learnt from the instrument and from a loaded file,
// written into and read from a spectrum's parameter records.
struct TInstrumentReadings {
    std::uint8_t InstrumentSerial = 0;  // serial-number byte last reported
    std::uint8_t InstrumentProgram = 0; // program-number byte last reported
    std::uint16_t AdcValue = 0;         // last ADC reading
    std::int32_t SumCount = 1;          // sweeps in the running summation
    float AdcFieldValue = -1;           // field measured through the ADC input; -1 = none
};
