// The bytes of the serial protocol: the command frames the program sends
// and the telemetry frames it decodes, with the message lines they give.
#include "link/command_frame.h"
#include "link/instrument_tables.h"
#include "link/protocol.h"
#include "link/telemetry.h"
#include "qstring_printer.h"

#include <gtest/gtest.h>

namespace {

TCommandValues Values(int poleMax, int poleMin, int gainRow, int speedRow, int correction) {
    TCommandValues v;
    v.PoleMax = poleMax;
    v.PoleMin = poleMin;
    v.Amplifying = gainRow;
    v.Rapid = speedRow;
    v.Correction = correction;
    return v;
}

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
    const TCommandValues start = Values(65519, 0, 0, 10, 0);
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
        {CmdSweepBounds, Values(0x1234, 0x0102, 0, 0, 0), "81586f12340102b8"},
        {CmdGainSpeed, Values(0, 0, 7, 2, 0), "81587a090184"},  // "200": 9, " СТОП": 1
        {CmdGainSpeed, Values(0, 0, 8, 12, 0), "81587a010883"}, // outside: the default rows
        {CmdCorrection, Values(0, 0, 0, 0, -32767), "815885000186"},
        {CmdCorrection, Values(0, 0, 0, 0, 32767), "815885ffff83"},
        {CmdCorrection, Values(0, 0, 0, 0, -40000), "815885000186"}, // held at the end
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
