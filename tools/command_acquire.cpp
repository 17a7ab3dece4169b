// kavtool acquire --port NAME [--ini Kav.ini] [--sweeps N] [--out DIR] [--silence S]
// [--reconnect S] [--sim-speed N]: the receive mode without a window. Runs the
// handshake, then saves each complete forward sweep under the automatic-save
// name; message-window lines go to stdout, one progress line per sweep to
// stderr. No frame for --silence seconds (10) ends the run, and so does a
// line that goes away, unless --reconnect asks to open the port again for
// that many seconds; either end is one line and exit status 1, with every
// complete sweep kept.

#include "tools/kavtool.h"
#include "tools/link_command.h"

#include "acquisition/acquire_run.h"
#include "session/headless_session.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

int RunAcquire(const QStringList& args) {
    const TParsedArgs parsed = ParseArgs(
        args, {"--port", "--ini", "--sweeps", "--out", "--silence", "--reconnect", "--sim-speed"});
    // Each complete sweep is saved here (the link setup turns the automatic
    // save at the next sweep's start off).
    TLinkCommandSetup setup;
    if (const auto status = PrepareLinkCommand("acquire", parsed, setup))
        return *status;
    int sweeps = 0;
    if (!PositiveOption(parsed.Options, QStringLiteral("--sweeps"), 1, sweeps))
        return UsageError("acquire", QStringLiteral("--sweeps needs a positive number"));
    int silence = 0;
    const int defaultSilence = static_cast<int>(TAcquireRun::DefaultSilenceMs / 1000);
    if (!PositiveOption(parsed.Options, QStringLiteral("--silence"), defaultSilence, silence))
        return UsageError("acquire",
                          QStringLiteral("--silence needs a positive number of seconds"));
    int reconnect = 0;
    if (parsed.Options.count(QStringLiteral("--reconnect")) &&
        !PositiveOption(parsed.Options, QStringLiteral("--reconnect"), 0, reconnect))
        return UsageError("acquire",
                          QStringLiteral("--reconnect needs a positive number of seconds"));
    TKavCfg& cfg = setup.Cfg;
    if (const auto problem = TAcquireRun::SettingsProblem(cfg)) {
        const auto ini = parsed.Options.find(QStringLiteral("--ini"));
        return Fail(ini == parsed.Options.end()
                        ? *problem
                        : QStringLiteral("settings file \"%1\": %2").arg(ini->second, *problem));
    }
    const auto out = parsed.Options.find(QStringLiteral("--out"));
    if (out != parsed.Options.end()) {
        if (!QDir().mkpath(out->second))
            return Fail(QStringLiteral("cannot create the directory \"%1\"").arg(out->second));
        cfg.WorkDir = out->second;
    }

    int exitCode = ExitOk;
    THeadlessSession session(cfg, SystemDecimalSep(), setup.MessageSink(), setup.ErrorSink());
    QElapsedTimer clock;
    clock.start();
    TAcquireRun::TCallbacks callbacks;
    callbacks.Note = [](const QString& text) { PrintError(QStringLiteral("kavtool: ") + text); };
    callbacks.Saved = [&](int saved, int points, const QString& path) {
        PrintError(QStringLiteral("sweep %1/%2: %3 points, %4 s elapsed, %5")
                       .arg(saved)
                       .arg(sweeps)
                       .arg(points)
                       .arg(clock.elapsed() / 1000.0, 0, 'f', 2)
                       .arg(path));
    };
    // Frames already waiting in this poll are still handed over; they change
    // nothing more.
    callbacks.Finished = [&](bool complete, const QString& reason) {
        exitCode = complete ? ExitOk : ExitBadInput;
        if (!reason.isEmpty())
            PrintError(QStringLiteral("kavtool: ") + reason);
        QCoreApplication::exit(exitCode);
    };
    TAcquirePatience patience;
    patience.SilenceMs = std::int64_t{silence} * 1000;
    patience.ReconnectMs = std::int64_t{reconnect} * 1000;
    TAcquireRun run(session.Engine(), session.Settings(), session.Store(), sweeps, callbacks,
                    patience);

    if (const auto status = StartLink(session, setup))
        return *status;

    // The run measures silence and tries a lost port again on its own clock.
    QTimer watch;
    watch.setInterval(250);
    QObject::connect(&watch, &QTimer::timeout, [&] { run.Tick(clock.elapsed()); });
    watch.start();
    run.Tick(clock.elapsed());

    QuitEventLoopOnStopSignals();
    QCoreApplication::exec();
    if (StopSignalReceived() && run.SavedSweeps() < sweeps) {
        exitCode = ExitBadInput;
        PrintError(QStringLiteral("kavtool: interrupted after %1 sweep(s)").arg(run.SavedSweeps()));
    }
    session.Engine().SetReceiveMode(false);
    PrintError(QStringLiteral("acquired %1 sweep(s) in %2 s")
                   .arg(run.SavedSweeps())
                   .arg(clock.elapsed() / 1000.0, 0, 'f', 2));
    return exitCode;
}
