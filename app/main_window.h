#pragma once

#include "app/main_actions.h"
#include "config/kav_cfg.h"
#include "link/serial_device.h"
#include "processing/processing_actions.h"
#include "processing/processing_view.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/point_slot.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_results.h"
#include "spectrum/spectrum_session.h"
#include "spectrum/spectrum_view.h"
#include "spectrum/value_format.h"
#include "view/gfactor_display.h"

#include <QMainWindow>
#include <cstdint>
#include <memory>

class QFrame;
class QScrollBar;
class QToolBar;
class QToolButton;
class TADCForm;
class TAnalysisOverlay;
class TAnalysisWiring;
class TAcquisitionEngine;
class TDialogWiring;
class TInstrumentGroupsWidget;
class TKavMessageForm;
class TKavReceiver;
class TReceiveView;
class TKavStatusBar;
class TMessagePort;
class TPlotWidget;
class TPrintActions;
class TViewBoundsWidget;
class TVisirController;
class TVisirPanelWidget;
class TVisirWidgetView;

// The main window (TKavMainForm). It owns the one instance of every core
// object, implements their view interfaces on its widgets and wires the
// actions to them; the rules themselves live in the core.
class TKavMainForm : public QMainWindow, public TSpectrumView, public TProcessingView {
    Q_OBJECT
public:
    static constexpr int MinimumWidth = 500;
    static constexpr int MinimumHeight = 450;
    static constexpr int ToolBarHeight = 41;

    // Start-up: the settings are loaded from Kav.ini in the current
    // directory; every box and dialog goes through the port.
    explicit TKavMainForm(TMessagePort& port, QWidget* parent = nullptr);
    // The same on the serial devices a port name opens (the program's own:
    // "SIM" the simulated spectrometer, any other name a serial line).
    TKavMainForm(TMessagePort& port, TDeviceFactory devices, QWidget* parent = nullptr);
    ~TKavMainForm() override;

    // The core state, for the wiring of later parts and for tests.
    TKavCfg& Settings() { return Cfg; }
    const TRecentFiles& RecentFiles() const { return Recent; }
    TPointTable& Points() { return *PointStore; }
    const TSpectrumResults& Results() const { return SpectrumResults; }
    const TInstrumentReadings& Readings() const { return InstrumentReadings; }
    TProcessingActions& Processing() { return *ProcessingActions; }
    TVisirController& Visirs() { return *VisirController; }
    const TMainActions& Actions() const { return A; }
    TPlotWidget* Plot() const { return PlotBox; }
    TKavStatusBar* StatusPanels() const { return KavStatusBar; }
    QToolBar* MainBar() const { return ToolBar; }
    QFrame* ScreenPanel() const { return Screen; }
    TVisirPanelWidget* VisirPanel(int n) const { return n == 1 ? VisPan1 : VisPan2; }
    TViewBoundsWidget* ViewBounds() const { return Bounds; }
    TInstrumentGroupsWidget* InstrumentGroups() const { return Groups; }
    QScrollBar* HorizontalScroll() const { return HScroll; }
    QToolButton* ScaleButton() const { return ScaleBtn; }
    bool IsReceiving() const { return Receiving; }
    std::uint8_t SavedRapidRow() const;
    // The option dialogs' actions (dialog_wiring.cpp).
    TDialogWiring& DialogWiring() const { return *Dialogs; }
    // The line fit and the comparison: their state and their actions
    // (analysis_wiring.cpp).
    TAnalysisOverlay& Analysis() const { return *AnalysisState; }
    TAnalysisWiring& AnalysisWiring() const { return *AnalysisActions; }
    // The receive side (receive_wiring.cpp).
    TAcquisitionEngine& Engine() { return *Acq; }
    TKavReceiver& Receiver() { return *Link; }
    TKavMessageForm* MessageForm() const { return MsgForm; }
    TADCForm* AdcForm() const { return ADCForm; }
    TReceiveView& ReceiveView() { return *RecvView; }

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

    // The last text written for the ADC readout window.
    QString AdcReadingText() const { return AdcReading; }

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
    // Start-up and shut-down orders (main_startup.cpp).
    void LoadStartupSettings();
    void FirstShow();
    void PlaceFromSettings();
    bool SaveOnClose();
    // The receive side (receive_wiring.cpp).
    void BuildReceiveSide(TDeviceFactory devices);
    void ConnectReceiveActions();
    void SetReceiveMode(bool on);
    void PlaceLinkWindows();
    void StoreLinkWindows(TKavCfg& out) const;
    void ShutDownReceiveSide();
    // File actions (file_actions.cpp).
    bool OpenAndReport(const QString& path);
    void ResetResultsForNewSpectrum();
    // Processing (processing_wiring.cpp).
    void ConnectProcessing();
    void AGShowTriggered();
    // Printing (print_wiring.cpp).
    void ConnectPrinting();
    // Export and import for other programs (exchange_wiring.cpp).
    void ConnectExchange();
    void AExportExecute();
    void AImportExecute();

    TMessagePort& Port;
    QChar DecimalSep;

    TKavCfg Cfg{};
    TRecentFiles Recent;
    TPointTables Tables;
    TPointTable* const PointStore = &Tables.Store();
    TPointTable* const UndoStore = &Tables.Undo();
    TSpectrumResults SpectrumResults;
    TInstrumentReadings InstrumentReadings;
    TValueFormat Format;
    TGFactorDisplay GFactor;
    TSpectrumSession Session;
    std::unique_ptr<TProcessingActions> ProcessingActions;
    std::unique_ptr<TVisirController> VisirController;
    std::unique_ptr<TPrintActions> Printing;
    bool Receiving = false;
    bool Shown = false;
    QString SettingsReadError; // why Kav.ini could not be read at start-up
    QString AdcReading;
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
    std::unique_ptr<TAnalysisOverlay> AnalysisState;
    std::unique_ptr<TAnalysisWiring> AnalysisActions;

    // The receive side: the link windows, the receiver, the view of the
    // receive mode on the widgets above and the engine (destroyed first).
    TKavMessageForm* MsgForm = nullptr;
    TADCForm* ADCForm = nullptr;
    std::unique_ptr<TKavReceiver> Link;
    std::unique_ptr<TReceiveView> RecvView;
    std::unique_ptr<TAcquisitionEngine> Acq;
};
