#pragma once

#include "config/kav_cfg.h"
#include "print/page_geometry.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/point_slot.h"
#include "spectrum/spectrum_results.h"
#include "spectrum/value_format.h"
#include "view/gfactor_display.h"

#include <QFont>
#include <QString>
#include <cstdint>

class QPaintDevice;
class QPainter;

// What the printed page shows: the spectrum in the plot's view and ordinate
// scale, the shown visirs, the processing results, the printer colours and
// the margins of the settings record, and the header line.
struct TPrintout {
    const TKavCfg& Cfg;
    const TPointTable& Store;
    const TSpectrumResults& Results;
    const TInstrumentReadings& Readings;
    const TValueFormat& Format;
    const TGFactorDisplay& GFactor;
    QString Header; // PrintoutHeader()
    // The raw trace drawn beside each point when ShowFirst is on: 65536
    // ordinates, one per slot, or none.
    const std::uint16_t* RawTrace = nullptr;
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
