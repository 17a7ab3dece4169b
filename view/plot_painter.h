#pragma once

#include "config/kav_cfg.h"
#include "processing/gfactor_display.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/point_slot.h"
#include "spectrum/spectrum_results.h"
#include "spectrum/value_format.h"
#include "view/plot_geometry.h"

#include <QFont>
#include <cstdint>

class QImage;
class QPainter;
class QString;
class TAnalysisOverlay;
class TLabelSprites;
class TPlotLabels;

// What the full paint of the plot shows, read at every paint.
struct TPlotSource {
    const TKavCfg& Cfg;
    const TPointTable& Store;
    const TSpectrumResults& Results;
    const TInstrumentReadings& Readings;
    const TValueFormat& Format;
    const TGFactorDisplay& GFactor;
    // 65536 unfiltered ordinates drawn beside each point when ShowFirst is
    // on, or none.
    const std::uint16_t* RawTrace = nullptr;
    // The fitted curve, the reference and their results, or none; drawn
    // only while they describe the store's points.
    const TAnalysisOverlay* Analysis = nullptr;
};

// The full paint of the plot on any paint device: the screen's canvas (in
// DisplayColors) and the pictures (in BMPColors) share this one drawing. The
// device's size is the plot's size; texts measure at the device's
// resolution. Each step draws what its name says, in the order of the full
// paint: DrawGrid, DrawPoints, DrawMarksAndTexts, then the visir lines (XOR
// lines of the visir controller on the screen; on a picture DrawVisirLines
// goes before the texts, so that their boxes keep them readable).
//
// On a 32-bit image with sprites, the labels are copied from the sprites and
// the arrows set straight into the pixels: the same pixels as drawing each
// one through the painter, without measuring and laying out every text.
class TPlotPainter {
public:
    // vector: the device keeps shapes (SVG), so one-pixel lines are drawn
    // through pixel centres and points are drawn as merged rectangles.
    // sprites: the labels drawn so far on raster canvases, or none (every
    // label drawn through the painter).
    TPlotPainter(const TPlotSource& source, const TColorSet& colours, const QFont& font,
                 bool vector = false, TLabelSprites* sprites = nullptr);

    // The geometry of a w x h plot of the source's view.
    TPlotGeometry Geometry(int w, int h) const;

    // Background, frame, the three grid lines and the four amplitude labels.
    void DrawGrid(QPainter& p, const TPlotGeometry& geo) const;
    // Every point of the view as one pixel (and its raw-trace pixel when
    // ShowFirst is on), straight into the image's pixels.
    void DrawPoints(QImage& image, const TPlotGeometry& geo) const;
    // The same pixels through a painter, batched: rectangles of one column's
    // adjoining pixels, so that a vector device keeps them as shapes.
    void DrawPoints(QPainter& p, const TPlotGeometry& geo) const;
    // The traces of the line fit and the comparison with their result lines
    // at the bottom left, extremum marks and labels, pair amplitudes (and
    // g-factors), "S=", and the corner texts "АМ=" and "Tiba/Titan=".
    void DrawMarksAndTexts(QPainter& p, const TPlotGeometry& geo) const;
    // Each shown visir inside the view as a plain line from row 3 to H - 5.
    void DrawVisirLines(QPainter& p, const TPlotGeometry& geo) const;

    // The column where visir n (1 or 2) is drawn; -1 when it is hidden or
    // outside the view.
    int VisirColumn(int n, const TPlotGeometry& geo) const;

private:
    void DrawHairline(QPainter& p, int x1, int y1, int x2, int y2) const;
    void DrawExtremumMarks(QPainter& p, TPlotLabels& labels, const TPlotGeometry& geo) const;
    void DrawPairTexts(TPlotLabels& labels, const TPlotGeometry& geo) const;
    void DrawAreaText(TPlotLabels& labels, const TPlotGeometry& geo) const;
    void DrawCornerTexts(TPlotLabels& labels) const;
    void DrawAnalysis(QPainter& p, TPlotLabels& labels, const TPlotGeometry& geo) const;

    TPlotSource Source;
    const TColorSet& Colours;
    QFont Font;
    bool Vector = false;
    TLabelSprites* Sprites = nullptr;
};
