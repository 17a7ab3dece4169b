#pragma once

#include "config/kav_cfg.h"
#include "print/page_geometry.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/point_slot.h"
#include "spectrum/value_format.h"

#include <QString>
#include <cstdint>

// The texts of the printed page that the screen does not show.

// The print job's title, which is also the PDF's title.
QString PrintJobTitle();

// The header line: in reception mode only the gain and the speed; otherwise,
// when a spectrum file is known, first its name without the folder in double
// quotes. gainText and speedText are the texts the gain and speed selectors
// show (empty when they show none).
QString PrintoutHeader(bool receiving, const QString& filePath, const QString& gainText,
                       const QString& speedText);

// The caption of a visir: "{", the field, two spaces, the amplitude of the
// point under it, "}". A visir over a slot without a point shows "<НЕТ>" for
// the amplitude, as its readout on the screen does.
QString VisirCaption(const TValueFormat& format, const TPointTable& store, std::uint16_t code);

// "АМ=" and the field measured through the ADC input, fixed (2, 2), with the
// name of ADC unit 3; empty when there is none (0 or less).
QString AdcFieldText(const TKavCfg& cfg, const TInstrumentReadings& readings, QChar decimalSep);

// Why the margins leave no room for the plot on a printer's page, naming
// the pair of margins that meet and the paper's side: "Поля не оставляют
// места для спектра: слева 110 мм и справа 110 мм на бумаге шириной 210 мм."
// Empty when there is room.
QString NoRoomForPlotText(const TPageMargins& margins, const TPrintableArea& area);

// The name a PDF of the spectrum is proposed under: the spectrum file's name
// with ".pdf" in place of its extension, or "Спектр.pdf" when no file is
// known.
QString ProposedPdfName(const QString& spectrumPath);

// The name a PDF of the main window is proposed under.
QString ProposedWindowPdfName();
