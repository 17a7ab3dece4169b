#include "link/memory_port.h"
#include "link/test_app.h"

#include <gtest/gtest.h>

namespace {

void FeedByteByByte(TMemoryPort& port, const QByteArray& bytes) {
    for (char byte : bytes) {
        port.Line->Feed({static_cast<std::uint8_t>(byte)});
        port.Receiver.PollTick();
    }
}

} // namespace

TEST(ReceiverPoll, TenBytesWaitForAnEleventh) {
    TMemoryPort port;
    port.Open();
    FeedByteByByte(port, GoodFrame());
    EXPECT_TRUE(port.Frames.isEmpty());
    EXPECT_EQ(port.Line->ReadCalls, 0);
    EXPECT_EQ(port.Line->InQueueCount(), 10);

    FeedByteByByte(port, QByteArray::fromHex("7f"));
    ASSERT_EQ(port.Frames.size(), 1);
    EXPECT_EQ(port.Frames[0], QByteArray::fromHex("0210000800050322"));
    EXPECT_EQ(port.Line->InQueueCount(), 1);
    EXPECT_TRUE(port.Messages.isEmpty());
}

TEST(ReceiverPoll, OneTickDrainsEveryWaitingFrame) {
    TMemoryPort port;
    port.Open();
    for (int i = 0; i < 5; ++i)
        port.Line->Feed(GoodFrame());
    port.Line->Feed({0x7F});
    port.Receiver.PollTick();
    EXPECT_EQ(port.Frames.size(), 5);
    EXPECT_EQ(port.Line->OverReads, 0);
}

TEST(ReceiverPoll, BadChecksumIsReportedAndDropped) {
    TMemoryPort port;
    port.Open();
    QByteArray bad = GoodFrame();
    bad[9] = 0x23;
    port.Line->Feed(bad);
    port.Line->Feed(GoodFrame());
    port.Line->Feed({0x00});
    port.Receiver.PollTick();
    ASSERT_EQ(port.Messages.size(), 1);
    EXPECT_EQ(port.Messages[0], QStringLiteral("Ошибка контрольной суммы (34<>35)"));
    // The good frame behind it goes on in the same tick.
    EXPECT_EQ(port.Frames.size(), 1);
}

TEST(ReceiverPoll, MisalignedStartCostsOneTickAndItsBytes) {
    // A stray byte goes alone; 7F without AA behind it takes both bytes.
    for (const char* prefix : {"55", "7f7f"}) {
        SCOPED_TRACE(prefix);
        TMemoryPort port;
        port.Open();
        port.Line->Feed(QByteArray::fromHex(prefix));
        port.Line->Feed(GoodFrame());
        port.Line->Feed({0x00});
        port.Receiver.PollTick();
        EXPECT_TRUE(port.Frames.isEmpty());
        EXPECT_EQ(port.Line->InQueueCount(), 11); // the frame and one byte left
        port.Receiver.PollTick();
        EXPECT_EQ(port.Frames.size(), 1);
        EXPECT_TRUE(port.Messages.isEmpty());
    }
}

TEST(ReceiverPoll, LostAlignmentIsRegainedOneAttemptPerTick) {
    TMemoryPort port;
    port.Open();
    // A frame whose first byte was lost, then three whole frames.
    port.Line->Feed(GoodFrame().mid(1));
    for (int i = 0; i < 3; ++i)
        port.Line->Feed(GoodFrame());
    port.Line->Feed({0x00});
    int ticks = 0;
    while (port.Frames.isEmpty() && ticks < 20) {
        port.Receiver.PollTick();
        ++ticks;
    }
    // Nine stray bytes (AA 02 10 00 08 00 05 03 22): none is 0x7F, so each
    // tick consumes one and the tenth tick delivers.
    EXPECT_EQ(ticks, 10);
    EXPECT_EQ(port.Frames.size(), 3);
    EXPECT_TRUE(port.Messages.isEmpty());
}

TEST(ReceiverPoll, MarkersInsideThePayloadDoNotConfuseAnAlignedStream) {
    TMemoryPort port;
    port.Open();
    const std::uint8_t body[7] = {0x02, 0x7F, 0xAA, 0x7F, 0xAA, 0x00, 0x00};
    QByteArray frame = QByteArray::fromHex("7faa");
    frame.append(reinterpret_cast<const char*>(body), 7);
    frame.append(static_cast<char>(ByteSum(body, 7)));
    port.Line->Feed(frame);
    port.Line->Feed(frame);
    port.Line->Feed({0x00});
    port.Receiver.PollTick();
    ASSERT_EQ(port.Frames.size(), 2);
    EXPECT_EQ(static_cast<std::uint8_t>(port.Frames[1][1]), 0x7F);
}

