#pragma once

#include <QString>

// What the processing actions change in the window. The main window
// implements it; tests record the calls. The enabled state of ABackUp and the
// check of AGShow belong to the window's actions (the spectrum's open and
// close sequences change them too), so the actions ask for them here.
class TProcessingView {
public:
    virtual ~TProcessingView() = default;

    // A warning message box with an OK button.
    virtual void ShowWarning(const QString& text) = 0;
    // An information message box with an OK button.
    virtual void ShowInformation(const QString& text) = 0;
    // Repaint the plot (it reads the store and the results).
    virtual void Repaint() = 0;
    // Enable or disable the undo action ABackUp; whether it is enabled.
    virtual void SetBackUpEnabled(bool enabled) = 0;
    virtual bool IsBackUpEnabled() const = 0;
    // Check or uncheck AGShow (g-factors shown in place of fields); whether
    // it is checked.
    virtual void SetGFactorShown(bool shown) = 0;
    virtual bool IsGFactorShown() const = 0;
};
