#pragma once

#include "app/message_port.h"

class QWidget;

// The message boxes and file dialogs of the platform, modal over a parent.
class TMessageBoxPort : public TMessagePort {
public:
    void SetParent(QWidget* parent) { Parent = parent; }

    void Warning(const QString& text) override;
    void Information(const QString& text) override;
    void Error(const QString& text) override;
    QString OpenFileName(const TFileDialogSpec& spec) override;
    QString SaveFileName(const TFileDialogSpec& spec) override;
    void RunDialog(QDialog& dialog) override;
    void PrintImage(const QImage& image) override;

private:
    QWidget* Parent = nullptr;
};
