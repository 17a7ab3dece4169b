// The port and the receiver on an in-memory line: opening and line
// settings, the receive poll that cuts frames out of the byte stream, the
// send that waits for the CTS pulse, the poll timer.
#include "link/com_port.h"
#include "link/line_settings.h"
#include "link/memory_serial_device.h"
#include "link/port_names.h"
#include "link/protocol.h"
#include "link/receiver.h"
#include "link/test_app.h"
#include "qstring_printer.h"
#include "sim/device_factory.h"
#include "sim/sim_device.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

// A receiver on an in-memory line, with its messages and frames recorded;
// the factory records the name of every device it makes.
struct TMemoryPort {
    explicit TMemoryPort(const TClock& clock = SteadyClock())
        : Receiver(
              [this](const QString& name) {
                  Names << name;
                  auto device = std::make_unique<TMemorySerialDevice>();
                  device->OpenResult = !Refused.contains(name);
                  device->ApplyResult = ApplyResult;
                  device->ApplyNotes = DeviceNotes;
                  Line = device.get();
                  return device;
              },
              clock) {
        Receiver.OnMessage = [this](const QString& text) { Messages << text; };
        Receiver.OnFrame = [this] {
            Frames << QByteArray(reinterpret_cast<const char*>(Receiver.RxBuffer.data()), 8);
        };
    }

    void Open(const QString& name = QStringLiteral("COM1"), int baud = 5) {
        Receiver.SetSettings(Settings(name, baud));
    }
    static TComSettings Settings(const QString& name, int baud = 5) {
        TComSettings s;
        s.PortName = name;
        s.BaudRate = static_cast<std::uint8_t>(baud);
        s.TimeOut = 1000;
        return s;
    }

    QStringList Names, Refused, DeviceNotes;
    bool ApplyResult = true;
    TMemorySerialDevice* Line = nullptr;
    TKavReceiver Receiver;
    QStringList Messages;
    QList<QByteArray> Frames;
};

// The example data point of the protocol: 7F AA 02 10 00 08 00 05 03 22.
const QByteArray Good = QByteArray::fromHex("7faa0210000800050322");

// CTS on from riseMs to fallMs of a manual clock that moves stepMicros at
// every reading (0: only when the send sleeps).
struct TCtsLine {
    TManualClock Clock;
    TMemoryPort Port{Clock};
    int Looks = 0;
    TCtsLine(std::int64_t riseMs, std::int64_t fallMs, std::int64_t stepMicros) {
        Clock.StepMicros = stepMicros;
        Port.Open();
        Port.Line->CtsSource = [this, riseMs, fallMs]() -> std::optional<bool> {
            ++Looks;
            const std::int64_t ms = Clock.NowMicros() / 1000;
            return ms >= riseMs && ms < fallMs;
        };
    }
};

} // namespace

TEST(ComPort, OpensOnlyForAnotherNameHeldCutToTen) {
    TMemoryPort r;
    r.Open("", 5); // an empty name opens nothing
    EXPECT_FALSE(r.Receiver.Opened());
    EXPECT_TRUE(r.Names.isEmpty());
    r.Open("COM1");
    TMemorySerialDevice* first = r.Line;
    r.Open("COM1", 13); // the same name: only the line settings change
    EXPECT_EQ(r.Receiver.Device(), first);
    EXPECT_EQ(first->ApplyCount, 2);
    EXPECT_EQ(first->LastLine.BaudRate, 256000);
    r.Open("ttyUSB0123456");
    EXPECT_EQ(r.Receiver.Settings().PortName, QStringLiteral("ttyUSB0123"));
    EXPECT_EQ(r.Line->OpenedName, QStringLiteral("ttyUSB0123"));
    r.Open("ttyUSB0123456"); // the cut name matches: no reopen
    EXPECT_EQ(r.Names, (QStringList{"COM1", "ttyUSB0123"}));
    EXPECT_TRUE(r.Receiver.Opened());
    r.Receiver.Close();
    EXPECT_FALSE(r.Receiver.Opened());
    EXPECT_EQ(r.Receiver.Device(), nullptr);
}

