// Load and save of a full spectrum file: 65 536 records, 262 144 bytes.

#include "bench/paired_timing.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <vector>

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

// The load of a full file (records into the undo table, points into the
// store), against its floor: opening the file and reading its bytes into a
// buffer already in memory.
void BM_LoadFullSpectrum(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("full.kav");
    auto store = FullTable();
    if (!SaveSpectrumFile(path, *store)) {
        state.SkipWithError("save failed");
        return;
    }
    auto undo = std::make_unique<TPointTable>();
    const QByteArray local = QFile::encodeName(path);
    std::vector<char> buffer(MaxSpectrumRecords * SpectrumRecordSize + 1, 1);
    bool failed = false;
    RunPaired(
        state,
        [&] {
            failed |= LoadSpectrumFile(path, *store, *undo) != TLoadOutcome::Loaded;
            benchmark::DoNotOptimize(store->data());
        },
        [&] {
            const int fd = ::open(local.constData(), O_RDONLY | O_CLOEXEC);
            std::size_t got = 0;
            for (ssize_t n = 1; fd >= 0 && n > 0; got += static_cast<std::size_t>(n))
                n = std::max<ssize_t>(::read(fd, buffer.data() + got, buffer.size() - got), 0);
            ::close(fd);
            failed |= got != std::size_t(PointSlotCount) * SpectrumRecordSize;
            benchmark::DoNotOptimize(buffer.data());
        });
    if (failed)
        state.SkipWithError("load failed");
    state.SetBytesProcessed(state.iterations() * PointSlotCount * 4);
}
BENCHMARK(BM_LoadFullSpectrum)->Unit(benchmark::kMicrosecond)->UseManualTime();

} // namespace
