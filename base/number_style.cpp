#include "base/number_style.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

// Rounding works on the decimal digits of the value, never on binary
// arithmetic: the value is first taken to 18 significant digits (the
// precision an extended float carries; correctly rounded, an exact half to
// the even digit, as the standard library writes it), and those digits are
// rounded half away from zero to the digits a style asks for. So 0.125 to two
// digits is 0.13, and 2.675 (held as 2.67499999...) to three digits is 2.67.

namespace {

constexpr int MaxDigits = 18;

// value = 0.Digits * 10^Exponent; Digits (Count of them) has no trailing
// zeros and is empty for zero. Exponent is the count of digits before the
// separator when positive.
struct TDecimal {
    bool Negative = false;
    char Digits[MaxDigits];
    int Count = 0;
    int Exponent = 0;
};

// A 128-bit unsigned integer: the exact products and quotients below need
// it. It is a GCC and Clang extension, said so with __extension__ so that the
// pedantic warnings stay on for everything else.
#ifndef __SIZEOF_INT128__
#error "the exact digit conversion needs a compiler with a 128-bit integer type"
#endif
__extension__ typedef unsigned __int128 TWide;

constexpr std::uint64_t Pow10(int n) {
    std::uint64_t p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

constexpr std::uint64_t Pow5(int n) {
    std::uint64_t p = 1;
    for (int i = 0; i < n; ++i)
        p *= 5;
    return p;
}

constexpr std::uint64_t Pow10Table[20] = {Pow10(0),  Pow10(1),  Pow10(2),  Pow10(3),  Pow10(4),
                                          Pow10(5),  Pow10(6),  Pow10(7),  Pow10(8),  Pow10(9),
                                          Pow10(10), Pow10(11), Pow10(12), Pow10(13), Pow10(14),
                                          Pow10(15), Pow10(16), Pow10(17), Pow10(18), Pow10(19)};
constexpr int MaxPow5 = 27; // 5^27 < 2^63, so a 64-bit mantissa times it fits 127 bits
constexpr std::uint64_t Pow5Table[MaxPow5 + 1] = {
    Pow5(0),  Pow5(1),  Pow5(2),  Pow5(3),  Pow5(4),  Pow5(5),  Pow5(6),
    Pow5(7),  Pow5(8),  Pow5(9),  Pow5(10), Pow5(11), Pow5(12), Pow5(13),
    Pow5(14), Pow5(15), Pow5(16), Pow5(17), Pow5(18), Pow5(19), Pow5(20),
    Pow5(21), Pow5(22), Pow5(23), Pow5(24), Pow5(25), Pow5(26), Pow5(27)};

// floor(m * 2^q / 10^s) and where the rest lies against one half (-1
// below, 0 exactly, 1 above); false when the numbers do not fit 128 bits.
// A quotient of 2^64 or more is reported as the largest 64-bit value.
struct TScaled {
    std::uint64_t Quotient = 0;
    int Half = -1;
};

bool Scale(std::uint64_t m, int q, int s, TScaled& r) {
    constexpr std::uint64_t Saturated = std::numeric_limits<std::uint64_t>::max();
    if (s <= 0) {
        // m * 5^t * 2^(q + t), t = -s
        const int t = -s;
        if (t > MaxPow5)
            return false;
        const TWide p = TWide(m) * Pow5Table[t];
        const int shift = q + t;
        if (shift >= 0) {
            r.Half = -1; // an integer: nothing left over
            r.Quotient = shift >= 64 || (p >> (64 - shift)) != 0
                             ? Saturated
                             : static_cast<std::uint64_t>(p << shift);
            return true;
        }
        const int n = -shift;
        if (n >= 128) {
            r.Quotient = 0;
            r.Half = -1;
            return true;
        }
        const TWide quotient = p >> n;
        const TWide rest = p & ((TWide(1) << n) - 1);
        const TWide half = TWide(1) << (n - 1);
        r.Quotient = (quotient >> 64) != 0 ? Saturated : static_cast<std::uint64_t>(quotient);
        r.Half = rest < half ? -1 : (rest == half ? 0 : 1);
        return true;
    }
    // m * 2^q / 10^s
    if (s > 19 || q > 63 || q < -63)
        return false;
    TWide numerator = m;
    TWide denominator = Pow10Table[s];
    if (q >= 0)
        numerator <<= q;
    else
        denominator <<= -q;
    const TWide quotient = numerator / denominator;
    const TWide rest = numerator % denominator;
    r.Quotient = (quotient >> 64) != 0 ? Saturated : static_cast<std::uint64_t>(quotient);
    r.Half = 2 * rest < denominator ? -1 : (2 * rest == denominator ? 0 : 1);
    return true;
}

// The 18 significant digits of a positive extended float of moderate size
// (from about 1e-10 to 1e37), by exact 128-bit integer arithmetic. False for
// values outside that range and for other long double formats.
bool ExactDigits(long double value, TDecimal& d) {
    if constexpr (std::numeric_limits<long double>::digits != 64 ||
                  std::numeric_limits<long double>::max_exponent != 16384) {
        return false;
    } else {
        // The x87 extended format: a 64-bit significand with its leading bit,
        // then 15 bits of exponent (bias 16383) and the sign.
        std::uint64_t m = 0;
        std::uint16_t signAndExponent = 0;
        std::memcpy(&m, &value, sizeof m);
        std::memcpy(&signAndExponent, reinterpret_cast<const char*>(&value) + sizeof m,
                    sizeof signAndExponent);
        const int biased = signAndExponent & 0x7FFF;
        if (biased == 0 || (m >> 63) == 0)
            return false;                  // subnormal: far outside the range anyway
        const int q = biased - 16383 - 63; // value = m * 2^q
        const int log2 = q + 63;
        if (log2 < -40 || log2 > 124)
            return false;
        // First guess of the decimal exponent, floor(log2 * log10(2)); the
        // loop corrects it.
        int s = ((log2 * 78913) >> 18) - (MaxDigits - 1);
        for (int attempt = 0; attempt < 4; ++attempt) {
            TScaled r;
            if (!Scale(m, q, s, r))
                return false;
            if (r.Quotient >= Pow10Table[MaxDigits]) {
                ++s;
                continue;
            }
            if (r.Quotient < Pow10Table[MaxDigits - 1]) {
                --s;
                continue;
            }
            std::uint64_t n = r.Quotient;
            if (r.Half > 0 || (r.Half == 0 && (n & 1) != 0))
                ++n;
            int exponent = s + MaxDigits; // digits before the separator
            if (n == Pow10Table[MaxDigits]) {
                n = Pow10Table[MaxDigits - 1];
                ++exponent;
            }
            for (int i = MaxDigits - 1; i >= 0; --i) {
                d.Digits[i] = static_cast<char>('0' + n % 10);
                n /= 10;
            }
            d.Count = MaxDigits;
            while (d.Count > 0 && d.Digits[d.Count - 1] == '0')
                --d.Count;
            d.Exponent = exponent;
            return true;
        }
        return false;
    }
}

// The same digits from the standard library's text, for every other value.
void LibraryDigits(long double value, TDecimal& d) {
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, MaxDigits - 1);
    // "d.ddddddddddddddddde+XX"
    const char* e = std::find(buf, res.ptr, 'e');
    d.Count = 0;
    for (const char* c = buf; c < e; ++c)
        if (*c != '.')
            d.Digits[d.Count++] = *c;
    while (d.Count > 0 && d.Digits[d.Count - 1] == '0')
        --d.Count;
    int exponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), res.ptr, exponent);
    d.Exponent = exponent + 1;
}

