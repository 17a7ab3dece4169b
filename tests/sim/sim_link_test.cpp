#include "sim/sim_frames.h"

#include "link/instrument_tables.h"
#include "link/receiver.h"
#include "link/test_app.h"
#include "sim/device_factory.h"
#include "sim/sim_device.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

// The receiver on the port "SIM", with the smallest handshake loop that the
// acquisition runs: each round sends the first stage not yet acknowledged.
struct TSimLink {
    explicit TSimLink(const TClock& clock) : Receiver(DefaultDeviceFactory(clock, 11)) {
        TestApp();
        Receiver.OnMessage = [this](const QString& text) { Messages << text; };
        Receiver.OnFrame = [this] {
            const TTelemetry t = DecodeTelemetry(Receiver.RxBuffer.data());
            Frames << t;
            if (ClearsHandshake(t.Type))
                Flags = {};
            if (const auto flag = FlagSetBy(t.Type))
                Flags[static_cast<int>(*flag)] = true;
        };
        TComSettings s;
        s.PortName = QStringLiteral("SIM");
        s.BaudRate = 11; // 115200
        s.TimeOut = 200;
        Receiver.SetSettings(s);
    }
    TSimInstrument& Sim() { return static_cast<TSimDevice*>(Receiver.Device())->Instrument(); }
    bool HandshakeDone() const { return Flags[0] && Flags[1] && Flags[2] && Flags[3]; }
    bool HandshakeRound(const TCommandValues& values) {
        for (int i = 0; i < 4; ++i)
            if (!Flags[i])
                return Receiver.SendCommand(CommandOfFlag(static_cast<THandshakeFlag>(i)), values);
        return true;
    }
    // One 200 ms round: a handshake command, the instrument's time, a poll.
    void Round(const TCommandValues& values) {
        if (Receiver.OutQueueEmpty())
            HandshakeRound(values);
        Sim().Advance(200);
        Receiver.PollTick();
    }
    int Count(std::uint8_t type) const {
        return static_cast<int>(std::count_if(Frames.begin(), Frames.end(),
                                              [&](const TTelemetry& t) { return t.Type == type; }));
    }

    TKavReceiver Receiver;
    std::array<bool, 4> Flags{};
    QList<TTelemetry> Frames;
    QStringList Messages;
};

TCommandValues Settings() {
    TCommandValues v;
    v.PoleMin = 1000;
    v.PoleMax = 60000;
    v.Amplifying = 4;
    v.Rapid = 11; // "30 сек"
    v.Correction = 250;
    return v;
}

} // namespace

TEST(SimLink, HandshakeCompletesAndSweepsArriveWhole) {
    TManualClock clock;
    clock.StepMicros = 50;
    TSimLink link(clock);
    ASSERT_TRUE(link.Receiver.Opened());
    int rounds = 0;
    while (!link.HandshakeDone() && rounds < 21) {
        link.Round(Settings());
        ++rounds;
    }
    EXPECT_TRUE(link.HandshakeDone());
    EXPECT_LE(rounds, 5);
    EXPECT_EQ(link.Sim().PoleMin(), 1000);
    EXPECT_EQ(link.Sim().PoleMax(), 60000);
    EXPECT_EQ(link.Sim().KodAmpl(), GainTable[4].KodAmpl);
    EXPECT_EQ(link.Sim().KodRapid(), 15);
    EXPECT_EQ(link.Sim().Ukorr(), 32768 + 250);

    EXPECT_EQ(link.Count(TmUnitIdentity), 1);
    link.Frames.clear(); // from here on, sweeps between the bounds sent

    for (int i = 0; i < 25; ++i) // five seconds: a few "30 сек" sweeps
        link.Round(Settings());
    EXPECT_TRUE(link.Messages.isEmpty()) << link.Messages.join('\n').toStdString();
    EXPECT_GE(link.Count(TmSweepStart), 2);
    EXPECT_GT(link.Count(TmBackwardSweep), 0);
    EXPECT_GT(link.Count(TmDataPoint), 1000);
    for (const TTelemetry& t : link.Frames)
        if (t.Type == TmDataPoint) {
            ASSERT_GE(t.Field, 1000);
            ASSERT_LE(t.Field, 60000);
            ASSERT_EQ(t.Gain.KodAmpl, GainTable[4].KodAmpl);
        }

    EXPECT_TRUE(link.Receiver.SendCommand(CmdAdcRequest, Settings()));
    link.Sim().Advance(100); // the reading is taken once a byte follows it
    link.Receiver.PollTick();
    EXPECT_EQ(link.Count(TmAdcReading), 1);
}

