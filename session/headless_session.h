#pragma once

#include "acquisition/console_view.h"
#include "session/kav_session.h"
#include "spectrum/spectrum_view.h"

// A session for a run without a window (kavtool acquire and listen): the
// message-window lines and the boxes go to line sinks, nothing is drawn; the
// receiver opens the default devices ("SIM" included).
class THeadlessSession {
public:
    THeadlessSession(const TKavCfg& cfg, QChar decimalSep, TConsoleView::TLineSink messages,
                     TConsoleView::TLineSink errors);

    TKavSession& Session() { return Core; }
    TKavCfg& Settings() { return Core.Settings(); }
    TAcquisitionEngine& Engine() { return Core.Engine(); }
    TKavReceiver& Receiver() { return Core.Receiver(); }
    const TPointTable& Store() { return Core.Points(); }

    // With the simulated spectrometer on the line, its time runs `factor`
    // times faster than the wall clock (for demonstrations and tests); false
    // when no simulator is open.
    bool SpeedUpSimulator(int factor);

private:
    TConsoleView View;
    TNullSpectrumView NoSpectrumView;
    TKavSession Core;
};

// SIGINT and SIGTERM end the event loop instead of the process, so that the
// port is closed and the summary written. Installed once per process.
void QuitEventLoopOnStopSignals();
// True once a stop signal has arrived.
bool StopSignalReceived();
