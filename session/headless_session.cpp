#include "session/headless_session.h"

#include "sim/device_factory.h"
#include "sim/sim_device.h"

#include <QCoreApplication>
#include <QTimer>
#include <csignal>

THeadlessSession::THeadlessSession(const TKavCfg& cfg, QChar decimalSep,
                                   TConsoleView::TLineSink messages, TConsoleView::TLineSink errors)
    : View(std::move(messages), std::move(errors)), Core(DefaultDeviceFactory(), decimalSep) {
    // The settings are the caller's, in force before the engine starts.
    Core.Settings() = cfg;
    Core.Attach({NoSpectrumView, View, View, View});
}

bool THeadlessSession::SpeedUpSimulator(int factor) {
    auto* sim = dynamic_cast<TSimDevice*>(Core.Receiver().Device());
    if (sim == nullptr)
        return false;
    if (factor > 1) {
        // The device's own timer moves the instrument one tick on; this adds
        // the rest of the factor at every tick.
        QObject::connect(&sim->Timer(), &QTimer::timeout, [sim, factor] {
            sim->Instrument().Advance(TSimDevice::TickMs * (factor - 1));
        });
    }
    return true;
}

namespace {

volatile std::sig_atomic_t StopSignal = 0;

void OnStopSignal(int) {
    StopSignal = 1;
}

} // namespace

void QuitEventLoopOnStopSignals() {
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
    // A handler may only set a flag; the loop looks at it between events.
    auto* watch = new QTimer(QCoreApplication::instance());
    watch->setInterval(50);
    QObject::connect(watch, &QTimer::timeout, [] {
        if (StopSignal != 0)
            QCoreApplication::quit();
    });
    watch->start();
}

bool StopSignalReceived() {
    return StopSignal != 0;
}
