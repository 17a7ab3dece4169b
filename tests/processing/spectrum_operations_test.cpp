#include "processing/point_range.h"
#include "processing/round_half_even.h"
#include "processing/spectrum_operations.h"
#include "spectrum_builder.h"

#include <gtest/gtest.h>

#include <algorithm>

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
    // A filled slot is a point of its own field code, drawn and saved there.
    EXPECT_EQ(MisplacedSlots(*store, 10, 15), std::vector<int>{});
    EXPECT_EQ(store->at(16), (TPointSlot{0, EmptyY}));
    ExpectParameterBlockIntact(*store);
}

// Short lists from slot 10 on through the filter (running value, halves to
// even) and the smoothing (gaps filled, then means with flat ends).
TEST(SmallListOperations, WorkedExamples) {
    const struct {
        const char* Name;
        void (*Operation)(TPointTable&, int);
        int Constant;
        std::vector<int> In, Out;
    } cases[] = {
        {"filter", LowPassFilter, 2, {10, 20, 30, 40}, {15, 15, 22, 31}},
        // The gap takes 15 and leaves the state at 15; 15 + 25 / 2 = 27.5.
        {"filter gap", LowPassFilter, 2, {10, 20, E, 40}, {15, 15, 15, 28}},
        // The first block averages only its points: 25, then 25 + 25 / 3.
        {"filter block", LowPassFilter, 3, {10, E, 40, 50}, {25, 25, 25, 33}},
        {"filter 0", LowPassFilter, 0, {10, 20, E, 40}, {10, 20, E, 40}},
        {"filter -7", LowPassFilter, -7, {10, 20, E, 40}, {10, 20, E, 40}},
        // After filling 0 3 3 9 12; inner means 2, 5, 8 (truncated).
        {"smooth", SmoothSpectrum, 1, {0, 3, E, 9, 12}, {2, 2, 5, 8, 8}},
        // Half-width 3 needs 7 points: only the gaps are filled.
        {"smooth short", SmoothSpectrum, 3, {0, 3, E, 9, 12}, {0, 3, 3, 9, 12}},
        {"smooth 0", SmoothSpectrum, 0, {0, 3, E, 9, 12}, {0, 3, 3, 9, 12}},
        {"smooth -1", SmoothSpectrum, -1, {0, 3, E, 9, 12}, {0, 3, 3, 9, 12}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto store = EmptyStore();
        PutPoints(*store, 10, c.In);
        c.Operation(*store, c.Constant);
        const int last = 10 + static_cast<int>(c.In.size()) - 1;
        EXPECT_EQ(Ordinates(*store, 10, static_cast<int>(c.In.size())), c.Out);
        if (std::find(c.Out.begin(), c.Out.end(), E) == c.Out.end()) {
            EXPECT_EQ(MisplacedSlots(*store, 10, last), std::vector<int>{});
        }
    }
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

TEST(EqualizeRange, WorkedExamples) {
    const struct {
        std::vector<int> In;
        int Visir1, Visir2;
        std::vector<int> Out;
    } cases[] = {
        {{100, 150, 200}, 10, 12, {2048, 2048, 2048}},
        {{100, 300, 200}, 12, 10, {2048, 2198, 2048}}, // either visir order
        {{777}, 0, 20, {2048}},                        // one point, visirs on empty slots
        {{100, E, 300}, 10, 12, {2048, E, 2048}},
        {{0, 4095, 0}, 10, 12, {2048, 4095, 2048}}, // held on the 12-bit scale
        {{4000, 0, 4000}, 10, 12, {2048, 0, 2048}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.In[0] << " " << c.Visir1 << ".." << c.Visir2);
        auto store = EmptyStore();
        PutPoints(*store, 10, c.In);
        EqualizeRange(*store, c.Visir1, c.Visir2);
        EXPECT_EQ(Ordinates(*store, 10, static_cast<int>(c.In.size())), c.Out);
    }
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
