#pragma once

#include "acquisition/acquisition_view.h"
#include "acquisition/controls_state.h"
#include "processing/processing_view.h"

#include <QString>
#include <functional>

// The receive mode without a window: message-window lines, error and warning
// boxes go to line sinks (kavtool prints them); drawing and the controls are
// not shown.
class TConsoleView final : public TAcquisitionView, public TControlsView, public TProcessingView {
public:
    using TLineSink = std::function<void(const QString&)>;
    TConsoleView(TLineSink messages, TLineSink errors)
        : Messages(std::move(messages)), Errors(std::move(errors)) {}

    // TAcquisitionView
    void SetStatusPanel(int, const QString&) override {}
    void AddMessage(const QString& text) override { Messages(text); }
    void ClearMessages() override {}
    void ShowError(const QString& text) override { Errors(text); }
    void PlotSlot(std::uint16_t) override {}
    void PlotPoint(long, long, TColorValue) override {}
    void MoveFieldMarker(long) override {}
    void Repaint() override {}
    void SetVisirOrdinate(int, const QString&) override {}
    void SetAdcWindowShown(bool) override {}
    void SetAdcReading(const QString&) override {}

    // TControlsView
    void ShowControls(const TControlsState&) override {}
    void SetMinView(int) override {}
    void SetMaxView(int) override {}
    void RepaintPlot() override {}

    // TProcessingView
    void ShowWarning(const QString& text) override { Errors(text); }
    void ShowInformation(const QString& text) override { Messages(text); }
    void SetBackUpEnabled(bool enabled) override { BackUp = enabled; }
    bool IsBackUpEnabled() const override { return BackUp; }
    void SetGFactorShown(bool shown) override { GShow = shown; }
    bool IsGFactorShown() const override { return GShow; }

private:
    TLineSink Messages;
    TLineSink Errors;
    bool BackUp = false;
    bool GShow = false;
};
