// Load and save of a full spectrum file: 65 536 records, 262 144 bytes.

#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// Every slot used: 65520 points and 16 records in the reserved slots.
std::unique_ptr<TPointTable> FullTable() {
    auto t = std::make_unique<TPointTable>();
    for (int i = 0; i < PointSlotCount; ++i)
        (*t)[i] = TPointSlot{static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(i % 4096)};
    for (int code = 65520; code < PointSlotCount; ++code)
        (*t)[code] = TPointSlot{1, static_cast<std::uint16_t>(code == 65535 ? 65534 : code)};
    return t;
}

// The save ends with the file's data synced to the disk (QSaveFile), which
// dominates the wall time on a real disk; on /dev/shm (memory) the sync costs
// nothing, so the second figure is the save's own work.
void SaveFullSpectrum(benchmark::State& state, const QString& folder) {
    QTemporaryDir dir(folder + "/kavbench-XXXXXX");
    if (!dir.isValid()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const QString path = dir.filePath("full.kav");
    auto store = FullTable();
    for (auto _ : state) {
        if (!SaveSpectrumFile(path, *store))
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * PointSlotCount * 4);
}

void BM_SaveFullSpectrum(benchmark::State& state) {
    SaveFullSpectrum(state, QDir::tempPath());
}
BENCHMARK(BM_SaveFullSpectrum)->Unit(benchmark::kMicrosecond);

void BM_SaveFullSpectrumInMemory(benchmark::State& state) {
    SaveFullSpectrum(state, "/dev/shm");
}
BENCHMARK(BM_SaveFullSpectrumInMemory)->Unit(benchmark::kMicrosecond);

void BM_LoadFullSpectrum(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("full.kav");
    auto store = FullTable();
    if (!SaveSpectrumFile(path, *store)) {
        state.SkipWithError("save failed");
        return;
    }
    auto undo = std::make_unique<TPointTable>();
    for (auto _ : state) {
        if (LoadSpectrumFile(path, *store, *undo) != TLoadOutcome::Loaded)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(store->data());
    }
    state.SetBytesProcessed(state.iterations() * PointSlotCount * 4);
}
BENCHMARK(BM_LoadFullSpectrum)->Unit(benchmark::kMicrosecond);

} // namespace
