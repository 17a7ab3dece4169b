#pragma once

#include "config/kav_cfg.h"

#include <QString>
#include <cstdint>

// What the receive mode changes in the main window outside the four control
// groups. The window implements it; tests and kavtool implement it with a
// recorder or on the console.
class TAcquisitionView {
public:
    virtual ~TAcquisitionView() = default;

    // Status bar panel by index (KavStatusBar, from 0); an empty text blanks it.
    virtual void SetStatusPanel(int index, const QString& text) = 0;
    // One line appended to the message window.
    virtual void AddMessage(const QString& text) = 0;
    // Every line of the message window removed.
    virtual void ClearMessages() = 0;
    // An error message box with one OK button.
    virtual void ShowError(const QString& text) = 0;
    // An automatic save failed (text: the message-window line, path and
    // reason). A window shows it at once without waiting for the operator;
    // the acquisition goes on. The line itself is written by AddMessage.
    virtual void ShowAutoSaveFailure(const QString& text) {}
    // The line went away under the open port (text: the port and the
    // system's reason, also written by AddMessage). A window tells the
    // operator at once without waiting; what was received stays.
    virtual void ShowLinkLost(const QString& text) {}

    // Live drawing: store slot `slot` as one pixel in the colour Graph (and
    // its raw-trace pixel in AddGraph when ShowFirst is on), without a repaint.
    virtual void PlotSlot(std::uint16_t slot) = 0;
    // One pixel at (x(code), min(y(ordinate), H - 2)) in the colour given.
    virtual void PlotPoint(long code, long ordinate, TColorValue colour) = 0;
    // The exclusive-or field marker moved under a field code.
    virtual void MoveFieldMarker(long code) = 0;
    // The full repaint of the plot (ScreenBoxPaint).
    virtual void Repaint() = 0;
    // The ordinate box of visir n (1 or 2).
    virtual void SetVisirOrdinate(int n, const QString& text) = 0;

    // The ADC readout window shown or hidden, and the text of its label ADCRes.
    virtual void SetAdcWindowShown(bool shown) = 0;
    virtual void SetAdcReading(const QString& text) = 0;
};
