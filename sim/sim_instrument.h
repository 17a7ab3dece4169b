#pragma once

#include "sim/sim_signal.h"

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

// The simulated spectrometer. It takes the program's command frames, pulses
// CTS when it can take one, answers the handshake, and once linked sweeps the
// field between the bounds it was sent, streaming telemetry frames. Its time
// moves only through Advance, so for a given seed and the same calls it sends
// the same bytes.
//
// Sweep: a forward run from PoleMin to PoleMax (from PoleMax down to PoleMin
// at "-4 мин") opened by Tm03 and a Tm04, one data point every dPOLE field
// codes, a Tm04 every second; then a backward run four times faster that
// sends type 14 frames; then the next forward run. " СТОП" holds the field.
// Sweep times are those of SpeedTable divided by SweepTimeDivisor, and
// dPOLE is chosen so that the points fit the line at its baud rate.
class TSimInstrument {
public:
    enum class TCtsMode : std::uint8_t { Pulse, HeldOn, HeldOff };
    enum class TPhase : std::uint8_t { Idle, Forward, Backward };

    explicit TSimInstrument(std::uint64_t seed = 1);

    // The line.
    void Receive(const std::uint8_t* bytes, int count);
    bool ClearToSend(std::int64_t nowMicros) const;
    // The first moment after nowMicros at which CTS changes; empty while it
    // is held on or off (or the instrument is silent).
    std::optional<std::int64_t> NextCtsChange(std::int64_t nowMicros) const;
    void Advance(int ms);
    int Pending() const { return static_cast<int>(Out.size() - Head); }
    int Take(std::uint8_t* buffer, int count);
    QByteArray TakeAll();
    std::uint32_t TakeLineErrors();
    void SetBaudRate(std::int32_t baud) { Baud = baud > 0 ? baud : 9600; }

    // Scripting, for tests and demonstrations.
    void SetCtsMode(TCtsMode mode) { Cts = mode; }
    void SetAnswering(bool on) { Answering = on; }
    void SetAnswer(std::uint8_t command, bool on);
    void SetSilent(bool on) { Silent = on; }
    void InjectBytes(const QByteArray& bytes);
    void CorruptNextFrame() { CorruptNext = true; }
    void InjectLineErrors(std::uint32_t flags) { LineErrors |= flags; }
    void SetManualGain(std::optional<std::uint8_t> kodAmpl);
    void SetManualCorrection(std::optional<std::uint16_t> ukorr);
    void SetManualSpeed(std::optional<std::uint8_t> kodRapid);
    void SendInstrumentError(std::uint8_t type, std::uint8_t b1 = 0, std::uint8_t b2 = 0);
    void SendFrame(std::uint8_t type, const std::uint8_t (&payload)[6]);
    void SetIdentity(std::uint8_t program, std::uint8_t serial);

    // What the instrument holds now.
    bool Linked() const { return IsLinked; }
    TPhase Phase() const { return SweepPhase; }
    std::uint16_t PoleMin() const { return Min; }
    std::uint16_t PoleMax() const { return Max; }
    std::uint16_t Field() const { return static_cast<std::uint16_t>(FieldNow); }
    std::uint8_t KodAmpl() const { return ManualGain.value_or(Gain); }
    std::uint8_t KodRapid() const { return ManualSpeed.value_or(Speed); }
    std::uint16_t Ukorr() const { return ManualCorrection.value_or(Correction); }
    std::uint8_t DPole() const { return Step; }
    int SweepCount() const { return Sweeps; }
    double NowMs() const { return Now; }

    // Nominal forward-sweep time of a speed code in milliseconds of the
    // simulated instrument (0 for the stop code and unknown codes).
    static double SweepMs(std::uint8_t kodRapid);
    static constexpr int SweepTimeDivisor = 20;
    static constexpr int CtsPeriodMs = 20;
    static constexpr int CtsPulseMs = 4;

private:
    void Emit(std::uint8_t type, std::uint8_t b1 = 0, std::uint8_t b2 = 0, std::uint8_t b3 = 0,
              std::uint8_t b4 = 0, std::uint8_t b5 = 0, std::uint8_t b6 = 0);
    void Answer(std::uint8_t command, std::uint8_t type, std::uint8_t b1 = 0, std::uint8_t b2 = 0,
                std::uint8_t b3 = 0, std::uint8_t b4 = 0);
    void TakeCommandByte(std::uint8_t byte);
    void RunCommand();
    void BeginForward();
    void BeginBackward();
    void PlanSweep();
    void EmitPoint();
    void EmitStatus();
    std::uint8_t GainStateByte() const;
    std::uint8_t SpeedStateByte() const;
    std::uint16_t Amplitude(double fieldCode);
    bool Reversed() const { return KodRapid() == 0; }
    bool Stopped() const { return KodRapid() == 1 || SweepMs(KodRapid()) == 0; }

    TSimRandom Random;
    TSimSpectrum Spectrum;
    std::vector<std::uint8_t> Out;
    std::size_t Head = 0;

    // Line and script state.
    std::int32_t Baud = 9600;
    TCtsMode Cts = TCtsMode::Pulse;
    bool Answering = true;
    std::set<std::uint8_t> Muted;
    bool Silent = false;
    bool CorruptNext = false;
    std::uint32_t LineErrors = 0;
    std::optional<std::uint8_t> ManualGain;
    std::optional<std::uint16_t> ManualCorrection;
    std::optional<std::uint8_t> ManualSpeed;
    std::uint8_t Program = 7;
    std::uint8_t Serial = 42;

    // Command reception.
    std::vector<std::uint8_t> Command;
    double CommandStartedAt = 0;

    // Instrument settings.
    bool IsLinked = false;
    bool IdentitySent = false;
    std::uint16_t Min = 0;
    std::uint16_t Max = 65519;
    std::uint8_t Gain = 1;
    std::uint8_t Speed = 8;
    std::uint16_t Correction = 32768;

    // Sweep.
    double Now = 0;
    TPhase SweepPhase = TPhase::Idle;
    double FieldNow = 0;
    std::uint8_t Step = 1;
    double PointIntervalMs = 10;
    double NextPointAt = 0;
    double NextStatusAt = 0;
    double BackwardFrom = 0;
    double BackwardStartedAt = 0;
    double BackwardMs = 0;
    int Sweeps = 0;
};
