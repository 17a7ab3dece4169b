// The number styles against their plain reference (reference_number_style.h):
// the same text, character for character, for values of every magnitude,
// near every rounding edge, special values, every style and digit count, and
// for the formatters' texts with their units.
#include "config/settings_store.h"
#include "link/instrument_tables.h"
#include "qstring_printer.h"
#include "spectrum/measure_unit.h"
#include "spectrum/number_style.h"
#include "spectrum/reference_number_style.h"
#include "spectrum/value_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

enum class TStyle { Fixed, General, Scientific };

QString Program(TStyle style, long double v, int p, int d, QChar sep) {
    switch (style) {
    case TStyle::Fixed:
        return FormatFixed(v, p, d, sep);
    case TStyle::General:
        return FormatGeneral(v, p, d, sep);
    default:
        return FormatScientific(v, p, d, sep);
    }
}

QString Reference(TStyle style, long double v, int p, int d, QChar sep) {
    switch (style) {
    case TStyle::Fixed:
        return reference_style::Fixed(v, p, d, sep);
    case TStyle::General:
        return reference_style::General(v, p, d, sep);
    default:
        return reference_style::Scientific(v, p, d, sep);
    }
}

std::string Describe(TStyle style, long double v, int p, int d) {
    char text[96];
    std::snprintf(text, sizeof text, "%s(%.21Lg, %d, %d)",
                  style == TStyle::Fixed     ? "Fixed"
                  : style == TStyle::General ? "General"
                                             : "Scientific",
                  v, p, d);
    return text;
}

// Counts and reports (the first few of) the texts that differ.
struct TComparison {
    int Checked = 0;
    int Differences = 0;
    void Check(TStyle style, long double v, int p, int d, QChar sep = QChar(',')) {
        ++Checked;
        const QString program = Program(style, v, p, d, sep);
        const QString reference = Reference(style, v, p, d, sep);
        if (program == reference)
            return;
        if (++Differences <= 10)
            ADD_FAILURE() << Describe(style, v, p, d) << ": " << program.toStdString()
                          << " instead of " << reference.toStdString();
    }
    // All 18 digits of the value, then every style and digit count.
    void CheckEveryWay(long double v) {
        Check(TStyle::Scientific, v, 18, 4);
        for (int p = 0; p <= 19; ++p) {
            for (int d = 0; d <= 5; ++d) {
                Check(TStyle::General, v, p, d);
                Check(TStyle::Scientific, v, p, d);
            }
            for (int d = 0; d <= 19; ++d)
                Check(TStyle::Fixed, v, p, d);
        }
    }
    // Rounding at every digit position: each style with every count of
    // significant digits, and the fixed style with every count of decimals.
    void CheckEveryPosition(long double v) {
        Check(TStyle::Scientific, v, 18, 4);
        for (int p = 1; p <= 18; ++p) {
            Check(TStyle::General, v, p, 2);
            Check(TStyle::Scientific, v, p, 2);
            Check(TStyle::Fixed, v, p, 18);
        }
        for (int d = 0; d <= 18; ++d)
            Check(TStyle::Fixed, v, 18, d);
    }
    // All 18 digits, then a few styles and counts drawn at random.
    void CheckSomeWays(long double v, std::mt19937_64& random) {
        Check(TStyle::Scientific, v, 18, 4);
        std::uniform_int_distribution<int> p(1, 18);
        std::uniform_int_distribution<int> d(0, 5);
        for (int i = 0; i < 2; ++i) {
            Check(TStyle::Fixed, v, p(random), d(random));
            Check(TStyle::General, v, p(random), d(random));
            Check(TStyle::Scientific, v, p(random), d(random));
        }
    }
};

// A value with a random significand of the given bits, times 2^exponent.
long double RandomValue(std::mt19937_64& random, int bits, int exponent) {
    const std::uint64_t significand = random() >> (64 - bits) | (std::uint64_t(1) << (bits - 1));
    const long double v = std::ldexp(static_cast<long double>(significand), exponent - bits + 1);
    return (random() & 1) != 0 ? -v : v;
}

} // namespace

TEST(NumberStyleReference, SpecialValuesInEveryStyle) {
    TComparison c;
    constexpr auto ld = std::numeric_limits<long double>();
    constexpr auto dbl = std::numeric_limits<double>();
    for (const long double v :
         {0.0L, -0.0L, ld.quiet_NaN(), -ld.quiet_NaN(), ld.infinity(), -ld.infinity(), ld.max(),
          ld.lowest(), ld.min(), ld.denorm_min(), -ld.denorm_min(),
          static_cast<long double>(dbl.max()), static_cast<long double>(dbl.min()),
          static_cast<long double>(dbl.denorm_min()), 1.0L, -1.0L})
        c.CheckEveryWay(v);
    for (const QChar sep : {QChar(u'.'), QChar(u'\u066B')}) // any separator is passed through
        for (const TStyle style : {TStyle::Fixed, TStyle::General, TStyle::Scientific})
            c.Check(style, -1234.5678L, 6, 3, sep);
    EXPECT_EQ(c.Differences, 0) << "of " << c.Checked;
}

