#pragma once

#include "config/message_port.h"
#include "processing/analysis_overlay.h"

#include <QChar>
#include <memory>

class QDialog;
class QWidget;
class TAnalysisResultsWindow;
class TPlotWidget;
struct TMainActions;

// The line fit and the comparison in the main window: "Аппроксимация
// линий..." and "Результаты анализа..." (Функции), "Сравнить с..." and
// "Убрать сравнение" (Спектр). They
// run on the window's analysis state; the wiring shows its dialogs through
// the window's port, puts refusals in one error line, keeps the results
// window and the plot in line with the state, and clears the state when the
// spectrum is undone or replaced.
class TAnalysisWiring {
public:
    // What it works on: the window (the parent of its dialogs and results
    // window) with its actions, settings, spectrum and plot.
    struct TParts {
        QWidget& Window;
        const TMainActions& Actions;
        TKavCfg& Cfg;
        const TPointTable& Points;
        TPlotWidget& Plot;
    };

    TAnalysisWiring(TParts parts, TAnalysisOverlay& overlay, TMessagePort& port, QChar decimalSep);
    ~TAnalysisWiring();
    TAnalysisWiring(const TAnalysisWiring&) = delete;
    TAnalysisWiring& operator=(const TAnalysisWiring&) = delete;

    void AFitLinesExecute();
    void ACompareExecute();
    void ACompareOffExecute();
    // "Результаты анализа...": the results window again, after the operator
    // closed it; enabled only while a fit or a comparison is shown.
    void AAnalysisResultsExecute();

    // Undo and closing the spectrum: the fit and the comparison go.
    void ClearAll();
    // After anything that may have changed or replaced the spectrum: what
    // no longer describes it goes.
    void ForgetIfChanged();

    TAnalysisResultsWindow& ResultsWindow() const { return *Results; }

private:
    bool Run(QDialog& dialog);
    // The results window, the enabled state of "Убрать сравнение" and the
    // plot, after the state changed.
    void Refresh();
    // Reads a reference: a spectrum file of this program, or any format the
    // import reads. False with the reason shown when it cannot be read.
    bool ReadReference(const QString& path, TPointTable& table);

    TParts Parts;
    TAnalysisOverlay& Overlay;
    TMessagePort& Port;
    QChar Sep;
    TAnalysisResultsWindow* Results = nullptr; // a child of the window
};