TDecimal ToDecimal(long double value) {
    TDecimal d;
    d.Negative = std::signbit(value);
    if (value == 0)
        return d;
    const long double magnitude = std::fabs(value);
    if (!ExactDigits(magnitude, d))
        LibraryDigits(magnitude, d);
    return d;
}

// Keeps at most count digits (count may be zero or negative, counting from
// the first digit), rounding half away from zero, then drops trailing zeros.
void RoundTo(TDecimal& d, int count) {
    if (count < d.Count) {
        if (count < 0) {
            d.Count = 0;
        } else {
            const bool up = d.Digits[count] >= '5';
            d.Count = count;
            if (up) {
                int i = count - 1;
                while (i >= 0 && d.Digits[i] == '9') {
                    d.Digits[i] = '0';
                    --i;
                }
                if (i >= 0) {
                    ++d.Digits[i];
                } else {
                    // All nines: one digit more in front, the rest zeros.
                    d.Digits[0] = '1';
                    d.Count = 1;
                    ++d.Exponent;
                }
            }
        }
    }
    while (d.Count > 0 && d.Digits[d.Count - 1] == '0')
        --d.Count;
    if (d.Count == 0) {
        d.Negative = false; // no "-0"
        d.Exponent = 0;
    }
}

char16_t DigitAt(const TDecimal& d, int i) {
    return i >= 0 && i < d.Count ? static_cast<char16_t>(d.Digits[i]) : u'0';
}

