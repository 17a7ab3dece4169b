#include "processing/point_range.h"
#include "processing/round_half_even.h"
#include "processing/spectrum_operations.h"
#include "spectrum_builder.h"

#include <gtest/gtest.h>

namespace {

constexpr int E = EmptyY;

// A parameter block in the top slots, as a saved spectrum carries it.
void PutParameterBlock(TPointTable& store) {
    for (int slot = 65526; slot <= 65535; ++slot)
        store[slot] = TPointSlot{static_cast<std::uint16_t>(slot - 60000),
                                 static_cast<std::uint16_t>(slot - 1)};
}

void ExpectParameterBlockIntact(const TPointTable& store) {
    for (int slot = 65526; slot <= 65535; ++slot) {
        EXPECT_EQ(store[slot].X, slot - 60000) << slot;
        EXPECT_EQ(store[slot].Y, slot - 1) << slot;
    }
}

} // namespace

TEST(PointRange, EitherOrderAndNarrowedToPoints) {
    auto store = EmptyStore();
    PutPoints(*store, 100, {1, 2, 3});
    PutPoints(*store, 200, {4, 5});
    const TPointRange ab = RangeBetween(*store, 50, 300);
    const TPointRange ba = RangeBetween(*store, 300, 50);
    EXPECT_FALSE(ab.Empty);
    EXPECT_EQ(ab.First, 100);
    EXPECT_EQ(ab.Last, 201);
    EXPECT_EQ(ba.First, ab.First);
    EXPECT_EQ(ba.Last, ab.Last);
    EXPECT_TRUE(RangeBetween(*store, 110, 190).Empty);
    EXPECT_TRUE(WholeSpectrum(*EmptyStore()).Empty);
}

TEST(PointRange, NeverReachesTheParameterSlots) {
    auto store = EmptyStore();
    PutParameterBlock(*store);
    // A damaged file can put a point-like record into the reserved area.
    store->at(65522) = TPointSlot{65522, 100};
    EXPECT_TRUE(WholeSpectrum(*store).Empty);
    PutPoints(*store, 65000, {7});
    const TPointRange range = RangeBetween(*store, 0, 65535);
    EXPECT_EQ(range.First, 65000);
    EXPECT_EQ(range.Last, 65000);
}

TEST(FillGaps, RunsTakeThePointBeforeThemAndEndsStayEmpty) {
    auto store = EmptyStore();
    PutParameterBlock(*store);
    PutPoints(*store, 10, {5, E, E, 9, E, 11});
    FillGaps(*store);
    EXPECT_EQ(Ordinates(*store, 9, 8), (std::vector<int>{E, 5, 5, 5, 9, 9, 11, E}));
    EXPECT_EQ(store->at(11).X, 0); // only ordinates change
    ExpectParameterBlockIntact(*store);
}

TEST(LowPassFilter, RunningValueHalvesToEven) {
    auto store = EmptyStore();
    PutPoints(*store, 0, {10, 20, 30, 40});
    LowPassFilter(*store, 2);
    EXPECT_EQ(Ordinates(*store, 0, 4), (std::vector<int>{15, 15, 22, 31}));
}

TEST(LowPassFilter, EmptySlotsTakeTheRunningValue) {
    auto store = EmptyStore();
    PutPoints(*store, 0, {10, 20, E, 40});
    LowPassFilter(*store, 2);
    // 15, 15; the gap takes 15 and leaves the state at 15; 15 + 25 / 2 = 27.5.
    EXPECT_EQ(Ordinates(*store, 0, 4), (std::vector<int>{15, 15, 15, 28}));
}

TEST(LowPassFilter, FirstBlockAveragesOnlyItsPoints) {
    auto store = EmptyStore();
    PutPoints(*store, 0, {10, E, 40, 50});
    LowPassFilter(*store, 3);
    // Block mean (10 + 40) / 2 = 25, then 25 + 25 / 3 = 33.3.
    EXPECT_EQ(Ordinates(*store, 0, 4), (std::vector<int>{25, 25, 25, 33}));
}

TEST(LowPassFilter, BlockLongerThanTheSpectrumStopsAtTheLastPoint) {
    auto store = EmptyStore();
    PutParameterBlock(*store);
    PutPoints(*store, 65510, {10, 20, 30, 40});
    LowPassFilter(*store, 2000);
    EXPECT_EQ(Ordinates(*store, 65510, 5), (std::vector<int>{25, 25, 25, 25, E}));
    ExpectParameterBlockIntact(*store);
}

TEST(LowPassFilter, ConstantBelowOneIsRefused) {
    auto store = EmptyStore();
    PutPoints(*store, 0, {10, 20, E, 40});
    const TPointTable before = *store;
    LowPassFilter(*store, 0);
    LowPassFilter(*store, -7);
    EXPECT_EQ(*store, before);
}

