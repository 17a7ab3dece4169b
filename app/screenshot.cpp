#include "app/screenshot.h"

#include "spectrum/atomic_file.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QTextStream>
#include <QTimer>
#include <QWidget>
#include <cstdio>

void ScheduleScreenshotFromEnvironment(QWidget& window) {
    const QString path = qEnvironmentVariable("KAV7_SCREENSHOT");
    if (path.isEmpty())
        return;
    QTimer::singleShot(1500, &window, [&window, path] {
        // Written whole or not at all, as every file of the program.
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QString reason = QStringLiteral("cannot encode the picture");
        const bool saved = window.grab().toImage().save(&buffer, "PNG") &&
                           WriteFileAtomically(path, png, &reason);
        QTextStream err(stderr);
        if (saved)
            err << "screenshot: " << path << Qt::endl;
        else
            err << "screenshot failed: " << path << ": " << reason << Qt::endl;
        // Quit without the close sequence: a look at the window is no session.
        QApplication::exit(saved ? 0 : 1);
    });
}
