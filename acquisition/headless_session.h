#pragma once

#include "acquisition/acquisition_engine.h"
#include "acquisition/console_view.h"
#include "config/kav_cfg.h"
#include "link/receiver.h"
#include "processing/processing_actions.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/point_slot.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_results.h"
#include "spectrum/value_format.h"

#include <memory>

// Everything the receive mode works on, for a run without a window: the
// stores, the readings and results, the console view, the processing actions,
// the receiver on the default devices ("SIM" included) and the engine.
class THeadlessSession {
public:
    THeadlessSession(TKavCfg& cfg, QChar decimalSep, TConsoleView::TLineSink messages,
                     TConsoleView::TLineSink errors);
    ~THeadlessSession();

    TAcquisitionEngine& Engine() { return *Acq; }
    TKavReceiver& Receiver() { return *Link; }
    const TPointTable& Store() const { return Tables.Store(); }

    // With the simulated spectrometer on the line, its time runs `factor`
    // times faster than the wall clock (for demonstrations and tests); false
    // when no simulator is open.
    bool SpeedUpSimulator(int factor);

private:
    TKavCfg& Cfg;
    TPointTables Tables;
    TInstrumentReadings Readings;
    TSpectrumResults Results;
    TValueFormat Format;
    TConsoleView View;
    std::unique_ptr<TProcessingActions> Processing;
    std::unique_ptr<TKavReceiver> Link;
    std::unique_ptr<TAcquisitionEngine> Acq;
};

// SIGINT and SIGTERM end the event loop instead of the process, so that the
// port is closed and the summary written. Installed once per process.
void QuitEventLoopOnStopSignals();
// True once a stop signal has arrived.
bool StopSignalReceived();
