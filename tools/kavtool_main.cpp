// kavtool: the command-line companion of Kav7 for spectrum files.

#include "tools/kavtool.h"
#include "tools/kavtool_help.h"
#include "tools/part_program.h"

#include "base/atomic_file.h"

#include "config/language.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <malloc.h>
#include <optional>

namespace {

struct TRunner {
    const char* Name;
    int (*Run)(const QStringList& args);
};

// The commands kavtool runs itself, each in its own command_*.cpp; those
// that draw run in kavtool-paint, those that open a port in kavtool-port.
constexpr std::array Runners = {
    TRunner{"info", RunInfo},       TRunner{"export", RunExport},   TRunner{"format", RunFormat},
    TRunner{"import", RunImport},   TRunner{"process", RunProcess}, TRunner{"fit", RunFit},
    TRunner{"compare", RunCompare},
};

// The part that runs the command line's command, if not kavtool itself;
// "--lang X" may stand before the command's name.
std::optional<TKavtoolPart> PartFor(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    if (const qsizetype at = args.indexOf(QStringLiteral("--lang")); at >= 0)
        args.remove(at, std::min<qsizetype>(2, args.size() - at));
    if (args.isEmpty())
        return std::nullopt;
    const TKavtoolCommand* command = FindCommand(args.takeFirst());
    if (command && command->OpensPort)
        return TKavtoolPart::Port;
    if (command && command->Paints && command->Paints(args))
        return TKavtoolPart::Paint;
    return std::nullopt;
}

// A batch opens file after file with the same two 256 KiB point tables:
// memory a file freed is kept for the next one instead of going back to the
// system and being zeroed and faulted in again, page by page, per file.
void KeepFreedMemory() {
    mallopt(M_MMAP_THRESHOLD, 4 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
}

} // namespace

int main(int argc, char** argv) {
    if (const int status = HelpOrVersion(argc, argv); status >= 0)
        return status;
    IgnoreFileSizeSignal();
    if (const std::optional<TKavtoolPart> part = PartFor(argc, argv))
        return RunPartProgram(*part, argv);
    KeepQtNotesOffTheTerminal();
    KeepFreedMemory();
    const QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    // --lang ru|en anywhere on the line: the language of the messages,
    // before the Language of the settings file read.
    if (!TakeLanguageOption(args))
        return ExitUsage;
    if (args.isEmpty()) {
        PrintError(UsageText());
        return ExitUsage;
    }
    const QString name = args.takeFirst();
    if (name == u"help" || name == u"--help" || name == u"-h") {
        PrintLine(UsageText());
        return ExitOk;
    }
    for (const TRunner& runner : Runners) {
        if (name == QLatin1StringView(runner.Name))
            return runner.Run(args);
    }
    PrintError(QStringLiteral("kavtool: unknown command \"%1\"").arg(name));
    PrintError(UsageText());
    return ExitUsage;
}
