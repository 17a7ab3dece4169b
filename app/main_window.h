#pragma once

#include "app/main_actions.h"
#include "config/language.h"
#include "processing/processing_view.h"
#include "spectrum/spectrum_view.h"

#include <QMainWindow>
#include <memory>

class QFrame;
class QScrollBar;
class QToolBar;
class QToolButton;
class TADCForm;
class TAnalysisWiring;
class TDialogWiring;
class TInstrumentGroupsWidget;
class TKavMessageForm;
class TKavSession;
class TReceiveView;
class TKavStatusBar;
class TMessagePort;
class TPlotWidget;
class TPrintActions;
class TViewBoundsWidget;
class TVisirController;
class TVisirPanelWidget;
class TVisirWidgetView;
struct TWindowFacts;

// The main window (TKavMainForm): a switchboard that shows a session on its
// widgets and passes the operator's acts in. It implements the session's
// view interfaces on its widgets; the rules live in the session.
class TKavMainForm : public QMainWindow, public TSpectrumView, public TProcessingView {
    Q_OBJECT
public:
    static constexpr int MinimumWidth = 500;
    static constexpr int MinimumHeight = 450;
    static constexpr int ToolBarHeight = 41;

    // Start-up: the session's settings are loaded from Kav.ini in the
    // current directory and the window attaches itself to the session, which
    // outlives it; every box and dialog goes through the port.
    TKavMainForm(TKavSession& session, TMessagePort& port, QWidget* parent = nullptr);
    ~TKavMainForm() override;

    // The actions' handlers.
    void AOpenFileExecute();
    void ASaveFileAsExecute();
    void ACloseSpectrExecute();
    void RecentFileClicked(int index);
    void AToolBarExecute(bool checked);
    void APrintFormExecute();
    void AAboutExecute();
    void AReceiveExecute();
    void ASetupComExecute();
    void AMessageViewExecute(bool checked);

    // TSpectrumView
    void SetGainIndex(int index) override;
    void SetSpeedIndex(int index) override;
    void BlankSelectorTexts() override;
    void SetStatusPanel(int index, const QString& text) override;
    void SetAdcReading(const QString& text) override;
    void SetViewBoundTexts(const QString& minText, const QString& maxText) override;
    void SetBackUpEnabled(bool enabled) override; // also TProcessingView
    void SetSaveAsEnabled(bool enabled) override;
    void SetGFactorShown(bool shown) override; // also TProcessingView
    void SetCaption(const QString& text) override;
    void RebuildRecentFilesMenus(const QStringList& captions, bool submenuEnabled) override;

    // TProcessingView
    void ShowWarning(const QString& text) override;
    void ShowInformation(const QString& text) override;
    void Repaint() override;
    bool IsBackUpEnabled() const override;
    bool IsGFactorShown() const override;

    // "Настройка → Язык": the setting and every text at once.
    void SetLanguage(TLanguage language);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The window's own texts in the program's language.
    void RetranslateWindow();
    // Which translatable caption the window shows, if any.
    enum class TCaption { Other, Initial, NoSpectrum };
    TCaption CaptionShown = TCaption::Other;

    // Layout (main_window.cpp).
    void BuildWindow();
    QWidget* BuildPlotRow();
    QWidget* BuildVisirStrip();
    QWidget* BuildScrollRow();
    void BindVisirs();
    void ConnectActions();
    void SyncHorizontalScroll();
    void ScrollView(int viewMin);
    // Start-up and shut-down (main_startup.cpp).
    void ShowStartupSettings();
    void FirstShow();
    void PlaceFromSettings();
    TWindowFacts WindowFacts() const;
    // The receive side (receive_wiring.cpp).
    void BuildReceiveSide();
    void ConnectReceiveActions();
    void PlaceLinkWindows();
    // Processing (processing_wiring.cpp).
    void ConnectProcessing();
    void AGShowTriggered();
    // Printing (print_wiring.cpp).
    void ConnectPrinting();
    // Export and import for other programs (exchange_wiring.cpp).
    void ConnectExchange();
    void AExportExecute();
    void AImportExecute();

    TKavSession& Session;
    TMessagePort& Port;
    std::unique_ptr<TVisirController> VisirController;
    std::unique_ptr<TPrintActions> Printing;
    bool Shown = false;
    QSize PictureSize{1600, 1000}; // the picture size last chosen for an export

    TMainActions A;
    QToolBar* ToolBar = nullptr;
    QFrame* Screen = nullptr;
    TPlotWidget* PlotBox = nullptr;
    QScrollBar* VScroll = nullptr;
    QScrollBar* HScroll = nullptr;
    QToolButton* ScaleBtn = nullptr;
    QToolButton* AllBtn = nullptr;
    TVisirPanelWidget* VisPan1 = nullptr;
    TVisirPanelWidget* VisPan2 = nullptr;
    TViewBoundsWidget* Bounds = nullptr;
    TInstrumentGroupsWidget* Groups = nullptr;
    TKavStatusBar* KavStatusBar = nullptr;
    TVisirWidgetView* VisirView = nullptr;
    std::unique_ptr<TDialogWiring> Dialogs;
    std::unique_ptr<TAnalysisWiring> AnalysisActions;

    // The receive side: the link windows and the view of the receive mode on
    // the widgets above.
    TKavMessageForm* MsgForm = nullptr;
    TADCForm* ADCForm = nullptr;
    std::unique_ptr<TReceiveView> RecvView;
};
