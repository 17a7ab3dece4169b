// kavtool listen --port NAME [--ini Kav.ini] [--sim-speed N]: for checking a
// cable. Opens the link, runs the handshake so that the instrument talks, and
// prints every decoded frame and every message-window line until SIGINT or
// SIGTERM, or until the line goes away (one line, exit status 1).

#include "tools/kavtool.h"
#include "tools/link_command.h"

#include "link/protocol.h"
#include "session/headless_session.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

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
    TLinkCommandSetup setup;
    if (const auto status = PrepareLinkCommand("listen", parsed, setup))
        return *status;
    TKavCfg& cfg = setup.Cfg;

    THeadlessSession session(cfg, SystemDecimalSep(), setup.MessageSink(), setup.ErrorSink());
    TAcquisitionEngine& engine = session.Engine();
    int frames = 0;
    engine.OnTelemetry = [&](const TTelemetry& t) {
        ++frames;
        PrintNow(DescribeFrame(t));
    };

    int exitCode = ExitOk;
    engine.OnLinkLost = [&](const QString& text) {
        exitCode = ExitBadInput;
        PrintError(QStringLiteral("kavtool: the line to the spectrometer dropped: ") + text);
        QCoreApplication::exit(exitCode);
    };

    if (const auto status = StartLink(session, setup))
        return *status;

    QuitEventLoopOnStopSignals();
    QCoreApplication::exec();
    engine.OnLinkLost = nullptr;
    engine.SetReceiveMode(false);
    PrintError(QStringLiteral("%1 frame(s) received").arg(frames));
    std::fflush(stdout);
    return exitCode;
}
