#include "tdx.h"

#include "random_signals.h"
#include "reference_tdx.h"

#include <gtest/gtest.h>

namespace {

TSamples Smoothed(int half, TSamples data) {
    Gliss(static_cast<std::uint16_t>(half), data.data(),
          static_cast<std::int32_t>(data.size()) - 1);
    return data;
}

TEST(Gliss, AveragesInnerSamplesAndCopiesThemToTheEnds) {
    EXPECT_EQ(Smoothed(1, {0, 3, 6, 9, 12}), (TSamples{3, 3, 6, 9, 9}));
    EXPECT_EQ(Smoothed(1, {1, 1, 2}), (TSamples{1, 1, 1})) << "the mean is truncated";
    EXPECT_EQ(Smoothed(2, {10, 0, 0, 0, 0, 0, 50}), (TSamples{2, 2, 2, 0, 10, 10, 10}));
    EXPECT_EQ(Smoothed(0, {7, 1, 4095, 65535}), (TSamples{7, 1, 4095, 65535}));
}

TEST(Gliss, ListShorterThanTheWindowIsLeftUnchanged) {
    const TSamples data{5, 900, 17, 3000};
    EXPECT_EQ(Smoothed(2, data), data);
    EXPECT_EQ(Smoothed(65535, data), data);
    EXPECT_EQ(Smoothed(2, {5, 900, 17, 3000, 1}), (TSamples{784, 784, 784, 784, 784}))
        << "exactly one window";
    // Last below 0 and a null list touch nothing.
    std::uint16_t guard = 1234;
    Gliss(1, &guard, -1);
    Gliss(0, &guard, -5);
    EXPECT_EQ(guard, 1234);
    Gliss(1, nullptr, 10);
}

TEST(Gliss, WideWindowsOfFullScaleSamplesDoNotOverflow) {
    // 40001 samples of 65535 sum past the signed 32-bit range; 65537 samples
    // pass the unsigned one.
    EXPECT_EQ(Smoothed(20000, TSamples(40001, 65535)), TSamples(40001, 65535));
    EXPECT_EQ(Smoothed(32768, TSamples(65537, 65535)), TSamples(65537, 65535));
    TSamples ramp(70000);
    for (std::size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<std::uint16_t>(65535 - i % 2);
    const TSamples out = Smoothed(33000, ramp);
    EXPECT_EQ(out.front(), 65534);
    EXPECT_EQ(out[40000], 65534);
}

TEST(Gliss, MatchesTheDirectDefinitionOnRandomLists) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> length(1, 400);
    std::uniform_int_distribution<int> halfWidth(0, 60);
    for (int round = 0; round < 600; ++round) {
        TSamples data = round % 7 == 0 ? WhiteNoise(rng, length(rng), 0, 65535)
                                       : AnySignal(rng, round, length(rng));
        const int half = halfWidth(rng);
        ASSERT_EQ(Smoothed(half, data), ref::Gliss(half, data))
            << "round " << round << " half " << half << " size " << data.size();
    }
}

} // namespace
