#pragma once

#include "exchange/exchange_spectrum.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A BES3T data set: a text descriptor NAME.DSC beside the binary data
// NAME.DTA and, for an axis that is not equidistant, the axis values
// NAME.XGF. Only one-dimensional real data is written and read.

struct TBes3tPaths {
    QString Dsc;
    QString Dta;
    QString Xgf;
};

// The files for a name: a name ending in .DSC or .DTA (either case) names
// the files with the same case for all; any other name gets ".DSC", ".DTA"
// and ".XGF" appended.
TBes3tPaths Bes3tPaths(const QString& path);

// The longest descriptor read; real ones are a few kilobytes.
inline constexpr qint64 MaxBes3tDescriptorBytes = qint64(1) << 20;

// Writes the spectrum as 64-bit big-endian floats (IRFMT D, BSEQ BIG). An
// equidistant spectrum gets the axis XTYP IDX from its first field XMIN and
// its width XWID = last - first; any other gets XTYP IGD with its fields in
// NAME.XGF. The descriptor is plain ASCII (texts transliterated), says that
// the data are already divided by the gain (RCAG 0) and are the mean of the
// sweeps (SctNorm true), carries the device keys readers expect of a cw
// field sweep, and records the SHA-256 of the data and axis files, so that a
// descriptor beside data it was not written with is refused on reading. Each
// comment becomes a "*" line.
//
// The data and axis files are written first and the descriptor last, each
// whole or not at all. When the descriptor cannot be written after the data
// was, the data and axis files are put back as they were (removed when there
// were none); only when that too fails are they left, which the descriptor's
// checksums then reveal, and the error says so. On failure returns false with
// the file's name and the system's reason in *error.
bool WriteBes3t(const QString& path, const TExchangeSpectrum& spectrum, const QStringList& comments,
                QString* error);

// What a descriptor says of the data beside it.
struct TBes3tLayout {
    qsizetype Points = 0;
    char Format = 'D';     // IRFMT: D, F, I, S or C
    int ItemSize = 8;      // bytes of one value
    bool BigEndian = true; // BSEQ
    bool IndexAxis = true; // XTYP IDX; false: IGD, the axis in the .XGF file
    char AxisFormat = 'D'; // XFMT of an IGD axis
    int AxisItemSize = 8;
    double XMin = 0;
    double XWid = 0;
    QString FieldUnit;
    QString AmplitudeUnit;
    QString Title;
    TMeasurementInfo Info;
    QByteArray DataSha256; // lower-case hex, empty when the descriptor has none
    QByteArray AxisSha256;

    qint64 DataBytes() const { return qint64(Points) * ItemSize; }
    qint64 AxisBytes() const { return IndexAxis ? 0 : qint64(Points) * AxisItemSize; }
};

// Parses a descriptor: one-dimensional real data (IKKF REAL, or no IKKF),
// IRFMT D, F, I, S or C, BSEQ BIG or LIT, XTYP IDX or IGD, at most
// MaxExchangePoints points. On failure returns false with one line naming
// `name` and what is wrong.
bool ParseBes3tDescriptor(const QByteArray& text, const QString& name, TBes3tLayout& layout,
                          QString* error);

// The spectrum of a descriptor's data (and, for XTYP IGD, axis) bytes. Fails
// with one line naming the file when a size is not exactly what the
// descriptor says, a checksum the descriptor records does not match, or a
// value is not a finite number.
bool DecodeBes3tData(const TBes3tLayout& layout, const QByteArray& data, const QByteArray& axis,
                     const QString& dataName, const QString& axisName, TExchangeSpectrum& spectrum,
                     QString* error);

// Reads a data set named by its descriptor or its data file; the other files
// are found beside it whatever the case of their extensions. On failure
// returns false with one line naming the file and what is wrong, and leaves
// the spectrum as it was.
bool ReadBes3t(const QString& path, TExchangeSpectrum& spectrum, QString* error);
