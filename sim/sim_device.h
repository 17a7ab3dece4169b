#pragma once

#include "link/clock.h"
#include "link/serial_device.h"
#include "sim/sim_instrument.h"

#include <QTimer>
#include <cstdint>

// The port "SIM": a line to the simulated spectrometer. While open, a main
// thread timer moves the instrument's time on in steps of TickMs, as the real
// line would deliver bytes; tests may leave the event loop idle and call
// Instrument().Advance themselves. CTS is read against the given clock, the
// one the receiver's send measures its 50 ms with.
class TSimDevice final : public SerialDevice {
public:
    explicit TSimDevice(const TClock& clock = SteadyClock(), std::uint64_t seed = 1);

    bool Open(const QString& name) override;
    void Close() override;
    bool ApplyLine(const TLineSettings& line, QStringList& notes) override;
    int InQueueCount() override { return Model.Pending(); }
    int OutQueueCount() override { return 0; }
    std::uint32_t TakeLineErrors() override { return Model.TakeLineErrors(); }
    int Read(std::uint8_t* buffer, int count) override { return Model.Take(buffer, count); }
    bool Write(const std::uint8_t* buffer, int count) override;
    std::optional<bool> ClearToSend() override;
    // Sleeps on the clock until the instrument's next CTS change.
    bool WaitClearToSendChange(std::int64_t timeoutMicros) override;
    bool Lost() const override { return false; }

    TSimInstrument& Instrument() { return Model; }
    QTimer& Timer() { return Ticker; }

    static constexpr int TickMs = 10;

private:
    const TClock& Clock;
    TSimInstrument Model;
    QTimer Ticker;
    bool IsOpen = false;
};

// True for the name of the simulated port.
bool IsSimPortName(const QString& name);
