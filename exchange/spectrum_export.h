#pragma once

#include "config/kav_cfg.h"
#include "exchange/exchange_spectrum.h"
#include "spectrum/point_slot.h"

#include <QString>
#include <QStringList>

// The spectrum in memory written for other programs: the points between the
// view bounds, the field in the absolute field unit (sweep unit 3), the
// amplitude as the plot shows it (divided by the factor an import multiplied
// it by, so the numbers are those of the imported file).

enum class TExchangeFormat {
    Unknown,
    Tsv,   // kavtool's code<TAB>amplitude code lines
    Csv,   // two-column text, field and amplitude
    Text,  // column text read under another name (.txt, .dat, .asc)
    Bes3t, // NAME.DSC + NAME.DTA
    Png,   // a picture of the plot
    Svg,
};

// The format a file name's extension names (either case): .tsv, .csv, .txt,
// .dat or .asc, .dsc or .dta, .png, .svg.
TExchangeFormat ExchangeFormatOfPath(const QString& path);

// What is known of the measurement of the spectrum in memory: the gain the
// amplitudes are divided by (Amplifying), the resonator frequency when it
// has been computed, and the speed, the serial and program numbers, the
// summed sweeps, the modulation amplitude through the ADC input and the
// amplitude scale of an import from the spectrum's own parameter records (a
// spectrum without records does not know them).
TMeasurementInfo MeasurementInfoOf(const TPointTable& store, const TKavCfg& cfg);

// Whether field codes lie on one step within one code: each code is within
// one code of first + k * (last - first) / (n - 1). Rounding the fields of an
// equidistant spectrum to codes keeps it so; a spectrum with a gap does not.
bool CodesEquidistant(const std::vector<std::uint16_t>& codes);

// The points between ViewMin and ViewMax in exchange values, each at the
// field of its own code: nothing is added or moved. The spectrum is marked
// equidistant when its codes are (CodesEquidistant). A unit name other
// programs may not know is written as it stands, with a note. Fails (with
// the reason) when there is no point between the bounds or the settings
// give no axis.
bool CollectViewSpectrum(const TPointTable& store, const TKavCfg& cfg, TExchangeSpectrum& spectrum,
                         QStringList& notes, QString* error);

// CollectViewSpectrum, then the file (BES3T or CSV; for BES3T the files
// beside `path`, see Bes3tPaths). Title: the name written as the data set's
// title. On failure nothing is written (see WriteBes3t for the pair) and
// *error names the file and the reason.
bool ExportSpectrum(const QString& path, TExchangeFormat format, const TPointTable& store,
                    const TKavCfg& cfg, const QString& title, QStringList& notes, QString* error);
