// kavtool-port: the part of kavtool that talks to the spectrometer. kavtool
// runs it in its own place for acquire and listen, with the same arguments,
// so that Qt Serial Port and libudev are loaded only by the commands that
// open a port. Its messages and exit statuses are kavtool's.

#include "base/atomic_file.h"
#include "tools/kavtool.h"

#include <QCoreApplication>

namespace {

struct TPortCommand {
    const char* Name;
    int (*Run)(const QStringList& args);
};

constexpr TPortCommand PortCommands[] = {
    {"acquire", RunAcquire},
    {"listen", RunListen},
};

} // namespace

int main(int argc, char** argv) {
    IgnoreFileSizeSignal();
    KeepQtNotesOffTheTerminal();
    const QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    // The messages in the language kavtool was asked for.
    if (!TakeLanguageOption(args))
        return ExitUsage;
    const QString name = args.isEmpty() ? QString() : args.takeFirst();
    for (const TPortCommand& command : PortCommands) {
        if (name == QLatin1StringView(command.Name))
            return command.Run(args);
    }
    PrintError(QStringLiteral("kavtool-port: kavtool runs it for acquire and listen; see "
                              "kavtool --help"));
    return ExitUsage;
}
