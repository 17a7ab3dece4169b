#pragma once

#include "base/translated_text.h"

#include "config/kav_cfg.h"
#include "processing/processing_view.h"
#include "spectrum/point_slot.h"
#include "spectrum/spectrum_results.h"

#include <QChar>
#include <QString>

// The processing actions of the menu "Функции" as the window and the
// acquisition run them: the visir test, the clearing of results, the undo
// copy, the operation, the repaint and the state of ABackUp and AGShow.
class TProcessingActions {
public:
    TProcessingActions(TPointTable& pointStore, TPointTable& undoStore, TKavCfg& cfg,
                       TSpectrumResults& results, TProcessingView& view, QChar decimalSep);

    // Actions of the menu and the tool bar.
    void AFilterExecute();       // LowPassFilter(LPFConst)
    void AGlissExecute();        // SmoothSpectrum(GlissConst)
    void AEqualizeExecute();     // EqualizeRange between the visirs
    void AIntegrExecute();       // Area = DoubleIntegral, then IntegrateRange
    void AMinMaxExecute();       // FindExtrema(FindMaxNoise, FindMaxStep)
    void ADivisionExecute();     // FindPeakRatio(FindMaxNoise, FindMaxStep)
    void ABackUpExecute();       // RestoreUndo; does nothing while ABackUp is disabled
    void ACalcFrecDFPGExecute(); // ResonatorFreq from the DPPH line at visir 1
    void AGShowExecute();        // toggle the g-factor display

    // After a sweep: AGliss, AMinMax and ADivision, each when its switch is on.
    void RunAfterSweep();

    // Opening or closing a spectrum and the receive action: the results are
    // cleared, the frequency is forgotten, AGShow and ABackUp go off.
    void ResetForNewSpectrum();
    // The store cleared for a new sweep: as above, but ABackUp stays.
    void ResetForNewSweep();
    // Saving under a new name disables ABackUp.
    void DisableBackUp();

    // The warnings of the four actions that need both visirs.
    static const TTrText EqualizeVisirWarning;
    static const TTrText IntegrVisirWarning;
    static const TTrText MinMaxVisirWarning;
    static const TTrText DivisionVisirWarning;
    // The warning before the DPPH calculation, the start of its result box,
    // and the warning of AGShow without a frequency.
    static const TTrText DpphWarning;
    static const TTrText DpphResultPrefix;
    static const TTrText NoFrequencyWarning;

private:
    bool BothVisirs(const QString& warning);
    void StoreUndoCopy();
    void ForgetFrequency();

    TPointTable& PointStore;
    TPointTable& UndoStore;
    TKavCfg& Cfg;
    TSpectrumResults& Results;
    TProcessingView& View;
    QChar DecimalSep;
};
