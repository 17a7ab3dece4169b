#pragma once

#include "exchange/exchange_spectrum.h"

#include <QByteArray>
#include <QString>

// Text of columns: the field and the amplitude of one point per line.

// The longest text spectrum read: a million points of three columns with
// long numbers stay far below it.
inline constexpr qint64 MaxTextSpectrumBytes = qint64(64) << 20;

// CSV for programs: a header line naming the columns with their units
// ("field [G],amplitude [V]"; a column without a unit has none; a name that
// holds a comma or a quote is quoted as CSV quotes), then "field,amplitude"
// per point, "." as the decimal separator whatever the locale, UTF-8, lines
// ending in "\n".
QByteArray CsvText(const TExchangeSpectrum& spectrum);

// Reads text of two or more numeric columns. The numbers of a line are
// separated by tabs, semicolons, blanks or commas; where they are not
// separated by commas a comma inside a number is its decimal separator
// ("3000,5;0,25"). Lines starting with "#" and empty lines are skipped, and
// so are the lines of a header before the first line of numbers. Two columns
// are the field and the amplitude. Of more columns, those whose header names
// say field and intensity (or amplitude, signal) are taken; without such
// names the last two are, when the first column is a running index (the
// vendor's own "index, field, intensity" text). A unit in brackets after a
// column's name ("Field [mT]") is the column's unit. A UTF-8 byte order
// mark is skipped. On failure returns false with one line naming the file,
// the line and what is wrong, and leaves the spectrum as it was.
bool ParseTextSpectrum(const QByteArray& bytes, const QString& name, TExchangeSpectrum& spectrum,
                       QString* error);

// The file at path (at most MaxTextSpectrumBytes of a regular file), parsed
// by ParseTextSpectrum; the title is the file's base name.
bool ReadTextSpectrum(const QString& path, TExchangeSpectrum& spectrum, QString* error);
