// kavtool listen --port NAME [--ini Kav.ini] [--sim-speed N]: for checking a
// cable. Opens the link, runs the handshake so that the instrument talks, and
// prints every decoded frame and every message-window line until SIGINT or
// SIGTERM.

#include "tools/kavtool.h"

#include "acquisition/headless_session.h"
#include "link/protocol.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

// Lines are written as they come, also into a pipe.
void PrintNow(const QString& text) {
    PrintLine(text);
    std::fflush(stdout);
}

QString Hex(std::uint8_t b) {
    return QStringLiteral("0x%1").arg(b, 2, 16, QLatin1Char('0'));
}

// One line per frame: its type and what it carries.
QString DescribeFrame(const TTelemetry& t) {
    const QString head = QStringLiteral("frame %1: ").arg(t.Type);
    switch (t.Kind) {
    case TTelemetryKind::UnitIdentity:
        return head + QStringLiteral("identity program=%1 serial=%2").arg(t.Program).arg(t.Serial);
    case TTelemetryKind::DataPoint:
        return head + QStringLiteral("point field=%1 value=%2 gain=%3 speed=%4")
                          .arg(t.Field)
                          .arg(t.Value)
                          .arg(Hex(t.GainByte), Hex(t.SpeedByte));
    case TTelemetryKind::SweepStart:
        return head + QStringLiteral("forward sweep max=%1 min=%2 field=%3")
                          .arg(t.PoleMax)
                          .arg(t.PoleMin)
                          .arg(t.Field);
    case TTelemetryKind::Status:
        return head + QStringLiteral("status ukorr=%1 dpole=%2 nmax=%3 gain=%4 speed=%5")
                          .arg(t.Ukorr)
                          .arg(t.DPole)
                          .arg(t.NMax)
                          .arg(Hex(t.GainByte), Hex(t.SpeedByte));
    case TTelemetryKind::HandshakeReset:
        return head + QStringLiteral("handshake reset");
    case TTelemetryKind::BoundsAccepted:
        return head + QStringLiteral("bounds accepted max=%1 min=%2").arg(t.PoleMax).arg(t.PoleMin);
    case TTelemetryKind::BackwardSweep:
        return head + QStringLiteral("backward sweep field=%1").arg(t.Field);
    case TTelemetryKind::GainSpeedAccepted:
        return head + QStringLiteral("gain and speed accepted kodampl=%1 kodrapid=%2")
                          .arg(t.KodAmpl)
                          .arg(t.KodRapid);
    case TTelemetryKind::CorrectionAccepted:
        return head + QStringLiteral("correction accepted ukorr=%1").arg(t.Ukorr);
    case TTelemetryKind::AdcReading:
        return head + QStringLiteral("adc value=%1").arg(t.AdcValue);
    case TTelemetryKind::LinkReady:
        return head + QStringLiteral("link ready");
    case TTelemetryKind::FieldReport:
        return head + QStringLiteral("field report field=%1 x=%2").arg(t.Field).arg(t.Value);
    case TTelemetryKind::BlockChecksumError:
    case TTelemetryKind::UnexpectedByte:
        return head + QStringLiteral("instrument error %1<>%2").arg(t.Expected).arg(t.Received);
    case TTelemetryKind::ByteTimeout:
    case TTelemetryKind::UartTimeout:
        return head + QStringLiteral("instrument error");
    case TTelemetryKind::Ignored:
        break;
    }
    QString bytes;
    for (int i = 1; i <= 6; ++i)
        bytes += QLatin1Char(' ') + Hex(t.B[i]);
    return head + QStringLiteral("unknown type, payload") + bytes;
}

} // namespace

int RunListen(const QStringList& args) {
    const TParsedArgs parsed = ParseArgs(args, {"--port", "--ini", "--sim-speed"});
    if (!parsed.Error.isEmpty())
        return UsageError("listen", parsed.Error);
    if (!parsed.Positional.isEmpty())
        return UsageError("listen",
                          QStringLiteral("unexpected argument %1").arg(parsed.Positional[0]));
    const auto port = parsed.Options.find(QStringLiteral("--port"));
    if (port == parsed.Options.end() || port->second.isEmpty())
        return UsageError("listen", QStringLiteral("--port is required"));
    int speedUp = 1;
    if (const auto it = parsed.Options.find(QStringLiteral("--sim-speed"));
        it != parsed.Options.end()) {
        bool ok = false;
        speedUp = it->second.toInt(&ok);
        if (!ok || speedUp < 1)
            return UsageError("listen", QStringLiteral("--sim-speed needs a positive number"));
    }

    TKavCfg cfg;
    QString error;
    const auto ini = parsed.Options.find(QStringLiteral("--ini"));
    if (!LoadToolSettings(cfg, ini == parsed.Options.end() ? QString() : ini->second, &error))
        return Fail(error);
    cfg.Port.PortName = port->second.left(PortNameMaxLength);
    cfg.AutoSave = false;

    QString failure;
    THeadlessSession session(cfg, SystemDecimalSep(), PrintNow, [&](const QString& text) {
        PrintError(text);
        if (failure.isEmpty())
            failure = text;
    });
    TAcquisitionEngine& engine = session.Engine();
    int frames = 0;
    engine.OnTelemetry = [&](const TTelemetry& t) {
        ++frames;
        PrintNow(DescribeFrame(t));
    };

    engine.SetReceiveMode(true);
    if (!session.Receiver().Opened())
        return Fail(failure.isEmpty() ? QStringLiteral("cannot open port %1").arg(cfg.Port.PortName)
                                      : failure);
    if (speedUp > 1 && !session.SpeedUpSimulator(speedUp))
        PrintError(QStringLiteral("kavtool: --sim-speed applies only to the port SIM"));

    QuitEventLoopOnStopSignals();
    QCoreApplication::exec();
    engine.SetReceiveMode(false);
    PrintError(QStringLiteral("%1 frame(s) received").arg(frames));
    std::fflush(stdout);
    return ExitOk;
}
