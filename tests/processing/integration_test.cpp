#include "processing/integration.h"
#include "spectrum_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

TEST(DoubleIntegral, TwoPointsAndTheGainFactor) {
    auto store = EmptyStore();
    PutPoints(*store, 20, {1, 3});
    EXPECT_DOUBLE_EQ(DoubleIntegral(*store, 20, 21, 1), 1.0);
    EXPECT_DOUBLE_EQ(DoubleIntegral(*store, 21, 20, 2), 0.5);
}

TEST(DoubleIntegral, EmptyRangeGivesTheNoAreaValue) {
    auto store = EmptyStore();
    EXPECT_EQ(DoubleIntegral(*store, 0, 65535, 1), -1.0);
    PutPoints(*store, 100, {2048, 2100});
    EXPECT_EQ(DoubleIntegral(*store, 200, 300, 1), -1.0);
}

TEST(DoubleIntegral, GapsAreFilledBeforeSumming) {
    // 1, gap, 3: the gap takes 1; mean 5/3 rounds to 2; s1 = -1, -2, -1.
    auto store = EmptyStore();
    PutPoints(*store, 0, {1, EmptyY, 3});
    EXPECT_DOUBLE_EQ(DoubleIntegral(*store, 0, 2, 1), 4.0);
    EXPECT_EQ(store->at(1).Y, 1);
}

// A first-derivative Lorentzian line sampled in 12-bit codes about the zero
// line: its double integral is the area of the absorption line. Over the
// window +-W the exact value is the integral of L(x) - L(-W), since the
// first sum starts from the left end of the window.
TEST(DoubleIntegral, DerivativeLorentzianGivesTheAbsorptionArea) {
    const double x0 = 30000, w = 50, halfWindow = 500;
    const double a = 1500 * w / 0.6495; // about 1500 codes at the derivative's peaks
    auto store = EmptyStore();
    for (int k = int(x0 - halfWindow); k <= int(x0 + halfWindow); ++k) {
        const double y = 2048 + LorentzDerivative(k, x0, w, a);
        store->at(k) = TPointSlot{static_cast<std::uint16_t>(k),
                                  static_cast<std::uint16_t>(std::nearbyint(y))};
    }
    const double expected =
        2 * a * w * std::atan(halfWindow / w) - 2 * halfWindow * Lorentz(x0 - halfWindow, x0, w, a);
    const double area =
        DoubleIntegral(*store, std::uint16_t(x0 - halfWindow), std::uint16_t(x0 + halfWindow), 1);
    // The line is odd about x0 and so is its rounding, so the mean stays
    // 2048 and the rounding error e of the sample at x0 + d (|e| <= 1/2)
    // enters the double sum as -2d e: at most W (W + 1) / 2 in all. The sum
    // of samples differs from the integral by far less than 0.1 %.
    const double roundingBound = halfWindow * (halfWindow + 1) / 2;
    EXPECT_NEAR(area, expected, roundingBound + 0.001 * expected);

    const double halved =
        DoubleIntegral(*store, std::uint16_t(x0 - halfWindow), std::uint16_t(x0 + halfWindow), 2);
    EXPECT_DOUBLE_EQ(halved, area / 2);
}

TEST(IntegrateRange, TwoPointsAndFlatSpectrum) {
    auto store = EmptyStore();
    PutPoints(*store, 0, {1, 3});
    IntegrateRange(*store, 0, 1);
    EXPECT_EQ(Ordinates(*store, 0, 2), (std::vector<int>{2047, 2048}));

    PutPoints(*store, 100, std::vector<int>(50, 1234));
    IntegrateRange(*store, 100, 149);
    for (int k = 100; k < 150; ++k)
        EXPECT_EQ(store->at(k).Y, 2048);
}

TEST(IntegrateRange, LargeIntegralIsScaledToTheTopQuarter) {
    // A step: 40 points at 1000, 40 at 3000. Mean 2000 is whole; the first
    // sum falls to -40000 and climbs back to 0, so |lo| sets the scale.
    auto store = EmptyStore();
    std::vector<int> y(40, 1000);
    y.insert(y.end(), 40, 3000);
    PutPoints(*store, 0, y);
    IntegrateRange(*store, 0, 79);
    const auto out = Ordinates(*store, 0, 80);
    EXPECT_EQ(*std::min_element(out.begin(), out.end()), 2048 - 1024);
    EXPECT_EQ(out.back(), 2048);

    // The mirror image: the sum rises to +40000, hi sets the scale.
    std::vector<int> z(40, 3000);
    z.insert(z.end(), 40, 1000);
    PutPoints(*store, 0, z);
    IntegrateRange(*store, 0, 79);
    const auto up = Ordinates(*store, 0, 80);
    EXPECT_EQ(*std::max_element(up.begin(), up.end()), 2048 + 1024);
}

TEST(IntegrateRange, DriftFromTheUnroundedMeanStaysOnTheScale) {
    // 3072, then 2046 points at 2048, then 0: the mean 2047.5 rounds to
    // 2048, so the first pass stays within +-1024 (no scaling) while the
    // second pass, with the unrounded mean, climbs half a code per point and
    // would reach 4095.5 -> 4096 just before the last point.
    auto store = EmptyStore();
    std::vector<int> y(2048, 2048);
    y.front() = 3072;
    y.back() = 0;
    PutPoints(*store, 0, y);
    IntegrateRange(*store, 0, 2047);
    const auto out = Ordinates(*store, 0, 2048);
    EXPECT_EQ(*std::max_element(out.begin(), out.end()), 4095);
    EXPECT_EQ(out[2046], 4095);
    EXPECT_EQ(out[2045], 4095);
    EXPECT_EQ(out[2047], 2048);
}
