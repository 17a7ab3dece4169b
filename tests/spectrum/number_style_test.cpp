// The number styles (worked examples, the edges of the rounding, the 18 digits
// against the standard library's), the texts of values with their units, and
// the unit lines the texts are computed on.
#include "base/instrument_tables.h"
#include "base/measure_unit.h"
#include "base/number_style.h"
#include "config/settings_store.h"
#include "qstring_printer.h"
#include "spectrum/value_format.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace {

using TFormat = QString (*)(long double, int, int, QChar);

std::string Text(long double v) {
    char text[48];
    std::snprintf(text, sizeof text, "%.21Lg", v);
    return text;
}

constexpr long double Inf = std::numeric_limits<long double>::infinity();
constexpr long double NaN = std::numeric_limits<long double>::quiet_NaN();

} // namespace

TEST(NumberStyle, WorkedExamples) {
    const struct {
        TFormat Format;
        long double Value;
        int P, D;
        const char* Text;
    } cases[] = {
        // Fixed: P significant digits, then padded to D decimals.
        {FormatFixed, 1.23456, 4, 3, "1,235"},
        {FormatFixed, -1.5, 4, 3, "-1,500"},
        {FormatFixed, 4.99999, 4, 3, "5,000"},
        {FormatFixed, 12.345, 3, 2, "12,30"},
        {FormatFixed, 0.0456, 2, 2, "0,05"}, // two decimals are the coarser limit
        {FormatFixed, 1234.5678, 4, 3, "1235,000"},
        {FormatFixed, 9000, 4, 0, "9000"}, // no separator without decimals
        {FormatFixed, 0.00001, 3, 2, "0,00"},
        {FormatFixed, -0.0001, 4, 3, "0,000"}, // never a minus zero
        {FormatFixed, -0.0L, 4, 3, "0,000"},
        {FormatFixed, -0.4, 3, 0, "0"},
        // Past P integer digits, after rounding, the scientific form.
        {FormatFixed, 9999.4, 4, 0, "9999"},
        {FormatFixed, 9999.6, 4, 0, "1,000E+4"},
        {FormatFixed, 99.5, 2, 2, "1,0E+02"},
        {FormatFixed, -123.4, 2, 2, "-1,2E+02"},
        // Rounding on the decimal digits, halves away from zero.
        {FormatFixed, 0.125, 4, 2, "0,13"},
        {FormatFixed, -0.125, 4, 2, "-0,13"},
        {FormatFixed, 2.675, 4, 2, "2,67"}, // held as 2.67499999..., no half
        {FormatGeneral, 0.95, 1, 0, "0,9"}, // held as 0.9499999...
        {FormatGeneral, 1234.5, 4, 0, "1235"},
        // General: plain between the bounds, trailing zeros dropped.
        {FormatGeneral, -0.0L, 15, 0, "0"},
        {FormatGeneral, -2.50, 4, 3, "-2,5"},
        {FormatGeneral, 3.0, 4, 3, "3"},
        {FormatGeneral, 1e14, 15, 0, "100000000000000"},
        {FormatGeneral, 123456789012345.6L, 15, 0, "123456789012346"},
        {FormatGeneral, 0.00001, 15, 0, "0,00001"}, // smallest plain magnitude
        {FormatGeneral, 0.000012345, 3, 0, "0,0000123"},
        // ... the exponent form outside them: no "+", at least D digits.
        {FormatGeneral, 1e15, 15, 0, "1E15"},
        {FormatGeneral, 0.0000099, 15, 0, "9,9E-6"},
        {FormatGeneral, -1.5e-7, 15, 0, "-1,5E-7"},
        {FormatGeneral, 12345, 4, 2, "1,235E04"},
        {FormatGeneral, 9999.5, 4, 2, "1E04"}, // rounding adds a digit
        {FormatGeneral, 0.000001234, 4, 3, "1,234E-006"},
        {FormatGeneral, 1e10, 4, 5, "1E0010"}, // D counts at most 4
        // Scientific keeps every digit and the exponent's sign.
        {FormatScientific, 123400, 4, 3, "1,234E+005"},
        {FormatScientific, -0.00123456, 4, 3, "-1,235E-003"},
        {FormatScientific, 9.9996, 4, 3, "1,000E+001"},
        {FormatScientific, -0.0L, 4, 3, "0,000E+000"},
        {FormatScientific, 5, 1, 0, "5E+0"},
        {FormatScientific, 1e-300, 3, 2, "1,00E-300"},
        {FormatScientific, 1e100, 4, 9, "1,000E+0100"},
        // Counts out of range: at most 18 digits, P at least 1, D at least 0.
        {FormatGeneral, 0.1L, 30, 0, "0,1"},
        {FormatGeneral, 123, 0, 0, "1E2"},
        {FormatFixed, 1.5, 4, -3, "2"},
        {FormatScientific, std::numeric_limits<long double>::max(), 3, 4, "1,19E+4932"},
        // All 18 digits: an exact half in the nineteenth goes to the even one.
        {FormatScientific, 1000000000000000005.0L, 18, 4, "1,00000000000000000E+0018"},
        {FormatScientific, 1000000000000000015.0L, 18, 4, "1,00000000000000002E+0018"},
        {FormatGeneral, 100000000000000000.5L, 18, 0, "100000000000000000"},
        {FormatGeneral, 100000000000000001.5L, 18, 0, "100000000000000002"},
        {FormatFixed, 999999999999999999.5L, 18, 0, "1,00000000000000000E+18"},
        {FormatScientific, 9999999999999999995.0L, 18, 4, "1,00000000000000000E+0019"},
        // Either side of the bounds of the exact arithmetic (2^-40, 2^125)
        // and of 2^64, where the scaled significand leaves 64 bits.
        {FormatScientific, 0x1p-40L, 18, 4, "9,09494701772928238E-0013"},
        {FormatScientific, 0x1.fffffffffffffffep-41L, 18, 4, "9,09494701772928238E-0013"},
        {FormatScientific, 0x1.fffffffffffffffep124L, 18, 4, "4,25352958651173079E+0037"},
        {FormatScientific, 0x1p125L, 18, 4, "4,25352958651173079E+0037"},
        {FormatScientific, 0x1p64L, 18, 4, "1,84467440737095516E+0019"},
        {FormatScientific, 0x1.fffffffffffffffep63L, 18, 4, "1,84467440737095516E+0019"},
        {FormatScientific, std::nextafter(1e20L, 0.0L), 18, 4, "1,00000000000000000E+0020"},
        {FormatScientific, std::nextafter(1e-10L, 1.0L), 18, 4, "1,00000000000000000E-0010"},
        {FormatGeneral, 1e-10, 18, 4, "1,00000000000000004E-0010"},
        {FormatScientific, 1e23, 18, 4, "9,99999999999999916E+0022"},
        // A double's digits past the 17th, and decimal halves as doubles hold them.
        {FormatFixed, 0.1, 18, 18, "0,100000000000000006"},
        {FormatFixed, 0.1L, 18, 18, "0,100000000000000000"},
        {FormatFixed, 99.95, 4, 1, "100,0"},
        {FormatFixed, 9.995L, 3, 2, "10,00"},
        {FormatGeneral, 0.00015L, 1, 2, "0,0002"},
        {FormatGeneral, 0.00015, 1, 2, "0,0001"},
        {FormatGeneral, std::nextafter(0.001L, 0.0L), 17, 2, "0,001"},
        {FormatScientific, 0.1234567890123456785L, 17, 4, "1,2345678901234568E-0001"},
        // The extremes of the extended and double formats.
        {FormatScientific, std::numeric_limits<long double>::min(), 18, 4,
         "3,36210314311209351E-4932"},
        {FormatScientific, -std::numeric_limits<long double>::denorm_min(), 18, 4,
         "-3,64519953188247460E-4951"},
        {FormatGeneral, std::numeric_limits<long double>::lowest(), 18, 4,
         "-1,18973149535723177E4932"},
        {FormatScientific, std::numeric_limits<double>::max(), 18, 4, "1,79769313486231571E+0308"},
        {FormatScientific, std::numeric_limits<double>::min(), 18, 4, "2,22507385850720138E-0308"},
        {FormatFixed, std::numeric_limits<double>::denorm_min(), 18, 18, "0,000000000000000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Format(c.Value, c.P, c.D, QChar(',')), QString::fromUtf8(c.Text))
            << Text(c.Value) << " " << c.P << " " << c.D;
    for (auto format : {&FormatFixed, &FormatGeneral, &FormatScientific}) {
        EXPECT_EQ(format(NaN, 4, 3, QChar(',')), "NAN");
        EXPECT_EQ(format(-NaN, 4, 3, QChar(',')), "NAN");
        EXPECT_EQ(format(Inf, 4, 3, QChar(',')), "INF");
        EXPECT_EQ(format(-Inf, 4, 3, QChar(',')), "-INF");
        EXPECT_EQ(format(2.5, 2, 1, QChar('.')).left(3), "2.5");
    }
    // Any separator is passed through.
    const QChar arabic(u'\u066B');
    EXPECT_EQ(FormatFixed(-1234.5678L, 6, 3, arabic), QStringLiteral("-1234\u066B570"));
    EXPECT_EQ(FormatGeneral(-1234.5678L, 6, 3, arabic), QStringLiteral("-1234\u066B57"));
    EXPECT_EQ(FormatScientific(-1234.5678L, 6, 3, arabic), QStringLiteral("-1\u066B23457E+003"));
}

namespace {

// A value with a random significand of the given bits, times 2^exponent.
long double RandomValue(std::mt19937_64& random, int bits, int exponent) {
    const std::uint64_t significand = random() >> (64 - bits) | (std::uint64_t(1) << (bits - 1));
    const long double v = std::ldexp(static_cast<long double>(significand), exponent - bits + 1);
    return (random() & 1) != 0 ? -v : v;
}

} // namespace

// The 18 digits every style rounds from are the library's correctly rounded
// ones, inside the exact integer arithmetic (about 1e-12 to 4e37) and beyond.
TEST(NumberStyle, EighteenDigitsAreTheLibrarysForValuesOfEveryMagnitude) {
    std::mt19937_64 random(20240917);
    std::uniform_int_distribution<int> exponent(-135, 150);
    std::uniform_int_distribution<int> far(-16000, 16000);
    std::uniform_int_distribution<int> small(-99999, 99999);
    std::uniform_int_distribution<int> scale(-9, 9);
    int differences = 0;
    for (int i = 0; i < 30000 && differences < 10; ++i) {
        const long double v =
            i % 3 == 0    ? RandomValue(random, 64, exponent(random))
            : i % 3 == 1  ? RandomValue(random, 53, exponent(random))
            : i % 10 == 2 ? RandomValue(random, 64, far(random))
                          : static_cast<double>(small(random) * std::pow(10.0L, scale(random)));
        char buf[64];
        const auto res =
            std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 17);
        const std::string text(buf, res.ptr); // d.ddddddddddddddddde+XX
        const int exp = std::atoi(text.c_str() + text.find('e') + 1);
        const QString expected =
            QString(v < 0 ? "-" : "") + QString::fromStdString(text.substr(0, 1)) + "," +
            QString::fromStdString(text.substr(2, 17)) + "E" + (exp < 0 ? "-" : "+") +
            QString::number(std::abs(exp)).rightJustified(4, '0');
        const QString program = FormatScientific(v, 18, 4, QChar(','));
        if (program != expected && ++differences <= 10)
            ADD_FAILURE() << Text(v) << ": " << program.toStdString() << " instead of "
                          << expected.toStdString();
    }
}

// ---- The texts of values in the selected units ---------------------------

namespace {

class ValueFormat : public ::testing::Test {
protected:
    ValueFormat() { SetDefaults(Cfg, "/w"); }
    TKavCfg Cfg{};
    TValueFormat Format{Cfg, QChar(',')};
};

} // namespace

// Unit 0 shows the code; the others their style and name; a unit outside
// the group shows nothing. A selection change shows at the next call.
TEST_F(ValueFormat, FieldInEverySweepUnit) {
    Cfg.RazvUnits[0].KoeffK = 2; // unit 0 shows the code whatever its line
    EXPECT_EQ(Format.FieldToStr(65519), "65519");
    Cfg.RazvUnit = 1; // fixed (4, 3)
    EXPECT_EQ(Format.FieldToStr(65519), "5,000 А");
    EXPECT_EQ(Format.FieldToStr(32760), "2,500 А");
    Cfg.RazvUnit = 2; // general (4, 2)
    EXPECT_EQ(Format.FieldToStr(65519), "300 Э");
    EXPECT_EQ(Format.FieldToStr(100), "0,4579 Э");
    EXPECT_EQ(TValueFormat(Cfg, QChar('.')).FieldToStr(100), "0.4579 Э");
    Cfg.RazvUnit = 3; // general (6, 4)
    EXPECT_EQ(Format.FieldToStr(0), "3000 Э");
    EXPECT_EQ(Format.FieldToStr(100), "3000,46 Э");
    Cfg.RazvUnit = 4;
    EXPECT_EQ(Format.FieldToStr(100), "");
}

TEST_F(ValueFormat, AmplitudeDividedByTheGainInCodesOrVoltsWithTheirPrefix) {
    EXPECT_EQ(Format.AmplToStr(-2047), "-2047");
    Cfg.Amplifying = 2; // factor 5
    EXPECT_EQ(Format.AmplToStr(100), "20");
    EXPECT_EQ(Format.AmplToStr(7), "1,4");
    Cfg.Amplifying = 200; // no such row: factor 1, never a division by zero
    EXPECT_EQ(Format.AmplToStr(100), "100");

    Cfg.AmpUnit = 1;
    Cfg.Amplifying = 7; // factor 200
    EXPECT_EQ(Format.AmplToStr(2047), "50 мВ");
    // A line of 1 mV per code makes the values easy to state.
    Cfg.Amplifying = 0;
    Cfg.AmpUnits[1].KoeffK = 0.001;
    Cfg.AmpUnits[1].KoeffB = 0;
    EXPECT_EQ(Format.AmplToStr(0), "0 В");
    EXPECT_EQ(Format.AmplToStr(1000), "1 В");
    EXPECT_EQ(Format.AmplToStr(-500), "-500 мВ");
    EXPECT_EQ(Format.AmplToStr(1), "1 мВ");
    Cfg.AmpUnits[1].KoeffK = 0.0000042;
    EXPECT_EQ(Format.AmplToStr(1000), "4,2 мВ");
    EXPECT_EQ(Format.AmplToStr(-100), "-420 мкВ");
    Cfg.AmpUnits[1].KoeffK = 0.0009999;
    EXPECT_TRUE(Format.AmplToStr(1).endsWith(" мкВ")) << Format.AmplToStr(1).toStdString();
    Cfg.AmpUnit = 2;
    EXPECT_EQ(Format.AmplToStr(1), "");
}

TEST_F(ValueFormat, AreaInEveryUnitPairWithoutOffsetsOrGain) {
    EXPECT_EQ(Format.AreaToStr(123400), "1,234E+005 отсч^3");
    Cfg.RazvUnit = 1;
    EXPECT_EQ(Format.AreaToStr(1e6), "5,824E-003 отсч*А^2");
    Cfg.RazvUnit = 2;
    Cfg.AmpUnit = 1;
    EXPECT_EQ(Format.AreaToStr(1e6), "1,024E-001 В*Э^2");
    Cfg.RazvUnit = 0;
    Cfg.AmpUnits[1].KoeffB = 5;
    Cfg.Amplifying = 3;
    EXPECT_EQ(Format.AreaToStr(1e6), "4,885E+003 В*отсч^2");
    Cfg.RazvUnit = 4;
    EXPECT_EQ(Format.AreaToStr(1e6), "");
    Cfg.RazvUnit = 0;
    Cfg.AmpUnit = 2;
    EXPECT_EQ(Format.AreaToStr(1e6), "");
}

TEST_F(ValueFormat, CorrectionAndAdcInEveryUnit) {
    EXPECT_EQ(Format.CorrToStr(-32767), "-32767");
    Cfg.CorrUnits[0].KoeffB = 0.5; // halves go to the even neighbour
    EXPECT_EQ(Format.CorrToStr(0), "0");
    EXPECT_EQ(Format.CorrToStr(1), "2");
    EXPECT_EQ(Format.CorrToStr(2), "2");
    EXPECT_EQ(Format.CorrToStr(-1), "0"); // -0.5: no "-0"
    EXPECT_EQ(Format.CorrToStr(-2), "-2");
    Cfg.CorrUnit = 1; // general (4, 5)
    EXPECT_EQ(Format.CorrToStr(32767), "1000 мВ");
    EXPECT_EQ(Format.CorrToStr(-100), "-3,052 мВ");
    Cfg.CorrUnit = 2;
    EXPECT_EQ(Format.CorrToStr(100), "");

    EXPECT_EQ(Format.ADCToStr(4095), "4095");
    Cfg.ADCUnit = 1; // fixed (3, 2)
    EXPECT_EQ(Format.ADCToStr(2048), "5,00 В");
    Cfg.ADCUnit = 2; // fixed (2, 2)
    EXPECT_EQ(Format.ADCToStr(1000), "1,50 А");
    Cfg.ADCUnit = 3;
    EXPECT_EQ(Format.ADCToStr(41), "0,10 Э");
    Cfg.ADCUnit = 4; // fixed (4, 0)
    EXPECT_EQ(Format.ADCToStr(4095), "9000 Э");
    Cfg.ADCUnits[4].X2 = 90000;
    ASSERT_TRUE(CalcUnitKoeff(Cfg.ADCUnits[4], 0, 4095));
    EXPECT_EQ(Format.ADCToStr(4095), "9,000E+4 Э"); // five integer digits
    Cfg.ADCUnit = 5;
    EXPECT_EQ(Format.ADCToStr(4095), "");
}

TEST_F(ValueFormat, BrokenLinesGiveDefinedTexts) {
    Cfg.CorrUnits[0].KoeffK = Inf;
    EXPECT_EQ(Format.CorrToStr(1), "INF");
    EXPECT_EQ(Format.CorrToStr(-1), "-INF");
    EXPECT_EQ(Format.CorrToStr(0), "NAN"); // 0 * inf
    Cfg.ADCUnits[0].KoeffK = 1e300;
    EXPECT_EQ(Format.ADCToStr(1), "1E300");
    Cfg.ADCUnits[0].KoeffK = 1e17;
    EXPECT_EQ(Format.ADCToStr(3), "300000000000000000");
    Cfg.AmpUnit = 1;
    Cfg.AmpUnits[1].KoeffB = NaN;
    EXPECT_EQ(Format.AmplToStr(5), "NAN В");
    EXPECT_EQ(Format.AreaToStr(NaN), "NAN В*отсч^2");
    Cfg.RazvUnit = 3;
    Cfg.RazvUnits[3].KoeffK = -Inf;
    EXPECT_EQ(Format.FieldToStr(1), "-INF Э");
}

// ---- The line of a unit through its two reference codes -------------------

namespace {

TMeasureUnit Unit(double x1, double x2) {
    TMeasureUnit u;
    u.X1 = x1;
    u.X2 = x2;
    u.KoeffK = 7;
    u.KoeffB = 9;
    return u;
}

} // namespace

TEST(CalcUnitKoeff, MapsTheFirstCodeToX1AndTheSecondToX2) {
    const struct {
        double X1, X2;
        float Code1, Code2, At, Value;
    } cases[] = {
        {3000, 3300, 0, 65519, 32759.5, 3150},
        {-10, 10, -2047, 2047, 0, 0}, // the amplitude group's negative codes
        {5, 1, 100, 200, 150, 3},     // a falling line
    };
    for (const auto& c : cases) {
        TMeasureUnit u = Unit(c.X1, c.X2);
        ASSERT_TRUE(CalcUnitKoeff(u, c.Code1, c.Code2));
        EXPECT_DOUBLE_EQ(UnitValue(u, c.Code1), c.X1);
        EXPECT_NEAR(UnitValue(u, c.Code2), c.X2, 1e-12);
        EXPECT_NEAR(UnitValue(u, c.At), c.Value, 1e-12);
        EXPECT_EQ(u.X1, c.X1);
        EXPECT_EQ(u.X2, c.X2);
    }
    TKavCfg cfg{};
    SetDefaults(cfg, "/w");
    for (const TMeasureUnit* u :
         {&cfg.RazvUnits[0], &cfg.AmpUnits[0], &cfg.CorrUnits[0], &cfg.ADCUnits[0]})
        EXPECT_TRUE(u->KoeffK == 1 && u->KoeffB == 0 && u->Name.isEmpty());
}

// Equal codes, and codes or values whose line is not finite, keep the line.
TEST(CalcUnitKoeff, NoLineThatIsNotFiniteIsEverStored) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        double X1, X2;
        float Code1, Code2;
    } cases[] = {
        {1, 2, 5, 5},
        {1, 2, nan, 1},
        {1, 2, 0, inf},
        {1e308, -1e308, 0, 1e-30f}, // finite codes whose line overflows a double
        {std::numeric_limits<double>::quiet_NaN(), 1, 0, 1},
    };
    for (const auto& c : cases) {
        TMeasureUnit u = Unit(c.X1, c.X2);
        EXPECT_FALSE(CalcUnitKoeff(u, c.Code1, c.Code2)) << c.Code1 << " " << c.Code2;
        EXPECT_EQ(u.KoeffK, 7);
        EXPECT_EQ(u.KoeffB, 9);
    }
}

TEST(UnitSnapshot, CopiesLiveUnitsAndBringsThemBack) {
    TKavCfg cfg{};
    SetDefaults(cfg, "/w");
    const TKavCfg defaults = cfg;
    SaveUnitSnapshot(cfg);
    cfg.RazvUnits[3].X1 = 1234;
    cfg.ADCUnits[4].Name = "x";
    cfg.AmpUnits[1].X1 = 1; // not part of the snapshot
    EXPECT_EQ(cfg.RazvUnits[7], defaults.RazvUnits[3]);
    RestoreUnitSnapshot(cfg);
    EXPECT_EQ(cfg.RazvUnits[3], defaults.RazvUnits[3]);
    EXPECT_EQ(cfg.ADCUnits[4], defaults.ADCUnits[4]);
    EXPECT_EQ(cfg.AmpUnits[1].X1, 1);

    cfg.RazvUnits[2].X2 = 77;
    SaveUnitSnapshot(cfg);
    cfg.RazvUnits[2].X2 = 88;
    RestoreUnitSnapshot(cfg);
    EXPECT_EQ(cfg.RazvUnits[2].X2, 77);
}
