#pragma once

#include "config/kav_cfg.h"
#include "processing/gfactor_display.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/point_slot.h"
#include "spectrum/spectrum_results.h"
#include "spectrum/value_format.h"
#include "view/image_pixels_painter.h"
#include "view/label_painter.h"
#include "view/plot_geometry.h"
#include "view/plot_painter.h"
#include "view/visir_view.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <cstdint>

class QMenu;
class QPainter;
class TAnalysisOverlay;
class TVisirController;

// The spectrum plot (ScreenBox). It keeps a canvas the size of the widget:
// every drawing operation (the full paint, a live pixel, the exclusive-or
// visir lines and field marker, the selection bands) draws into the canvas at
// once and schedules an update; paintEvent only copies the canvas. Mouse
// events go to the visir controller.
class TPlotWidget : public QWidget, public TPlotSurface {
    Q_OBJECT
public:
    TPlotWidget(const TKavCfg& cfg, const TPointTable& store, const TSpectrumResults& results,
                const TInstrumentReadings& readings, const TValueFormat& format,
                const TGFactorDisplay& gfactor, QWidget* parent = nullptr);

    // The visirs placed at the end of every paint and fed by the mouse.
    void SetVisirs(TVisirController* visirs) { Visirs = visirs; }
    // The raw trace drawn beside each point when ShowFirst is on: 65536
    // ordinates, one per slot, or none.
    void SetRawTrace(const std::uint16_t* values) { RawTrace = values; }
    // The line fit and comparison drawn over the spectrum, or none.
    void SetAnalysis(const TAnalysisOverlay* analysis) { Analysis = analysis; }
    const TAnalysisOverlay* AnalysisShown() const { return Analysis; }
    const std::uint16_t* RawTraceValues() const { return RawTrace; }
    // The pop-up menu ScreenMenu; with a menu the right button opens it and
    // starts no drag or selection.
    void SetScreenMenu(QMenu* menu) { ScreenMenu = menu; }

    // The full paint: grid, points, extremum marks and texts, visirs.
    void ScreenBoxPaint();
    // The frame around the plot takes the display background colour, so the
    // margin between frame and plot matches the plot.
    void ShowBackgroundOn(QWidget& frame) const;
    // How many full paints the plot has drawn.
    int FullPaintCount() const { return FullPaints; }
    // Until the plot first reaches the screen, a full paint (asked for
    // directly or by a resize) is only noted; the first paintEvent draws it
    // once, at the size the plot has by then. A wipe to the grid meanwhile is
    // drawn at once and drops the full paint noted before it, which it would
    // have wiped. The window asks for this when it creates the plot, so that
    // start-up paints the plot once.
    void PaintOnceWhenShown() { WaitingForScreen = true; }
    void ARepaintExecute() { ScreenBoxPaint(); }
    // Wipes the plot to its frame, grid and grid labels, and recomputes the
    // geometry. Forgets the visir lines and the field marker.
    void DrawGrid();

    // Live drawing: one store slot as a pixel (copy mode), plus its raw-trace
    // pixel in AddGraph when ShowFirst is on. Without a colour: Graph.
    void PlotSlot(std::uint16_t slot, TColorValue colour);
    void PlotSlot(std::uint16_t slot);
    // One pixel at (x(code), min(y(ordinate), H - 2)).
    void PlotPoint(long code, long ordinate, TColorValue colour);
    // The exclusive-or field marker under a field code: erased at its old
    // column, drawn at the new one; a code outside the view erases it.
    void MoveFieldMarker(long code);
    int FieldMarkerX() const { return MarkerX; }
    // What live drawing changed since it last reached the screen; it does so
    // at the end of the current display frame, or now.
    QRect PendingLiveArea() const { return LiveDirty; }
    void FlushLiveDrawing();

    const QImage& Canvas() const { return Image; }
    // The font of every text on the plot (10 points).
    QFont LabelFont() const { return TextFont; }

    // TPlotSurface
    const TPlotGeometry& Geometry() const override { return Geo; }
    void DrawVisirLine(int x, TColorValue colour) override;
    void MergeBand(int fromX, int toX, TColorValue colour) override;
    void SetPointerShape(TPointerShape shape) override;

    QSize sizeHint() const override { return QSize(600, 300); }

protected:
    // A switch of language draws the plot again, for its texts.
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void EnsureCanvas();
    TImagePixels Pixels() { return TImagePixels::Of(Image); }
    void PutPixel(int x, int y, QRgb colour);
    void PutSlotPixels(const TImagePixels& px, std::uint16_t slot, QRgb colour);
    // The full paint's drawing, in DisplayColors on the canvas.
    TPlotPainter Painter() const;
    void XorMarker(int x);
    void MarkLiveDrawn(const QRect& area);
    int DisplayFrameMs() const;

    const TKavCfg& Cfg;
    const TPointTable& Store;
    const TSpectrumResults& Results;
    const TInstrumentReadings& Readings;
    const TValueFormat& Format;
    const TGFactorDisplay& GFactor;
    TVisirController* Visirs = nullptr;
    const std::uint16_t* RawTrace = nullptr;
    const TAnalysisOverlay* Analysis = nullptr;
    QMenu* ScreenMenu = nullptr;

    QImage Image;
    QFont TextFont;
    // The labels drawn so far, kept from paint to paint.
    mutable TLabelSprites Sprites;
    TPlotGeometry Geo;
    int MarkerX = -1;
    bool Pressed = false;
    int FullPaints = 0;
    bool WaitingForScreen = false;
    bool FullPaintDue = false;
    // Live drawing not yet on the screen, and the timer that shows it.
    static constexpr int DefaultFrameMs = 16;
    QRect LiveDirty;
    QTimer LiveFrame;
};
