#pragma once

#include <QString>
#include <QStringList>

// What the spectrum's open, close and parameter rules change in the main
// window. The window implements it; tests implement it with a recorder.
class TSpectrumView {
public:
    virtual ~TSpectrumView() = default;

    // Gain and speed selectors: show the row of that index (an index outside
    // the list shows no row).
    virtual void SetGainIndex(int index) = 0;
    virtual void SetSpeedIndex(int index) = 0;
    // Blank the visible text of both selectors, whatever row they hold.
    virtual void BlankSelectorTexts() = 0;

    // Status bar panel by index; an empty text blanks it.
    virtual void SetStatusPanel(int index, const QString& text) = 0;
    // The reading label of the ADC window.
    virtual void SetAdcReading(const QString& text) = 0;
    // MinViewExt and MaxViewExt: the view bounds in the selected sweep unit.
    virtual void SetViewBoundTexts(const QString& minText, const QString& maxText) = 0;

    // Enabled state of the undo action ABackUp and of ASaveFileAs.
    virtual void SetBackUpEnabled(bool enabled) = 0;
    virtual void SetSaveAsEnabled(bool enabled) = 0;
    // Check or uncheck AGShow: g-factors shown in place of fields.
    virtual void SetGFactorShown(bool shown) = 0;
    // Main window caption; the application title takes the same text.
    virtual void SetCaption(const QString& text) = 0;

    // Rebuild both recent-files menus (the "Последние файлы" submenu and the
    // open button's drop-down) with one item per caption, in order; the
    // submenu is enabled or disabled as told.
    virtual void RebuildRecentFilesMenus(const QStringList& captions, bool submenuEnabled) = 0;
};

// A view that shows nothing: for callers without a window (kavtool).
class TNullSpectrumView : public TSpectrumView {
public:
    void SetGainIndex(int) override {}
    void SetSpeedIndex(int) override {}
    void BlankSelectorTexts() override {}
    void SetStatusPanel(int, const QString&) override {}
    void SetAdcReading(const QString&) override {}
    void SetViewBoundTexts(const QString&, const QString&) override {}
    void SetBackUpEnabled(bool) override {}
    void SetSaveAsEnabled(bool) override {}
    void SetGFactorShown(bool) override {}
    void SetCaption(const QString&) override {}
    void RebuildRecentFilesMenus(const QStringList&, bool) override {}
};
