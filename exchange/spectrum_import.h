#pragma once

#include "config/kav_cfg.h"
#include "exchange/exchange_spectrum.h"
#include "spectrum/point_slot.h"

#include <QString>
#include <QStringList>

// A spectrum of another program made a spectrum of this one: the field
// values become field codes through the calibration of sweep unit 3, the
// amplitudes become ordinates through the selected amplitude unit and a gain.

// What the mapping could not keep.
struct TImportCounts {
    int Outside = 0; // points whose field code falls outside 0..65519: dropped
    int Clipped = 0; // amplitudes beyond 0..4095: held at the nearer end
    int Shared = 0;  // points on a field code an earlier point took: the later kept
};

// Reads a BES3T data set (.DSC or .DTA) or two-column text (.csv, .txt) as
// the name's extension says. On failure returns false with one line naming
// the file and what is wrong.
bool ReadExchangeFile(const QString& path, TExchangeSpectrum& spectrum, QString* error,
                      QStringList* notes = nullptr);

// Places a spectrum into a cleared table: each point at its nearest field
// code, its amplitude at the nearest ordinate. The gain is the one the file
// names (a BES3T file written here), else gainRow. A field in G, mT or T is
// converted to the unit of sweep unit 3 when that unit is one of them too;
// otherwise the values are taken as they stand (with a note when the file
// names another unit). The table then holds the records a file of this
// program would: the gain, the field bounds of sweep unit 3, and the speed,
// serial and program numbers and summed sweeps the file knows. Notes say
// what was dropped or held. Fails, with the table untouched, when the
// settings give no axis or no point falls on a field code.
bool PlaceImportedSpectrum(const TExchangeSpectrum& spectrum, const TKavCfg& cfg, int gainRow,
                           const QString& source, TPointTable& table, QStringList& notes,
                           QString* error, TImportCounts* counts = nullptr);

// ReadExchangeFile, then PlaceImportedSpectrum.
bool ImportSpectrumFile(const QString& path, const TKavCfg& cfg, int gainRow, TPointTable& table,
                        QStringList& notes, QString* error, TImportCounts* counts = nullptr);
