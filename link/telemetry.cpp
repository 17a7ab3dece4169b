#include "link/telemetry.h"

#include "base/instrument_tables.h"
#include "link/protocol.h"

#include <QCoreApplication>

namespace {

std::uint16_t Word(const std::uint8_t* b, int high) {
    return static_cast<std::uint16_t>(b[high] << 8 | b[high + 1]);
}

TTelemetryKind KindOf(std::uint8_t type) {
    switch (type) {
    case TmUnitIdentity:
        return TTelemetryKind::UnitIdentity;
    case TmDataPoint:
        return TTelemetryKind::DataPoint;
    case TmSweepStart:
        return TTelemetryKind::SweepStart;
    case TmStatus:
        return TTelemetryKind::Status;
    case TmHandshakeReset:
        return TTelemetryKind::HandshakeReset;
    case TmBoundsAccepted:
        return TTelemetryKind::BoundsAccepted;
    case TmBackwardSweep:
        return TTelemetryKind::BackwardSweep;
    case TmGainSpeedAccepted:
        return TTelemetryKind::GainSpeedAccepted;
    case TmCorrectionAccepted:
        return TTelemetryKind::CorrectionAccepted;
    case TmAdcReading:
        return TTelemetryKind::AdcReading;
    case TmLinkReady:
        return TTelemetryKind::LinkReady;
    case TmFieldReport:
        return TTelemetryKind::FieldReport;
    case TmBlockChecksumError:
        return TTelemetryKind::BlockChecksumError;
    case TmByteTimeout:
        return TTelemetryKind::ByteTimeout;
    case TmUartTimeout:
        return TTelemetryKind::UartTimeout;
    case TmUnexpectedByte:
        return TTelemetryKind::UnexpectedByte;
    default:
        return TTelemetryKind::Ignored;
    }
}

const QString Indent = QStringLiteral("      ");

QString Num(unsigned value) {
    return QString::number(value);
}

} // namespace

TGainState DecodeGainState(std::uint8_t b) {
    TGainState state;
    state.ManualGain = (b & StateManualBit) != 0;
    state.ManualCorrection = (b & StateManualCorrectionBit) != 0;
    state.KodAmpl = b & StateCodeMask;
    return state;
}

TSpeedState DecodeSpeedState(std::uint8_t b) {
    TSpeedState state;
    state.ManualSpeed = (b & StateManualBit) != 0;
    state.KodRapid = b & StateCodeMask;
    return state;
}

int GainRowOfKod(std::uint8_t kod) {
    for (int row = 0; row < GainRowCount; ++row)
        if (GainTable[static_cast<std::size_t>(row)].KodAmpl == kod)
            return row;
    return -1;
}

int SpeedRowOfKod(std::uint8_t kod) {
    for (int row = SpeedRowCount - 1; row >= 0; --row)
        if (SpeedTable[static_cast<std::size_t>(row)].KodRapid == kod)
            return row;
    return -1;
}

TTelemetry DecodeTelemetry(const std::uint8_t* body) {
    TTelemetry t;
    t.Type = body[0];
    t.Kind = KindOf(t.Type);
    for (int i = 1; i <= 6; ++i)
        t.B[i] = body[i];
    const std::uint8_t* b = t.B;

    switch (t.Kind) {
    case TTelemetryKind::UnitIdentity:
        t.Program = b[1];
        t.Serial = b[2];
        break;
    case TTelemetryKind::DataPoint:
        t.Field = Word(b, 1);
        t.Value = Word(b, 3);
        t.HasStates = true;
        break;
    case TTelemetryKind::SweepStart:
        t.PoleMax = Word(b, 1);
        t.PoleMin = Word(b, 3);
        t.Field = Word(b, 5);
        break;
    case TTelemetryKind::Status:
        t.Ukorr = Word(b, 1);
        t.DPole = b[3];
        t.NMax = b[4];
        t.HasStates = true;
        break;
    case TTelemetryKind::BoundsAccepted:
        t.PoleMax = Word(b, 1);
        t.PoleMin = Word(b, 3);
        break;
    case TTelemetryKind::BackwardSweep:
        t.Field = Word(b, 5);
        break;
    case TTelemetryKind::GainSpeedAccepted:
        t.KodAmpl = b[1];
        t.KodRapid = b[2];
        break;
    case TTelemetryKind::CorrectionAccepted:
        t.Ukorr = Word(b, 1);
        break;
    case TTelemetryKind::AdcReading:
        t.AdcValue = Word(b, 1);
        break;
    case TTelemetryKind::FieldReport:
        t.Field = Word(b, 1);
        t.Value = Word(b, 3);
        break;
    case TTelemetryKind::BlockChecksumError:
    case TTelemetryKind::UnexpectedByte:
        t.Expected = b[1];
        t.Received = b[2];
        break;
    default:
        break;
    }
    if (t.HasStates) {
        t.GainByte = b[5];
        t.SpeedByte = b[6];
        t.Gain = DecodeGainState(b[5]);
        t.Speed = DecodeSpeedState(b[6]);
    }
    return t;
}

