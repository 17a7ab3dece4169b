#pragma once

// The number styles written the plain way, kept as the reference that the
// program's formatter must match character for character: every value
// written with 18 significant digits by the standard library, the digits
// rounded as text. Slow, obviously right, and the behaviour the program
// shipped with.

#include <QChar>
#include <QString>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

// Rounding works on the decimal text of the value, never on binary
// arithmetic: the value is first written with 18 significant digits (the
// precision an extended float carries), and those digits are rounded half
// away from zero to the digits a style asks for.

namespace reference_style {

constexpr int MaxDigits = 18;

// value = 0.Digits * 10^Exponent; Digits has no trailing zeros and is empty
// for zero. Exponent is the count of digits before the separator when
// positive.
struct TDecimal {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;
};

inline TDecimal ToDecimal(long double value) {
    TDecimal d;
    d.Negative = std::signbit(value);
    if (value == 0)
        return d;
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                   std::chars_format::scientific, MaxDigits - 1);
    const std::string text(buf, res.ptr);
    // "d.ddddddddddddddddde+XX"
    const std::size_t e = text.find('e');
    d.Digits = text.substr(0, 1) + text.substr(2, e - 2);
    d.Exponent = std::stoi(text.substr(e + 1)) + 1;
    return d;
}

// Keeps at most count digits (count may be zero or negative, counting from
// the first digit), rounding half away from zero, then drops trailing zeros.
inline void RoundTo(TDecimal& d, int count) {
    if (count < static_cast<int>(d.Digits.size())) {
        if (count < 0) {
            d.Digits.clear();
        } else {
            const bool up = d.Digits[count] >= '5';
            d.Digits.resize(count);
            if (up) {
                int i = count - 1;
                while (i >= 0 && d.Digits[i] == '9') {
                    d.Digits[i] = '0';
                    --i;
                }
                if (i >= 0) {
                    ++d.Digits[i];
                } else {
                    d.Digits.insert(d.Digits.begin(), '1');
                    ++d.Exponent;
                }
            }
        }
    }
    while (!d.Digits.empty() && d.Digits.back() == '0')
        d.Digits.pop_back();
    if (d.Digits.empty()) {
        d.Negative = false; // no "-0"
        d.Exponent = 0;
    }
}

inline char DigitAt(const TDecimal& d, int i) {
    return i >= 0 && i < static_cast<int>(d.Digits.size()) ? d.Digits[i] : '0';
}

inline QString NonFinite(long double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

inline int Clamp(int v, int lo, int hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

// The digits in exponent form: first digit, separator, the rest, "E", the
// exponent's sign and at least minExpDigits digits.
inline QString ExponentForm(const TDecimal& d, int digitCount, bool plusSign, int minExpDigits,
                            QChar sep) {
    QString out;
    if (d.Negative)
        out += QLatin1Char('-');
    out += QLatin1Char(DigitAt(d, 0));
    if (digitCount > 1) {
        out += sep;
        for (int i = 1; i < digitCount; ++i)
            out += QLatin1Char(DigitAt(d, i));
    }
    out += QLatin1Char('E');
    const int exp = d.Digits.empty() ? 0 : d.Exponent - 1;
    if (exp < 0)
        out += QLatin1Char('-');
    else if (plusSign)
        out += QLatin1Char('+');
    out += QString::number(std::abs(exp)).rightJustified(minExpDigits, QLatin1Char('0'));
    return out;
}

// The sign and the digits before the separator (at least one).
inline QString SignAndIntegerPart(const TDecimal& d) {
    QString out;
    if (d.Negative)
        out += QLatin1Char('-');
    if (d.Exponent <= 0) {
        out += QLatin1Char('0');
    } else {
        for (int i = 0; i < d.Exponent; ++i)
            out += QLatin1Char(DigitAt(d, i));
    }
    return out;
}

inline QString Scientific(long double value, int P, int D, QChar decimalSep) {
    if (!std::isfinite(value))
        return NonFinite(value);
    P = Clamp(P, 1, MaxDigits);
    D = Clamp(D, 0, 4);
    TDecimal d = ToDecimal(value);
    RoundTo(d, P);
    return ExponentForm(d, P, true, D, decimalSep);
}

inline QString General(long double value, int P, int D, QChar decimalSep) {
    if (!std::isfinite(value))
        return NonFinite(value);
    P = Clamp(P, 1, MaxDigits);
    D = Clamp(D, 0, 4);
    TDecimal d = ToDecimal(value);
    RoundTo(d, P);
    if (d.Digits.empty())
        return QStringLiteral("0");
    const int count = static_cast<int>(d.Digits.size());
    if (d.Exponent > P || d.Exponent < -4)
        return ExponentForm(d, count, false, D, decimalSep);
    QString out = SignAndIntegerPart(d);
    if (count > d.Exponent) {
        out += decimalSep;
        for (int i = d.Exponent; i < count; ++i) // leading zeros when Exponent < 0
            out += QLatin1Char(DigitAt(d, i));
    }
    return out;
}

inline QString Fixed(long double value, int P, int D, QChar decimalSep) {
    if (!std::isfinite(value))
        return NonFinite(value);
    P = Clamp(P, 1, MaxDigits);
    D = Clamp(D, 0, MaxDigits);
    TDecimal d = ToDecimal(value);
    RoundTo(d, std::min(P, d.Exponent + D));
    if (d.Exponent > P)
        return Scientific(value, P, D, decimalSep);
    QString out = SignAndIntegerPart(d);
    if (D > 0) {
        out += decimalSep;
        for (int i = 0; i < D; ++i)
            out += QLatin1Char(DigitAt(d, d.Exponent + i));
    }
    return out;
}

} // namespace reference_style
