#pragma once

#include <QChar>
#include <QString>

// The three number styles every shown value uses. P is the count of
// significant digits, D the second count (digits after the separator for
// fixed, minimum exponent digits for general and scientific). The decimal
// separator is the caller's (the user's locale in the program).
QString FormatFixed(long double value, int P, int D, QChar decimalSep);
QString FormatGeneral(long double value, int P, int D, QChar decimalSep);
QString FormatScientific(long double value, int P, int D, QChar decimalSep);
