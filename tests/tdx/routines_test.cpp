// The libtdx routines: worked examples, refused arguments and lists, and
// properties that tie the routines together; the built library's exports and
// what it links against.
#include "tdx.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

extern "C" int TdxFromC(void);

namespace {

using TSamples = std::vector<std::uint16_t>;

TSamples Smoothed(int half, TSamples data) {
    Gliss(static_cast<std::uint16_t>(half), data.data(),
          static_cast<std::int32_t>(data.size()) - 1);
    return data;
}

TEST(Gliss, AveragesInnerSamplesCopiesThemToTheEndsAndLeavesShortLists) {
    EXPECT_EQ(Smoothed(1, {0, 3, 6, 9, 12}), (TSamples{3, 3, 6, 9, 9}));
    EXPECT_EQ(Smoothed(1, {1, 1, 2}), (TSamples{1, 1, 1})) << "the mean is truncated";
    EXPECT_EQ(Smoothed(2, {10, 0, 0, 0, 0, 0, 50}), (TSamples{2, 2, 2, 0, 10, 10, 10}));
    EXPECT_EQ(Smoothed(0, {7, 1, 4095, 65535}), (TSamples{7, 1, 4095, 65535}));
    // The running sum: each window adds the sample entering it and drops the
    // one leaving it, so a shifted index shows on every inner sample.
    EXPECT_EQ(Smoothed(1, {0, 1, 3, 6, 10, 15}), (TSamples{1, 1, 3, 6, 10, 10}));
    EXPECT_EQ(Smoothed(2, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}),
              (TSamples{2, 2, 2, 3, 4, 5, 6, 7, 7, 7}));
    EXPECT_EQ(Smoothed(3, TSamples(20, 1234)), TSamples(20, 1234)) << "a constant stays";
    // A list shorter than the window is left unchanged.
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

TEST(FindMaximums, ReportsTheLeftmostTopOfALineThatRisesAndFallsByMoreThanTheNoise) {
    const TSamples line{0, 0, 0, 0, 10, 20, 30, 20, 10, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Maxima(5, 4, line), (TSamples{6}));
    EXPECT_EQ(Maxima(30, 4, line), TSamples{}) << "neither rise nor fall exceeds 30";
    EXPECT_EQ(Maxima(0, 2, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), TSamples{}) << "only rising";
    // The last sample is never a window end, so a drop seen only there is
    // not reported.
    EXPECT_EQ(Maxima(5, 4, {0, 0, 0, 0, 0, 0, 50, 50, 50, 0}), TSamples{});
    EXPECT_EQ(Maxima(5, 4, {0, 0, 0, 0, 0, 0, 50, 50, 50, 0, 0, 0}), (TSamples{6}));
    // Equal tops: the leftmost since the last rise.
    EXPECT_EQ(Maxima(5, 4, {0, 0, 0, 90, 90, 90, 90, 90, 90, 0, 0, 0}), (TSamples{3}));
    // Two tops of 90 at 4 and 10. With noise 30 the window 6..10 rises
    // again and restarts the maximum, so the right top is reported; with
    // noise 50 only the first window rises and the left top stays.
    const TSamples tops{0, 0, 0, 0, 90, 60, 50, 60, 70, 80, 90, 90, 0, 0, 0, 0};
    EXPECT_EQ(Maxima(30, 4, tops), (TSamples{10}));
    EXPECT_EQ(Maxima(50, 4, tops), (TSamples{4}));
    // A second rise at 2..6 restarts the maximum, which must look again at
    // the samples 2..4 the first window already compared: the top at 4.
    EXPECT_EQ(Maxima(20, 4, {0, 0, 0, 0, 100, 0, 50, 0, 0, 0, 0, 0, 0, 0}), (TSamples{4}));
    // Three lines; a short position list gets the leftmost of them.
    TSamples three;
    for (int k = 0; k < 3; ++k)
        three.insert(three.end(), {0, 0, 0, 0, 30, 0, 0, 0});
    three.resize(28, 0);
    EXPECT_EQ(Maxima(5, 4, three), (TSamples{4, 12, 20}));
    EXPECT_EQ(Maxima(5, 4, three, 2), (TSamples{4, 12}));
    EXPECT_EQ(Maxima(5, 4, three, 1), (TSamples{4}));
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
    // Only the counted entries are reversed.
    const TSamples data4{10, 20, 30, 40};
    const TCall d = Pair(data4, {0, 1, 2, 3}, 3, {3, 0, 1, 2}, 1, 1);
    EXPECT_EQ(d.Pairs, 1);
    EXPECT_EQ(d.MinPos, (TSamples{2, 1, 0, 3}));
    EXPECT_EQ(d.MaxPos, (TSamples{3, 0, 1, 2}));
    EXPECT_EQ(d.Amp, (TSamples{10})) << "|data[2] - data[3]|";
    const TCall none = Pair(data4, {1, 2}, 2, {3}, 0, 0);
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

struct TRatio {
    std::uint16_t TibaAmp, TitanAmp, TibaMinPos, TibaMaxPos, TitanMinPos, TitanMaxPos;
    bool operator==(const TRatio&) const = default;
};

// TibaTitan with the given method; method -1 calls CalcTibaTitan.
TRatio Ratio(int method, int noise, int step, TSamples& data) {
    TRatio r{0xBEEF, 0xBEEF, 0xBEEF, 0xBEEF, 0xBEEF, 0xBEEF};
    const auto n = static_cast<std::uint16_t>(noise);
    const auto st = static_cast<std::uint16_t>(step);
    const auto last = static_cast<std::int32_t>(data.size()) - 1;
    if (method < 0)
        CalcTibaTitan(n, st, data.data(), last, &r.TibaAmp, &r.TitanAmp, &r.TibaMinPos,
                      &r.TibaMaxPos, &r.TitanMinPos, &r.TitanMaxPos);
    else
        TibaTitan(static_cast<std::uint16_t>(method), n, st, data.data(), last, &r.TibaAmp,
                  &r.TitanAmp, &r.TibaMinPos, &r.TibaMaxPos, &r.TitanMinPos, &r.TitanMaxPos);
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
    EXPECT_EQ(Ratio(-1, 20, 4, data), (TRatio{500, 240, 10, 6, 23, 19}));
    for (std::size_t k = 0; k < data.size(); ++k)
        ASSERT_EQ(data[k], 4095 - input[k]) << "left inverted, sample " << k;
}

TEST(CalcTibaTitan, OneLineOrNoneLeavesNoRatio) {
    TSamples one(6, 1500);
    AddLine(one, 400);
    one.resize(20, 1500);
    EXPECT_EQ(Ratio(-1, 20, 4, one), (TRatio{0, 800, 0, 0, 12, 8}));
    TSamples flat(50, 2048);
    flat[7] = 100;
    EXPECT_EQ(Ratio(-1, 3000, 4, flat), (TRatio{0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(flat[7], 3995);
    EXPECT_EQ(flat[8], 2047);
}

TEST(CalcTibaTitan, RefusedArgumentsLeaveTheSamplesAndGiveNoRatio) {
    TSamples lines(4, 1500);
    AddLine(lines, 300);
    AddLine(lines, 300);
    lines.resize(40, 1500);
    TSamples copy = lines;
    ASSERT_NE(Ratio(-1, 20, 4, copy).TibaAmp, 0);
    const TRatio none{0, 1, 0, 0, 0, 0};
    for (int step : {0, 1}) {
        copy = lines;
        EXPECT_EQ(Ratio(-1, 20, step, copy), none);
        EXPECT_EQ(copy, lines);
    }
    // One sample off the 12-bit scale refuses the whole list, in every mode.
    TSamples offScale = lines;
    offScale[30] = 4096;
    copy = offScale;
    EXPECT_EQ(Ratio(-1, 20, 4, copy), none);
    EXPECT_EQ(copy, offScale);
    for (int method : {0, 1, 2, 3}) {
        EXPECT_EQ(Ratio(method, 20, 40, copy), none) << "method " << method;
        EXPECT_EQ(copy, offScale) << "not smoothed either";
    }
    TSamples empty;
    EXPECT_EQ(Ratio(-1, 20, 4, empty), none);
    EXPECT_EQ(Ratio(1, 20, 4, empty), none);
    TSamples tooLong(65537, 2048);
    EXPECT_EQ(Ratio(-1, 20, 4, tooLong), none);
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

// Methods 1 and 3 are methods 0 and 2 on the samples smoothed over Step / 10.
TEST(TibaTitan, SmoothingMethodsSearchTheSmoothedSamples) {
    // Two lines 20 samples wide, for windows of 11 samples.
    const auto addWideLine = [](TSamples& s, int h) {
        for (int k = 1; k <= 20; ++k)
            s.push_back(static_cast<std::uint16_t>(1500 + (k <= 5    ? h * k / 5
                                                           : k <= 15 ? h - 2 * h * (k - 5) / 10
                                                                     : h * (k - 20) / 5)));
    };
    TSamples data(10, 1500);
    addWideLine(data, 500);
    data.resize(40, 1500);
    addWideLine(data, 150);
    data.resize(80, 1500);
    data[65] = 1700; // a step the smoothing flattens
    data[66] = 1300;
    for (const auto& [method, plain] : {std::pair{1, 0}, std::pair{3, 2}}) {
        SCOPED_TRACE(method);
        TSamples smoothed = Smoothed(1, data);
        const TRatio expected = Ratio(plain, 60, 10, smoothed);
        TSamples raw = data;
        EXPECT_NE(Ratio(plain, 60, 10, raw), expected) << "the smoothing matters here";
        TSamples copy = data;
        EXPECT_EQ(Ratio(method, 60, 10, copy), expected);
        EXPECT_EQ(copy, smoothed);
    }
}

// ---- The built library: the five routines under their C names and nothing
// else, needing nothing beyond the C library.

std::string CommandOutput(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return out;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        out += buffer;
    EXPECT_EQ(pclose(pipe), 0) << command;
    return out;
}

std::set<std::string> Words(const std::string& text, int column) {
    std::set<std::string> words;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string field;
        for (int k = 0; k <= column && fields >> field; ++k) {
            if (k == column)
                words.insert(field);
        }
    }
    return words;
}

TEST(TdxLibrary, ExportsExactlyTheFiveRoutinesWithCLinkageAndCDeclarations) {
    const std::string table = CommandOutput("nm -D --defined-only '" TDX_LIBRARY_FILE "'");
    // "address type name"; C linkage means the plain, unmangled names.
    const std::set<std::string> expected{"CalcAmp", "CalcTibaTitan", "FindMaximums", "Gliss",
                                         "TibaTitan"};
    EXPECT_EQ(Words(table, 2), expected) << table;
    for (const std::string& type : Words(table, 1))
        EXPECT_EQ(type, "T") << table;
    // The header declares them for a C caller (c_interface.c).
    EXPECT_EQ(TdxFromC(), 1);
}

TEST(TdxLibrary, NeedsOnlyTheCLibrary) {
    const std::set<std::string> needed =
        Words(CommandOutput("readelf -d '" TDX_LIBRARY_FILE
                            "' | sed -n 's/.*(NEEDED).*\\[\\(.*\\)\\]/\\1/p'"),
              0);
    ASSERT_FALSE(needed.empty());
    for (const std::string& lib : needed) {
        const bool sanitizerRuntime =
            TDX_SANITIZED && (lib.rfind("libasan.so", 0) == 0 || lib.rfind("libubsan.so", 0) == 0);
        EXPECT_TRUE(lib == "libc.so.6" || sanitizerRuntime) << lib;
    }
}

} // namespace
