// Every processing operation on a full spectrum of 65520 points.

#include "processing/extremum_search.h"
#include "processing/integration.h"
#include "processing/spectrum_operations.h"
#include "processing/undo_copy.h"
#include "spectrum/point_store.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

// Six derivative lines on a slightly sloped baseline with a small ripple,
// in 12-bit codes, one point in every slot 0..65519; every hundredth slot is
// left empty when gaps are asked for.
std::unique_ptr<TPointTable> FullSpectrum(bool gaps) {
    auto store = std::make_unique<TPointTable>();
    ClearPoints(*store);
    for (int k = 0; k <= MaxFieldCode; ++k) {
        double y = 2000 + 0.001 * k + 3 * std::sin(k * 0.7);
        for (int line = 1; line <= 6; ++line) {
            const double u = (k - line * 9000.0) / 40.0;
            y += -2.0 * 300 * line * u / ((1 + u * u) * (1 + u * u));
        }
        store->at(k) =
            TPointSlot{static_cast<std::uint16_t>(k), static_cast<std::uint16_t>(std::lround(y))};
        if (gaps && k % 100 == 50)
            store->at(k) = TPointSlot{};
    }
    return store;
}

// Runs op on a fresh copy of the spectrum each iteration; the copy is not
// timed.
template <typename Op> void RunOnCopies(benchmark::State& state, bool gaps, Op op) {
    const auto source = FullSpectrum(gaps);
    auto work = std::make_unique<TPointTable>();
    for (auto _ : state) {
        state.PauseTiming();
        *work = *source;
        state.ResumeTiming();
        op(*work);
        benchmark::ClobberMemory();
    }
}

void BM_FillGaps(benchmark::State& state) {
    RunOnCopies(state, true, [](TPointTable& t) { FillGaps(t); });
}
void BM_LowPassFilter(benchmark::State& state) {
    RunOnCopies(state, true, [](TPointTable& t) { LowPassFilter(t, 10); });
}
void BM_SmoothSpectrum(benchmark::State& state) {
    RunOnCopies(state, true, [](TPointTable& t) { SmoothSpectrum(t, 10); });
}
void BM_EqualizeRange(benchmark::State& state) {
    RunOnCopies(state, false, [](TPointTable& t) { EqualizeRange(t, 0, 65519); });
}
void BM_DoubleIntegral(benchmark::State& state) {
    RunOnCopies(state, false,
                [](TPointTable& t) { benchmark::DoNotOptimize(DoubleIntegral(t, 0, 65519, 1)); });
}
void BM_IntegrateRange(benchmark::State& state) {
    RunOnCopies(state, false, [](TPointTable& t) { IntegrateRange(t, 0, 65519); });
}
void BM_FindExtrema(benchmark::State& state) {
    TSpectrumResults results;
    RunOnCopies(state, false, [&](TPointTable& t) { FindExtrema(t, 0, 65519, 20, 100, results); });
}
void BM_FindPeakRatio(benchmark::State& state) {
    TSpectrumResults results;
    RunOnCopies(state, false,
                [&](TPointTable& t) { FindPeakRatio(t, 0, 65519, 20, 100, results); });
}
void BM_StoreUndo(benchmark::State& state) {
    const auto store = FullSpectrum(false);
    auto undo = std::make_unique<TPointTable>();
    for (auto _ : state) {
        StoreUndo(*store, *undo);
        benchmark::ClobberMemory();
    }
}
void BM_RestoreUndo(benchmark::State& state) {
    auto store = std::make_unique<TPointTable>();
    const auto undo = FullSpectrum(false);
    for (auto _ : state) {
        RestoreUndo(*store, *undo);
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(BM_FillGaps)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LowPassFilter)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SmoothSpectrum)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EqualizeRange)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DoubleIntegral)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IntegrateRange)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindExtrema)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindPeakRatio)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StoreUndo)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RestoreUndo)->Unit(benchmark::kMicrosecond);
