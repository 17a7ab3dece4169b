#pragma once

#include <QString>

// What the processing actions change in the window. The main window
// implements it; tests record the calls.
class TProcessingView {
public:
    virtual ~TProcessingView() = default;

    // A warning message box with an OK button.
    virtual void ShowWarning(const QString& text) = 0;
    // An information message box with an OK button.
    virtual void ShowInformation(const QString& text) = 0;
    // Repaint the plot (it reads the store and the results).
    virtual void Repaint() = 0;
    // Enable or disable the undo action ABackUp.
    virtual void SetBackUpEnabled(bool enabled) = 0;
    // Check or uncheck AGShow: g-factors shown in place of fields.
    virtual void SetGFactorShown(bool shown) = 0;
};
