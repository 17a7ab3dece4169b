#pragma once

#include "config/dialog_port.h"

// The dialogs' boxes on the platform: message boxes and the colour chooser,
// modal over the dialog that is open.
class TDialogBoxPort : public TDialogPort {
public:
    TAnswer Confirm(const QString& text) override;
    void Warning(const QString& text) override;
    void Error(const QString& text) override;
    std::optional<TColorValue> ChooseColor(TColorValue initial) override;
};