TEST(ComPort, RefusedOpenOrLineSettingsLeaveItClosedAndAreRetried) {
    TMemoryPort r;
    r.Refused << "COM7";
    r.Open("COM7");
    EXPECT_FALSE(r.Receiver.Opened());
    EXPECT_EQ(r.Receiver.Device(), nullptr);
    EXPECT_EQ(r.Receiver.InQueueCount(), 0);
    EXPECT_TRUE(r.Receiver.OutQueueEmpty());
    const std::uint8_t byte = 1;
    EXPECT_FALSE(r.Receiver.Write(&byte, 1));
    EXPECT_FALSE(r.Receiver.ClearToSend().has_value());
    r.ApplyResult = false;
    r.Open("COM1");
    EXPECT_FALSE(r.Receiver.Opened());
    r.ApplyResult = true;
    r.Open("COM1"); // the refused handle was released and the port opened again
    EXPECT_TRUE(r.Receiver.Opened());
    EXPECT_EQ(r.Names, (QStringList{"COM7", "COM1", "COM1"}));
}

// Notes on the line (a baud index outside the table, held at 9600; what
// the device cannot do) reach the messages by the poll, once.
TEST(ComPort, LineNotesAreReportedByThePollOnce) {
    TMemoryPort port;
    port.DeviceNotes << QStringLiteral("Линии RTS и DTR порта недоступны");
    port.Open("COM1", 19);
    EXPECT_EQ(port.Line->LastLine.BaudRate, 9600);
    EXPECT_EQ(port.Receiver.Settings().BaudRate, 5);
    EXPECT_TRUE(port.Messages.isEmpty()); // reported after the owner is ready
    port.Receiver.PollTick();
    ASSERT_EQ(port.Messages.size(), 2);
    EXPECT_TRUE(port.Messages[0].contains(QStringLiteral("19")));
    EXPECT_EQ(port.Messages[1], port.DeviceNotes[0]);
    port.Receiver.PollTick();
    EXPECT_EQ(port.Messages.size(), 2);
}

TEST(ComPort, NamesMapToDevicePaths) {
    const std::pair<const char*, const char*> cases[] = {
        {"COM1", "/dev/ttyS0"},       {"COM12", "/dev/ttyS11"}, {"ttyUSB0", "/dev/ttyUSB0"},
        {"/dev/pts/3", "/dev/pts/3"}, {"COM0", "/dev/COM0"},    {"COMx", "/dev/COMx"}};
    for (const auto& [name, path] : cases)
        EXPECT_EQ(PortDevicePath(name), QString(path));
}

TEST(LineSettings, RateAndParityFollowTheirTables) {
    const struct {
        int Baud, Rate, Parity;
        TParityMode Mode;
    } cases[] = {{13, 256000, 0, TParityMode::None},
                 {14, 230400, 2, TParityMode::Even},
                 {0, 300, 3, TParityMode::Mark},
                 {5, 9600, 4, TParityMode::Space},
                 {11, 115200, 1, TParityMode::Odd}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Baud);
        TComSettings s = TMemoryPort::Settings("COM1", c.Baud);
        s.Parity = static_cast<std::uint8_t>(c.Parity);
        QStringList notes;
        const TLineSettings line = ResolveLineSettings(s, notes);
        EXPECT_EQ(line.BaudRate, c.Rate);
        EXPECT_EQ(line.Parity, c.Mode);
        EXPECT_EQ(line.ParityCheck, c.Parity != 0);
        EXPECT_TRUE(notes.isEmpty());
    }
}

