#pragma once

#include "link/clock.h"
#include "link/com_port.h"
#include "link/command_frame.h"
#include "link/protocol.h"

#include <QByteArray>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>

// The frame link to the spectrometer over a TCOMPort: a timer-driven receive
// poll that cuts the byte stream into checked 10-byte frames, and a send that
// waits for the instrument's CTS pulse.
class TKavReceiver : public TCOMPort {
public:
    TKavReceiver(TDeviceFactory factory, const TClock& clock = SteadyClock());
    ~TKavReceiver() override;

    void SetSettings(TComSettings settings) override;
    void Start();
    void Stop();

    // One tick of the receive poll; PollTimer calls it, tests call it directly.
    // A tick that arrives while an earlier one still runs does nothing.
    void PollTick();

    // Waits for a CTS pulse (rise and fall within 50 ms of the call), then
    // writes. The thread sleeps while it waits: on the line's change where
    // the device can wait on it, else in pauses of CtsPauseMicros. A closed
    // port writes nothing and reports nothing.
    bool Send(const std::uint8_t* buffer, int count);
    bool Send(const QByteArray& bytes);
    // Builds the command frame for a code and sends it; a code without a
    // frame sends nothing and returns false.
    bool SendCommand(int code, const TCommandValues& values);

    QTimer& PollTimer() { return *Timer; }
    bool Polling() const { return InPoll; }

    std::uint8_t FrameLength = TelemetryFrameLength;
    // Called once per good frame; RxBuffer[0] is the type, [1..6] b1..b6,
    // [7] the checksum. Valid only during the call.
    std::function<void()> OnFrame;
    // Called once when the line has gone away under the open port, after the
    // poll has handed over every whole frame that arrived before; the text is
    // the line the port reported (LostMessage). The handler may stop the
    // receiver.
    std::function<void(const QString&)> OnLost;

    // The shortest receive poll period: a TimeOut below it (0 included, which
    // would poll without pause and keep a core busy) polls at this period.
    // 10 ms is about one frame at 9600 baud; the line's data waits meanwhile
    // in the port's own buffer, so a faster line loses nothing.
    static constexpr int MinPollPeriodMs = 10;

    // Longest wait for the CTS pulse, in whole milliseconds.
    static constexpr std::int64_t CtsWindowMs = 50;
    // The pause between two looks at a line that cannot be waited on.
    static constexpr std::int64_t CtsPauseMicros = 500;

private:
    void PollFrames();

    const TClock& Clock;
    std::unique_ptr<QTimer> Timer;
    bool InPoll = false;
};
