#include "qstring_printer.h"
#include "spectrum/number_style.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

namespace {

const QChar Comma(',');

QString Fixed(long double v, int p, int d) {
    return FormatFixed(v, p, d, Comma);
}
QString General(long double v, int p, int d) {
    return FormatGeneral(v, p, d, Comma);
}
QString Scientific(long double v, int p, int d) {
    return FormatScientific(v, p, d, Comma);
}

TEST(NumberStyle, FixedRoundsToBothCountsAndPads) {
    EXPECT_EQ(Fixed(1.23456, 4, 3), "1,235");
    EXPECT_EQ(Fixed(1.5, 4, 3), "1,500");
    EXPECT_EQ(Fixed(-1.5, 4, 3), "-1,500");
    EXPECT_EQ(Fixed(4.99999, 4, 3), "5,000");
    EXPECT_EQ(Fixed(12.345, 3, 2), "12,30"); // three significant digits, then padded
    EXPECT_EQ(Fixed(0.0456, 2, 2), "0,05");  // two decimals are the coarser limit
    EXPECT_EQ(Fixed(1234.5678, 4, 3), "1235,000");
    EXPECT_EQ(Fixed(9000, 4, 0), "9000"); // no separator without decimals
    EXPECT_EQ(Fixed(0.4, 4, 0), "0");
    EXPECT_EQ(Fixed(0, 4, 3), "0,000");
    EXPECT_EQ(Fixed(0.00001, 3, 2), "0,00");
}

TEST(NumberStyle, FixedNeverWritesMinusZero) {
    EXPECT_EQ(Fixed(-0.0001, 4, 3), "0,000");
    EXPECT_EQ(Fixed(-0.0L, 4, 3), "0,000");
    EXPECT_EQ(Fixed(-0.4, 3, 0), "0");
}

TEST(NumberStyle, FixedSwitchesToScientificPastPIntegerDigits) {
    EXPECT_EQ(Fixed(9999.4, 4, 0), "9999");
    EXPECT_EQ(Fixed(9999.6, 4, 0), "1,000E+4"); // rounding gives five integer digits
    EXPECT_EQ(Fixed(12345, 4, 0), "1,235E+4");
    EXPECT_EQ(Fixed(99.4, 2, 2), "99,00");
    EXPECT_EQ(Fixed(99.5, 2, 2), "1,0E+02");
    EXPECT_EQ(Fixed(-123.4, 2, 2), "-1,2E+02");
}

TEST(NumberStyle, RoundingIsOnTheDecimalDigitsHalfAwayFromZero) {
    EXPECT_EQ(Fixed(0.125, 4, 2), "0,13"); // an exact half goes up
    EXPECT_EQ(Fixed(-0.125, 4, 2), "-0,13");
    EXPECT_EQ(Fixed(2.5, 4, 0), "3");
    EXPECT_EQ(Fixed(2.675, 4, 2), "2,67"); // held as 2.67499999..., no half
    EXPECT_EQ(General(1234.5, 4, 0), "1235");
    EXPECT_EQ(General(0.95, 1, 0), "0,9"); // 0.95 is held as 0.9499999...
}

TEST(NumberStyle, GeneralPlainBetweenTheBounds) {
    EXPECT_EQ(General(0, 15, 0), "0");
    EXPECT_EQ(General(-0.0L, 15, 0), "0");
    EXPECT_EQ(General(0.1, 15, 0), "0,1");
    EXPECT_EQ(General(-2.50, 4, 3), "-2,5"); // trailing zeros go
    EXPECT_EQ(General(3.0, 4, 3), "3");      // and the trailing separator
    EXPECT_EQ(General(1e14, 15, 0), "100000000000000");
    EXPECT_EQ(General(123456789012345.6L, 15, 0), "123456789012346");
    EXPECT_EQ(General(0.00001, 15, 0), "0,00001"); // smallest plain magnitude
    EXPECT_EQ(General(0.000012345, 3, 0), "0,0000123");
    EXPECT_EQ(General(9999, 4, 2), "9999");
}

TEST(NumberStyle, GeneralExponentFormOutsideTheBounds) {
    EXPECT_EQ(General(1e15, 15, 0), "1E15");        // sixteen integer digits
    EXPECT_EQ(General(0.0000099, 15, 0), "9,9E-6"); // below 0.00001
    EXPECT_EQ(General(1.5e-7, 15, 0), "1,5E-7");
    EXPECT_EQ(General(-1.5e-7, 15, 0), "-1,5E-7");
    EXPECT_EQ(General(12345, 4, 2), "1,235E04"); // no "+", at least D digits
    EXPECT_EQ(General(9999.5, 4, 2), "1E04");    // rounding adds a digit
    EXPECT_EQ(General(999.9, 3, 3), "1E003");
    EXPECT_EQ(General(0.000001234, 4, 3), "1,234E-006");
    EXPECT_EQ(General(1e10, 4, 5), "1E0010"); // D counts at most 4
    EXPECT_EQ(General(1e300, 15, 0), "1E300");
}

TEST(NumberStyle, ScientificKeepsEveryDigitAndTheSign) {
    EXPECT_EQ(Scientific(123400, 4, 3), "1,234E+005");
    EXPECT_EQ(Scientific(-0.00123456, 4, 3), "-1,235E-003");
    EXPECT_EQ(Scientific(9.9996, 4, 3), "1,000E+001");
    EXPECT_EQ(Scientific(0, 4, 3), "0,000E+000");
    EXPECT_EQ(Scientific(-0.0L, 4, 3), "0,000E+000");
    EXPECT_EQ(Scientific(5, 1, 0), "5E+0");
    EXPECT_EQ(Scientific(1e-300, 3, 2), "1,00E-300");
    EXPECT_EQ(Scientific(1e100, 4, 9), "1,000E+0100");
}

TEST(NumberStyle, NonFiniteValuesHaveFixedTexts) {
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    for (auto format : {&FormatFixed, &FormatGeneral, &FormatScientific}) {
        EXPECT_EQ(format(nan, 4, 3, Comma), "NAN");
        EXPECT_EQ(format(-nan, 4, 3, Comma), "NAN");
        EXPECT_EQ(format(inf, 4, 3, Comma), "INF");
        EXPECT_EQ(format(-inf, 4, 3, Comma), "-INF");
    }
}

TEST(NumberStyle, SeparatorAndCountsOutsideTheirRange) {
    EXPECT_EQ(FormatGeneral(2.5, 4, 0, QChar('.')), "2.5");
    EXPECT_EQ(FormatFixed(2.5, 4, 1, QChar('.')), "2.5");
    EXPECT_EQ(FormatScientific(2.5, 2, 0, QChar('.')), "2.5E+0");
    // At most 18 significant digits; P below 1 counts as 1.
    EXPECT_EQ(General(0.1L, 30, 0), "0,1");
    EXPECT_EQ(General(123, 0, 0), "1E2");
    EXPECT_EQ(Fixed(1.5, 4, -3), "2");
    // The largest long double still gives digits, not garbage.
    EXPECT_EQ(Scientific(std::numeric_limits<long double>::max(), 3, 4), "1,19E+4932");
}

} // namespace
