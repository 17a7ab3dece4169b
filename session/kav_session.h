#pragma once

#include "acquisition/acquisition_engine.h"
#include "config/kav_cfg.h"
#include "config/message_port.h"
#include "config/settings_store.h"
#include "config/unit_calibration.h"
#include "exchange/spectrum_export.h"
#include "link/clock.h"
#include "link/receiver.h"
#include "processing/analysis_overlay.h"
#include "processing/gfactor_display.h"
#include "processing/processing_actions.h"
#include "session/exit_settings.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_results.h"
#include "spectrum/spectrum_session.h"
#include "spectrum/value_format.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class TControlsView;
class TProcessingView;
class TSpectrumView;

// The decimal separator of the user's locale, which every shown number takes.
QChar LocaleDecimalSeparator();

// What the session shows itself on: the window implements these, kavtool
// prints through a console view, tests record the calls.
struct TSessionViews {
    TSpectrumView& Spectrum;
    TProcessingView& Processing;
    TAcquisitionView& Acquisition;
    TControlsView& Controls;
};

// The one instance of every core object of a run: the settings and recent
// files, both point tables, results and readings, the value formatter, the
// g-factor display, the spectrum's open/save/close state, the processing
// actions, the receiver and the acquisition engine; and the operations that
// change the program's mode. The window, kavtool and the tests each build
// one, so the core is assembled here only.
//
// The receive mode has one state, the setting Mode: the engine reads it,
// the exit stores it.
//
// The objects that show themselves (spectrum session, processing actions,
// engine) exist while views are attached: a window first builds its widgets
// on the session's data, then attaches itself.
class TKavSession {
public:
    TKavSession(TDeviceFactory devices, QChar decimalSep, const TClock& clock = SteadyClock());
    // The same with the views attached at once.
    TKavSession(const TSessionViews& views, TDeviceFactory devices, QChar decimalSep,
                const TClock& clock = SteadyClock());
    ~TKavSession();
    TKavSession(const TKavSession&) = delete;
    TKavSession& operator=(const TKavSession&) = delete;

    void Attach(const TSessionViews& views);
    // The engine first, so no timer reaches a view that is going away.
    void Detach();

    TKavCfg& Settings() { return Cfg; }
    const TKavCfg& Settings() const { return Cfg; }
    TRecentFiles& RecentFiles() { return Recent; }
    TPointTable& Points() { return Tables.Store(); }
    TPointTable& Undo() { return Tables.Undo(); }
    TSpectrumResults& Results() { return SpectrumResults; }
    TInstrumentReadings& Readings() { return InstrumentReadings; }
    const TValueFormat& Format() const { return ValueFormat; }
    TGFactorDisplay& GFactor() { return GFactorShown; }
    // The line fit and the comparison with a reference, over the spectrum.
    TAnalysisOverlay& Analysis() { return AnalysisOverlay; }
    QChar DecimalSep() const { return Sep; }
    TKavReceiver& Receiver() { return *Link; }
    // Attached only.
    TSpectrumSession& Spectrum() { return *SpectrumState; }
    TProcessingActions& Processing() { return *ProcessingActions; }
    TAcquisitionEngine& Engine() { return *Acq; }

    // ---- Start-up and shut-down ----------------------------------------------

    // The settings file read into a fresh record: the defaults (work
    // directory: the current one), the file over them, the unit snapshot, an
    // empty store. A file that is there but cannot be read leaves the
    // defaults in force and returns false; StartupWarning then tells the
    // operator why (the exit will not replace the file while it cannot be
    // read).
    bool LoadStartupSettings(const QString& path = SettingsFilePath());
    const QString& StartupWarning() const { return SettingsReadWarning; }

    // The first show: the mode from the setting Mode, the results cleared,
    // in analysis mode the last file opened again (a failure reported
    // through the error box), the ADC readout from ADCEnable.
    void EnterStartMode();

    // The settings the exit writes (exit_settings.h), saved; a file that
    // cannot be written asks `ask` to try again, close without saving or
    // stay open. True when the program may close, after ShutDown.
    using TAskSettingsNotSaved = std::function<TSettingsSaveAnswer(const QString& reason)>;
    bool SaveAtExit(const TWindowFacts& facts, const TAskSettingsNotSaved& ask);
    // The engine's timers stop and the port closes.
    void ShutDown();

    // ---- Mode ----------------------------------------------------------------

    bool Receiving() const { return Cfg.Mode; }
    // Receive mode on or off: the link, the handshake, the mode actions.
    void SetReceiveMode(bool on);
    // "Прием": the spectrum in memory closed, the controls take the rows of
    // the settings, the receive mode, the program's own units back. After
    // the line went away it only opens the port again (what was received
    // stays) and returns false.
    bool AReceiveExecute();

    // ---- The spectrum --------------------------------------------------------

    // The start: counts, lists, peak ratio and area all go. Opening and
    // closing a spectrum (also by the receive action) clear the results that
    // are shown through TSpectrumResults::Clear in the spectrum session.
    void ClearResultsForNewSpectrum();
    // A file chosen in the open dialog: opened (a failure reported through
    // the error box, nothing changed), entered into the recent files, its
    // folder the work directory. True when it opened.
    bool OpenChosenFile(const QString& path);
    // Entry `index` of the recent files: the spectrum closed, the analysis
    // mode, the file opened (a failure reported). False for no such entry.
    bool OpenRecentFile(int index);
    void CloseSpectrum();
    bool SaveSpectrumAs(const QString& path, QString* error);
    // Another program's spectrum as the spectrum in memory, as if a file had
    // been opened (LastOpen and the recent files stay); `notes` says what
    // the import changed. On failure nothing changes.
    bool ImportSpectrum(const QString& path, QStringList& notes, QString* error);
    // The spectrum for another program (BES3T, CSV); the work directory
    // follows the file on success.
    bool ExportSpectrum(const QString& path, TExchangeFormat format, QStringList& notes,
                        QString* error);

    // The calibration dialog's write: the settings with the calibration the
    // operator changed (shown and accepted: the dialog's fields) as the
    // instrument's, in the program's own units, to the settings file.
    bool SaveCalibration(const TCalibrationInput& shown, const TCalibrationInput& accepted,
                         QString* reason) const;
    // The same on OK, into the settings in force.
    void KeepCalibration(const TCalibrationInput& shown, const TCalibrationInput& accepted);

private:
    bool OpenAndReport(const QString& path);

    QChar Sep;
    TKavCfg Cfg{};
    TRecentFiles Recent;
    TPointTables Tables;
    TSpectrumResults SpectrumResults;
    TInstrumentReadings InstrumentReadings;
    TValueFormat ValueFormat;
    TGFactorDisplay GFactorShown;
    TAnalysisOverlay AnalysisOverlay;
    QString SettingsPath;
    QString SettingsReadWarning;
    std::unique_ptr<TKavReceiver> Link;
    std::unique_ptr<TSpectrumSession> SpectrumState;
    std::unique_ptr<TProcessingActions> ProcessingActions;
    std::unique_ptr<TAcquisitionEngine> Acq;
    TAcquisitionView* AcqView = nullptr;
    TControlsView* CtlView = nullptr;
};