TEST(SimLink, TroubleOnTheLineIsReportedAndTheStreamGoesOn) {
    TManualClock clock;
    clock.StepMicros = 50;
    TSimLink link(clock);
    while (!link.HandshakeDone())
        link.Round(Settings());
    link.Round(Settings());
    const int before = link.Count(TmDataPoint);

    link.Sim().InjectBytes(QByteArray::fromHex("7f00"));
    link.Sim().SendInstrumentError(TmBlockChecksumError, 1, 2);
    link.Sim().CorruptNextFrame();
    link.Sim().InjectLineErrors(LineErrorFraming);
    for (int i = 0; i < 5; ++i)
        link.Round(Settings());
    EXPECT_TRUE(link.Messages.contains(QStringLiteral("Ошибка приёма кадра 8")));
    EXPECT_EQ(link.Messages.filter(QStringLiteral("Ошибка контрольной суммы")).size(), 1);
    EXPECT_EQ(link.Count(TmBlockChecksumError), 1);
    EXPECT_GT(link.Count(TmDataPoint), before + 100);
}

TEST(SimLink, SilentInstrumentGivesNoCts) {
    TManualClock clock;
    clock.StepMicros = 200;
    TSimLink link(clock);
    link.Sim().SetSilent(true);
    EXPECT_FALSE(link.Receiver.SendCommand(CmdLinkRequest, Settings()));
    EXPECT_EQ(link.Messages, QStringList{QStringLiteral("Отсутствует сигнал CTS")});
    EXPECT_FALSE(link.Sim().Linked());
}

TEST(SimLink, ManualControlReachesTheFrames) {
    TManualClock clock;
    clock.StepMicros = 50;
    TSimLink link(clock);
    while (!link.HandshakeDone())
        link.Round(Settings());
    link.Sim().SetManualGain(1);
    link.Round(Settings());
    ASSERT_FALSE(link.Frames.isEmpty());
    EXPECT_TRUE(link.Frames.last().Gain.ManualGain);
    EXPECT_EQ(link.Frames.last().Gain.KodAmpl, 1);
}

TEST(SimLink, RunsOnTheMainThreadTimers) {
    // The real clock and the event loop: the port's own timer moves the
    // instrument, the poll timer delivers, a timer plays the handshake.
    TSimLink link(SteadyClock());
    link.Receiver.Start();
    QTimer handshake;
    handshake.setInterval(200);
    QObject::connect(&handshake, &QTimer::timeout, [&] {
        if (link.Receiver.OutQueueEmpty())
            link.HandshakeRound(Settings());
    });
    handshake.start();
    QElapsedTimer waited;
    waited.start();
    while ((!link.HandshakeDone() || link.Count(TmDataPoint) < 20) && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(link.HandshakeDone());
    EXPECT_GE(link.Count(TmDataPoint), 20);
    // A send may miss its CTS pulse when the machine is busy (the handshake
    // then simply tries again); a damaged frame is another matter.
    EXPECT_TRUE(link.Messages.filter(QStringLiteral("Ошибка")).isEmpty())
        << link.Messages.join('\n').toStdString();
    link.Receiver.Stop();
}
