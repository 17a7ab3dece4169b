#include "tdx.h"

#include "random_signals.h"
#include "reference_tdx.h"

#include <gtest/gtest.h>

namespace {

using ref::TRatio;

TRatio Ratio(int noise, int step, TSamples& data) {
    TRatio r{0xBEEF, 0xBEEF, 0xBEEF, 0xBEEF, 0xBEEF, 0xBEEF};
    CalcTibaTitan(static_cast<std::uint16_t>(noise), static_cast<std::uint16_t>(step), data.data(),
                  static_cast<std::int32_t>(data.size()) - 1, &r.TibaAmp, &r.TitanAmp,
                  &r.TibaMinPos, &r.TibaMaxPos, &r.TitanMinPos, &r.TitanMaxPos);
    return r;
}

TRatio Ratio(int method, int noise, int step, TSamples& data) {
    TRatio r{0xBEEF, 0xBEEF, 0xBEEF, 0xBEEF, 0xBEEF, 0xBEEF};
    TibaTitan(static_cast<std::uint16_t>(method), static_cast<std::uint16_t>(noise),
              static_cast<std::uint16_t>(step), data.data(),
              static_cast<std::int32_t>(data.size()) - 1, &r.TibaAmp, &r.TitanAmp, &r.TibaMinPos,
              &r.TibaMaxPos, &r.TitanMinPos, &r.TitanMaxPos);
    return r;
}

void AddRun(TSamples& s, std::initializer_list<int> values) {
    for (int v : values)
        s.push_back(static_cast<std::uint16_t>(v));
}

// A first-derivative line of 9 samples on the zero line 1500: top h above
// at offset 2, bottom h below at offset 6.
void AddLine(TSamples& s, int h) {
    const int z = 1500;
    AddRun(s, {z, z + h / 2, z + h, z + h / 2, z, z - h / 2, z - h, z - h / 2, z});
}

TEST(CalcTibaTitan, TwoLinesGiveTheLeftAsTibaAndTheRightAsTitan) {
    TSamples data(4, 2048);
    AddRun(data, {2100, 2200, 2300, 2200, 2048, 1900, 1800, 1900, 2048});
    data.resize(17, 2048);
    AddRun(data, {2070, 2120, 2170, 2120, 2048, 1980, 1930, 1980, 2048});
    data.resize(32, 2048);
    const TSamples input = data;
    EXPECT_EQ(Ratio(20, 4, data), (TRatio{500, 240, 10, 6, 23, 19}));
    for (std::size_t k = 0; k < data.size(); ++k)
        ASSERT_EQ(data[k], 4095 - input[k]) << "left inverted, sample " << k;
}

TEST(CalcTibaTitan, OneLineOrNoneLeavesNoRatio) {
    TSamples one(6, 1500);
    AddLine(one, 400);
    one.resize(20, 1500);
    EXPECT_EQ(Ratio(20, 4, one), (TRatio{0, 800, 0, 0, 12, 8}));
    TSamples flat(50, 2048);
    flat[7] = 100;
    EXPECT_EQ(Ratio(3000, 4, flat), (TRatio{0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(flat[7], 3995);
    EXPECT_EQ(flat[8], 2047);
}

TEST(CalcTibaTitan, RefusedArgumentsLeaveTheSamplesAndGiveNoRatio) {
    TSamples lines(4, 1500);
    AddLine(lines, 300);
    AddLine(lines, 300);
    lines.resize(40, 1500);
    TSamples copy = lines;
    ASSERT_NE(Ratio(20, 4, copy).TibaAmp, 0);
    const TRatio none{0, 1, 0, 0, 0, 0};
    for (int step : {0, 1}) {
        copy = lines;
        EXPECT_EQ(Ratio(20, step, copy), none);
        EXPECT_EQ(copy, lines);
    }
    // One sample off the 12-bit scale refuses the whole list, in every mode.
    TSamples offScale = lines;
    offScale[30] = 4096;
    copy = offScale;
    EXPECT_EQ(Ratio(20, 4, copy), none);
    EXPECT_EQ(copy, offScale);
    for (int method : {0, 1, 2, 3}) {
        EXPECT_EQ(Ratio(method, 20, 40, copy), none) << "method " << method;
        EXPECT_EQ(copy, offScale) << "not smoothed either";
    }
    TSamples empty;
    EXPECT_EQ(Ratio(20, 4, empty), none);
    EXPECT_EQ(Ratio(1, 20, 4, empty), none);
    TSamples tooLong(65537, 2048);
    EXPECT_EQ(Ratio(20, 4, tooLong), none);
    EXPECT_EQ(tooLong[0], 2048);
    // Null outputs are skipped, the others still written.
    copy = lines;
    std::uint16_t titan = 0;
    CalcTibaTitan(20, 4, copy.data(), static_cast<std::int32_t>(copy.size()) - 1, nullptr, &titan,
                  nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(titan, 600);
    CalcTibaTitan(20, 4, nullptr, 10, nullptr, &titan, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(titan, 1);
}

TEST(TibaTitan, AutomaticThresholdIsATenthOfTheSampleRange) {
    // Samples from 1000 to 2000: threshold 100. It finds the lines of
    // height 500 and 150 and misses the one of height 40, whatever Noise is.
    TSamples data(6, 1500);
    AddLine(data, 500);
    data.resize(20, 1500);
    AddLine(data, 150);
    data.resize(34, 1500);
    AddLine(data, 40);
    data.resize(50, 1500);
    const TRatio expected{1000, 300, 12, 8, 26, 22};
    for (int noise : {0, 200, 65535}) {
        TSamples copy = data;
        EXPECT_EQ(Ratio(2, noise, 4, copy), expected) << "noise " << noise;
    }
    TSamples copy = data;
    // With Noise 200 as given, the climb out of the deep bottom at 12 counts
    // as a rise, so the top at 22 is found and pairs with that bottom.
    EXPECT_EQ(Ratio(0, 200, 4, copy), (TRatio{0, 650, 0, 0, 12, 22}));
    copy = data;
    EXPECT_EQ(Ratio(7, 0, 4, copy).TitanAmp, 80) << "an unknown method uses Noise too";
}

TEST(TibaTitan, SmoothingModesUseATenthOfTheStepAsHalfWidth) {
    std::mt19937 rng(5);
    const TSamples data = DerivativeLines(rng, 500, 3, 40);
    TSamples smoothed = data;
    Gliss(3, smoothed.data(), static_cast<std::int32_t>(smoothed.size()) - 1);
    TSamples viaMethod = data;
    TSamples direct = smoothed;
    EXPECT_EQ(Ratio(1, 30, 35, viaMethod), Ratio(30, 35, direct));
    EXPECT_EQ(viaMethod, direct) << "smoothed, then inverted";
    // Below a step of 10 the half-width is 0: no smoothing.
    viaMethod = data;
    direct = data;
    EXPECT_EQ(Ratio(1, 30, 9, viaMethod), Ratio(30, 9, direct));
    EXPECT_EQ(viaMethod, direct);
}

TEST(TibaTitan, AllModesMatchTheDirectDefinitionOnRandomLists) {
    std::mt19937 rng(41);
    std::uniform_int_distribution<int> length(0, 800);
    std::uniform_int_distribution<int> stepLength(2, 60);
    std::uniform_int_distribution<int> threshold(0, 300);
    for (int round = 0; round < 1200; ++round) {
        const TSamples data = AnySignal(rng, round, length(rng));
        const int step = stepLength(rng);
        const int noise = threshold(rng);
        const int method = round % 5;
        TSamples expectedData = data;
        TSamples actualData = data;
        const TRatio expected = method == 4 ? ref::CalcTibaTitan(noise, step, expectedData)
                                            : ref::TibaTitan(method, noise, step, expectedData);
        const TRatio actual =
            method == 4 ? Ratio(noise, step, actualData) : Ratio(method, noise, step, actualData);
        ASSERT_EQ(actual, expected)
            << "round " << round << " method " << method << " step " << step << " noise " << noise;
        ASSERT_EQ(actualData, expectedData) << "round " << round;
    }
}

} // namespace
