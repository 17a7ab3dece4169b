#pragma once

#include "exchange/exchange_spectrum.h"

#include <QByteArray>
#include <QString>

// Two-column text: the field and the amplitude of one point per line.

// CSV for programs: a header line naming the columns with their units
// ("field [G],amplitude [V]"; a column without a unit has none), then
// "field,amplitude" per point, "." as the decimal separator whatever the
// locale, UTF-8, lines ending in "\n".
QByteArray CsvText(const TExchangeSpectrum& spectrum);

// Reads two-column text: the two numbers of a line separated by a tab, a
// semicolon, a comma or blanks; lines starting with "#" and empty lines are
// skipped, and so is a first line that holds words (a header). Where the
// columns are not separated by commas, a comma inside a number is taken as
// its decimal separator ("3000,5;0,25"). A UTF-8 byte order mark is skipped.
// On failure returns false with one line naming the file, the line and what
// is wrong, and leaves the spectrum as it was. The units are not known.
bool ReadTextSpectrum(const QString& path, TExchangeSpectrum& spectrum, QString* error);
