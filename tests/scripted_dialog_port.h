#pragma once

#include "config/dialog_port.h"

#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

// Answers the dialogs' boxes from a script and records what was asked.
class TScriptedDialogPort : public TDialogPort {
public:
    std::deque<TAnswer> Answers;                    // taken in order; none left: Cancel
    std::deque<std::optional<TColorValue>> Colours; // taken in order; none left: cancelled
    QStringList Confirms, Warnings, Errors;
    std::vector<TColorValue> ColourStarts;

    TAnswer Confirm(const QString& text) override {
        Confirms << text;
        if (Answers.empty())
            return TAnswer::Cancel;
        const TAnswer a = Answers.front();
        Answers.pop_front();
        return a;
    }
    void Warning(const QString& text) override { Warnings << text; }
    void Error(const QString& text) override { Errors << text; }
    std::optional<TColorValue> ChooseColor(TColorValue initial) override {
        ColourStarts.push_back(initial);
        if (Colours.empty())
            return std::nullopt;
        const auto c = Colours.front();
        Colours.pop_front();
        return c;
    }
};
