#include "processing/extremum_search.h"
#include "spectrum_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

struct TLine {
    double X0;
    double PeakToPeak; // codes
};

constexpr double HalfWidth = 30;
constexpr int FirstPoint = 1000;
constexpr int LastPoint = 39000;
// Peak-to-peak of the Lorentzian derivative is 2 * 0.6495 * a / w.
double Scale(double peakToPeak) {
    return peakToPeak * HalfWidth / (2 * 0.649519);
}

// Three derivative lines on the zero line, sampled in 12-bit codes.
std::unique_ptr<TPointTable> ThreeLines(const std::vector<TLine>& lines) {
    auto store = EmptyStore();
    for (int k = FirstPoint; k <= LastPoint; ++k) {
        double y = 2048;
        for (const TLine& line : lines)
            y += LorentzDerivative(k, line.X0, HalfWidth, Scale(line.PeakToPeak));
        store->at(k) = TPointSlot{static_cast<std::uint16_t>(k),
                                  static_cast<std::uint16_t>(std::nearbyint(y))};
    }
    return store;
}

// Slot of the largest (or smallest) sample near a line, leftmost of equals.
int ExtremumNear(const TPointTable& store, double x0, bool largest) {
    int best = int(x0 - 3 * HalfWidth);
    for (int k = best; k <= int(x0 + 3 * HalfWidth); ++k) {
        if (largest ? store[k].Y > store[best].Y : store[k].Y < store[best].Y)
            best = k;
    }
    return best;
}

const std::vector<TLine> Lines = {{10000, 600}, {20000, 1200}, {30000, 300}};

} // namespace

TEST(FindExtrema, LinesOfASyntheticSpectrumRightmostFirst) {
    auto store = ThreeLines(Lines);
    TSpectrumResults results;
    results.TibaAmp = 77;
    FindExtrema(*store, 39500, 500, 20, 50, results); // visirs on empty slots
    ASSERT_EQ(results.MaxCount, 3);
    ASSERT_EQ(results.MinCount, 3);
    ASSERT_EQ(results.PairCount, 3);
    for (int k = 0; k < 3; ++k) {
        const TLine& line = Lines[2 - k];
        const int maxSlot = ExtremumNear(*store, line.X0, true);
        const int minSlot = ExtremumNear(*store, line.X0, false);
        EXPECT_EQ(results.MaxPositions[k], maxSlot) << k;
        EXPECT_EQ(results.MinPositions[k], minSlot) << k;
        // Theory: the derivative peaks at x0 -+ w / sqrt(3).
        EXPECT_NEAR(results.MaxPositions[k], line.X0 - HalfWidth / std::sqrt(3.0), 1) << k;
        EXPECT_NEAR(results.MinPositions[k], line.X0 + HalfWidth / std::sqrt(3.0), 1) << k;
        EXPECT_EQ(results.PairAmplitudes[k], store->at(maxSlot).Y - store->at(minSlot).Y) << k;
        EXPECT_NEAR(results.PairAmplitudes[k], line.PeakToPeak, 0.01 * line.PeakToPeak) << k;
    }
    EXPECT_EQ(results.TibaAmp, 77); // the peak ratio is not touched
}

TEST(FindExtrema, SmallHandMadeRangeWithOnlyAMaximum) {
    auto store = EmptyStore();
    PutPoints(*store, 300, {0, 0, 0, 0, 10, 20, 30, 20, 10, 0, 0, 0, 0, 0, 0});
    TSpectrumResults results;
    FindExtrema(*store, 300, 314, 5, 4, results);
    ASSERT_EQ(results.MaxCount, 1);
    EXPECT_EQ(results.MaxPositions[0], 306);
    EXPECT_EQ(results.MinCount, 0);
    EXPECT_EQ(results.PairCount, 0);
}

TEST(FindExtrema, EmptyRangeOrWindowBelowTwoKeepsThePreviousResults) {
    auto store = ThreeLines(Lines);
    TSpectrumResults results;
    FindExtrema(*store, FirstPoint, LastPoint, 20, 50, results);
    const TSpectrumResults before = results;
    FindExtrema(*store, 40000, 50000, 20, 50, results);
    FindExtrema(*store, FirstPoint, LastPoint, 20, 1, results);
    FindExtrema(*store, FirstPoint, LastPoint, 20, 0, results);
    EXPECT_EQ(results.MaxCount, before.MaxCount);
    EXPECT_EQ(results.MaxPositions, before.MaxPositions);
    EXPECT_EQ(results.PairAmplitudes, before.PairAmplitudes);
}

TEST(FindPeakRatio, TwoRightmostLinesOfTheRange) {
    auto store = ThreeLines(Lines);
    const TPointTable before = *store;
    TSpectrumResults results;
    FindPeakRatio(*store, FirstPoint, LastPoint, 20, 50, results);
    const int midAmp = store->at(ExtremumNear(*store, 20000, true)).Y -
                       store->at(ExtremumNear(*store, 20000, false)).Y;
    const int rightAmp = store->at(ExtremumNear(*store, 30000, true)).Y -
                         store->at(ExtremumNear(*store, 30000, false)).Y;
    EXPECT_EQ(results.TibaAmp, midAmp);
    EXPECT_EQ(results.TitanAmp, rightAmp);
    EXPECT_EQ(*store, before); // only the work list is inverted

    // A range holding only the left line: no second line, no ratio.
    FindPeakRatio(*store, FirstPoint, 15000, 20, 50, results);
    EXPECT_EQ(results.TibaAmp, 0);
    EXPECT_NEAR(results.TitanAmp, 600, 6);
}

TEST(FindPeakRatio, HandMadeTwoLines) {
    auto store = EmptyStore();
    PutPoints(*store, 1000, {2048, 2048, 2048, 2048, 2100, 2200, 2300, 2200, 2048, 1900, 1800,
                             1900, 2048, 2048, 2048, 2048, 2048, 2070, 2120, 2170, 2120, 2048,
                             1980, 1930, 1980, 2048, 2048, 2048, 2048, 2048, 2048, 2048});
    TSpectrumResults results;
    FindPeakRatio(*store, 1031, 1000, 20, 4, results);
    EXPECT_EQ(results.TibaAmp, 500);
    EXPECT_EQ(results.TitanAmp, 240);

    // Nothing in the range: the previous ratio stays.
    FindPeakRatio(*store, 2000, 3000, 20, 4, results);
    EXPECT_EQ(results.TibaAmp, 500);
}
