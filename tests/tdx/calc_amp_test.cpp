#include "tdx.h"

#include "random_signals.h"
#include "reference_tdx.h"

#include <gtest/gtest.h>

namespace {

struct TCall {
    TSamples MinPos;
    TSamples MaxPos;
    TSamples Amp;
    std::uint16_t Pairs;
};

// Calls CalcAmp with lists of the given sizes (capacities) and counts.
TCall Pair(const TSamples& data, TSamples minPos, int minCount, TSamples maxPos, int maxCount,
           int ampSize) {
    TCall c{std::move(minPos), std::move(maxPos), TSamples(ampSize, 0xBEEF), 0};
    c.Pairs = CalcAmp(static_cast<std::uint16_t>(minCount), static_cast<std::uint16_t>(maxCount),
                      data.data(), static_cast<std::int32_t>(data.size()) - 1, c.MinPos.data(),
                      static_cast<std::int32_t>(c.MinPos.size()) - 1, c.MaxPos.data(),
                      static_cast<std::int32_t>(c.MaxPos.size()) - 1, c.Amp.data(), ampSize - 1);
    return c;
}

TEST(CalcAmp, PairsFromTheRightAndLeavesTheLeftmostExtraUnpaired) {
    //                     0     1    2     3    4     5    6
    const TSamples data{2048, 3000, 1000, 2500, 1500, 2900, 1200};
    const TCall c = Pair(data, {2, 6}, 2, {1, 3, 5}, 3, 4);
    EXPECT_EQ(c.Pairs, 2);
    EXPECT_EQ(c.MaxPos, (TSamples{5, 3, 1}));
    EXPECT_EQ(c.MinPos, (TSamples{6, 2}));
    EXPECT_EQ(c.Amp, (TSamples{1700, 1500, 0xBEEF, 0xBEEF}));
}

TEST(CalcAmp, ReversesOnlyTheCountedEntries) {
    const TSamples data{10, 20, 30, 40};
    const TCall c = Pair(data, {0, 1, 2, 3}, 3, {3, 0, 1, 2}, 1, 1);
    EXPECT_EQ(c.Pairs, 1);
    EXPECT_EQ(c.MinPos, (TSamples{2, 1, 0, 3}));
    EXPECT_EQ(c.MaxPos, (TSamples{3, 0, 1, 2}));
    EXPECT_EQ(c.Amp, (TSamples{10})) << "|data[2] - data[3]|";
    const TCall none = Pair(data, {1, 2}, 2, {3}, 0, 0);
    EXPECT_EQ(none.Pairs, 0);
    EXPECT_EQ(none.MinPos, (TSamples{2, 1}));
}

TEST(CalcAmp, ListsThatCannotHoldTheCountsAreLeftAlone) {
    const TSamples data{10, 20, 30, 40};
    // Each call is refused and changes no list.
    const TCall minTooLong = Pair(data, {0, 1}, 3, {2, 3}, 2, 4);
    const TCall maxTooLong = Pair(data, {0, 1}, 2, {2, 3}, 3, 4);
    const TCall ampTooShort = Pair(data, {0, 1}, 2, {2, 3}, 2, 1);
    const TCall pastLast = Pair(data, {0, 4}, 2, {2, 3}, 2, 4);
    for (const TCall& c : {minTooLong, maxTooLong, ampTooShort, pastLast}) {
        EXPECT_EQ(c.Pairs, 0);
        EXPECT_EQ(c.MaxPos, (TSamples{2, 3}));
        EXPECT_EQ(c.Amp[0], 0xBEEF);
    }
    EXPECT_EQ(CalcAmp(1, 1, nullptr, 3, nullptr, 0, nullptr, 0, nullptr, 0), 0);
    std::uint16_t pos[1] = {0};
    std::uint16_t amp[1] = {0};
    EXPECT_EQ(CalcAmp(1, 1, data.data(), -1, pos, 0, pos, 0, amp, 0), 0);
}

TEST(CalcAmp, MatchesTheDirectDefinitionOnRandomLists) {
    std::mt19937 rng(31);
    std::uniform_int_distribution<int> length(1, 300);
    std::uniform_int_distribution<int> count(0, 40);
    for (int round = 0; round < 800; ++round) {
        const TSamples data = WhiteNoise(rng, length(rng), 0, 65535);
        const int last = static_cast<int>(data.size()) - 1;
        const TSamples minPos = WhiteNoise(rng, count(rng), 0, last);
        const TSamples maxPos = WhiteNoise(rng, count(rng), 0, last);
        const ref::TPairs expected = ref::CalcAmp(data, minPos, maxPos);
        // Spare capacity past the counts must stay as it was.
        TSamples minList = minPos;
        TSamples maxList = maxPos;
        minList.push_back(77);
        maxList.push_back(88);
        const TCall c = Pair(data, minList, static_cast<int>(minPos.size()), maxList,
                             static_cast<int>(maxPos.size()), 41);
        ASSERT_EQ(c.Pairs, expected.Amp.size()) << "round " << round;
        ASSERT_EQ(TSamples(c.MinPos.begin(), c.MinPos.end() - 1), expected.MinPos);
        ASSERT_EQ(TSamples(c.MaxPos.begin(), c.MaxPos.end() - 1), expected.MaxPos);
        ASSERT_EQ(c.MinPos.back(), 77);
        ASSERT_EQ(c.MaxPos.back(), 88);
        ASSERT_EQ(TSamples(c.Amp.begin(), c.Amp.begin() + c.Pairs), expected.Amp);
    }
}

} // namespace
