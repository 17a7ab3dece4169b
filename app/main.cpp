// Kav7: the operator's program of the field-swept magnetic resonance
// spectrometer.

#include "app/kav_icon.h"
#include "app/main_window.h"
#include "app/message_box_port.h"
#include "app/screenshot.h"
#include "base/atomic_file.h"

#include <QApplication>

int main(int argc, char** argv) {
    IgnoreFileSizeSignal();
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("КАВ"));
    QApplication::setWindowIcon(KavIcon());
    QApplication::setDesktopFileName(QStringLiteral("kav7"));

    TMessageBoxPort port;
    TKavMainForm window(port);
    port.SetParent(&window);
    window.show();
    ScheduleScreenshotFromEnvironment(window, [&window] { return SweepHalfWay(window); });
    return app.exec();
}
