#pragma once

#include "exchange/exchange_spectrum.h"

#include <QString>
#include <QStringList>

// A BES3T data set: a text descriptor NAME.DSC beside the binary data
// NAME.DTA. Only one-dimensional real data on an equidistant axis (XTYP IDX)
// is written and read.

struct TBes3tPaths {
    QString Dsc;
    QString Dta;
};

// The pair for a name: a name ending in .DSC or .DTA (either case) names the
// pair with the same case for both; any other name gets ".DSC" and ".DTA"
// appended.
TBes3tPaths Bes3tPaths(const QString& path);

// Writes the spectrum as 64-bit big-endian floats (IRFMT D, BSEQ BIG). The
// field values must be equidistant: the descriptor gives the axis as its
// first value XMIN and its width XWID = last - first. Each comment becomes a
// "*" line of the descriptor.
//
// The data file is written first and the descriptor last, each whole or not
// at all, so a reader never finds a new descriptor beside missing or old
// data. When the descriptor cannot be written after the data was, the data
// file is put back as it was (removed when there was none). Only when that
// too fails is a new data file left beside the previous descriptor; the
// error then says so. On failure returns false with the file's name and the
// system's reason in *error.
bool WriteBes3t(const QString& path, const TExchangeSpectrum& spectrum, const QStringList& comments,
                QString* error);

// Reads a one-dimensional real data set named by its descriptor (or by its
// data file): IRFMT D, F, I, S or C, BSEQ BIG or LIT, XTYP IDX. The field
// values are XMIN + k * XWID / (XPTS - 1). On failure returns false with one
// line naming the file and what is wrong, and leaves the spectrum as it was.
// Notes get what was read but not used (data past XPTS values).
bool ReadBes3t(const QString& path, TExchangeSpectrum& spectrum, QString* error,
               QStringList* notes = nullptr);
