#pragma once

#include "print/page_geometry.h"
#include "view/plot_painter.h"

#include <QFont>
#include <QString>

class QPaintDevice;
class QPainter;

// What the printed page shows: what the plot shows (the spectrum in the
// plot's view and ordinate scale, the shown visirs, the processing results,
// the raw trace), in the printer colours and within the margins of the
// settings record, under a header line.
struct TPrintout : TPlotSource {
    QString Header; // PrintoutHeader()
};

// The font of every text on the page: 10 points at the device's resolution.
QFont PrintoutFont();

// The printable area of a device: its paintable size in pixels and in
// millimetres.
TPrintableArea PrintableAreaOf(const QPaintDevice& device);

// The page geometry of the printout on a device.
TPageGeometry PrintoutGeometry(const TPrintout& page, const TPrintableArea& area);

// Why the printout cannot go on a device, or empty when it can: the device
// reports no printable area, or the margins leave no room for the plot.
QString PrintoutProblem(const TPrintout& page, const QPaintDevice& device);

// Paints the one-page printout with a painter active on its device (a
// printer, a PDF writer, an image), in the colour set PrinterColors; the
// device's origin is the top left corner of its printable area. When the
// device reports no printable area or the margins leave no room for the
// plot, nothing is painted and the reason is returned in *reason.
bool PaintPrintout(QPainter& p, const TPrintout& page, QString* reason = nullptr);
