#pragma once

#include "config/message_port.h"

#include <QPointer>

class QMessageBox;

class QWidget;

// The message boxes, colour chooser and file dialogs of the platform, modal
// over the dialog that is open or else over the parent.
class TMessageBoxPort : public TMessagePort {
public:
    void SetParent(QWidget* parent) { Parent = parent; }

    void Warning(const QString& text) override;
    void Information(const QString& text) override;
    void Error(const QString& text) override;
    TAnswer Confirm(const QString& text) override;
    std::optional<TColorValue> ChooseColor(TColorValue initial) override;
    QString OpenFileName(const TFileDialogRequest& request) override;
    QString SaveFileName(const TFileDialogRequest& request) override;
    void RunDialog(QDialog& dialog) override;
    bool PrinterSetup(QPrinter& printer) override;
    TSettingsSaveAnswer SettingsNotSaved(const QString& text) override;
    // One box at a time: a later warning replaces the text of one still shown.
    void NonModalWarning(const QString& text) override;

private:
    QWidget* Parent = nullptr;
    QPointer<QMessageBox> Notice;
};