QStringList TelemetryLines(const TTelemetry& t) {
    switch (t.Kind) {
    case TTelemetryKind::UnitIdentity:
        return {QStringLiteral("Tm01. PROGRAMMA=") + Num(t.Program),
                Indent + QStringLiteral("SPnomer=") + Num(t.Serial)};
    case TTelemetryKind::SweepStart:
        return {QStringLiteral("Tm03. POLEmax=") + Num(t.PoleMax),
                Indent + QStringLiteral("POLEmin=") + Num(t.PoleMin),
                Indent + QStringLiteral("POLE=") + Num(t.Field)};
    case TTelemetryKind::Status:
        return {QStringLiteral("Tm04. Ukorr=") + Num(t.Ukorr),
                Indent + QStringLiteral("dPOLE=") + Num(t.DPole),
                Indent + QStringLiteral("Nmax=") + Num(t.NMax),
                Indent + QStringLiteral("KodAmpl=") + Num(t.GainByte),
                Indent + QStringLiteral("KodRapid=") + Num(t.SpeedByte)};
    case TTelemetryKind::BoundsAccepted:
        return {QStringLiteral("Tm11. POLEmaxP=") + Num(t.PoleMax),
                Indent + QStringLiteral("POLEminP=") + Num(t.PoleMin)};
    case TTelemetryKind::GainSpeedAccepted:
        return {QStringLiteral("Tm22. KodAmpl=") + Num(t.KodAmpl),
                Indent + QStringLiteral("KodRapid=") + Num(t.KodRapid)};
    case TTelemetryKind::CorrectionAccepted:
        return {QStringLiteral("Tm33. Ukorr=") + Num(t.Ukorr)};
    case TTelemetryKind::FieldReport:
        return {QCoreApplication::translate("Telemetry", "Tm77. Поле:") + Num(t.Field) +
                QStringLiteral("  X=") + Num(t.Value)};
    case TTelemetryKind::BlockChecksumError:
        return {QCoreApplication::translate("Telemetry", "Несовпадение КС принятой блоком"),
                QStringLiteral("  (") + Num(t.Expected) + QStringLiteral("<>") + Num(t.Received) +
                    QStringLiteral(")")};
    case TTelemetryKind::ByteTimeout:
        return {
            QCoreApplication::translate("Telemetry", "Отсутствие приема байта в теченние 10 мсек")};
    case TTelemetryKind::UartTimeout:
        return {QCoreApplication::translate("Telemetry",
                                            "Отсутствие прерывания по UART в течение 5 сек")};
    case TTelemetryKind::UnexpectedByte:
        return {
            QCoreApplication::translate("Telemetry", "Несоответствие принятого байта ожидаемому") +
            QStringLiteral(" (") + Num(t.Expected) + QStringLiteral("<>") + Num(t.Received) +
            QStringLiteral(")")};
    default:
        return {};
    }
}

std::optional<THandshakeFlag> FlagSetBy(std::uint8_t type) {
    switch (type) {
    case TmLinkReady:
        return THandshakeFlag::LinkReady;
    case TmBoundsAccepted:
        return THandshakeFlag::BoundsAck;
    case TmGainSpeedAccepted:
        return THandshakeFlag::GainSpeedAck;
    case TmCorrectionAccepted:
        return THandshakeFlag::CorrAck;
    default:
        return std::nullopt;
    }
}

bool ClearsHandshake(std::uint8_t type) {
    return type == TmUnitIdentity || type == TmHandshakeReset;
}

std::uint8_t AnswerTypeOf(std::uint8_t command) {
    switch (command) {
    case CmdLinkRequest:
    case CmdSweepBounds:
    case CmdGainSpeed:
    case CmdCorrection:
        return static_cast<std::uint8_t>(command - 100);
    default:
        return 0;
    }
}

std::uint8_t CommandOfFlag(THandshakeFlag flag) {
    switch (flag) {
    case THandshakeFlag::LinkReady:
        return CmdLinkRequest;
    case THandshakeFlag::BoundsAck:
        return CmdSweepBounds;
    case THandshakeFlag::GainSpeedAck:
        return CmdGainSpeed;
    case THandshakeFlag::CorrAck:
        return CmdCorrection;
    }
    return 0;
}
