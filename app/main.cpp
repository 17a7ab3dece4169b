// Kav7: the operator's program of the field-swept magnetic resonance
// spectrometer.

#include "app/kav_icon.h"
#include "app/main_window.h"
#include "app/message_box_port.h"
#include "app/screenshot.h"
#include "base/atomic_file.h"
#include "session/kav_session.h"
#include "sim/device_factory.h"

#include <QApplication>

int main(int argc, char** argv) {
    IgnoreFileSizeSignal();
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("КАВ"));
    QApplication::setWindowIcon(KavIcon());
    QApplication::setDesktopFileName(QStringLiteral("kav7"));

    TMessageBoxPort port;
    TKavSession session(DefaultDeviceFactory(), LocaleDecimalSeparator());
    TKavMainForm window(session, port);
    port.SetParent(&window);
    window.show();
    ScheduleScreenshotFromEnvironment(window, [&session] { return SweepHalfWay(session); });
    return app.exec();
}