TEST(SmoothSpectrum, FillsGapsThenAveragesWithFlatEnds) {
    auto store = EmptyStore();
    PutPoints(*store, 500, {0, 3, E, 9, 12});
    SmoothSpectrum(*store, 1);
    // After filling: 0 3 3 9 12; inner means 2, 5, 8 (truncated).
    EXPECT_EQ(Ordinates(*store, 500, 5), (std::vector<int>{2, 2, 5, 8, 8}));
}

TEST(SmoothSpectrum, TooFewPointsOnlyFillsGaps) {
    auto store = EmptyStore();
    PutPoints(*store, 0, {0, 3, E, 9, 12});
    SmoothSpectrum(*store, 3); // needs 7 points
    EXPECT_EQ(Ordinates(*store, 0, 5), (std::vector<int>{0, 3, 3, 9, 12}));
    SmoothSpectrum(*store, 0);
    SmoothSpectrum(*store, -1);
    EXPECT_EQ(Ordinates(*store, 0, 5), (std::vector<int>{0, 3, 3, 9, 12}));
}

TEST(EqualizeRange, ExamplesAndEitherVisirOrder) {
    auto store = EmptyStore();
    PutPoints(*store, 10, {100, 150, 200});
    EqualizeRange(*store, 10, 12);
    EXPECT_EQ(Ordinates(*store, 10, 3), (std::vector<int>{2048, 2048, 2048}));

    PutPoints(*store, 10, {100, 300, 200});
    EqualizeRange(*store, 12, 10);
    EXPECT_EQ(Ordinates(*store, 10, 3), (std::vector<int>{2048, 2198, 2048}));
}

TEST(EqualizeRange, SlopedBaselineBecomesTheZeroLine) {
    // Baseline 1000 + 0.75 k with a triangular line of height 300 at 100;
    // the visirs lie on empty slots outside the points.
    auto store = EmptyStore();
    std::vector<int> y;
    for (int k = 0; k <= 200; ++k) {
        const int line = std::max(0, 300 - 10 * std::abs(k - 100));
        y.push_back(static_cast<int>(std::nearbyint(1000 + 0.75 * k)) + line);
    }
    PutPoints(*store, 1000, y);
    EqualizeRange(*store, 900, 1300);
    for (int k = 0; k <= 200; ++k) {
        const int line = std::max(0, 300 - 10 * std::abs(k - 100));
        // The baseline codes were rounded, so the result may differ by one.
        EXPECT_NEAR(store->at(1000 + k).Y, 2048 + line, 1) << k;
    }
    EXPECT_EQ(store->at(1000).Y, 2048);
    EXPECT_EQ(store->at(1200).Y, 2048);
}

TEST(EqualizeRange, SinglePointAndEmptySlots) {
    auto store = EmptyStore();
    PutPoints(*store, 40, {777});
    EqualizeRange(*store, 30, 50);
    EXPECT_EQ(store->at(40).Y, 2048);

    PutPoints(*store, 60, {100, E, 300});
    EqualizeRange(*store, 60, 62);
    EXPECT_EQ(Ordinates(*store, 60, 3), (std::vector<int>{2048, E, 2048}));
}

TEST(EqualizeRange, ResultsStayOnTheTwelveBitScale) {
    auto store = EmptyStore();
    PutPoints(*store, 0, {0, 4095, 0, 4000, 0, 4000});
    EqualizeRange(*store, 0, 2);
    EXPECT_EQ(Ordinates(*store, 0, 3), (std::vector<int>{2048, 4095, 2048}));
    EqualizeRange(*store, 3, 5);
    EXPECT_EQ(Ordinates(*store, 3, 3), (std::vector<int>{2048, 0, 2048}));
}

TEST(RoundToOrdinate, HalvesGoToTheEvenNeighbourWithinTheLimits) {
    EXPECT_EQ(RoundToOrdinate(22.5, 0, 4095), 22);
    EXPECT_EQ(RoundToOrdinate(23.5, 0, 4095), 24);
    EXPECT_EQ(RoundToOrdinate(0.5, 0, 4095), 0);
    EXPECT_EQ(RoundToOrdinate(2047.4999, 0, 4095), 2047);
    EXPECT_EQ(RoundToOrdinate(2047.5001, 0, 4095), 2048);
    EXPECT_EQ(RoundToOrdinate(4095.5, 0, 4095), 4095);
    EXPECT_EQ(RoundToOrdinate(-0.4, 0, 4095), 0);
    EXPECT_EQ(RoundToOrdinate(65518.5, 0, 65519), 65518);
    EXPECT_EQ(RoundToOrdinate(std::nan(""), 0, 4095), 0);
}
