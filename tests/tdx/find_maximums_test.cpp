#include "tdx.h"

#include "random_signals.h"
#include "reference_tdx.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint16_t Unwritten = 0xBEEF;

// Runs the search with room for `capacity` positions plus two guard entries
// that must stay untouched.
TSamples Maxima(int noise, int step, const TSamples& data, int capacity = 64) {
    TSamples list(capacity + 2, Unwritten);
    std::uint16_t count = 999;
    FindMaximums(static_cast<std::uint16_t>(noise), static_cast<std::uint16_t>(step), data.data(),
                 static_cast<std::int32_t>(data.size()) - 1, list.data(), capacity - 1, &count);
    EXPECT_LE(count, std::max(capacity, 0));
    EXPECT_EQ(list[capacity], Unwritten);
    EXPECT_EQ(list[capacity + 1], Unwritten);
    list.resize(count);
    return list;
}

TEST(FindMaximums, ReportsALineThatRisesAndFallsByMoreThanTheNoise) {
    const TSamples line{0, 0, 0, 0, 10, 20, 30, 20, 10, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Maxima(5, 4, line), (TSamples{6}));
    EXPECT_EQ(Maxima(30, 4, line), TSamples{}) << "neither rise nor fall exceeds 30";
    EXPECT_EQ(Maxima(0, 2, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), TSamples{}) << "only rising";
    // The last sample is never a window end, so a drop seen only there is
    // not reported.
    EXPECT_EQ(Maxima(5, 4, {0, 0, 0, 0, 0, 0, 50, 50, 50, 0}), TSamples{});
    EXPECT_EQ(Maxima(5, 4, {0, 0, 0, 0, 0, 0, 50, 50, 50, 0, 0, 0}), (TSamples{6}));
}

TEST(FindMaximums, EqualTopsReportTheLeftmostSinceTheLastRise) {
    EXPECT_EQ(Maxima(5, 4, {0, 0, 0, 90, 90, 90, 90, 90, 90, 0, 0, 0}), (TSamples{3}));
    // Two tops of 90 at 4 and 10. With noise 30 the window 6..10 rises
    // again and restarts the maximum, so the right top is reported; with
    // noise 50 only the first window rises and the left top stays.
    const TSamples tops{0, 0, 0, 0, 90, 60, 50, 60, 70, 80, 90, 90, 0, 0, 0, 0};
    EXPECT_EQ(Maxima(30, 4, tops), (TSamples{10}));
    EXPECT_EQ(Maxima(50, 4, tops), (TSamples{4}));
}

TEST(FindMaximums, StepBelowTwoAndBadListsReportNothing) {
    const TSamples line{0, 0, 0, 0, 10, 20, 30, 20, 10, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Maxima(5, 0, line), TSamples{});
    EXPECT_EQ(Maxima(5, 1, line), TSamples{});
    EXPECT_EQ(Maxima(5, 2, line), (TSamples{6}));
    EXPECT_EQ(Maxima(5, 4, {}), TSamples{});
    EXPECT_EQ(Maxima(5, 4, line, 0), TSamples{}) << "no room in the position list";
    std::uint16_t count = 7;
    FindMaximums(5, 4, nullptr, 14, nullptr, 10, &count);
    EXPECT_EQ(count, 0);
    FindMaximums(5, 4, line.data(), 14, nullptr, -1, nullptr);
    // Positions are 16-bit, so a list of more than 65536 samples is refused.
    TSamples longList(70000, 0);
    longList[100] = 500;
    EXPECT_EQ(Maxima(5, 4, longList), TSamples{});
    longList.resize(65536);
    EXPECT_EQ(Maxima(5, 4, longList), (TSamples{100}));
}

TEST(FindMaximums, FullPositionListKeepsTheLeftmostMaxima) {
    TSamples comb(60, 0);
    for (int i = 6; i < 60; i += 12)
        comb[i] = 400;
    const TSamples all = Maxima(10, 4, comb);
    ASSERT_EQ(all, (TSamples{6, 18, 30, 42, 54}));
    EXPECT_EQ(Maxima(10, 4, comb, 2), (TSamples{6, 18}));
    EXPECT_EQ(Maxima(10, 4, comb, 1), (TSamples{6}));
}

TEST(FindMaximums, MatchesTheDirectDefinitionOnRandomLists) {
    std::mt19937 rng(21);
    std::uniform_int_distribution<int> length(0, 600);
    std::uniform_int_distribution<int> stepLength(2, 40);
    std::uniform_int_distribution<int> threshold(0, 300);
    for (int round = 0; round < 1500; ++round) {
        const TSamples data = round % 5 == 0 ? WhiteNoise(rng, length(rng), 0, 65535)
                                             : AnySignal(rng, round, length(rng));
        const int step = stepLength(rng);
        const int noise = round % 11 == 0 ? 65535 : threshold(rng);
        const TSamples expected = ref::FindMaximums(noise, step, data);
        ASSERT_EQ(Maxima(noise, step, data, 400), expected)
            << "round " << round << " step " << step << " noise " << noise;
        // A short position list gets the leftmost of the same positions.
        const int room = static_cast<int>(expected.size()) / 2;
        ASSERT_EQ(Maxima(noise, step, data, room),
                  TSamples(expected.begin(), expected.begin() + room));
    }
}

} // namespace
