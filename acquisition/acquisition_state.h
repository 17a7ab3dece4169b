#pragma once

#include <array>
#include <cstdint>

// What the receive mode keeps between frames. One instance belongs to the
// acquisition engine; the instrument controls clear its handshake flags and
// set FillCount.
struct TAcquisitionState {
    // The line went away in the receive mode and the port has not been
    // opened again: the handshake waits, "Прием" opens the port.
    bool LinkLost = false;
    // Frames handled since the engine was made (a run watches it for silence).
    std::uint64_t FramesHandled = 0;

    // The parameter handshake.
    bool LinkReady = false;
    bool BoundsAck = false;
    bool GainSpeedAck = false;
    bool CorrAck = false;
    std::int32_t SendCount = 0;
    bool HandshakeRunning = false; // a command went out since it last ended

    std::uint8_t SweepPhase = 0; // 0 none seen, 1 forward, 2 backward
    std::uint8_t FillCount = 1;  // field codes one data point fills
    std::int32_t AutoSaveCountdown = 0;
    std::int32_t LastField = -1; // field code of the last data point, -1 none

    // Real-time filter along the sweep.
    bool LpfActive = false;
    float LpfAverage = 0;
    std::int32_t LpfCount = 0;

    // Summation of sweeps.
    bool SumActive = false;
    std::int32_t SumCount = 1;
    std::array<float, 65536> SumValues{};
    std::array<std::uint16_t, 65536> FirstValues{};

    std::uint8_t InstrumentProgram = 0;
    std::uint8_t InstrumentSerial = 0;

    bool AllAcknowledged() const { return LinkReady && BoundsAck && GainSpeedAck && CorrAck; }
    void ClearHandshake() { LinkReady = BoundsAck = GainSpeedAck = CorrAck = false; }
    void SetHandshake() { LinkReady = BoundsAck = GainSpeedAck = CorrAck = true; }
};
