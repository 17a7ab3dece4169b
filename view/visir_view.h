#pragma once

#include "config/kav_cfg.h"
#include "view/plot_geometry.h"

#include <QString>

// Pointer shapes of the plot.
enum class TPointerShape {
    Default,
    HorizontalSplit, // over a visir line: it can be dragged
    Hand,            // a range selection is armed
};

// What the visirs and the mouse draw on the plot. The plot widget implements
// it; tests implement it on a recorder or a plain image.
class TPlotSurface {
public:
    virtual ~TPlotSurface() = default;

    // The geometry of the last full paint.
    virtual const TPlotGeometry& Geometry() const = 0;
    // An exclusive-or vertical line at column x from row 3 down to row H - 5:
    // drawing it twice at the same column restores the plot.
    virtual void DrawVisirLine(int x, TColorValue colour) = 0;
    // Every column from fromX to toX (either order, both included), rows 0 to
    // H - 1, merged with the colour (colour OR pixel).
    virtual void MergeBand(int fromX, int toX, TColorValue colour) = 0;
    virtual void SetPointerShape(TPointerShape shape) = 0;
};

// What the visirs and the mouse change outside the plot. The main window
// implements it (TVisirWidgetView does most of it on the view widgets).
class TVisirView {
public:
    virtual ~TVisirView() = default;

    // Visir n (1 or 2): its abscissa and ordinate edits (VisKrdN, VisOrdN).
    virtual void SetVisirReadout(int n, const QString& abscissa, const QString& ordinate) = 0;
    // Visir n: the position of its up-down LRVisN (-32767..32767).
    virtual void SetVisirUpDown(int n, int position) = 0;
    // Visir n shown or hidden: its panel VisPanN and the check mark of AVisirN.
    virtual void SetVisirShown(int n, bool shown) = 0;
    // Status bar panel by index; an empty text blanks it.
    virtual void SetStatusPanel(int index, const QString& text) = 0;
    // ScaleBtn down or up (its own click has already set it).
    virtual void SetScaleButtonDown(bool down) = 0;
    // The check mark of AMouseSelect.
    virtual void SetMouseSelectChecked(bool on) = 0;
    // MinView := minCode and MaxView := maxCode; their change handlers set
    // the view and repaint the plot.
    virtual void SelectView(int minCode, int maxCode) = 0;
    // BotField := bottom and TopField := top, their change handlers run, and
    // the sweep bounds are marked as not yet sent to the spectrometer.
    virtual void SelectSweepBounds(int bottom, int top) = 0;
};

// A visir view that shows nothing: for callers that look at the plot only.
class TNullVisirView : public TVisirView {
public:
    void SetVisirReadout(int, const QString&, const QString&) override {}
    void SetVisirUpDown(int, int) override {}
    void SetVisirShown(int, bool) override {}
    void SetStatusPanel(int, const QString&) override {}
    void SetScaleButtonDown(bool) override {}
    void SetMouseSelectChecked(bool) override {}
    void SelectView(int, int) override {}
    void SelectSweepBounds(int, int) override {}
};
