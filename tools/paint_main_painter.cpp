// kavtool-paint: the part of kavtool that draws. kavtool runs it in its own
// place for print and for pictures (export --format png|svg), with the same
// arguments, so that the Qt Gui, fonts and the PDF writer are loaded only by
// the commands that use them. Its messages are kavtool's.

#include "tools/paint_commands_painter.h"

#include "base/atomic_file.h"
#include "tools/kavtool.h"

#include <QGuiApplication>

int main(int argc, char** argv) {
    IgnoreFileSizeSignal();
    KeepQtNotesOffTheTerminal();
    // Drawing needs no display: without one, Qt's offscreen platform.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    return RunPartCommand({{"print", RunPrint}, {"export", RunPictureExport}},
                          QStringLiteral("kavtool-paint: kavtool runs it for print and export "
                                         "--format png|svg; see kavtool --help"));
}