TEST(NumberStyleReference, RoundingEdgesAtEveryPosition) {
    TComparison c;
    // Decimal halves and their neighbours at every digit position: 0.125,
    // 2.675, 9.995, 99.95, 0.00015 and the like, as double and long double.
    for (int exp10 = -12; exp10 <= 20; ++exp10) {
        for (const char* digits : {"125", "2675", "9995", "9999995", "15", "45", "5", "95",
                                   "1000000000000000005", "1234567890123456785"}) {
            const std::string text = std::string("0.") + digits + "e" + std::to_string(exp10);
            const long double ld = std::strtold(text.c_str(), nullptr);
            const double d = std::strtod(text.c_str(), nullptr);
            for (const long double v : {ld, std::nextafter(ld, 0.0L), std::nextafter(ld, 1e40L),
                                        static_cast<long double>(d), -ld})
                c.CheckEveryPosition(v);
        }
    }
    // Exact halves in the nineteenth digit: the 18 digits go to the even one.
    for (const long double v :
         {1000000000000000005.0L, 1000000000000000015.0L, 100000000000000000.5L,
          100000000000000001.5L, 999999999999999999.5L, 9999999999999999995.0L})
        c.CheckEveryWay(v);
    // Powers of ten and their neighbours, where the decimal exponent steps.
    for (int exp10 = -40; exp10 <= 40; ++exp10) {
        const long double p = std::pow(10.0L, exp10);
        for (const long double v : {p, std::nextafter(p, 0.0L), std::nextafter(p, 1e50L),
                                    static_cast<long double>(static_cast<double>(p))})
            c.CheckEveryPosition(v);
    }
    // Powers of two around the limits of the exact integer arithmetic.
    for (int exp2 = -45; exp2 <= 130; exp2 += 1) {
        const long double p = std::ldexp(1.0L, exp2);
        c.CheckEveryPosition(p);
        c.CheckEveryPosition(std::nextafter(p, 0.0L));
    }
    EXPECT_EQ(c.Differences, 0) << "of " << c.Checked;
}

TEST(NumberStyleReference, RandomValuesOfEveryMagnitude) {
    TComparison c;
    std::mt19937_64 random(20240917);
    // Long doubles and doubles from 1e-40 to 1e45, beyond the range that
    // the exact integer arithmetic takes, and the odd value far outside it.
    std::uniform_int_distribution<int> exponent(-135, 150);
    for (int i = 0; i < 20000; ++i) {
        c.CheckSomeWays(RandomValue(random, 64, exponent(random)), random);
        c.CheckSomeWays(RandomValue(random, 53, exponent(random)), random);
    }
    std::uniform_int_distribution<int> far(-16000, 16000);
    for (int i = 0; i < 500; ++i)
        c.CheckSomeWays(RandomValue(random, 64, far(random)), random);
    // Short decimals, as typed values and calibrations are.
    std::uniform_int_distribution<int> small(-99999, 99999);
    std::uniform_int_distribution<int> scale(-9, 9);
    for (int i = 0; i < 10000; ++i) {
        const long double v = small(random) * std::pow(10.0L, scale(random));
        c.CheckSomeWays(v, random);
        c.CheckSomeWays(static_cast<double>(v), random);
    }
    EXPECT_EQ(c.Differences, 0) << "of " << c.Checked;
}

TEST(NumberStyleReference, FormattersMatchTheReferenceWithTheirUnits) {
    TKavCfg cfg{};
    SetDefaults(cfg, QStringLiteral("/w"));
    const QChar sep(',');
    const TValueFormat format(cfg, sep);
    int differences = 0;
    auto expectSame = [&](const QString& program, const QString& reference) {
        if (program != reference && ++differences <= 10)
            ADD_FAILURE() << program.toStdString() << " instead of " << reference.toStdString();
    };

    for (int u = 1; u <= 3; ++u) {
        cfg.RazvUnit = static_cast<std::uint8_t>(u);
        const TMeasureUnit& unit = cfg.RazvUnits[u];
        for (int code = 0; code <= 65519; code += 7) {
            const double v = UnitValue(unit, code);
            const QString number = u == 1   ? reference_style::Fixed(v, 4, 3, sep)
                                   : u == 2 ? reference_style::General(v, 4, 2, sep)
                                            : reference_style::General(v, 6, 4, sep);
            expectSame(format.FieldToStr(static_cast<std::uint16_t>(code)),
                       number + " " + unit.Name);
        }
    }

    // Volts with a line that reaches every prefix, at every gain.
    cfg.AmpUnit = 1;
    cfg.AmpUnits[1].KoeffK = 0.0007;
    cfg.AmpUnits[1].KoeffB = 0.00003;
    for (int gain = 0; gain < 8; ++gain) {
        cfg.Amplifying = static_cast<std::uint8_t>(gain);
        for (int code = -2047; code <= 2047; code += 3) {
            const long double v = static_cast<long double>(UnitValue(cfg.AmpUnits[1], code)) /
                                  GainFactor(cfg.Amplifying);
            const long double a = std::fabs(v);
            const QString expected =
                a >= 1 || v == 0 ? reference_style::General(v, 3, 3, sep) + " В"
                : a < 0.001L     ? reference_style::General(v * 1000000, 3, 3, sep) + " мкВ"
                                 : reference_style::General(v * 1000, 3, 3, sep) + " мВ";
            expectSame(format.AmplToStr(code), expected);
        }
    }

    // The area in every pair of units.
    const QString texts[2][2] = {{" отсч^3", " В*отсч^2"}, {" отсч*Э^2", " В*Э^2"}};
    for (int s = 0; s <= 3; s += 3) {
        for (int a = 0; a <= 1; ++a) {
            cfg.RazvUnit = static_cast<std::uint8_t>(s);
            cfg.AmpUnit = static_cast<std::uint8_t>(a);
            const long double ks = cfg.RazvUnits[s].KoeffK;
            for (double magnitude = 1; magnitude < 1e13; magnitude *= 1.37) {
                for (const double area : {magnitude, -magnitude}) {
                    const long double v = ks * ks * (area * cfg.AmpUnits[a].KoeffK);
                    expectSame(format.AreaToStr(area),
                               reference_style::Scientific(v, 4, 3, sep) + texts[s != 0][a]);
                }
            }
        }
    }
    EXPECT_EQ(differences, 0);
}
