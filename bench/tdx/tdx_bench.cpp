// libtdx routines on a full sweep of 65520 samples: a first-derivative EPR
// spectrum of a few lines around the zero line 2048 with a little noise.
#include "tdx.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

using TSamples = std::vector<std::uint16_t>;

constexpr std::int32_t Count = 65520;
constexpr std::uint16_t Noise = 20;     // the default search threshold
constexpr std::uint16_t Step = 100;     // the default search window
constexpr std::uint16_t GlissHalf = 10; // the default smoothing half-width

// Six derivative-of-Lorentzian lines (a hyperfine sextet) plus one narrow
// reference line, with noise of +-8 codes.
const TSamples& Spectrum() {
    static const TSamples samples = [] {
        std::mt19937 rng(2024);
        std::uniform_int_distribution<int> jitter(-8, 8);
        struct TLine {
            double Centre, Width, Height;
        };
        std::vector<TLine> lines;
        for (int k = 0; k < 6; ++k)
            lines.push_back({9000.0 + k * 8500.0, 450.0, 700.0 - 60.0 * std::abs(k - 2.5)});
        lines.push_back({61000.0, 60.0, 900.0});
        TSamples s(Count);
        for (std::int32_t i = 0; i < Count; ++i) {
            double y = 2048.0;
            for (const TLine& l : lines) {
                const double x = (i - l.Centre) / l.Width;
                y -= l.Height * 2.6 * x / ((1 + x * x) * (1 + x * x));
            }
            s[i] =
                static_cast<std::uint16_t>(std::clamp(static_cast<int>(y) + jitter(rng), 0, 4095));
        }
        return s;
    }();
    return samples;
}

void BM_Gliss(benchmark::State& state) {
    TSamples work(Spectrum().size());
    for (auto _ : state) {
        std::copy(Spectrum().begin(), Spectrum().end(), work.begin());
        Gliss(static_cast<std::uint16_t>(state.range(0)), work.data(), Count - 1);
        benchmark::DoNotOptimize(work.data());
    }
}
BENCHMARK(BM_Gliss)->Arg(GlissHalf)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_FindMaximums(benchmark::State& state) {
    const TSamples& data = Spectrum();
    TSamples maxima(Count);
    std::uint16_t found = 0;
    for (auto _ : state) {
        FindMaximums(Noise, static_cast<std::uint16_t>(state.range(0)), data.data(), Count - 1,
                     maxima.data(), Count - 1, &found);
        benchmark::DoNotOptimize(found);
    }
    state.counters["maxima"] = found;
}
BENCHMARK(BM_FindMaximums)->Arg(Step)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_CalcAmp(benchmark::State& state) {
    // Extremum lists of a dense search, so that many pairs are measured.
    const TSamples& data = Spectrum();
    TSamples maxima(Count);
    TSamples minima(Count);
    TSamples inverted(Count);
    TSamples amps(Count);
    std::uint16_t maxCount = 0;
    std::uint16_t minCount = 0;
    FindMaximums(0, 2, data.data(), Count - 1, maxima.data(), Count - 1, &maxCount);
    std::transform(data.begin(), data.end(), inverted.begin(),
                   [](std::uint16_t v) { return static_cast<std::uint16_t>(4095 - v); });
    FindMaximums(0, 2, inverted.data(), Count - 1, minima.data(), Count - 1, &minCount);
    std::uint16_t pairs = 0;
    for (auto _ : state) {
        pairs = CalcAmp(minCount, maxCount, data.data(), Count - 1, minima.data(), Count - 1,
                        maxima.data(), Count - 1, amps.data(), Count - 1);
        benchmark::DoNotOptimize(amps.data());
    }
    state.counters["pairs"] = pairs;
}
BENCHMARK(BM_CalcAmp)->Unit(benchmark::kMicrosecond);

void BM_CalcTibaTitan(benchmark::State& state) {
    TSamples work(Spectrum().size());
    std::uint16_t out[6] = {};
    for (auto _ : state) {
        std::copy(Spectrum().begin(), Spectrum().end(), work.begin());
        CalcTibaTitan(Noise, Step, work.data(), Count - 1, &out[0], &out[1], &out[2], &out[3],
                      &out[4], &out[5]);
        benchmark::DoNotOptimize(out);
    }
    state.counters["tiba"] = out[0];
    state.counters["titan"] = out[1];
}
BENCHMARK(BM_CalcTibaTitan)->Unit(benchmark::kMicrosecond);

void BM_TibaTitan(benchmark::State& state) {
    TSamples work(Spectrum().size());
    std::uint16_t out[6] = {};
    for (auto _ : state) {
        std::copy(Spectrum().begin(), Spectrum().end(), work.begin());
        TibaTitan(static_cast<std::uint16_t>(state.range(0)), Noise, Step, work.data(), Count - 1,
                  &out[0], &out[1], &out[2], &out[3], &out[4], &out[5]);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_TibaTitan)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// The copy of the spectrum that the in-place benchmarks make each round.
void BM_CopyOnly(benchmark::State& state) {
    TSamples work(Spectrum().size());
    for (auto _ : state) {
        std::copy(Spectrum().begin(), Spectrum().end(), work.begin());
        benchmark::DoNotOptimize(work.data());
    }
}
BENCHMARK(BM_CopyOnly)->Unit(benchmark::kMicrosecond);

} // namespace
