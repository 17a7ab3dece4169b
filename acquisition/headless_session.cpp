#include "acquisition/headless_session.h"

#include "sim/device_factory.h"
#include "sim/sim_device.h"
#include "spectrum/point_store.h"

#include <QCoreApplication>
#include <QTimer>
#include <csignal>

THeadlessSession::THeadlessSession(TKavCfg& cfg, QChar decimalSep, TConsoleView::TLineSink messages,
                                   TConsoleView::TLineSink errors)
    : Cfg(cfg), Format(cfg, decimalSep), View(std::move(messages), std::move(errors)) {
    Processing = std::make_unique<TProcessingActions>(Tables.Store(), Tables.Undo(), Cfg, Results,
                                                      View, decimalSep);
    Link = std::make_unique<TKavReceiver>(DefaultDeviceFactory());
    Acq = std::make_unique<TAcquisitionEngine>(Cfg, *Link, Tables.Store(), Readings, *Processing,
                                               Format, View, View);
}

THeadlessSession::~THeadlessSession() {
    Acq.reset();
    Link.reset();
}

bool THeadlessSession::SpeedUpSimulator(int factor) {
    auto* sim = dynamic_cast<TSimDevice*>(Link->Device());
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
