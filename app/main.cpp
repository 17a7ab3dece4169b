// Kav7: the operator's program of the field-swept magnetic resonance
// spectrometer.

#include "app/kav_icon.h"
#include "app/main_window.h"
#include "app/message_box_port.h"
#include "app/qt_translation.h"
#include "app/screenshot.h"
#include "base/atomic_file.h"
#include "session/kav_session.h"
#include "sim/device_factory.h"

#include <QApplication>
#include <QCoreApplication>

int main(int argc, char** argv) {
    IgnoreFileSizeSignal();
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QCoreApplication::translate("Main", "КАВ"));
    QApplication::setWindowIcon(KavIcon());
    QApplication::setDesktopFileName(QStringLiteral("kav7"));
    // Qt's own buttons and dialogs speak the program's language.
    if (!InstallQtTranslation(QStringLiteral("ru")))
        qWarning("kav7: Qt's Russian catalog qtbase_ru.qm is missing; Qt's dialogs stay English");

    TMessageBoxPort port;
    TKavSession session(DefaultDeviceFactory(), LocaleDecimalSeparator());
    TKavMainForm window(session, port);
    port.SetParent(&window);
    window.show();
    ScheduleScreenshotFromEnvironment(window, [&session] { return SweepHalfWay(session); });
    return app.exec();
}
