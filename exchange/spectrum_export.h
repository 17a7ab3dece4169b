#pragma once

#include "config/kav_cfg.h"
#include "exchange/exchange_spectrum.h"
#include "spectrum/point_slot.h"

#include <QString>
#include <QStringList>

// The spectrum in memory written for other programs: the points between the
// view bounds, the field in the absolute field unit (sweep unit 3), the
// amplitude as the plot shows it.

enum class TExchangeFormat {
    Unknown,
    Tsv,   // kavtool's code<TAB>amplitude code lines
    Csv,   // two-column text, field and amplitude
    Text,  // two-column text read under another name (.txt)
    Bes3t, // NAME.DSC + NAME.DTA
    Png,   // a picture of the plot
    Svg,
};

// The format a file name's extension names (either case): .tsv, .csv, .txt,
// .dsc or .dta, .png, .svg.
TExchangeFormat ExchangeFormatOfPath(const QString& path);

// What is known of the measurement of the spectrum in memory: the gain the
// amplitudes are divided by (Amplifying), the resonator frequency when it
// has been computed, and the speed, the serial and program numbers and the
// summed sweeps from the spectrum's own parameter records (a spectrum
// without records does not know them).
TMeasurementInfo MeasurementInfoOf(const TPointTable& store, const TKavCfg& cfg);

// The points between ViewMin and ViewMax in exchange values. With
// equidistant, points whose field codes are not equally spaced are put on
// the grid of the greatest common step of their codes, each added grid code
// taking the preceding point's amplitude as the processing operations fill
// gaps; notes then say so. A unit name other programs may not know is
// written as it stands, with a note. Fails (with the reason) when there is
// no point between the bounds or the settings give no axis. *resampled
// (when given) tells whether the points were put on a grid.
bool CollectViewSpectrum(const TPointTable& store, const TKavCfg& cfg, bool equidistant,
                         TExchangeSpectrum& spectrum, QStringList& notes, QString* error,
                         bool* resampled = nullptr);

// CollectViewSpectrum, then the file (BES3T or CSV; for BES3T the pair
// beside `path`, see Bes3tPaths). Title: the name written as the data set's
// title. On failure nothing is written (see WriteBes3t for the pair) and
// *error names the file and the reason.
bool ExportSpectrum(const QString& path, TExchangeFormat format, const TPointTable& store,
                    const TKavCfg& cfg, const QString& title, QStringList& notes, QString* error);