TEST(ReceiverPoll, LineErrorsAreReportedWithTheirFlags) {
    TMemoryPort port;
    port.Open();
    port.Line->AddLineErrors(LineErrorParity | LineErrorFraming);
    port.Line->Feed(GoodFrame());
    port.Line->Feed({0x00});
    port.Receiver.PollTick();
    ASSERT_EQ(port.Messages.size(), 1);
    EXPECT_EQ(port.Messages[0], QStringLiteral("Ошибка приёма кадра 12"));
    EXPECT_EQ(port.Frames.size(), 1);
}

TEST(ReceiverPoll, LineErrorsAreReportedAlsoWhenTooFewBytesWait) {
    TMemoryPort port;
    port.Open();
    port.Line->AddLineErrors(LineErrorOverrun);
    port.Line->Feed({0x7F, 0xAA});
    port.Receiver.PollTick();
    EXPECT_EQ(port.Messages, QStringList{QStringLiteral("Ошибка приёма кадра 2")});
    port.Receiver.PollTick();
    EXPECT_EQ(port.Messages.size(), 1);
}

TEST(ReceiverPoll, ErrorsSeenAfterTheLastFrameAreReported) {
    TMemoryPort port;
    port.Open();
    port.Line->Feed(GoodFrame());
    port.Line->Feed({0x00});
    port.Receiver.OnFrame = [&] { port.Line->AddLineErrors(LineErrorBreak); };
    port.Receiver.PollTick();
    EXPECT_EQ(port.Messages, QStringList{QStringLiteral("Ошибка приёма кадра 16")});
}

TEST(ReceiverPoll, TickInsideAFrameHandlerDoesNothing) {
    TMemoryPort port;
    port.Open();
    int nested = 0;
    port.Receiver.OnFrame = [&] {
        ++nested;
        port.Receiver.PollTick(); // as a message box's event loop would
        EXPECT_TRUE(port.Receiver.Polling());
    };
    for (int i = 0; i < 3; ++i)
        port.Line->Feed(GoodFrame());
    port.Line->Feed({0x00});
    port.Receiver.PollTick();
    EXPECT_EQ(nested, 3);
    EXPECT_FALSE(port.Receiver.Polling());
}

TEST(ReceiverPoll, StopInsideAFrameHandlerEndsTheTick) {
    TMemoryPort port;
    port.Open();
    int frames = 0;
    port.Receiver.OnFrame = [&] {
        ++frames;
        port.Receiver.Stop();
    };
    for (int i = 0; i < 3; ++i)
        port.Line->Feed(GoodFrame());
    port.Line->Feed({0x00});
    port.Receiver.PollTick();
    EXPECT_EQ(frames, 1);
    EXPECT_FALSE(port.Receiver.Opened());
}

TEST(ReceiverPoll, ALostLineGivesUpItsLastWholeFrame) {
    TMemoryPort port;
    port.Open();
    port.Line->Feed(GoodFrame());
    port.Line->Feed(GoodFrame());
    port.Line->SetLost(true);
    port.Receiver.PollTick();
    EXPECT_EQ(port.Frames.size(), 2);
    ASSERT_EQ(port.Messages.size(), 1);
    EXPECT_EQ(port.Messages[0], QStringLiteral("Порт COM1 недоступен: связь потеряна"));
    EXPECT_FALSE(port.Receiver.Opened());
    port.Receiver.PollTick();
    EXPECT_EQ(port.Messages.size(), 1); // reported once
}

TEST(ReceiverPoll, ClosedPortTicksQuietly) {
    TMemoryPort port;
    port.Receiver.PollTick();
    EXPECT_TRUE(port.Frames.isEmpty());
    EXPECT_TRUE(port.Messages.isEmpty());
}

// ---- Send and the CTS pulse ------------------------------------------------

namespace {

// CTS on from riseMs to fallMs (milliseconds of the manual clock).
struct TCtsPulse {
    TMemoryPort Port;
    TManualClock Clock;
    explicit TCtsPulse(std::int64_t riseMs, std::int64_t fallMs) : Port(Clock) {
        Clock.StepMicros = 100; // every reading of the clock moves it 0.1 ms
        Port.Open();
        Port.Line->CtsSource = [this, riseMs, fallMs]() -> std::optional<bool> {
            const std::int64_t ms = Clock.NowMicros() / 1000;
            return ms >= riseMs && ms < fallMs;
        };
    }
};

} // namespace

TEST(ReceiverSend, PulseInsideTheWindowWritesAfterTheFall) {
    TCtsPulse pulse(10, 30);
    std::int64_t writtenAtMs = -1;
    const auto cts = pulse.Port.Line->CtsSource;
    pulse.Port.Line->CtsSource = [&]() -> std::optional<bool> {
        const std::optional<bool> level = cts();
        if (!*level && pulse.Clock.NowMicros() / 1000 >= 30 && writtenAtMs < 0)
            writtenAtMs = pulse.Clock.NowMicros() / 1000;
        return level;
    };
    EXPECT_TRUE(pulse.Port.Receiver.Send(QByteArray::fromHex("8158969fff94")));
    EXPECT_EQ(pulse.Port.Line->Written, QByteArray::fromHex("8158969fff94"));
    EXPECT_EQ(writtenAtMs, 30);
    EXPECT_TRUE(pulse.Port.Messages.isEmpty());
}

