#include "spectrum/spectrum_session.h"

#include "config/settings_store.h"
#include "spectrum/parameter_block.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_view.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

constexpr int FirstSpectrumPanel = 5;
constexpr int LastSpectrumPanel = 11;

// What belongs to the spectrum that was shown: processing results, the ADC
// field, the resonator frequency and the g-factor display.
void ResetSpectrumResults(TSpectrumSession& s) {
    s.Results.Clear();
    s.Readings.AdcFieldValue = -1;
    s.Cfg.ResonatorFreq = 0;
    s.View.SetGFactorShown(false);
}

} // namespace

QString NoSpectrumCaption() {
    return QCoreApplication::translate("SpectrumSession", "КАВ");
}

TOpenResult OpenSpectrum(TSpectrumSession& s, const QString& path) {
    TOpenResult result;
    QByteArray bytes;
    result.Outcome = ReadSpectrumBytes(path, bytes, &result.Error);
    if (result.Outcome == TLoadOutcome::Failed)
        return result;

    ShowSpectrum(s, result.Outcome == TLoadOutcome::Loaded ? &bytes : nullptr,
                 QFileInfo(path).fileName());
    s.Cfg.LastOpen = path;
    return result;
}

TOpenResult OpenSpectrumInPlace(TSpectrumSession& s, const QString& path) {
    TOpenResult result;
    result.Outcome = LoadSpectrumFileInPlace(path, s.PointStore, s.UndoStore, &result.Error);
    if (result.Outcome == TLoadOutcome::Failed)
        return result;
    // The records are in their places already; the rest of the sequence
    // reads only the settings until the parameters are applied.
    ShowSpectrum(s, nullptr, QFileInfo(path).fileName());
    s.Cfg.LastOpen = path;
    return result;
}

void ShowSpectrum(TSpectrumSession& s, const QByteArray* records, const QString& name) {
    for (int panel = FirstSpectrumPanel; panel <= LastSpectrumPanel; ++panel)
        s.View.SetStatusPanel(panel, QString());
    s.View.SetBackUpEnabled(false);
    ResetSpectrumResults(s);
    // The snapshot keeps the instrument's own calibration: it is taken when
    // the units in force are the instrument's, not from a spectrum already
    // shown, whose file brought its own (that would be stored at exit).
    if (s.ShownName.isEmpty())
        SaveUnitSnapshot(s.Cfg);
    if (records)
        PlaceSpectrumRecords(*records, s.PointStore, s.UndoStore);
    ApplyFileParameters(s.PointStore, s.Cfg, s.Readings, s.View, s.DecimalSep);
    s.FilePanels = TranslatedFilePanels(s.PointStore);
    s.View.SetCaption(QStringLiteral("Kavis - ") + name);
    s.ShownName = name;
    s.View.SetSaveAsEnabled(true);
}

void RetranslateFilePanels(TSpectrumSession& s, const std::function<QString(int index)>& shownNow) {
    for (TTranslatedPanel& panel : s.FilePanels) {
        if (shownNow(panel.Index) != panel.Text)
            continue;
        panel.Text = panel.Make();
        s.View.SetStatusPanel(panel.Index, panel.Text);
    }
}

void CloseSpectrum(TSpectrumSession& s) {
    s.View.SetBackUpEnabled(false);
    ResetSpectrumResults(s);
    s.View.SetSaveAsEnabled(false);
    s.View.SetCaption(NoSpectrumCaption());
    s.ShownName.clear();
    s.Cfg.LastOpen.clear();
    ClearPoints(s.PointStore);
    RestoreUnitSnapshot(s.Cfg);
}

bool SaveSpectrumAs(TSpectrumSession& s, const QString& path, QString* error, TAtomicBatch* batch) {
    s.View.SetBackUpEnabled(false);
    WriteParameterBlock(s.PointStore, s.Cfg, s.Readings);
    if (batch ? !SaveSpectrumFile(*batch, path, s.PointStore, error)
              : !SaveSpectrumFile(path, s.PointStore, error))
        return false;
    s.Cfg.WorkDir = DirectoryWithSeparator(path);
    return true;
}

QString DirectoryWithSeparator(const QString& path) {
    QString dir = QFileInfo(path).absolutePath();
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}
