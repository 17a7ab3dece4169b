#pragma once

#include "config/kav_cfg.h"
#include "exchange/exchange_spectrum.h"
#include "spectrum/point_slot.h"

#include <QString>
#include <QStringList>

// A spectrum of another program made a spectrum of this one: the field
// values become field codes through the calibration of sweep unit 3, the
// amplitudes become ordinates through the selected amplitude unit and a gain.

// How an import maps what it reads.
struct TImportOptions {
    int GainRow = 0; // the gain when the file names none (a BES3T file of this program does)
    // Amplitudes as they are, even when they fill only a small part of the
    // 12-bit codes or go beyond them.
    bool AbsoluteScale = false;
    // An axis in units that are not a magnetic field (s, MHz, mW) taken as a
    // field all the same.
    bool AnyAxis = false;
};

// What the mapping could not keep.
struct TImportCounts {
    int Outside = 0;  // points whose field code falls outside 0..65519: dropped
    int Clipped = 0;  // amplitudes beyond 0..4095: held at the nearer end
    int Shared = 0;   // points on a field code an earlier point took: the later kept
    double Scale = 1; // the factor the amplitudes were multiplied by
};

// Reads a BES3T data set (.DSC or .DTA) or column text (.csv, .txt, .dat,
// .asc) as the name's extension says. On failure returns false with one
// line naming the file and what is wrong.
bool ReadExchangeFile(const QString& path, TExchangeSpectrum& spectrum, QString* error);

// Places a spectrum into a cleared table: each point at its nearest field
// code, its amplitude at the nearest ordinate. The gain is the one the file
// names (a BES3T file written here), else options.GainRow. A field in G, mT
// or T is converted to the unit of sweep unit 3 when that unit is one of
// them too; an axis in another unit is refused unless options.AnyAxis.
//
// Amplitudes that would fill less than a tenth of the room between the zero
// line and the ends of the 12-bit codes, or would go beyond them, are
// multiplied by the 1-2-5 factor that fills it best, so the spectrum keeps
// its shape whatever amplitude unit is selected; a note gives the factor and
// the table records it (ParAmplScale) so that an export divides it out. A
// BES3T file of this program names its factor (KAVSCALE) and gets it again;
// options.AbsoluteScale keeps the amplitudes as they are.
//
// The table then holds the records a file of this program would: the gain,
// the field bounds of sweep unit 3 (in millitesla when they do not fit in
// gauss), and the speed, serial and program numbers and summed sweeps the
// file knows. Notes say what was scaled, dropped or held. Fails with one line
// naming `source`, the table untouched, when the settings give no axis, the
// axis is not a field, the calibration's bounds cannot be stored in a
// spectrum file, or no point falls on a field code.
bool PlaceImportedSpectrum(const TExchangeSpectrum& spectrum, const TKavCfg& cfg,
                           const TImportOptions& options, const QString& source, TPointTable& table,
                           QStringList& notes, QString* error, TImportCounts* counts = nullptr);

// ReadExchangeFile, then PlaceImportedSpectrum.
bool ImportSpectrumFile(const QString& path, const TKavCfg& cfg, const TImportOptions& options,
                        TPointTable& table, QStringList& notes, QString* error,
                        TImportCounts* counts = nullptr);
