#pragma once

#include "config/kav_cfg.h"

#include <QString>
#include <optional>

// The boxes an option dialog opens over itself: the confirmation before
// calibration values are unlocked, the warning of a refused field, the error
// of a settings file that cannot be written, and the colour chooser. The
// program answers them with the platform's modal boxes; tests answer them
// from a script without a modal loop.
class TDialogPort {
public:
    enum class TAnswer { Yes, No, Cancel };

    virtual ~TDialogPort() = default;

    // A confirmation with the buttons Yes, No and Cancel.
    virtual TAnswer Confirm(const QString& text) = 0;
    // Message boxes with one OK button.
    virtual void Warning(const QString& text) = 0;
    virtual void Error(const QString& text) = 0;
    // The colour chooser, started at `initial`; nothing when cancelled.
    virtual std::optional<TColorValue> ChooseColor(TColorValue initial) = 0;
};
