#pragma once

#include <QStringList>
#include <cstdint>
#include <optional>

// What a telemetry frame means. Decoding is pure: no timer, no window.

struct TGainState {
    bool ManualGain = false;       // bit 7: the instrument's own control
    bool ManualCorrection = false; // bit 6
    std::uint8_t KodAmpl = 0;      // bits 0..3
};

struct TSpeedState {
    bool ManualSpeed = false;  // bit 7
    std::uint8_t KodRapid = 0; // bits 0..3
};

TGainState DecodeGainState(std::uint8_t b);
TSpeedState DecodeSpeedState(std::uint8_t b);

// The GainTable row whose KodAmpl is kod (-1 when none), and the last
// SpeedTable row whose KodRapid is kod (row 11, not 0, for 15; -1 when none).
int GainRowOfKod(std::uint8_t kod);
int SpeedRowOfKod(std::uint8_t kod);

enum class TTelemetryKind : std::uint8_t {
    Ignored, // a type the program does not know
    UnitIdentity,
    DataPoint,
    SweepStart,
    Status,
    HandshakeReset,
    BoundsAccepted,
    BackwardSweep,
    GainSpeedAccepted,
    CorrectionAccepted,
    AdcReading,
    LinkReady,
    FieldReport,
    BlockChecksumError,
    ByteTimeout,
    UartTimeout,
    UnexpectedByte,
};

// One decoded frame. Only the fields of its kind are set; the others stay 0.
struct TTelemetry {
    TTelemetryKind Kind = TTelemetryKind::Ignored;
    std::uint8_t Type = 0;
    std::uint8_t B[7] = {}; // B[1]..B[6] as received, B[0] unused

    std::uint8_t Program = 0;   // Tm01
    std::uint8_t Serial = 0;    // Tm01
    std::uint16_t Field = 0;    // data point, Tm03 POLE, type 14, Tm77
    std::uint16_t Value = 0;    // data point amplitude code, Tm77 X
    std::uint16_t PoleMax = 0;  // Tm03, Tm11
    std::uint16_t PoleMin = 0;  // Tm03, Tm11
    std::uint16_t Ukorr = 0;    // Tm04, Tm33
    std::uint8_t DPole = 0;     // Tm04: field codes per data point
    std::uint8_t NMax = 0;      // Tm04
    std::uint8_t KodAmpl = 0;   // Tm22
    std::uint8_t KodRapid = 0;  // Tm22
    std::uint16_t AdcValue = 0; // type 44
    std::uint8_t Expected = 0;  // types 90, 100: b1
    std::uint8_t Received = 0;  // types 90, 100: b2
    bool HasStates = false;     // data point and Tm04 carry both state bytes
    std::uint8_t GainByte = 0;
    std::uint8_t SpeedByte = 0;
    TGainState Gain;
    TSpeedState Speed;
};

// Decodes a frame body: body[0] the type, body[1..6] b1..b6.
TTelemetry DecodeTelemetry(const std::uint8_t* body);

// The lines a frame writes to the message window, in order (none for most).
QStringList TelemetryLines(const TTelemetry& frame);

// The handshake: which flag an answer sets, and what answers a command.
enum class THandshakeFlag : std::uint8_t { LinkReady, BoundsAck, GainSpeedAck, CorrAck };

std::optional<THandshakeFlag> FlagSetBy(std::uint8_t type);
// Tm01 and the handshake reset clear all four flags.
bool ClearsHandshake(std::uint8_t type);
// The answer type of a handshake command (its code minus 100), or 0.
std::uint8_t AnswerTypeOf(std::uint8_t command);
// The command that a flag's stage sends.
std::uint8_t CommandOfFlag(THandshakeFlag flag);
