// The serial protocol's frames and message lines, and the port and the
// receiver on an in-memory line: opening, the poll, the send, the timer.
#include "base/instrument_tables.h"
#include "link/com_port.h"
#include "link/command_frame.h"
#include "link/line_settings.h"
#include "link/memory_serial_device.h"
#include "link/port_names.h"
#include "link/protocol.h"
#include "link/receiver.h"
#include "link/telemetry.h"
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
    // Markers inside the payload: 02 7F AA 7F AA 00 00, sum 54.
    const QByteArray marked = QByteArray::fromHex("7faa027faa7faa000054");
    const QByteArray cut = Good.mid(1) + Good.repeated(3) + '\0';
    const char* const none = nullptr;
    const struct {
        const char* Name;
        QByteArray Bytes;
        std::uint32_t Errors;
        int Ticks, Frames, Left;
        const char* Message;
    } cases[] = {
        {"ten bytes wait for an eleventh", Good, 0, 3, 0, 10, none},
        {"one tick drains every waiting frame", Good.repeated(5) + '\x7f', 0, 1, 5, 1, none},
        {"a bad sum", bad + Good + '\0', 0, 1, 1, 1, "Ошибка контрольной суммы (34<>35)"},
        {"a stray byte costs a tick", "\x55" + Good + '\0', 0, 1, 0, 11, none},
        {"... and then the frame comes", "\x55" + Good + '\0', 0, 2, 1, 1, none},
        {"7F without AA costs both bytes", "\x7f\x7f" + Good + '\0', 0, 1, 0, 11, none},
        {"... and then the frame comes", "\x7f\x7f" + Good + '\0', 0, 2, 1, 1, none},
        // Nine stray bytes, none 7F: one attempt per tick, the tenth delivers.
        {"a frame that lost its first byte", cut, 0, 9, 0, 31, none},
        {"... and the three behind it", cut, 0, 10, 3, 1, none},
        {"markers inside the payload", marked.repeated(2) + '\0', 0, 1, 2, 1, none},
        {"line errors with their flags", Good + '\0', LineErrorParity | LineErrorFraming, 1, 1, 1,
         "Ошибка приёма кадра 12"},
        {"line errors while too few bytes wait, once", "\x7f\xaa", LineErrorOverrun, 2, 0, 2,
         "Ошибка приёма кадра 2"},
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
        EXPECT_EQ(port.Messages, c.Message ? QStringList{c.Message} : QStringList());
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
// after its fall. A clock moving only when the send sleeps shows that it
// looks once per pause and gives up where the window's milliseconds run out.
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

// ---- The protocol's frames ---------------------------------------------------

namespace {

TTelemetry Decode(std::initializer_list<std::uint8_t> body) {
    std::uint8_t bytes[7] = {};
    int i = 0;
    for (std::uint8_t b : body)
        bytes[i++] = b;
    return DecodeTelemetry(bytes);
}

const QString Six = QStringLiteral("      ");

} // namespace

// Marker bytes, the code, the values high byte first, the sum of code and
// values; gain and speed as the instrument's codes of their table rows.
TEST(CommandFrame, TheFiveCommandsAsTheInstrumentExpectsThem) {
    const TCommandValues start{65519, 0, 0, 10, 0};
    const struct {
        int Code;
        TCommandValues Values;
        const char* Hex;
    } cases[] = {
        {CmdLinkRequest, start, "815896ffff94"},
        {CmdSweepBounds, start, "81586fffef00005d"},
        {CmdGainSpeed, start, "81587a010883"},
        {CmdCorrection, start, "815885800005"},
        {CmdAdcRequest, start, "815890"},
        {CmdSweepBounds, {0x1234, 0x0102, 0, 0, 0}, "81586f12340102b8"},
        {CmdGainSpeed, {0, 0, 7, 2, 0}, "81587a090184"},  // "200": 9, " СТОП": 1
        {CmdGainSpeed, {0, 0, 8, 12, 0}, "81587a010883"}, // outside: the default rows
        {CmdCorrection, {0, 0, 0, 0, -32767}, "815885000186"},
        {CmdCorrection, {0, 0, 0, 0, 32767}, "815885ffff83"},
        {CmdCorrection, {0, 0, 0, 0, -40000}, "815885000186"}, // held at the end
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildCommand(c.Code, c.Values).toHex(), c.Hex) << c.Code;
    for (int code : {0, 1, 50, 112, 145, 255, 1000})
        EXPECT_TRUE(BuildCommand(code, TCommandValues{}).isEmpty()) << code;
}

TEST(Telemetry, StatusAndDataPointCarryTheStates) {
    const TTelemetry t = Decode({4, 0x80, 0x00, 4, 0, 0x81, 0x08});
    EXPECT_EQ(t.Kind, TTelemetryKind::Status);
    EXPECT_EQ(t.Ukorr, 32768);
    EXPECT_EQ(t.DPole, 4);
    EXPECT_TRUE(t.HasStates);
    EXPECT_TRUE(t.Gain.ManualGain);
    EXPECT_FALSE(t.Gain.ManualCorrection);
    EXPECT_EQ(t.Gain.KodAmpl, 1);
    EXPECT_FALSE(t.Speed.ManualSpeed);
    EXPECT_EQ(t.Speed.KodRapid, 8);

    const TTelemetry p = Decode({2, 0x10, 0x00, 0x08, 0x00, 0x45, 0x83});
    EXPECT_EQ(p.Kind, TTelemetryKind::DataPoint);
    EXPECT_EQ(p.Field, 0x1000);
    EXPECT_EQ(p.Value, 0x0800);
    EXPECT_TRUE(p.Gain.ManualCorrection);
    EXPECT_FALSE(p.Gain.ManualGain);
    EXPECT_EQ(p.Gain.KodAmpl, 5);
    EXPECT_TRUE(p.Speed.ManualSpeed);
    EXPECT_EQ(p.Speed.KodRapid, 3);
    EXPECT_TRUE(TelemetryLines(p).isEmpty());
    EXPECT_EQ(Decode({14, 9, 9, 9, 9, 0x12, 0x34}).Field, 0x1234); // a backward sweep
    const TTelemetry adc = Decode({44, 0x0F, 0xFF});
    EXPECT_EQ(adc.Kind, TTelemetryKind::AdcReading);
    EXPECT_EQ(adc.AdcValue, 4095);

    // The reported codes back to their table rows (or none).
    const std::pair<int, int> gainRows[] = {{1, 0}, {8, 6}, {9, 7}, {7, -1}};
    const std::pair<int, int> speedRows[] = {{15, 11}, {0, 1}, {1, 2}, {8, 10}, {10, -1}};
    for (const auto& [kod, row] : gainRows)
        EXPECT_EQ(GainRowOfKod(kod), row) << kod;
    for (const auto& [kod, row] : speedRows)
        EXPECT_EQ(SpeedRowOfKod(kod), row) << kod;
    EXPECT_EQ(GainFactor(-1), 1); // outside the table: factor 1
    EXPECT_EQ(GainFactor(GainRowCount), 1);
}

TEST(Telemetry, LinesOfTheReportingAndErrorMessages) {
    const struct {
        std::initializer_list<std::uint8_t> Body;
        QStringList Lines;
    } cases[] = {
        {{4, 0x80, 0x00, 4, 0, 0x81, 0x08},
         {"Tm04. Ukorr=32768", Six + "dPOLE=4", Six + "Nmax=0", Six + "KodAmpl=129",
          Six + "KodRapid=8"}},
        {{1, 7, 42}, {"Tm01. PROGRAMMA=7", Six + "SPnomer=42"}},
        {{3, 0xFF, 0xEF, 0x00, 0x64, 0x01, 0x00},
         {"Tm03. POLEmax=65519", Six + "POLEmin=100", Six + "POLE=256"}},
        {{11, 0x12, 0x34, 0, 1}, {"Tm11. POLEmaxP=4660", Six + "POLEminP=1"}},
        {{22, 9, 15}, {"Tm22. KodAmpl=9", Six + "KodRapid=15"}},
        {{33, 0x00, 0x01}, {"Tm33. Ukorr=1"}},
        {{77, 0x01, 0x00, 0x00, 0x02}, {"Tm77. Поле:256  X=2"}},
        {{100, 5, 7}, {"Несоответствие принятого байта ожидаемому (5<>7)"}},
        {{90, 200, 13}, {"Несовпадение КС принятой блоком", "  (200<>13)"}},
        {{98}, {"Отсутствие приема байта в теченние 10 мсек"}},
        {{99}, {"Отсутствие прерывания по UART в течение 5 сек"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TelemetryLines(Decode(c.Body)), c.Lines) << int(*c.Body.begin());
    for (int type : {0, 5, 6, 8, 9, 10, 12, 13, 15, 16, 17, 18, 19, 20, 21, 45, 101, 255}) {
        const TTelemetry t = Decode({static_cast<std::uint8_t>(type), 1, 2, 3, 4, 5, 6});
        EXPECT_EQ(t.Kind, TTelemetryKind::Ignored) << type;
        EXPECT_TRUE(TelemetryLines(t).isEmpty()) << type;
        EXPECT_FALSE(FlagSetBy(t.Type).has_value()) << type;
        EXPECT_FALSE(ClearsHandshake(t.Type)) << type;
    }
}

TEST(Handshake, EachAnswerIsItsCommandMinusAHundred) {
    const THandshakeFlag flags[] = {THandshakeFlag::LinkReady, THandshakeFlag::BoundsAck,
                                    THandshakeFlag::GainSpeedAck, THandshakeFlag::CorrAck};
    const std::uint8_t commands[] = {150, 111, 122, 133};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(CommandOfFlag(flags[i]), commands[i]);
        const std::uint8_t answer = AnswerTypeOf(commands[i]);
        EXPECT_EQ(answer, commands[i] - 100);
        EXPECT_EQ(FlagSetBy(answer), flags[i]);
    }
    EXPECT_EQ(AnswerTypeOf(144), 0);
    EXPECT_TRUE(ClearsHandshake(1));
    EXPECT_TRUE(ClearsHandshake(7));
}
