#include "link/protocol.h"
#include "link/telemetry.h"

#include <gtest/gtest.h>

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

TEST(Telemetry, StatusMessageWithManualGain) {
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
    EXPECT_EQ(SpeedRowOfKod(t.Speed.KodRapid), 10); // " 1 мин"
    EXPECT_EQ(TelemetryLines(t), (QStringList{"Tm04. Ukorr=32768", Six + "dPOLE=4", Six + "Nmax=0",
                                              Six + "KodAmpl=129", Six + "KodRapid=8"}));
}

TEST(Telemetry, DataPointCarriesFieldValueAndStates) {
    const TTelemetry t = Decode({2, 0x10, 0x00, 0x08, 0x00, 0x45, 0x83});
    EXPECT_EQ(t.Kind, TTelemetryKind::DataPoint);
    EXPECT_EQ(t.Field, 0x1000);
    EXPECT_EQ(t.Value, 0x0800);
    EXPECT_TRUE(t.Gain.ManualCorrection);
    EXPECT_FALSE(t.Gain.ManualGain);
    EXPECT_EQ(t.Gain.KodAmpl, 5);
    EXPECT_TRUE(t.Speed.ManualSpeed);
    EXPECT_EQ(t.Speed.KodRapid, 3);
    EXPECT_TRUE(TelemetryLines(t).isEmpty());
}

TEST(Telemetry, LinesOfTheReportingMessages) {
    EXPECT_EQ(TelemetryLines(Decode({1, 7, 42})),
              (QStringList{"Tm01. PROGRAMMA=7", Six + "SPnomer=42"}));
    EXPECT_EQ(TelemetryLines(Decode({3, 0xFF, 0xEF, 0x00, 0x64, 0x01, 0x00})),
              (QStringList{"Tm03. POLEmax=65519", Six + "POLEmin=100", Six + "POLE=256"}));
    EXPECT_EQ(TelemetryLines(Decode({11, 0x12, 0x34, 0, 1})),
              (QStringList{"Tm11. POLEmaxP=4660", Six + "POLEminP=1"}));
    EXPECT_EQ(TelemetryLines(Decode({22, 9, 15})),
              (QStringList{"Tm22. KodAmpl=9", Six + "KodRapid=15"}));
    EXPECT_EQ(TelemetryLines(Decode({33, 0x00, 0x01})), QStringList{"Tm33. Ukorr=1"});
    EXPECT_EQ(TelemetryLines(Decode({77, 0x01, 0x00, 0x00, 0x02})),
              QStringList{"Tm77. Поле:256  X=2"});
}

TEST(Telemetry, InstrumentErrorLines) {
    EXPECT_EQ(TelemetryLines(Decode({100, 5, 7})),
              QStringList{QStringLiteral("Несоответствие принятого байта ожидаемому (5<>7)")});
    EXPECT_EQ(TelemetryLines(Decode({90, 200, 13})),
              (QStringList{QStringLiteral("Несовпадение КС принятой блоком"),
                           QStringLiteral("  (200<>13)")}));
    EXPECT_EQ(TelemetryLines(Decode({98})),
              QStringList{QStringLiteral("Отсутствие приема байта в теченние 10 мсек")});
    EXPECT_EQ(TelemetryLines(Decode({99})),
              QStringList{QStringLiteral("Отсутствие прерывания по UART в течение 5 сек")});
}

TEST(Telemetry, UnknownTypesMeanNothing) {
    for (int type : {0, 5, 6, 8, 9, 10, 12, 13, 15, 16, 17, 18, 19, 20, 21, 45, 101, 255}) {
        const TTelemetry t = Decode({static_cast<std::uint8_t>(type), 1, 2, 3, 4, 5, 6});
        EXPECT_EQ(t.Kind, TTelemetryKind::Ignored) << type;
        EXPECT_TRUE(TelemetryLines(t).isEmpty()) << type;
        EXPECT_FALSE(FlagSetBy(t.Type).has_value()) << type;
        EXPECT_FALSE(ClearsHandshake(t.Type)) << type;
    }
}

TEST(Telemetry, BackwardSweepAndAdcReading) {
    EXPECT_EQ(Decode({14, 9, 9, 9, 9, 0x12, 0x34}).Field, 0x1234);
    const TTelemetry adc = Decode({44, 0x0F, 0xFF});
    EXPECT_EQ(adc.Kind, TTelemetryKind::AdcReading);
    EXPECT_EQ(adc.AdcValue, 4095);
}

TEST(Telemetry, TableRowsOfTheReportedCodes) {
    EXPECT_EQ(GainRowOfKod(1), 0);
    EXPECT_EQ(GainRowOfKod(8), 6);
    EXPECT_EQ(GainRowOfKod(9), 7);
    EXPECT_EQ(GainRowOfKod(7), -1);
    EXPECT_EQ(SpeedRowOfKod(15), 11);
    EXPECT_EQ(SpeedRowOfKod(0), 1);
    EXPECT_EQ(SpeedRowOfKod(1), 2);
    EXPECT_EQ(SpeedRowOfKod(10), -1);
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
