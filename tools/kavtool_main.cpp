// kavtool: the command-line companion of Kav7 for spectrum files.

#include "tools/kavtool.h"
#include "tools/kavtool_help.h"

#include "base/atomic_file.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <array>
#include <cstring>
#include <memory>

namespace {

// One line per subcommand; each lives in its own command_*.cpp.
const std::array Commands = {
    TKavtoolCommand{"info", "info FILE.kav", RunInfo},
    TKavtoolCommand{"export",
                    "export FILE.kav [--format tsv|csv|bes3t|png|svg] [-o OUT] [--ini Kav.ini] "
                    "[--size WxH]",
                    RunExport, ExportPaints},
    TKavtoolCommand{"format",
                    "format field|ampl|area|corr|adc VALUE... [--ini Kav.ini] [--gain INDEX]",
                    RunFormat},
    TKavtoolCommand{"import",
                    "import FILE.tsv -o FILE.kav\n  kavtool import FILE.DSC|FILE.csv|FILE.txt -o "
                    "FILE.kav [--ini Kav.ini] [--gain INDEX] [--absolute] [--any-axis] [--json]",
                    RunImport},
    TKavtoolCommand{"process",
                    "process IN.kav [--ini Kav.ini] [--visirs A B] [--gain INDEX] OP... [-o "
                    "OUT.kav] [--json]\n      OP: filter N | gliss H | equalize | integrate | "
                    "minmax NOISE STEP | ratio NOISE STEP | dpph",
                    RunProcess},
    TKavtoolCommand{"acquire",
                    "acquire --port NAME [--ini Kav.ini] [--sweeps N] [--out DIR] [--silence S] "
                    "[--reconnect S] [--sim-speed N]",
                    RunAcquire},
    TKavtoolCommand{"listen", "listen --port NAME [--ini Kav.ini] [--sim-speed N]", RunListen},
    TKavtoolCommand{"print",
                    "print IN.kav -o OUT.pdf [--ini Kav.ini] [--visirs A B] [--gain INDEX] [OP...]",
                    RunPrint, PrintPaints},
    TKavtoolCommand{"fit",
                    "fit IN.kav [--ini Kav.ini] [--visirs A B] [--lines N] "
                    "[--shape lorentz|gauss|voigt] [--freq MHz] [--json]",
                    RunFit},
    TKavtoolCommand{"compare",
                    "compare SAMPLE.kav REFERENCE.kav [--ini Kav.ini] "
                    "[--normalize none|pp|integral|records] [--shift] [--ref-spins N] [--json]",
                    RunCompare},
};

QString UsageText() {
    QString text = QStringLiteral("usage: kavtool COMMAND ARGS...\ncommands:");
    for (const TKavtoolCommand& c : Commands)
        text += QStringLiteral("\n  kavtool ") + QString::fromUtf8(c.Usage);
    return text + QStringLiteral("\n  kavtool COMMAND --help | kavtool --version");
}

const TKavtoolCommand* FindCommand(const QString& name) {
    for (const TKavtoolCommand& c : Commands) {
        if (name == QLatin1StringView(c.Name))
            return &c;
    }
    return nullptr;
}

// The application a command runs in: Qt Core, or Qt Gui for a command that
// draws. Drawing needs no display: without one, Qt's offscreen platform.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const TKavtoolCommand* command = args.isEmpty() ? nullptr : FindCommand(args.takeFirst());
    if (command && command->Paints && command->Paints(args)) {
        if (qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
            qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

const char* CommandUsage(const char* name) {
    for (const TKavtoolCommand& c : Commands) {
        if (std::strcmp(c.Name, name) == 0)
            return c.Usage;
    }
    return "";
}

int main(int argc, char** argv) {
    if (const int status = HelpOrVersion(argc, argv); status >= 0)
        return status;
    IgnoreFileSizeSignal();
    KeepQtNotesOffTheTerminal();
    const std::unique_ptr<QCoreApplication> app = MakeApplication(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    if (args.isEmpty()) {
        PrintError(UsageText());
        return ExitUsage;
    }
    const QString name = args.takeFirst();
    if (name == u"help" || name == u"--help" || name == u"-h") {
        PrintLine(UsageText());
        return ExitOk;
    }
    if (const TKavtoolCommand* command = FindCommand(name))
        return command->Run(args);
    PrintError(QStringLiteral("kavtool: unknown command \"%1\"").arg(name));
    PrintError(UsageText());
    return ExitUsage;
}