TEST(ReceiverSend, PulseMustEndWithinFiftyMilliseconds) {
    const struct {
        std::int64_t RiseMs, FallMs;
        bool Sent;
    } cases[] = {{45, 50, true}, {40, 60, false}, {0, 1000, false}, {1000, 2000, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.RiseMs << ".." << c.FallMs);
        TCtsPulse pulse(c.RiseMs, c.FallMs);
        EXPECT_EQ(pulse.Port.Receiver.Send(QByteArray::fromHex("815890")), c.Sent);
        EXPECT_EQ(pulse.Port.Line->Written.isEmpty(), !c.Sent);
        EXPECT_EQ(pulse.Port.Messages.size(), c.Sent ? 0 : 1);
        if (!c.Sent) {
            EXPECT_EQ(pulse.Port.Messages[0], QStringLiteral("Отсутствует сигнал CTS"));
            EXPECT_LE(pulse.Clock.NowMicros(), 53'000); // gives up just past the window
        }
    }
}

TEST(ReceiverSend, LineWithoutModemStatusCountsAsNoCts) {
    TCtsPulse pulse(0, 0);
    pulse.Port.Line->CtsSource = [] { return std::optional<bool>(); };
    EXPECT_FALSE(pulse.Port.Receiver.Send(QByteArray::fromHex("815890")));
    EXPECT_EQ(pulse.Port.Messages.size(), 1);
}

TEST(ReceiverSend, ClosedPortWritesNothingAndReportsNothing) {
    TManualClock clock;
    TMemoryPort port(clock);
    EXPECT_FALSE(port.Receiver.Send(QByteArray::fromHex("815890")));
    EXPECT_TRUE(port.Messages.isEmpty());
    EXPECT_EQ(clock.NowMicros(), 0); // no wait at all
}

TEST(ReceiverSend, AdcRequestGoesOutAsThreeBytes) {
    TCtsPulse pulse(2, 4);
    EXPECT_TRUE(pulse.Port.Receiver.SendCommand(CmdAdcRequest, TCommandValues{}));
    EXPECT_EQ(pulse.Port.Line->Written, QByteArray::fromHex("815890"));
}

TEST(ReceiverSend, UnknownCommandSendsNothing) {
    TCtsPulse pulse(2, 4);
    EXPECT_FALSE(pulse.Port.Receiver.SendCommand(145, TCommandValues{}));
    EXPECT_EQ(pulse.Port.Line->WriteCalls, 0);
    EXPECT_TRUE(pulse.Port.Messages.isEmpty());
}

// ---- Start and Stop --------------------------------------------------------

TEST(ReceiverTimer, StartRunsThePollAtTheSettingsPeriodAndStopClosesThePort) {
    TestApp();
    TMemoryPort port;
    TComSettings settings;
    settings.PortName = QStringLiteral("COM3");
    settings.BaudRate = 5;
    settings.TimeOut = 250;
    port.Receiver.SetSettings(settings);
    EXPECT_FALSE(port.Receiver.PollTimer().isActive());
    port.Receiver.Start();
    EXPECT_TRUE(port.Receiver.PollTimer().isActive());
    EXPECT_EQ(port.Receiver.PollTimer().interval(), 250);
    port.Receiver.Stop();
    EXPECT_FALSE(port.Receiver.PollTimer().isActive());
    EXPECT_FALSE(port.Receiver.Opened());
    EXPECT_EQ(port.Receiver.Device(), nullptr);

    // A period of 0 would poll without pause: below 10 ms the poll holds 10.
    for (const auto& [timeOut, period] : {std::pair{0, 10}, {1, 10}, {9, 10}, {10, 10}}) {
        settings.TimeOut = static_cast<std::uint16_t>(timeOut);
        port.Receiver.SetSettings(settings);
        EXPECT_EQ(port.Receiver.PollTimer().interval(), period) << timeOut;
    }
}

TEST(ReceiverTimer, StartReopensWithTheHeldSettings) {
    TestApp();
    TMemoryPort port;
    port.Open(QStringLiteral("COM2"));
    port.Receiver.Stop();
    port.Receiver.Start();
    EXPECT_TRUE(port.Receiver.Opened());
    EXPECT_EQ(port.Line->OpenedName, QStringLiteral("COM2"));
}

TEST(ReceiverPoll, ErrorsTakenByTheOutputQueryAreReportedByThePoll) {
    TMemoryPort port;
    port.Open();
    port.Line->AddLineErrors(LineErrorOverrun);
    EXPECT_TRUE(port.Receiver.OutQueueEmpty()); // the handshake's query
    port.Receiver.PollTick();
    EXPECT_EQ(port.Messages, QStringList{QStringLiteral("Ошибка приёма кадра 2")});
}
