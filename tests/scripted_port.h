#pragma once

#include "config/message_port.h"

#include <QDialog>
#include <QLabel>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

// Answers the program's boxes and dialogs from a script and records what was
// asked, without a modal loop.
class TScriptedPort : public TMessagePort {
public:
    QStringList Warnings, Infos, Errors, Confirms;
    std::deque<TAnswer> Answers;                    // confirmations; none left: Cancel
    std::deque<std::optional<TColorValue>> Colours; // taken in order; none left: cancelled
    std::vector<TColorValue> ColourStarts;
    QStringList OpenAnswers, SaveAnswers; // taken in order; none left: cancel
    std::vector<TFileDialogRequest> OpenRequests, SaveRequests;
    QStringList DialogLabels;
    int Dialogs = 0;
    // Acts on a dialog as the user would (sets controls, clicks OK or
    // Cancel); none: the dialog is closed without either.
    std::function<void(QDialog&)> OnDialog;
    // Answers the platform's printer setup; none: cancelled.
    std::function<bool(QPrinter&)> OnPrinterSetup;

    void Warning(const QString& text) override { Warnings << text; }
    void Information(const QString& text) override { Infos << text; }
    void Error(const QString& text) override { Errors << text; }
    TAnswer Confirm(const QString& text) override {
        Confirms << text;
        if (Answers.empty())
            return TAnswer::Cancel;
        const TAnswer a = Answers.front();
        Answers.pop_front();
        return a;
    }
    std::optional<TColorValue> ChooseColor(TColorValue initial) override {
        ColourStarts.push_back(initial);
        if (Colours.empty())
            return std::nullopt;
        const auto c = Colours.front();
        Colours.pop_front();
        return c;
    }
    QString OpenFileName(const TFileDialogRequest& request) override {
        OpenRequests.push_back(request);
        return OpenAnswers.isEmpty() ? QString() : OpenAnswers.takeFirst();
    }
    QString SaveFileName(const TFileDialogRequest& request) override {
        SaveRequests.push_back(request);
        return SaveAnswers.isEmpty() ? QString() : SaveAnswers.takeFirst();
    }
    void RunDialog(QDialog& dialog) override {
        ++Dialogs;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            DialogLabels << label->text();
        if (OnDialog)
            OnDialog(dialog);
    }
    bool PrinterSetup(QPrinter& printer) override {
        return OnPrinterSetup && OnPrinterSetup(printer);
    }
};
