#include "link/command_frame.h"

#include "base/instrument_tables.h"
#include "link/protocol.h"

#include <algorithm>

namespace {

constexpr int DefaultGainRow = 0;
constexpr int DefaultSpeedRow = 10;

std::uint16_t Word(std::int32_t value) {
    return static_cast<std::uint16_t>(std::clamp(value, 0, 65535));
}

void AppendWord(QByteArray& frame, std::uint16_t value) {
    frame.append(static_cast<char>(value >> 8));
    frame.append(static_cast<char>(value & 0xFF));
}

QByteArray Framed(std::uint8_t code, const QByteArray& parameters) {
    QByteArray frame;
    frame.reserve(3 + parameters.size() + 1);
    frame.append(static_cast<char>(CommandStartMarker));
    frame.append(static_cast<char>(CommandSecondMarker));
    frame.append(static_cast<char>(code));
    frame.append(parameters);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(frame.constData());
    frame.append(static_cast<char>(ByteSum(bytes + 2, static_cast<int>(frame.size()) - 2)));
    return frame;
}

} // namespace

TCommandValues CommandValuesOf(const TKavCfg& cfg) {
    TCommandValues values;
    values.PoleMax = cfg.PoleMax;
    values.PoleMin = cfg.PoleMin;
    values.Amplifying = cfg.Amplifying;
    values.Rapid = cfg.Rapid;
    values.Correction = cfg.Correction;
    return values;
}

TSentParameters SentParameters(const TCommandValues& values) {
    const bool gainInTable = values.Amplifying >= 0 && values.Amplifying < GainRowCount;
    const bool speedInTable = values.Rapid >= 0 && values.Rapid < SpeedRowCount;
    const auto gain = static_cast<std::size_t>(gainInTable ? values.Amplifying : DefaultGainRow);
    const auto speed = static_cast<std::size_t>(speedInTable ? values.Rapid : DefaultSpeedRow);
    TSentParameters sent;
    sent.PoleMax = Word(values.PoleMax);
    sent.PoleMin = Word(values.PoleMin);
    sent.KodAmpl = GainTable[gain].KodAmpl;
    sent.KodRapid = SpeedTable[speed].KodRapid;
    sent.Ukorr =
        static_cast<std::uint16_t>(std::clamp(values.Correction, -32767, 32767) + CorrectionOffset);
    return sent;
}

QByteArray BuildCommand(int code, const TCommandValues& values) {
    const TSentParameters sent = SentParameters(values);
    QByteArray parameters;
    switch (code) {
    case CmdLinkRequest:
        parameters.append(static_cast<char>(0xFF));
        parameters.append(static_cast<char>(0xFF));
        break;
    case CmdSweepBounds:
        AppendWord(parameters, sent.PoleMax);
        AppendWord(parameters, sent.PoleMin);
        break;
    case CmdGainSpeed:
        parameters.append(static_cast<char>(sent.KodAmpl));
        parameters.append(static_cast<char>(sent.KodRapid));
        break;
    case CmdCorrection:
        AppendWord(parameters, sent.Ukorr);
        break;
    case CmdAdcRequest: {
        QByteArray frame;
        frame.append(static_cast<char>(CommandStartMarker));
        frame.append(static_cast<char>(CommandSecondMarker));
        frame.append(static_cast<char>(CmdAdcRequest));
        return frame;
    }
    default:
        return {};
    }
    return Framed(static_cast<std::uint8_t>(code), parameters);
}
