// The send's wait for the CTS pulse sleeps instead of reading the line over
// and over: on the line's change where the device can wait on it, in short
// pauses where it cannot. Clocks that move only when slept on show that the
// wait never depends on reading the line to pass the time.
#include "link/memory_port.h"
#include "link/pty_line.h"
#include "link/qt_serial_device.h"
#include "link/test_app.h"
#include "link/thread_alarm.h"
#include "sim/device_factory.h"
#include "sim/sim_device.h"

#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

namespace {

// CTS on from riseMs to fallMs of a clock that moves only when slept on.
struct TStillLine {
    TManualClock Clock;
    TMemoryPort Port{Clock};
    int Looks = 0;
    TStillLine(std::int64_t riseMs, std::int64_t fallMs) {
        Port.Open();
        Port.Line->CtsSource = [this, riseMs, fallMs]() -> std::optional<bool> {
            ++Looks;
            const std::int64_t ms = Clock.NowMicros() / 1000;
            return ms >= riseMs && ms < fallMs;
        };
    }
};

} // namespace

TEST(CtsWait, LineThatCannotBeWaitedOnIsLookedAtAfterEachPause) {
    {
        TStillLine line(10, 30);
        EXPECT_TRUE(line.Port.Receiver.Send(QByteArray::fromHex("815890")));
        EXPECT_EQ(line.Port.Line->Written, QByteArray::fromHex("815890"));
        // Written at the first look after the fall, one pause late at most.
        EXPECT_GE(line.Clock.NowMicros(), 30'000);
        EXPECT_LE(line.Clock.NowMicros(), 30'000 + TKavReceiver::CtsPauseMicros);
        // One look per pause, and one more at each end of the pulse.
        EXPECT_LE(line.Looks, 30'000 / TKavReceiver::CtsPauseMicros + 4);
    }
    {
        TStillLine line(1000, 2000); // no pulse in the window
        EXPECT_FALSE(line.Port.Receiver.Send(QByteArray::fromHex("815890")));
        EXPECT_TRUE(line.Port.Line->Written.isEmpty());
        EXPECT_EQ(line.Port.Messages, QStringList{QStringLiteral("Отсутствует сигнал CTS")});
        // The last pause ends where the window's whole milliseconds run out.
        EXPECT_EQ(line.Clock.NowMicros(), (TKavReceiver::CtsWindowMs + 1) * 1000);
    }
}

TEST(CtsWait, SimulatorSleepsFromEdgeToEdgeOfItsPulse) {
    TestApp();
    TManualClock clock; // moves only when the send sleeps
    clock.Set(5'000);   // just after a pulse: the next one is 20..24 ms
    TKavReceiver receiver(DefaultDeviceFactory(clock, 3), clock);
    QStringList messages;
    receiver.OnMessage = [&](const QString& text) { messages << text; };
    TComSettings settings;
    settings.PortName = QStringLiteral("SIM");
    receiver.SetSettings(settings);
    ASSERT_TRUE(receiver.Opened());

    EXPECT_TRUE(receiver.SendCommand(CmdAdcRequest, TCommandValues{}));
    EXPECT_EQ(clock.NowMicros(), 24'000); // written at the fall, not a moment later
    EXPECT_TRUE(messages.isEmpty());

    // Silent, the instrument has no change to wait for: the send sleeps once
    // to the end of the window and gives up.
    static_cast<TSimDevice*>(receiver.Device())->Instrument().SetSilent(true);
    EXPECT_FALSE(receiver.SendCommand(CmdAdcRequest, TCommandValues{}));
    EXPECT_EQ(clock.NowMicros(), 24'000 + (TKavReceiver::CtsWindowMs + 1) * 1000);
    EXPECT_EQ(messages, QStringList{QStringLiteral("Отсутствует сигнал CTS")});
}

TEST(CtsWait, SimulatorKnowsItsNextChange) {
    TSimInstrument sim;
    const int period = TSimInstrument::CtsPeriodMs * 1000;
    const int pulse = TSimInstrument::CtsPulseMs * 1000;
    for (const std::int64_t now : {0, 1, pulse - 1, pulse, pulse + 1, period - 1, 5 * period + 7}) {
        SCOPED_TRACE(now);
        const std::optional<std::int64_t> next = sim.NextCtsChange(now);
        ASSERT_TRUE(next.has_value());
        EXPECT_GT(*next, now);
        EXPECT_NE(sim.ClearToSend(*next), sim.ClearToSend(now));
        for (std::int64_t t = now; t < *next; t += 250) // no change before it
            ASSERT_EQ(sim.ClearToSend(t), sim.ClearToSend(now)) << t;
    }
    sim.SetCtsMode(TSimInstrument::TCtsMode::HeldOn);
    EXPECT_FALSE(sim.NextCtsChange(0).has_value());
    sim.SetCtsMode(TSimInstrument::TCtsMode::Pulse);
    sim.SetSilent(true);
    EXPECT_FALSE(sim.NextCtsChange(0).has_value());
}

TEST(CtsWait, PseudoTerminalCannotBeWaitedOnAndReportsNoCts) {
    TestApp();
    TPtyLine pty(7);
    ASSERT_TRUE(pty.Ok());
    TKavReceiver receiver([](const QString&) { return std::make_unique<TQtSerialDevice>(); });
    QStringList messages;
    receiver.OnMessage = [&](const QString& text) { messages << text; };
    TComSettings settings;
    settings.PortName = pty.Link;
    settings.BaudRate = 11;
    receiver.SetSettings(settings);
    ASSERT_TRUE(receiver.Opened());
    // A pseudo-terminal has no modem lines: no wait on them (the send pauses
    // instead), and no pulse.
    EXPECT_FALSE(receiver.Device()->WaitClearToSendChange(1000));
    EXPECT_FALSE(receiver.SendCommand(CmdAdcRequest, TCommandValues{}));
    EXPECT_TRUE(messages.contains(QStringLiteral("Отсутствует сигнал CTS")));
    EXPECT_TRUE(pty.ReadAll().isEmpty());
}

// ---- The alarm that bounds a blocking call ----------------------------------

TEST(ThreadAlarm, EndsABlockingCallAndLeavesNothingBehind) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    pollfd nothing{fds[0], POLLIN, 0};
    {
        // A poll on an empty pipe, for ten seconds unless the alarm ends it.
        const TThreadAlarm alarm(20'000);
        ASSERT_TRUE(alarm.Armed());
        errno = 0;
        EXPECT_EQ(::poll(&nothing, 1, 10'000), -1);
        EXPECT_EQ(errno, EINTR);
    }
    {
        // A call that ends first is not disturbed, and neither is anything
        // after the alarm is gone.
        const TThreadAlarm alarm(50'000);
        ASSERT_TRUE(alarm.Armed());
        ASSERT_EQ(::write(fds[1], "x", 1), 1);
        EXPECT_EQ(::poll(&nothing, 1, 10'000), 1);
    }
    const timespec pause{0, 80'000'000}; // past both alarms' times
    EXPECT_EQ(::clock_nanosleep(CLOCK_MONOTONIC, 0, &pause, nullptr), 0);
    ::close(fds[0]);
    ::close(fds[1]);
}

TEST(ThreadAlarm, IsNotArmedWhereItsSignalCannotArrive) {
    sigset_t block;
    sigemptyset(&block);
    sigaddset(&block, TThreadAlarm::Signal());
    sigset_t old;
    ASSERT_EQ(::pthread_sigmask(SIG_BLOCK, &block, &old), 0);
    {
        const TThreadAlarm alarm(1000);
        EXPECT_FALSE(alarm.Armed());
    }
    ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
    const TThreadAlarm alarm(1000);
    EXPECT_TRUE(alarm.Armed());
}
