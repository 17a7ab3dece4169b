#include "app/analysis_wiring.h"

#include "app/main_actions.h"
#include "config/settings_store.h"
#include "exchange/spectrum_import.h"
#include "processing/analysis_results_window.h"
#include "processing/analysis_texts.h"
#include "processing/compare_setup_dialog.h"
#include "processing/fit_setup_dialog.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"
#include "spectrum/value_format.h"
#include "view/plot_widget.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>

TAnalysisWiring::TAnalysisWiring(TParts parts, TAnalysisOverlay& overlay, TMessagePort& port,
                                 QChar decimalSep)
    : Parts(parts), Overlay(overlay), Port(port), Sep(decimalSep),
      Results(new TAnalysisResultsWindow(&parts.Window)) {
    const TMainActions& a = parts.Actions;
    QWidget& window = parts.Window;
    QObject::connect(a.AFitLines, &QAction::triggered, &window, [this] { AFitLinesExecute(); });
    QObject::connect(a.ACompare, &QAction::triggered, &window, [this] { ACompareExecute(); });
    QObject::connect(a.ACompareOff, &QAction::triggered, &window, [this] { ACompareOffExecute(); });
    QObject::connect(a.AAnalysisResults, &QAction::triggered, &window,
                     [this] { AAnalysisResultsExecute(); });
    // These run after the window's own handlers of the same actions.
    for (QAction* clearing : {a.ABackUp, a.ACloseSpectr})
        QObject::connect(clearing, &QAction::triggered, &window, [this] { ClearAll(); });
    for (QAction* changer :
         {a.AOpenFile, a.AImport, a.AReceive, a.AFilter, a.AGliss, a.AEqualize, a.AIntegr})
        QObject::connect(changer, &QAction::triggered, &window, [this] { ForgetIfChanged(); });
    for (QMenu* recent : {a.RecentFilesMenu, a.RecentFilesDropDown})
        QObject::connect(recent, &QMenu::triggered, &window, [this] { ForgetIfChanged(); });
    // The rows are built in the language of the moment: a switch rebuilds them.
    QObject::connect(Results, &TAnalysisResultsWindow::LanguageChanged, &window, [this] {
        if (Results->isVisible())
            Refresh();
    });
    parts.Plot.SetAnalysis(&Overlay);
}

TAnalysisWiring::~TAnalysisWiring() {
    // The plot outlives the state it was given.
    Parts.Plot.SetAnalysis(nullptr);
}

bool TAnalysisWiring::Run(QDialog& dialog) {
    dialog.setResult(QDialog::Rejected);
    Port.RunDialog(dialog);
    return dialog.result() == QDialog::Accepted;
}

void TAnalysisWiring::Refresh() {
    const TKavCfg& cfg = Parts.Cfg;
    const TValueFormat format(cfg, Sep);
    QStringList header;
    if (Overlay.HasFit())
        header << AnalysisTexts::ResultsFitHeader()
                      .arg(LineShapeName(Overlay.LineFit().Shape))
                      .arg(Overlay.LineFit().LineCount);
    if (Overlay.HasComparison())
        header << AnalysisTexts::ResultsCompareHeader().arg(Overlay.ReferenceName());
    const std::vector<TResultRow> rows = Overlay.ResultRows(cfg, format);
    Results->ShowResults(header, rows);
    if (!rows.empty())
        Results->show();
    Parts.Actions.ACompareOff->setEnabled(Overlay.HasComparison());
    Parts.Actions.AAnalysisResults->setEnabled(!Overlay.Empty());
    Parts.Plot.ScreenBoxPaint();
}

void TAnalysisWiring::AFitLinesExecute() {
    TKavCfg& cfg = Parts.Cfg;
    TFitSettings settings = cfg.Fit;
    TFitSetupForm form(settings, &Parts.Window);
    if (!Run(form))
        return;
    // Kept for the next fit and, at exit, in Kav.ini.
    cfg.Fit = settings;
    const QString refusal = Overlay.Fit(Parts.Points, cfg);
    if (!refusal.isEmpty()) {
        Port.Error(refusal);
        return;
    }
    Refresh();
}

bool TAnalysisWiring::ReadReference(const QString& path, TPointTable& table) {
    QString error;
    if (QFileInfo(path).suffix().compare(QStringLiteral("kav"), Qt::CaseInsensitive) == 0) {
        // The loader's read buffer is a table of its own: the window's undo
        // copy stays as it is.
        auto buffer = std::make_unique<TPointTable>();
        if (LoadSpectrumFile(path, table, *buffer, &error) == TLoadOutcome::Loaded)
            return true;
        Port.Error(
            error.isEmpty()
                ? QCoreApplication::translate("AnalysisWiring", "Файл \"%1\" не найден").arg(path)
                : error);
        return false;
    }
    // Another program's file is mapped through the instrument's calibration,
    // not that of the spectrum shown.
    TKavCfg cfg = Parts.Cfg;
    RestoreUnitSnapshot(cfg);
    TImportOptions options;
    options.GainRow = cfg.Amplifying;
    QStringList notes;
    if (!ImportSpectrumFile(path, cfg, options, table, notes, &error)) {
        Port.Error(error);
        return false;
    }
    return true;
}

void TAnalysisWiring::ACompareExecute() {
    TKavCfg& cfg = Parts.Cfg;
    TFileDialogRequest request;
    request.Title = AnalysisTexts::CompareOpenTitle();
    request.Directory = cfg.WorkDir;
    request.Filter = AnalysisTexts::CompareFilter();
    const QString path = Port.OpenFileName(request);
    if (path.isEmpty())
        return;
    auto reference = std::make_unique<TPointTable>();
    ClearPoints(*reference);
    if (!ReadReference(path, *reference))
        return;
    TCompareSettings settings = cfg.Compare;
    TCompareSetupForm form(settings, Sep, &Parts.Window);
    if (!Run(form))
        return;
    // Kept for the next comparison and, at exit, in Kav.ini.
    cfg.Compare = settings;
    const QString refusal =
        Overlay.Compare(Parts.Points, cfg, *reference, QFileInfo(path).fileName(), settings);
    if (!refusal.isEmpty()) {
        Port.Error(refusal);
        return;
    }
    Refresh();
}

void TAnalysisWiring::AAnalysisResultsExecute() {
    if (Overlay.Empty())
        return;
    Refresh(); // rows in the units and language of the moment
    Results->show();
    Results->raise();
    Results->activateWindow();
}

void TAnalysisWiring::ACompareOffExecute() {
    Overlay.RemoveComparison();
    Refresh();
}

void TAnalysisWiring::ClearAll() {
    if (Overlay.Empty())
        return;
    Overlay.Clear();
    Refresh();
}

void TAnalysisWiring::ForgetIfChanged() {
    if (Overlay.ForgetIfChanged(Parts.Points))
        Refresh();
}
