// The operations on a spectrum's points, on hand-made lists and synthetic lines.
#include "processing/extremum_search.h"
#include "processing/integration.h"
#include "processing/point_range.h"
#include "processing/round_half_even.h"
#include "processing/spectrum_operations.h"
#include "spectrum_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

constexpr int E = EmptyY;

// A parameter block in the top slots, as a saved spectrum carries it.
void PutParameterBlock(TPointTable& store) {
    for (int slot = 65526; slot <= 65535; ++slot)
        store[slot] = TPointSlot{static_cast<std::uint16_t>(slot - 60000),
                                 static_cast<std::uint16_t>(slot - 1)};
}

void ExpectParameterBlockIntact(const TPointTable& store) {
    auto block = EmptyStore();
    PutParameterBlock(*block);
    for (int slot = 65520; slot <= 65535; ++slot)
        EXPECT_EQ(store[slot], block->at(slot)) << slot;
}

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

// From the first to the last point between the bounds, in either order, across
// the blocks of slots the search skips, never into the parameter records.
TEST(PointRange, FirstAndLastPointBetweenTheBounds) {
    const struct {
        std::vector<int> Points;
        int From, To;
        int First, Last; // -1: empty
    } cases[] = {
        {{0}, 0, MaxFieldCode, 0, 0},
        {{15, 16}, 0, MaxFieldCode, 15, 16},
        {{17, 40000}, 0, MaxFieldCode, 17, 40000},
        {{MaxFieldCode}, 0, MaxFieldCode, MaxFieldCode, MaxFieldCode},
        {{MaxFieldCode - 16, MaxFieldCode - 15},
         MaxFieldCode,
         0,
         MaxFieldCode - 16,
         MaxFieldCode - 15},
        {{100, 101, 102, 200, 201}, 50, 300, 100, 201},
        {{100, 101, 102, 200, 201}, 300, 50, 100, 201},
        {{100, 101, 102, 200, 201}, 110, 190, -1, -1},
        {{100, 200, 300}, 101, 299, 200, 200},
        {{100, 300}, 101, 299, -1, -1},
        {{}, 0, MaxFieldCode, -1, -1},
        {{65000}, 0, 65535, 65000, 65000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.From << ".." << c.To);
        auto store = EmptyStore();
        for (int k = MaxFieldCode + 1; k < PointSlotCount - 1; ++k)
            (*store)[k] = TPointSlot{7, static_cast<std::uint16_t>(k)}; // records
        // A damaged file can put a point-like record into the reserved area.
        store->at(65522) = TPointSlot{65522, 100};
        for (int p : c.Points)
            PutPoints(*store, p, {2000});
        const TPointRange r = RangeBetween(*store, static_cast<std::uint16_t>(c.From),
                                           static_cast<std::uint16_t>(c.To));
        EXPECT_EQ(r.Empty, c.First < 0);
        if (c.First >= 0) {
            EXPECT_EQ(r.First, c.First);
            EXPECT_EQ(r.Last, c.Last);
        }
        const TPointRange whole = WholeSpectrum(*store);
        EXPECT_EQ(whole.Empty, c.Points.empty());
    }
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

// Two points and the gain factor; no points, no area; gaps filled first
// (1, gap, 3: the gap takes 1; mean 5/3 rounds to 2; s1 = -1, -2, -1).
TEST(DoubleIntegral, WorkedExamples) {
    auto store = EmptyStore();
    EXPECT_EQ(DoubleIntegral(*store, 0, 65535, 1), -1.0);
    PutPoints(*store, 20, {1, 3});
    EXPECT_DOUBLE_EQ(DoubleIntegral(*store, 20, 21, 1), 1.0);
    EXPECT_DOUBLE_EQ(DoubleIntegral(*store, 21, 20, 2), 0.5);
    EXPECT_EQ(DoubleIntegral(*store, 200, 300, 1), -1.0);
    PutPoints(*store, 0, {1, EmptyY, 3});
    EXPECT_DOUBLE_EQ(DoubleIntegral(*store, 0, 2, 1), 4.0);
    EXPECT_EQ(store->at(1).Y, 1);
}

// Over the window +-W the exact value is the integral of L(x) - L(-W): the
// first sum starts from the window's left end.
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
    // Rounding e at x0 + d enters as -2d e: at most W (W + 1) / 2 in all.
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

// A step of 40 + 40 points: the first sum's extreme, +-40000, is scaled to a
// quarter of the range from the zero line.
TEST(IntegrateRange, LargeIntegralIsScaledToTheTopQuarter) {
    for (const auto& [first, second, extreme] :
         {std::tuple{1000, 3000, 2048 - 1024}, std::tuple{3000, 1000, 2048 + 1024}}) {
        auto store = EmptyStore();
        std::vector<int> y(40, first);
        y.insert(y.end(), 40, second);
        PutPoints(*store, 0, y);
        IntegrateRange(*store, 0, 79);
        const auto out = Ordinates(*store, 0, 80);
        const auto [lo, hi] = std::minmax_element(out.begin(), out.end());
        EXPECT_EQ(first < second ? *lo : *hi, extreme);
        EXPECT_EQ(out.back(), 2048);
    }
}

TEST(IntegrateRange, DriftFromTheUnroundedMeanStaysOnTheScale) {
    // The mean 2047.5 rounds to 2048 for the first pass (no scaling); the
    // second, with the unrounded mean, would climb to 4096 before the end.
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
    // Nothing in the range: the previous ratio stays.
    FindPeakRatio(*store, 40000, 50000, 20, 50, results);
    EXPECT_EQ(results.TibaAmp, 0);
    EXPECT_NEAR(results.TitanAmp, 600, 6);
}
