#include "app/screenshot.h"

#include "acquisition/acquisition_engine.h"
#include "app/main_window.h"
#include "base/atomic_file.h"
#include "session/kav_session.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <memory>

namespace {

constexpr int FirstLookMs = 1500;
constexpr int LongestWaitMs = 20000;
constexpr int LookEveryMs = 100;

// The main window and every other window of the program shown on the same
// screen, as the screen shows them; the main window alone where the
// platform cannot read its screen back.
QImage Picture(QWidget& window) {
    QRect area = window.frameGeometry();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->screen() == window.screen())
            area |= w->frameGeometry();
    if (QScreen* screen = window.screen()) {
        const QPixmap shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
        if (!shot.isNull() && shot.size() == area.size())
            return shot.toImage();
    }
    return window.grab().toImage();
}

void Take(QWidget& window, const QString& path) {
    // Written whole or not at all, as every file of the program.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QString reason = QStringLiteral("cannot encode the picture");
    const bool saved =
        Picture(window).save(&buffer, "PNG") && WriteFileAtomically(path, png, &reason);
    QTextStream err(stderr);
    if (saved)
        err << "screenshot: " << path << Qt::endl;
    else
        err << "screenshot failed: " << path << ": " << reason << Qt::endl;
    // Quit without the close sequence: a look at the window is no session.
    QApplication::exit(saved ? 0 : 1);
}

} // namespace

bool SweepHalfWay(TKavSession& session) {
    if (!session.Receiving())
        return true;
    const TAcquisitionState& s = session.Engine().State();
    const TKavCfg& cfg = session.Settings();
    return s.SweepPhase == 1 && s.LastField >= (cfg.PoleMin + cfg.PoleMax) / 2;
}

void ScheduleScreenshotFromEnvironment(QWidget& window, std::function<bool()> ready) {
    const QString path = qEnvironmentVariable("KAV7_SCREENSHOT");
    if (path.isEmpty())
        return;
    QTimer::singleShot(FirstLookMs, &window, [&window, path, ready] {
        auto* look = new QTimer(&window);
        auto waited = std::make_shared<QElapsedTimer>();
        waited->start();
        QObject::connect(look, &QTimer::timeout, &window, [&window, path, ready, look, waited] {
            if (ready && !ready() && waited->elapsed() < LongestWaitMs)
                return;
            look->stop();
            Take(window, path);
        });
        look->start(LookEveryMs);
    });
}
