#pragma once

#include "acquisition/acquisition_view.h"
#include "acquisition/controls_state.h"

#include <QIcon>
#include <QString>
#include <array>

class QAction;
class TADCForm;
class TInstrumentGroupsWidget;
class TKavMessageForm;
class TKavStatusBar;
class TMessagePort;
class TPlotWidget;
class TViewBoundsWidget;
class TVisirPanelWidget;

// The widgets the receive mode shows itself on.
struct TReceiveWidgets {
    TKavStatusBar* StatusBar = nullptr;
    TKavMessageForm* Messages = nullptr;
    TADCForm* Adc = nullptr;
    TPlotWidget* Plot = nullptr;
    TVisirPanelWidget* Panel1 = nullptr;
    TVisirPanelWidget* Panel2 = nullptr;
    TInstrumentGroupsWidget* Groups = nullptr;
    TViewBoundsWidget* ViewBounds = nullptr;
    // The actions of TAcqAction, in its order.
    std::array<QAction*, AcqActionCount> Actions{};
};

// The receive mode's view on the main window's widgets: status panels,
// message and ADC windows, live drawing on the plot, the four control groups
// and the receive-mode actions. Boxes go through the message port.
class TReceiveView final : public TAcquisitionView, public TControlsView {
public:
    TReceiveView(const TReceiveWidgets& widgets, TMessagePort& port);

    // TAcquisitionView
    void SetStatusPanel(int index, const QString& text) override;
    void AddMessage(const QString& text) override;
    void ClearMessages() override;
    void ShowError(const QString& text) override;
    void ShowAutoSaveFailure(const QString& text) override;
    void ShowLinkLost(const QString& text) override;
    void PlotSlot(std::uint16_t slot) override;
    void PlotPoint(long code, long ordinate, TColorValue colour) override;
    void MoveFieldMarker(long code) override;
    void Repaint() override;
    void SetVisirOrdinate(int n, const QString& text) override;
    void SetAdcWindowShown(bool shown) override;
    void SetAdcReading(const QString& text) override;

    // TControlsView
    void ShowControls(const TControlsState& state) override;
    void SetMinView(int code) override;
    void SetMaxView(int code) override;
    void RepaintPlot() override;

    void ForgetShown() override;

private:
    void ShowAction(TAcqAction which, const TActionState& state);
    QIcon ImageIcon(TAcqAction which, int image) const;
    void MarkAutoSavePanel(bool failed, const QString& reason);

    TReceiveWidgets W;
    TMessagePort& Port;
    // Images of the two blinking buttons: the action's own and the lit one.
    std::array<QIcon, AcqActionCount> Plain;
    QIcon LpfLit;
    QIcon SumLit;
    TControlsState Shown;
    bool HasShown = false;
    bool AutoSaveFailed = false;
};
