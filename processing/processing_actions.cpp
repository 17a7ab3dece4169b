#include "processing/processing_actions.h"

#include "base/instrument_tables.h"
#include "processing/extremum_search.h"
#include "processing/integration.h"
#include "processing/resonance.h"
#include "processing/spectrum_operations.h"
#include "processing/undo_copy.h"

const TTrText TProcessingActions::EqualizeVisirWarning{
    "TProcessingActions",
    QT_TRANSLATE_NOOP("TProcessingActions",
                      "Границы выравнивания спектра необходимо задать с помощью двух визиров!")};
const TTrText TProcessingActions::IntegrVisirWarning{
    "TProcessingActions",
    QT_TRANSLATE_NOOP("TProcessingActions",
                      "Границы интегрирования спектра необходимо задать с помощью двух визиров!")};
const TTrText TProcessingActions::MinMaxVisirWarning{
    "TProcessingActions",
    QT_TRANSLATE_NOOP("TProcessingActions",
                      "Для поиска экстремумов нужно задать границы спомощью двух визиров!")};
const TTrText TProcessingActions::DivisionVisirWarning{
    "TProcessingActions",
    QT_TRANSLATE_NOOP("TProcessingActions",
                      "Для поиска отношения нужно задать границы с помощью двух визиров!")};
const TTrText TProcessingActions::DpphWarning{
    "TProcessingActions",
    QT_TRANSLATE_NOOP("TProcessingActions", "Первый визир должен находится в середине пика ДФПГ!")};
const TTrText TProcessingActions::DpphResultPrefix{
    "TProcessingActions",
    QT_TRANSLATE_NOOP("TProcessingActions", "Расчетное значение частоты резонатора ")};
const TTrText TProcessingActions::NoFrequencyWarning{
    "TProcessingActions",
    QT_TRANSLATE_NOOP("TProcessingActions",
                      "Частота резонатора не известна! Необходимо произвести подсчет.")};

TProcessingActions::TProcessingActions(TPointTable& pointStore, TPointTable& undoStore,
                                       TKavCfg& cfg, TSpectrumResults& results,
                                       TProcessingView& view, QChar decimalSep)
    : PointStore(pointStore), UndoStore(undoStore), Cfg(cfg), Results(results), View(view),
      DecimalSep(decimalSep) {}

bool TProcessingActions::BothVisirs(const QString& warning) {
    if (Cfg.Visir1 && Cfg.Visir2)
        return true;
    View.ShowWarning(warning);
    return false;
}

void TProcessingActions::StoreUndoCopy() {
    StoreUndo(PointStore, UndoStore);
}

void TProcessingActions::DisableBackUp() {
    View.SetBackUpEnabled(false);
}

void TProcessingActions::ForgetFrequency() {
    Cfg.ResonatorFreq = 0;
    View.SetGFactorShown(false);
}

void TProcessingActions::AFilterExecute() {
    StoreUndoCopy();
    LowPassFilter(PointStore, Cfg.LPFConst);
    View.Repaint();
    View.SetBackUpEnabled(true);
}

void TProcessingActions::AGlissExecute() {
    // The undo copy is taken before the results are cleared.
    StoreUndoCopy();
    Results.Area = -1;
    Results.MinCount = 0;
    Results.MaxCount = 0;
    Results.PairCount = 0;
    Results.TibaAmp = 0;
    SmoothSpectrum(PointStore, Cfg.GlissConst);
    View.Repaint();
    View.SetBackUpEnabled(true);
}

void TProcessingActions::AEqualizeExecute() {
    if (!BothVisirs(EqualizeVisirWarning))
        return;
    Results.Area = -1;
    StoreUndoCopy();
    EqualizeRange(PointStore, Cfg.VisKoord1, Cfg.VisKoord2);
    View.Repaint();
    View.SetBackUpEnabled(true);
}

void TProcessingActions::AIntegrExecute() {
    if (!BothVisirs(IntegrVisirWarning))
        return;
    Results.MaxCount = 0;
    Results.MinCount = 0;
    StoreUndoCopy();
    Results.Area =
        DoubleIntegral(PointStore, Cfg.VisKoord1, Cfg.VisKoord2, GainFactor(Cfg.Amplifying));
    IntegrateRange(PointStore, Cfg.VisKoord1, Cfg.VisKoord2);
    View.Repaint();
    View.SetBackUpEnabled(true);
}

void TProcessingActions::AMinMaxExecute() {
    if (!BothVisirs(MinMaxVisirWarning))
        return;
    Results.Area = -1;
    FindExtrema(PointStore, Cfg.VisKoord1, Cfg.VisKoord2, Cfg.FindMaxNoise, Cfg.FindMaxStep,
                Results);
    View.Repaint();
}

void TProcessingActions::ADivisionExecute() {
    if (!BothVisirs(DivisionVisirWarning))
        return;
    Results.Area = -1;
    FindPeakRatio(PointStore, Cfg.VisKoord1, Cfg.VisKoord2, Cfg.FindMaxNoise, Cfg.FindMaxStep,
                  Results);
    View.Repaint();
}

void TProcessingActions::ABackUpExecute() {
    if (!View.IsBackUpEnabled())
        return;
    ForgetFrequency();
    Results.Area = -1;
    Results.MaxCount = 0;
    Results.MinCount = 0;
    RestoreUndo(PointStore, UndoStore);
    DisableBackUp();
    View.Repaint();
}

void TProcessingActions::ACalcFrecDFPGExecute() {
    View.ShowWarning(DpphWarning);
    // Visir 1 need not be shown: its stored position is used.
    Cfg.ResonatorFreq = DpphResonatorFrequency(Cfg, Cfg.VisKoord1);
    View.ShowInformation(DpphResultPrefix + FrequencyText(Cfg, DecimalSep));
    View.Repaint();
}

void TProcessingActions::AGShowExecute() {
    const bool shown = View.IsGFactorShown();
    if (!shown && Cfg.ResonatorFreq == 0) {
        View.ShowWarning(NoFrequencyWarning);
        return;
    }
    View.SetGFactorShown(!shown);
    View.Repaint();
}

void TProcessingActions::RunAfterSweep() {
    if (Cfg.AutoGliss)
        AGlissExecute();
    if (Cfg.AutoMinMax)
        AMinMaxExecute();
    if (Cfg.AutoTibaTitan)
        ADivisionExecute();
}

void TProcessingActions::ResetForNewSpectrum() {
    Results.Clear();
    ForgetFrequency();
    DisableBackUp();
}

void TProcessingActions::ResetForNewSweep() {
    Results.Clear();
    ForgetFrequency();
}
