// Reading and writing Kav.ini: done at start-up, at exit and on each
// confirmed calibration.
#include "config/ini_file.h"
#include "config/settings_store.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

TKavCfg DefaultCfg() {
    TKavCfg cfg{};
    SetDefaults(cfg, "/w");
    return cfg;
}

const TRecentFiles Recent = [] {
    TRecentFiles r;
    for (int i = 0; i < RecentFilesMax; ++i)
        r << QStringLiteral("/home/оператор/Спектр %1.kav").arg(i);
    return r;
}();

void BM_LoadSettings(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Kav.ini");
    SaveSettings(DefaultCfg(), Recent, path, QChar(','));
    for (auto _ : state) {
        TKavCfg cfg = DefaultCfg();
        TRecentFiles recent;
        LoadSettings(cfg, recent, path, QChar(','));
        benchmark::DoNotOptimize(cfg.PoleMax);
    }
}
BENCHMARK(BM_LoadSettings)->Unit(benchmark::kMicrosecond);

void BM_SaveSettings(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Kav.ini");
    const TKavCfg cfg = DefaultCfg();
    SaveSettings(cfg, Recent, path, QChar(','));
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveSettings(cfg, Recent, path, QChar(',')));
}
BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMicrosecond);

void BM_ParseIniText(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Kav.ini");
    SaveSettings(DefaultCfg(), Recent, path, QChar(','));
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray bytes = f.readAll();
    for (auto _ : state)
        benchmark::DoNotOptimize(TIniFile::FromBytes(bytes).ToBytes());
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ParseIniText)->Unit(benchmark::kMicrosecond);

} // namespace
