#pragma once

// Runs the built kavtool (or another program of the machine) as a user
// would and collects what it says.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <sys/resource.h>

#ifndef KAVTOOL_PATH
#error "KAVTOOL_PATH names the built kavtool: kav_test_runs_kavtool(<test>) in the folder's .cmake"
#endif

struct TKavtoolRun {
    int Exit = -1; // -1 when it crashed or did not finish
    QString Out;
    QString Err;
};

struct TKavtoolOptions {
    QString WorkDir;                      // empty: the test's own
    QString Locale = QStringLiteral("C"); // LC_ALL and LANG
    int TimeoutMs = 60000;
    rlim_t FileSizeLimit = RLIM_INFINITY; // bytes a file may grow to (ulimit -f)
    // As a lab script under cron runs it: no display, no Qt platform chosen,
    // no session (XDG_RUNTIME_DIR unset).
    bool NoDisplay = false;
};

inline TKavtoolRun RunProgram(const QString& program, const QStringList& args,
                              const TKavtoolOptions& options = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), options.Locale);
    env.insert(QStringLiteral("LANG"), options.Locale);
    if (options.NoDisplay) {
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
            env.remove(QString::fromLatin1(name));
    }
    p.setProcessEnvironment(env);
    if (!options.WorkDir.isEmpty())
        p.setWorkingDirectory(options.WorkDir);
    if (options.FileSizeLimit != RLIM_INFINITY) {
        const rlim_t limit = options.FileSizeLimit;
        p.setChildProcessModifier([limit] {
            rlimit r{};
            getrlimit(RLIMIT_FSIZE, &r);
            r.rlim_cur = limit;
            setrlimit(RLIMIT_FSIZE, &r);
        });
    }
    p.start(program, args);
    TKavtoolRun r;
    if (!p.waitForFinished(options.TimeoutMs)) {
        p.kill();
        p.waitForFinished();
        r.Err = program + QStringLiteral(" did not finish: ") + args.join(u' ') + u'\n';
    } else if (p.exitStatus() == QProcess::NormalExit) {
        r.Exit = p.exitCode();
    }
    r.Out = QString::fromUtf8(p.readAllStandardOutput());
    r.Err += QString::fromUtf8(p.readAllStandardError());
    return r;
}

inline TKavtoolRun RunKavtool(const QStringList& args, const TKavtoolOptions& options = {}) {
    return RunProgram(QStringLiteral(KAVTOOL_PATH), args, options);
}