// What Linux cannot do falls back with a note; values out of range are held
// at the defaults; CTS and the RTS handshake share one flow control.
TEST(LineSettings, FallBacksAndOutOfRangeValuesComeWithANote) {
    TComSettings s = TMemoryPort::Settings("COM1");
    s.StopBits = 1;
    s.RTSControl = 3;
    s.DTRControl = 2;
    s.DSRControl = true;
    QStringList notes;
    const TLineSettings line = ResolveLineSettings(s, notes);
    EXPECT_EQ(line.StopBits, TStopBitsMode::Two);
    EXPECT_EQ(line.Rts, TLineLevel::On);
    EXPECT_EQ(line.Dtr, TLineLevel::On);
    EXPECT_FALSE(line.HardwareFlow);
    EXPECT_EQ(notes.size(), 4);

    s = TMemoryPort::Settings("COM1", 200);
    s.Parity = 9;
    s.StopBits = 7;
    s.RTSControl = 8;
    s.DTRControl = 5;
    notes.clear();
    EXPECT_EQ(ResolveLineSettings(s, notes), TLineSettings{});
    EXPECT_EQ(notes.size(), 5);

    s = TMemoryPort::Settings("COM1");
    s.CTSControl = true;
    s.RTSControl = 2;
    notes.clear();
    EXPECT_TRUE(ResolveLineSettings(s, notes).HardwareFlow);
    EXPECT_TRUE(notes.isEmpty());
    s.RTSControl = 0;
    EXPECT_TRUE(ResolveLineSettings(s, notes).HardwareFlow);
    EXPECT_EQ(notes.size(), 1);
}

