#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

// The three number styles every shown value uses. P is the count of
// significant digits, D the second count (digits after the separator for
// fixed, minimum exponent digits for general and scientific). The decimal
// separator is the caller's (the user's locale in the program).
QString FormatFixed(long double value, int P, int D, QChar decimalSep);
QString FormatGeneral(long double value, int P, int D, QChar decimalSep);
QString FormatScientific(long double value, int P, int D, QChar decimalSep);

// A number's text held without allocating, for callers that join it with
// other text into one string.
struct TNumberText {
    static constexpr int Capacity = 64; // longer than any text of the styles
    char16_t Chars[Capacity];
    int Length = 0;

    void Put(char16_t c) { Chars[Length++] = c; }
    QStringView View() const { return QStringView(Chars, Length); }
};

void WriteFixed(TNumberText& out, long double value, int P, int D, QChar decimalSep);
void WriteGeneral(TNumberText& out, long double value, int P, int D, QChar decimalSep);
void WriteScientific(TNumberText& out, long double value, int P, int D, QChar decimalSep);
