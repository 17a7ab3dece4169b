// The full paint of the plot and the live pixel of the acquisition, on a
// large canvas with every slot of the view holding a point.

#include "config/settings_store.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_results.h"
#include "spectrum/value_format.h"
#include "view/gfactor_display.h"
#include "view/plot_widget.h"
#include "view/visir_controller.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_view";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

struct TBenchPlot {
    TKavCfg Cfg{};
    std::unique_ptr<TPointTable> Store = std::make_unique<TPointTable>();
    TSpectrumResults Results;
    TInstrumentReadings Readings;
    TGFactorDisplay GFactor;
    TValueFormat Format{Cfg, QChar(',')};
    TNullVisirView Quiet;
    TVisirController Visirs{Cfg, *Store, Format, GFactor, Quiet};
    std::unique_ptr<TPlotWidget> Plot;

    explicit TBenchPlot(bool processed) {
        App();
        SetDefaults(Cfg, QStringLiteral("/tmp"));
        ClearPoints(*Store);
        for (int k = 0; k <= 65519; ++k) {
            const double u = (k - 32760) / 3000.0;
            const double v = -1500 * 2.6 * u / ((1 + u * u) * (1 + u * u)) + 30 * std::sin(k * 0.3);
            (*Store)[k] = TPointSlot{static_cast<std::uint16_t>(k),
                                     static_cast<std::uint16_t>(std::lround(2048 + v))};
        }
        if (processed) {
            Results.MaxPositions = {31028};
            Results.MinPositions = {34492};
            Results.PairAmplitudes = {2500};
            Results.MaxCount = Results.MinCount = Results.PairCount = 1;
            Results.Area = 1.5e8;
            Cfg.Visir1 = Cfg.Visir2 = true;
            Cfg.VisKoord1 = 20000;
            Cfg.VisKoord2 = 45000;
        }
        Plot = std::make_unique<TPlotWidget>(Cfg, *Store, Results, Readings, Format, GFactor);
        Plot->SetVisirs(&Visirs);
        Visirs.SetSurface(Plot.get());
        Plot->resize(1920, 1000);
        Plot->ScreenBoxPaint(); // canvas made, fonts loaded
    }
};

void BM_FullPaint(benchmark::State& state) {
    TBenchPlot b(false);
    for (auto _ : state) {
        b.Plot->ScreenBoxPaint();
        benchmark::DoNotOptimize(b.Plot->Canvas().constBits());
    }
    state.SetItemsProcessed(state.iterations() * 65520);
}
BENCHMARK(BM_FullPaint)->Unit(benchmark::kMicrosecond);

void BM_FullPaintProcessed(benchmark::State& state) {
    TBenchPlot b(true);
    for (auto _ : state) {
        b.Plot->ScreenBoxPaint();
        benchmark::DoNotOptimize(b.Plot->Canvas().constBits());
    }
    state.SetItemsProcessed(state.iterations() * 65520);
}
BENCHMARK(BM_FullPaintProcessed)->Unit(benchmark::kMicrosecond);

void BM_LivePixelAndMarker(benchmark::State& state) {
    TBenchPlot b(false);
    std::uint16_t slot = 0;
    for (auto _ : state) {
        b.Plot->PlotSlot(slot);
        b.Plot->MoveFieldMarker(slot);
        slot = static_cast<std::uint16_t>((slot + 7) % 65520);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LivePixelAndMarker);

} // namespace
