// kavtool acquire --port NAME [--ini Kav.ini] [--sweeps N] [--out DIR] [--sim-speed N]:
// the receive mode without a window. Runs the handshake, then saves each
// complete forward sweep under the automatic-save name; message-window lines
// go to stdout, one progress line per sweep to stderr.

#include "tools/kavtool.h"
#include "tools/link_command.h"

#include "acquisition/headless_session.h"
#include "sim/sim_device.h"
#include "spectrum/spectrum_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>

namespace {

// Saves that may fail one after another before the run gives up.
constexpr int MaxFailedSaves = 3;

} // namespace

int RunAcquire(const QStringList& args) {
    const TParsedArgs parsed =
        ParseArgs(args, {"--port", "--ini", "--sweeps", "--out", "--sim-speed"});
    // Each complete sweep is saved here (the link setup turns the automatic
    // save at the next sweep's start off).
    TLinkCommandSetup setup;
    if (const auto status = PrepareLinkCommand("acquire", parsed, setup))
        return *status;
    int sweeps = 0;
    if (!PositiveOption(parsed.Options, QStringLiteral("--sweeps"), 1, sweeps))
        return UsageError("acquire", QStringLiteral("--sweeps needs a positive number"));
    TKavCfg& cfg = setup.Cfg;
    const auto out = parsed.Options.find(QStringLiteral("--out"));
    if (out != parsed.Options.end()) {
        if (!QDir().mkpath(out->second))
            return Fail(QStringLiteral("cannot create the directory \"%1\"").arg(out->second));
        cfg.WorkDir = out->second;
    }
    // The instrument's own speed is taken over when the link comes up; the
    // settings' speed is then chosen again, as the operator would.
    const std::uint8_t wantedRapid = cfg.Rapid;

    int exitCode = ExitOk;
    QString failure;
    THeadlessSession session(cfg, SystemDecimalSep(), PrintNow, [&](const QString& text) {
        PrintError(text);
        if (failure.isEmpty())
            failure = text;
    });
    TAcquisitionEngine& engine = session.Engine();

    bool ready = false;
    bool speedChosen = false;
    bool counting = false;
    int saved = 0;
    int failedSaves = 0;
    QElapsedTimer clock;
    clock.start();

    bool done = false;
    auto finish = [&](int code, const QString& reason) {
        // Frames already waiting in this poll are still handed over; they
        // change nothing more.
        done = true;
        exitCode = code;
        if (!reason.isEmpty())
            PrintError(QStringLiteral("kavtool: ") + reason);
        QCoreApplication::exit(code);
    };

    engine.OnHandshakeEnd = [&](bool acknowledged) {
        if (done)
            return;
        if (!acknowledged)
            return finish(ExitBadInput,
                          QStringLiteral("the spectrometer did not take the parameters"));
        if (!speedChosen && cfg.Rapid != wantedRapid) {
            speedChosen = true;
            engine.Controls().SpeedBoxChange(wantedRapid);
            return;
        }
        speedChosen = true;
        ready = true;
    };
    engine.OnSweepPhase = [&](std::uint8_t phase) {
        if (done)
            return;
        if (phase == 1) {
            counting = ready;
            return;
        }
        if (!counting)
            return;
        counting = false;
        const int points = session.PointCount();
        const QString name = AutoSaveName(cfg.NameMask, cfg.NumbMask);
        if (!engine.AutoSaveNow()) {
            if (++failedSaves >= MaxFailedSaves)
                finish(ExitBadInput, QStringLiteral("%1 saves failed in a row").arg(failedSaves));
            return;
        }
        failedSaves = 0;
        ++saved;
        PrintError(QStringLiteral("sweep %1/%2: %3 points, %4 s elapsed, %5")
                       .arg(saved)
                       .arg(sweeps)
                       .arg(points)
                       .arg(clock.elapsed() / 1000.0, 0, 'f', 2)
                       .arg(AutoSavePath(cfg.WorkDir, name)));
        if (saved >= sweeps)
            finish(ExitOk, QString());
    };

    if (const auto status = StartLink(session, setup, failure))
        return *status;

    QuitEventLoopOnStopSignals();
    QCoreApplication::exec();
    if (StopSignalReceived() && saved < sweeps) {
        exitCode = ExitBadInput;
        PrintError(QStringLiteral("kavtool: interrupted after %1 sweep(s)").arg(saved));
    }
    engine.SetReceiveMode(false);
    PrintError(QStringLiteral("acquired %1 sweep(s) in %2 s")
                   .arg(saved)
                   .arg(clock.elapsed() / 1000.0, 0, 'f', 2));
    return exitCode;
}
