// Every processing operation on a full spectrum of 65520 points.

#include "bench/paired_timing.h"
#include "processing/extremum_search.h"
#include "processing/integration.h"
#include "processing/spectrum_operations.h"
#include "processing/undo_copy.h"
#include "spectrum/point_store.h"

#include <benchmark/benchmark.h>
#include <immintrin.h>
#include <sys/mman.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
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
// The undo copy against its floor, a memcpy of the same 262 144 bytes
// between two page-aligned buffers of its own, each in the same state: hot
// (both tables just used), cold (flushed from every cache level before each
// copy) or unmapped (the destination's pages handed back to the kernel
// before each copy, so that the copy meets 64 page faults).
enum TCopyState { Hot = 0, Cold = 1, Unmapped = 2 };
struct TCopyFloor {
    static constexpr std::size_t Bytes = sizeof(TPointTable);
    std::unique_ptr<std::byte[]> Block = std::make_unique<std::byte[]>(2 * Bytes + 8192);
    std::byte* Source = AlignedAt(Block.get(), 0);
    std::byte* Destination = AlignedAt(Block.get() + Bytes + 4096, 0);

    static std::byte* AlignedAt(std::byte* p, std::size_t offset) {
        const auto a = reinterpret_cast<std::uintptr_t>(p);
        return p + ((4096 - a % 4096) % 4096) + offset;
    }
    void Copy() {
        std::memcpy(Destination, Source, Bytes);
        benchmark::ClobberMemory();
    }
};

void FlushFromCaches(const void* p, std::size_t bytes) {
    const auto* c = static_cast<const char*>(p);
    for (std::size_t i = 0; i < bytes; i += 64)
        _mm_clflush(c + i);
    _mm_mfence();
}

// Hands the whole pages of a range back to the kernel.
void Unmap(void* p, std::size_t bytes) {
    const auto a = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t first = (a + 4095) / 4096 * 4096;
    const std::uintptr_t last = (a + bytes) / 4096 * 4096;
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
}

void CopyAgainstFloor(benchmark::State& state, TPointTable& from, TPointTable& to, bool store) {
    const auto copyState = static_cast<TCopyState>(state.range(0));
    TCopyFloor floor;
    std::memset(floor.Source, 1, TCopyFloor::Bytes);
    std::memset(floor.Destination, 2, TCopyFloor::Bytes);
    auto prepare = [&] {
        if (copyState == Cold) {
            FlushFromCaches(from.data(), sizeof from);
            FlushFromCaches(to.data(), sizeof to);
            FlushFromCaches(floor.Source, TCopyFloor::Bytes);
            FlushFromCaches(floor.Destination, TCopyFloor::Bytes);
        } else if (copyState == Unmapped) {
            Unmap(to.data(), sizeof to);
            Unmap(floor.Destination, TCopyFloor::Bytes);
        }
    };
    RunPaired(
        state,
        [&] {
            if (store)
                StoreUndo(from, to);
            else
                RestoreUndo(to, from);
            benchmark::ClobberMemory();
        },
        [&] { floor.Copy(); }, 1, prepare);
}

// The tables as the program makes them (TPointTables).
void BM_StoreUndo(benchmark::State& state) {
    TPointTables tables;
    tables.Store() = *FullSpectrum(false);
    CopyAgainstFloor(state, tables.Store(), tables.Undo(), true);
}
void BM_RestoreUndo(benchmark::State& state) {
    TPointTables tables;
    tables.Undo() = *FullSpectrum(false);
    CopyAgainstFloor(state, tables.Undo(), tables.Store(), false);
}

// The undo copy with the undo table placed at a given distance after the
// store, modulo the 4096-byte page: where the copy's loads and stores meet
// at the same place in a page.
void BM_StoreUndoAtPageOffset(benchmark::State& state) {
    const auto offset = static_cast<std::size_t>(state.range(0));
    auto block = std::make_unique<std::byte[]>(2 * sizeof(TPointTable) + 3 * 4096);
    auto* store = reinterpret_cast<TPointTable*>(TCopyFloor::AlignedAt(block.get(), 0));
    auto* undo = reinterpret_cast<TPointTable*>(
        TCopyFloor::AlignedAt(block.get() + sizeof(TPointTable) + 4096, offset));
    *store = *FullSpectrum(false);
    ClearPoints(*undo);
    CopyAgainstFloor(state, *store, *undo, true);
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
// The cold and unmapped states prepare each iteration at length: a fixed
// count of iterations is enough.
BENCHMARK(BM_StoreUndo)->ArgName("state")->Arg(Hot)->Unit(benchmark::kMicrosecond)->UseManualTime();
BENCHMARK(BM_StoreUndo)
    ->ArgName("state")
    ->Arg(Cold)
    ->Arg(Unmapped)
    ->Iterations(400)
    ->Unit(benchmark::kMicrosecond)
    ->UseManualTime();
BENCHMARK(BM_RestoreUndo)
    ->ArgName("state")
    ->Arg(Hot)
    ->Unit(benchmark::kMicrosecond)
    ->UseManualTime();
BENCHMARK(BM_RestoreUndo)
    ->ArgName("state")
    ->Arg(Cold)
    ->Arg(Unmapped)
    ->Iterations(400)
    ->Unit(benchmark::kMicrosecond)
    ->UseManualTime();
BENCHMARK(BM_StoreUndoAtPageOffset)
    ->ArgName("offset")
    ->Arg(0)
    ->Arg(16)
    ->Arg(64)
    ->Arg(256)
    ->Arg(2048)
    ->Arg(4032)
    ->Arg(4080)
    ->Unit(benchmark::kMicrosecond)
    ->UseManualTime();