void PutText(TNumberText& out, const char* text) {
    for (; *text != '\0'; ++text)
        out.Put(static_cast<char16_t>(*text));
}

void PutNonFinite(TNumberText& out, long double value) {
    if (std::isnan(value))
        PutText(out, "NAN");
    else
        PutText(out, value < 0 ? "-INF" : "INF");
}

int Clamp(int v, int lo, int hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

// The digits in exponent form: first digit, separator, the rest, "E", the
// exponent's sign and at least minExpDigits digits.
void PutExponentForm(TNumberText& out, const TDecimal& d, int digitCount, bool plusSign,
                     int minExpDigits, QChar sep) {
    if (d.Negative)
        out.Put(u'-');
    out.Put(DigitAt(d, 0));
    if (digitCount > 1) {
        out.Put(sep.unicode());
        for (int i = 1; i < digitCount; ++i)
            out.Put(DigitAt(d, i));
    }
    out.Put(u'E');
    const int exp = d.Count == 0 ? 0 : d.Exponent - 1;
    if (exp < 0)
        out.Put(u'-');
    else if (plusSign)
        out.Put(u'+');
    char digits[16];
    const auto res = std::to_chars(digits, digits + sizeof digits, std::abs(exp));
    for (int pad = static_cast<int>(res.ptr - digits); pad < minExpDigits; ++pad)
        out.Put(u'0');
    for (const char* c = digits; c < res.ptr; ++c)
        out.Put(static_cast<char16_t>(*c));
}

// The sign and the digits before the separator (at least one).
void PutSignAndIntegerPart(TNumberText& out, const TDecimal& d) {
    if (d.Negative)
        out.Put(u'-');
    if (d.Exponent <= 0) {
        out.Put(u'0');
    } else {
        for (int i = 0; i < d.Exponent; ++i)
            out.Put(DigitAt(d, i));
    }
}

QString ToString(const TNumberText& text) {
    return text.View().toString();
}

} // namespace

void WriteScientific(TNumberText& out, long double value, int P, int D, QChar decimalSep) {
    out.Length = 0;
    if (!std::isfinite(value))
        return PutNonFinite(out, value);
    P = Clamp(P, 1, MaxDigits);
    D = Clamp(D, 0, 4);
    TDecimal d = ToDecimal(value);
    RoundTo(d, P);
    PutExponentForm(out, d, P, true, D, decimalSep);
}

void WriteGeneral(TNumberText& out, long double value, int P, int D, QChar decimalSep) {
    out.Length = 0;
    if (!std::isfinite(value))
        return PutNonFinite(out, value);
    P = Clamp(P, 1, MaxDigits);
    D = Clamp(D, 0, 4);
    TDecimal d = ToDecimal(value);
    RoundTo(d, P);
    if (d.Count == 0)
        return out.Put(u'0');
    if (d.Exponent > P || d.Exponent < -4)
        return PutExponentForm(out, d, d.Count, false, D, decimalSep);
    PutSignAndIntegerPart(out, d);
    if (d.Count > d.Exponent) {
        out.Put(decimalSep.unicode());
        for (int i = d.Exponent; i < d.Count; ++i) // leading zeros when Exponent < 0
            out.Put(DigitAt(d, i));
    }
}

void WriteFixed(TNumberText& out, long double value, int P, int D, QChar decimalSep) {
    out.Length = 0;
    if (!std::isfinite(value))
        return PutNonFinite(out, value);
    P = Clamp(P, 1, MaxDigits);
    D = Clamp(D, 0, MaxDigits);
    TDecimal d = ToDecimal(value);
    RoundTo(d, std::min(P, d.Exponent + D));
    if (d.Exponent > P)
        return WriteScientific(out, value, P, D, decimalSep);
    PutSignAndIntegerPart(out, d);
    if (D > 0) {
        out.Put(decimalSep.unicode());
        for (int i = 0; i < D; ++i)
            out.Put(DigitAt(d, d.Exponent + i));
    }
}

QString FormatScientific(long double value, int P, int D, QChar decimalSep) {
    TNumberText text;
    WriteScientific(text, value, P, D, decimalSep);
    return ToString(text);
}

QString FormatGeneral(long double value, int P, int D, QChar decimalSep) {
    TNumberText text;
    WriteGeneral(text, value, P, D, decimalSep);
    return ToString(text);
}

QString FormatFixed(long double value, int P, int D, QChar decimalSep) {
    TNumberText text;
    WriteFixed(text, value, P, D, decimalSep);
    return ToString(text);
}
