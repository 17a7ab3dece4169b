// kavtool-port: the part of kavtool that talks to the spectrometer. kavtool
// runs it in its own place for acquire and listen, with the same arguments,
// so that Qt Serial Port and libudev are loaded only by the commands that
// open a port. Its messages and exit statuses are kavtool's.

#include "base/atomic_file.h"
#include "tools/kavtool.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    IgnoreFileSizeSignal();
    KeepQtNotesOffTheTerminal();
    const QCoreApplication app(argc, argv);
    return RunPartCommand({{"acquire", RunAcquire}, {"listen", RunListen}},
                          QStringLiteral("kavtool-port: kavtool runs it for acquire and listen; "
                                         "see kavtool --help"));
}
