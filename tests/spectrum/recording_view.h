#pragma once

#include "qstring_printer.h"
#include "spectrum/spectrum_view.h"

#include <QString>
#include <QStringList>
#include <map>
#include <ostream>

// Records every call in order and keeps what the window would show.
class TRecordingView : public TSpectrumView {
public:
    QStringList Calls;
    std::map<int, QString> Panels;
    int GainIndex = -1;
    int SpeedIndex = -1;
    bool GainBlank = false;
    bool SpeedBlank = false;
    QString AdcReading;
    QString ViewMinText;
    QString ViewMaxText;
    bool BackUpEnabled = true;
    bool SaveAsEnabled = false;
    bool GFactorShown = true;
    QString Caption;
    QStringList MenuCaptions;
    bool SubmenuEnabled = false;

    void SetGainIndex(int index) override {
        Calls << QStringLiteral("Gain %1").arg(index);
        GainIndex = index;
        GainBlank = false;
    }
    void SetSpeedIndex(int index) override {
        Calls << QStringLiteral("Speed %1").arg(index);
        SpeedIndex = index;
        SpeedBlank = false;
    }
    void BlankSelectorTexts() override {
        Calls << QStringLiteral("BlankSelectors");
        GainBlank = SpeedBlank = true;
    }
    void SetStatusPanel(int index, const QString& text) override {
        Calls << QStringLiteral("Panel %1 '%2'").arg(index).arg(text);
        Panels[index] = text;
    }
    void SetAdcReading(const QString& text) override {
        Calls << QStringLiteral("Adc '%1'").arg(text);
        AdcReading = text;
    }
    void SetViewBoundTexts(const QString& minText, const QString& maxText) override {
        Calls << QStringLiteral("ViewBounds '%1' '%2'").arg(minText, maxText);
        ViewMinText = minText;
        ViewMaxText = maxText;
    }
    void SetBackUpEnabled(bool enabled) override {
        Calls << QStringLiteral("BackUp %1").arg(enabled);
        BackUpEnabled = enabled;
    }
    void SetSaveAsEnabled(bool enabled) override {
        Calls << QStringLiteral("SaveAs %1").arg(enabled);
        SaveAsEnabled = enabled;
    }
    void SetGFactorShown(bool checked) override {
        Calls << QStringLiteral("GShow %1").arg(checked);
        GFactorShown = checked;
    }
    void SetCaption(const QString& text) override {
        Calls << QStringLiteral("Caption '%1'").arg(text);
        Caption = text;
    }
    void RebuildRecentFilesMenus(const QStringList& captions, bool submenuEnabled) override {
        Calls << QStringLiteral("Menus %1 %2").arg(captions.size()).arg(submenuEnabled);
        MenuCaptions = captions;
        SubmenuEnabled = submenuEnabled;
    }
};
