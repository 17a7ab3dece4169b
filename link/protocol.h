#pragma once

#include <cstdint>

// Byte values of the spectrometer protocol: frame markers, command codes,
// telemetry types, state-byte bits and the line-error flags of the port.

// Telemetry frame: 0x7F 0xAA, type, b1..b6, checksum of type and payload.
inline constexpr std::uint8_t FrameStartMarker = 0x7F;
inline constexpr std::uint8_t FrameSecondMarker = 0xAA;
inline constexpr int TelemetryFrameLength = 10;
inline constexpr int TelemetryBodyLength = 8; // type, b1..b6, checksum

// Command frame: 0x81 0x58 ("X"), code, parameters, checksum.
inline constexpr std::uint8_t CommandStartMarker = 0x81;
inline constexpr std::uint8_t CommandSecondMarker = 0x58;

inline constexpr std::uint8_t CmdLinkRequest = 150;
inline constexpr std::uint8_t CmdSweepBounds = 111;
inline constexpr std::uint8_t CmdGainSpeed = 122;
inline constexpr std::uint8_t CmdCorrection = 133;
inline constexpr std::uint8_t CmdAdcRequest = 144;

inline constexpr std::uint8_t TmUnitIdentity = 1;
inline constexpr std::uint8_t TmDataPoint = 2;
inline constexpr std::uint8_t TmSweepStart = 3;
inline constexpr std::uint8_t TmStatus = 4;
inline constexpr std::uint8_t TmHandshakeReset = 7;
inline constexpr std::uint8_t TmBoundsAccepted = 11;
inline constexpr std::uint8_t TmBackwardSweep = 14;
inline constexpr std::uint8_t TmGainSpeedAccepted = 22;
inline constexpr std::uint8_t TmCorrectionAccepted = 33;
inline constexpr std::uint8_t TmAdcReading = 44;
inline constexpr std::uint8_t TmLinkReady = 50;
inline constexpr std::uint8_t TmFieldReport = 77;
inline constexpr std::uint8_t TmBlockChecksumError = 90;
inline constexpr std::uint8_t TmByteTimeout = 98;
inline constexpr std::uint8_t TmUartTimeout = 99;
inline constexpr std::uint8_t TmUnexpectedByte = 100;

// Gain state byte: bit 7 manual gain, bit 6 manual correction, bits 0..3 KodAmpl.
// Speed state byte: bit 7 manual speed, bits 0..3 KodRapid.
inline constexpr std::uint8_t StateManualBit = 0x80;
inline constexpr std::uint8_t StateManualCorrectionBit = 0x40;
inline constexpr std::uint8_t StateCodeMask = 0x0F;

// Correction is sent offset by this value: 32768 means zero volts.
inline constexpr std::int32_t CorrectionOffset = 32768;

// Highest field code that carries data.
inline constexpr std::uint16_t MaxDataFieldCode = 65519;

// Line-error flags of TCOMPort::LastErrors, one bit per kind of error.
inline constexpr std::uint32_t LineErrorRxOverflow = 0x01; // input buffer overflow
inline constexpr std::uint32_t LineErrorOverrun = 0x02;    // receiver overrun
inline constexpr std::uint32_t LineErrorParity = 0x04;
inline constexpr std::uint32_t LineErrorFraming = 0x08;
inline constexpr std::uint32_t LineErrorBreak = 0x10;

// Checksum of a frame: the bytes summed modulo 256.
inline std::uint8_t ByteSum(const std::uint8_t* bytes, int count) {
    unsigned sum = 0;
    for (int i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<std::uint8_t>(sum);
}
