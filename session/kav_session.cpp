#include "session/kav_session.h"

#include "exchange/spectrum_import.h"
#include "processing/resonance.h"
#include "spectrum/recent_files.h"
#include "spectrum/spectrum_file.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

QChar LocaleDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QChar('.') : point.front();
}

TKavSession::TKavSession(TDeviceFactory devices, QChar decimalSep, const TClock& clock)
    : Sep(decimalSep), ValueFormat(Cfg, decimalSep),
      Link(std::make_unique<TKavReceiver>(std::move(devices), clock)) {
    ClearPoints(Tables.Store());
    ClearPoints(Tables.Undo());
    GFactorShown.Text = [this](std::uint16_t code) { return GFactorText(Cfg, code, Sep); };
}

TKavSession::TKavSession(const TSessionViews& views, TDeviceFactory devices, QChar decimalSep,
                         const TClock& clock)
    : TKavSession(std::move(devices), decimalSep, clock) {
    Attach(views);
}

TKavSession::~TKavSession() {
    Detach();
}

void TKavSession::Attach(const TSessionViews& views) {
    Detach();
    SpectrumState = std::make_unique<TSpectrumSession>(
        TSpectrumSession{Tables.Store(), Tables.Undo(), Cfg, InstrumentReadings, SpectrumResults,
                         views.Spectrum, Sep});
    ProcessingActions = std::make_unique<TProcessingActions>(
        Tables.Store(), Tables.Undo(), Cfg, SpectrumResults, views.Processing, Sep);
    Acq = std::make_unique<TAcquisitionEngine>(Cfg, *Link, Tables.Store(), InstrumentReadings,
                                               *ProcessingActions, ValueFormat, views.Acquisition,
                                               views.Controls);
    AcqView = &views.Acquisition;
    CtlView = &views.Controls;
}

void TKavSession::Detach() {
    Acq.reset();
    ProcessingActions.reset();
    SpectrumState.reset();
    AcqView = nullptr;
    CtlView = nullptr;
}

// ---- Start-up and shut-down --------------------------------------------------

bool TKavSession::LoadStartupSettings(const QString& path) {
    TKavCfg fresh{};
    SetDefaults(fresh, QDir::currentPath());
    Cfg = fresh;
    SettingsPath = path;
    SettingsReadWarning.clear();
    QString reason;
    const bool read = LoadSettings(Cfg, Recent, path, Sep, &reason);
    if (!read)
        SettingsReadWarning = StartupSettingsNotReadText.arg(reason);
    SaveUnitSnapshot(Cfg);
    ClearPoints(Tables.Store());
    return read;
}

void TKavSession::EnterStartMode() {
    SetReceiveMode(Cfg.Mode);
    ClearResultsForNewSpectrum();
    // Only in analysis mode is the last file opened again.
    if (!Receiving() && !Cfg.LastOpen.isEmpty() && QFileInfo(Cfg.LastOpen).isFile())
        OpenAndReport(Cfg.LastOpen);
    Acq->SetAdcView(Cfg.ADCEnable);
}

bool TKavSession::SaveAtExit(const TWindowFacts& facts, const TAskSettingsNotSaved& ask) {
    const TKavCfg out = SettingsAtExit(Cfg, facts, Acq ? Acq->Controls().SavedRapid : Cfg.Rapid,
                                       Acq ? Acq->AdcView() : Cfg.ADCEnable);
    // A file that cannot be written does not trap the operator: try again,
    // close without saving, or stay open exactly as before.
    for (;;) {
        QString error;
        if (SaveSettings(out, Recent, SettingsPath.isEmpty() ? SettingsFilePath() : SettingsPath,
                         Sep, &error)) {
            Cfg = out;
            break;
        }
        const TSettingsSaveAnswer answer = ask(error);
        if (answer == TSettingsSaveAnswer::StayOpen)
            return false;
        if (answer == TSettingsSaveAnswer::CloseWithoutSaving)
            break;
    }
    ShutDown();
    return true;
}

void TKavSession::ShutDown() {
    if (Acq)
        Acq->ShutDown();
    Link->Stop();
}

// ---- Mode --------------------------------------------------------------------

void TKavSession::SetReceiveMode(bool on) {
    Acq->SetReceiveMode(on);
}

bool TKavSession::AReceiveExecute() {
    if (Acq->State().LinkLost) {
        Acq->OpenLink();
        return false;
    }
    ::CloseSpectrum(*SpectrumState);
    // A file shown in analysis mode put its gain and speed into the settings
    // and the selectors: the controls take those rows as the ones to send.
    CtlView->ForgetShown();
    Acq->Controls().AmpBoxChange(Cfg.Amplifying);
    Acq->Controls().SpeedBoxChange(Cfg.Rapid);
    SetReceiveMode(true);
    RestoreUnitSnapshot(Cfg);
    return true;
}

// ---- The spectrum ------------------------------------------------------------

void TKavSession::ClearResultsForNewSpectrum() {
    SpectrumResults = TSpectrumResults{};
}

bool TKavSession::OpenAndReport(const QString& path) {
    const TOpenResult result = OpenSpectrum(*SpectrumState, path);
    if (result.Outcome == TLoadOutcome::Failed) {
        AcqView->ShowError(result.Error);
        return false;
    }
    return true;
}

bool TKavSession::OpenChosenFile(const QString& path) {
    if (!OpenAndReport(path))
        return false;
    UpdateRecentFiles(Recent, path, SpectrumState->View);
    Cfg.WorkDir = DirectoryWithSeparator(path);
    return true;
}

bool TKavSession::OpenRecentFile(int index) {
    if (index < 0 || index >= Recent.size())
        return false;
    const QString path = Recent[index];
    ::CloseSpectrum(*SpectrumState);
    SetReceiveMode(false);
    OpenAndReport(path);
    return true;
}

void TKavSession::CloseSpectrum() {
    ::CloseSpectrum(*SpectrumState);
}

bool TKavSession::SaveSpectrumAs(const QString& path, QString* error) {
    return ::SaveSpectrumAs(*SpectrumState, path, error);
}

bool TKavSession::ImportSpectrum(const QString& path, QStringList& notes, QString* error) {
    auto table = std::make_unique<TPointTable>();
    TImportOptions options;
    options.GainRow = Cfg.Amplifying;
    if (!ImportSpectrumFile(path, Cfg, options, *table, notes, error))
        return false;
    const QByteArray records = SpectrumFileBytes(*table);
    ShowSpectrum(*SpectrumState, &records, QFileInfo(path).fileName());
    Cfg.WorkDir = DirectoryWithSeparator(path);
    return true;
}

bool TKavSession::ExportSpectrum(const QString& path, TExchangeFormat format, QStringList& notes,
                                 QString* error) {
    if (!::ExportSpectrum(path, format, Tables.Store(), Cfg, QFileInfo(path).completeBaseName(),
                          notes, error))
        return false;
    Cfg.WorkDir = DirectoryWithSeparator(path);
    return true;
}

bool TKavSession::SaveCalibration(const TCalibrationInput& shown, const TCalibrationInput& accepted,
                                  QString* reason) const {
    TKavCfg out = Cfg;
    KeepInstrumentCalibration(out, shown, accepted, Sep);
    RestoreUnitSnapshot(out);
    return SaveSettings(out, Recent, SettingsPath.isEmpty() ? SettingsFilePath() : SettingsPath,
                        Sep, reason);
}

void TKavSession::KeepCalibration(const TCalibrationInput& shown,
                                  const TCalibrationInput& accepted) {
    KeepInstrumentCalibration(Cfg, shown, accepted, Sep);
}