// What waits on the line when the poll ticks, what the ticks deliver, what
// is reported, and how many bytes stay.
TEST(ReceiverPoll, FramesAreCutOutOfTheStream) {
    QByteArray bad = Good;
    bad[9] = 0x23;
    const std::uint8_t marked[7] = {0x02, 0x7F, 0xAA, 0x7F, 0xAA, 0x00, 0x00};
    const QByteArray markedFrame = QByteArray::fromHex("7faa") +
                                   QByteArray(reinterpret_cast<const char*>(marked), 7) +
                                   char(ByteSum(marked, 7));
    const QByteArray cut = Good.mid(1) + Good.repeated(3) + '\0';
    const struct {
        const char* Name;
        QByteArray Bytes;
        std::uint32_t Errors;
        int Ticks, Frames, Left;
        QStringList Messages;
    } cases[] = {
        {"ten bytes wait for an eleventh", Good, 0, 3, 0, 10, {}},
        {"one tick drains every waiting frame", Good.repeated(5) + '\x7f', 0, 1, 5, 1, {}},
        {"a bad sum is reported and the next frame goes on",
         bad + Good + '\0',
         0,
         1,
         1,
         1,
         {"Ошибка контрольной суммы (34<>35)"}},
        {"a stray byte costs a tick", "\x55" + Good + '\0', 0, 1, 0, 11, {}},
        {"... and then the frame comes", "\x55" + Good + '\0', 0, 2, 1, 1, {}},
        {"7F without AA costs both bytes", "\x7f\x7f" + Good + '\0', 0, 1, 0, 11, {}},
        {"... and then the frame comes", "\x7f\x7f" + Good + '\0', 0, 2, 1, 1, {}},
        // Nine stray bytes, none 7F: one attempt per tick, the tenth delivers.
        {"a frame that lost its first byte", cut, 0, 9, 0, 31, {}},
        {"... and the three behind it", cut, 0, 10, 3, 1, {}},
        {"markers inside the payload", markedFrame.repeated(2) + '\0', 0, 1, 2, 1, {}},
        {"line errors with their flags",
         Good + '\0',
         LineErrorParity | LineErrorFraming,
         1,
         1,
         1,
         {"Ошибка приёма кадра 12"}},
        {"line errors while too few bytes wait, once",
         "\x7f\xaa",
         LineErrorOverrun,
         2,
         0,
         2,
         {"Ошибка приёма кадра 2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TMemoryPort port;
        port.Open();
        port.Line->AddLineErrors(c.Errors);
        port.Line->Feed(c.Bytes);
        for (int i = 0; i < c.Ticks; ++i)
            port.Receiver.PollTick();
        EXPECT_EQ(port.Frames.size(), c.Frames);
        EXPECT_EQ(port.Line->InQueueCount(), c.Left);
        EXPECT_EQ(port.Messages, c.Messages);
        EXPECT_EQ(port.Line->OverReads, 0);
        if (c.Frames > 0 && !port.Frames.isEmpty()) {
            EXPECT_EQ(port.Frames.back().at(1), c.Bytes.at(c.Bytes.size() - c.Left - 7));
        } else if (c.Left == c.Bytes.size()) {
            EXPECT_EQ(port.Line->ReadCalls, 0);
        }
    }
}

// A handler that ticks (as a message box's event loop would) does nothing;
// one that stops ends the tick; errors it causes are reported; so are errors
// that the output query took.
TEST(ReceiverPoll, FrameHandlersThatTickStopOrSeeErrors) {
    TMemoryPort port;
    port.Open();
    int nested = 0;
    port.Receiver.OnFrame = [&] {
        ++nested;
        port.Receiver.PollTick();
        EXPECT_TRUE(port.Receiver.Polling());
        if (nested == 3)
            port.Line->AddLineErrors(LineErrorBreak);
    };
    port.Line->Feed(Good.repeated(3) + '\0');
    port.Receiver.PollTick();
    EXPECT_EQ(nested, 3);
    EXPECT_FALSE(port.Receiver.Polling());
    EXPECT_EQ(port.Messages, QStringList{QStringLiteral("Ошибка приёма кадра 16")});

    port.Line->AddLineErrors(LineErrorOverrun);
    EXPECT_TRUE(port.Receiver.OutQueueEmpty()); // the handshake's query
    port.Receiver.PollTick();
    EXPECT_EQ(port.Messages.last(), QStringLiteral("Ошибка приёма кадра 2"));

    TMemoryPort stopping;
    stopping.Open();
    stopping.Receiver.OnFrame = [&] {
        ++nested;
        stopping.Receiver.Stop();
    };
    stopping.Line->Feed(Good.repeated(3) + '\0');
    stopping.Receiver.PollTick();
    EXPECT_EQ(nested, 4);
    EXPECT_FALSE(stopping.Receiver.Opened());
}

TEST(ReceiverPoll, ALostLineGivesUpItsLastWholeFrameAndAClosedPortTicksQuietly) {
    TMemoryPort port;
    port.Receiver.PollTick();
    EXPECT_TRUE(port.Messages.isEmpty());
    port.Open();
    port.Line->Feed(Good.repeated(2));
    port.Line->SetLost(true);
    port.Receiver.PollTick();
    EXPECT_EQ(port.Frames.size(), 2);
    EXPECT_EQ(port.Messages, QStringList{QStringLiteral("Порт COM1 недоступен: связь потеряна")});
    EXPECT_FALSE(port.Receiver.Opened());
    port.Receiver.PollTick();
    EXPECT_EQ(port.Messages.size(), 1); // reported once
}

// The pulse must end within 50 ms; the command goes out at the first look
// after its fall. With a clock that moves at each reading of it, and with
// one that moves only when the send sleeps: then the send looks once per
// pause (never reads the line to pass the time) and gives up exactly where
// the window's whole milliseconds run out.
TEST(ReceiverSend, WritesAfterTheFallOfAPulseWithinTheWindow) {
    const struct {
        std::int64_t RiseMs, FallMs;
        bool Sent;
    } cases[] = {
        {10, 30, true}, {45, 50, true}, {40, 60, false}, {0, 1000, false}, {1000, 2000, false}};
    for (const auto& c : cases) {
        for (const std::int64_t step : {100, 0}) {
            SCOPED_TRACE(testing::Message() << c.RiseMs << ".." << c.FallMs << " step " << step);
            TCtsLine line(c.RiseMs, c.FallMs, step);
            EXPECT_EQ(line.Port.Receiver.Send(QByteArray::fromHex("815890")), c.Sent);
            EXPECT_EQ(line.Port.Line->Written,
                      c.Sent ? QByteArray::fromHex("815890") : QByteArray());
            EXPECT_EQ(line.Port.Messages,
                      c.Sent ? QStringList()
                             : QStringList{QStringLiteral("Отсутствует сигнал CTS")});
            const std::int64_t now = line.Clock.NowMicros();
            const std::int64_t end = (TKavReceiver::CtsWindowMs + 1) * 1000;
            if (c.Sent) {
                EXPECT_GE(now, c.FallMs * 1000);
                EXPECT_LE(now, c.FallMs * 1000 + TKavReceiver::CtsPauseMicros + 2 * step);
            } else {
                EXPECT_EQ(now, step == 0 ? end : now);
                EXPECT_LE(now, 53'000);
            }
            if (step == 0) { // one look per pause, and one more at each end of the pulse
                EXPECT_LE(line.Looks, now / TKavReceiver::CtsPauseMicros + 4);
            }
        }
    }
}

TEST(ReceiverSend, NoCtsAtAllAClosedPortAndAnUnknownCommandSendNothing) {
    TCtsLine none(0, 0, 100);
    none.Port.Line->CtsSource = [] { return std::optional<bool>(); };
    EXPECT_FALSE(none.Port.Receiver.Send(QByteArray::fromHex("815890")));
    EXPECT_EQ(none.Port.Messages.size(), 1);

    TManualClock clock;
    TMemoryPort closed(clock);
    EXPECT_FALSE(closed.Receiver.Send(QByteArray::fromHex("815890")));
    EXPECT_TRUE(closed.Messages.isEmpty());
    EXPECT_EQ(clock.NowMicros(), 0); // no wait at all

    TCtsLine line(2, 4, 100);
    EXPECT_FALSE(line.Port.Receiver.SendCommand(145, TCommandValues{}));
    EXPECT_EQ(line.Port.Line->WriteCalls, 0);
    EXPECT_TRUE(line.Port.Receiver.SendCommand(CmdAdcRequest, TCommandValues{}));
    EXPECT_EQ(line.Port.Line->Written, QByteArray::fromHex("815890"));
    EXPECT_TRUE(line.Port.Messages.isEmpty());
}

// The simulator knows its next CTS change: the send sleeps from edge to
// edge; silent, it sleeps once to the end of the window and gives up.
TEST(ReceiverSend, SleepsFromEdgeToEdgeOfTheSimulatorsPulse) {
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
    static_cast<TSimDevice*>(receiver.Device())->Instrument().SetSilent(true);
    EXPECT_FALSE(receiver.SendCommand(CmdAdcRequest, TCommandValues{}));
    EXPECT_EQ(clock.NowMicros(), 24'000 + (TKavReceiver::CtsWindowMs + 1) * 1000);
    EXPECT_EQ(messages, QStringList{QStringLiteral("Отсутствует сигнал CTS")});
}

// Start runs the poll at the settings' period (below 10 ms: 10, never a
// poll without pause) and reopens with the held settings; Stop closes.
TEST(ReceiverTimer, StartRunsThePollAtTheSettingsPeriodAndStopClosesThePort) {
    TestApp();
    TMemoryPort port;
    TComSettings settings = TMemoryPort::Settings("COM3");
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
    port.Receiver.Start();
    EXPECT_TRUE(port.Receiver.Opened());
    EXPECT_EQ(port.Line->OpenedName, QStringLiteral("COM3"));

    for (const auto& [timeOut, period] : {std::pair{0, 10}, {1, 10}, {9, 10}, {10, 10}}) {
        settings.TimeOut = static_cast<std::uint16_t>(timeOut);
        port.Receiver.SetSettings(settings);
        EXPECT_EQ(port.Receiver.PollTimer().interval(), period) << timeOut;
    }
}
