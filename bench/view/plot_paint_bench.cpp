// The full paint of the plot and the live pixel of the acquisition, on a
// 1920 x 1000 canvas with every slot of the view holding a point. Each paint
// is paired with its floor, measured in the same iteration:
// - the plain paint with filling an image of the same size and writing the
//   65 520 pixels at their places (computed beforehand);
// - the paint with 8 000 labelled extrema with the plain paint, so that the
//   difference per label is the cost of one label with its arrow.

#include "bench/bench_qt_app.h"
#include "bench/paired_timing.h"
#include "config/settings_store.h"
#include "processing/gfactor_display.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_results.h"
#include "spectrum/value_format.h"
#include "view/display_color_painter.h"
#include "view/plot_widget.h"
#include "view/visir_controller.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int PlotW = 1920;
constexpr int PlotH = 1000;
constexpr int Extrema = 8000;

enum class TScene { Plain, Processed, ManyExtrema };

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

    explicit TBenchPlot(TScene scene) {
        BenchApp();
        SetDefaults(Cfg, QStringLiteral("/tmp"));
        ClearPoints(*Store);
        for (int k = 0; k <= 65519; ++k) {
            const double u = (k - 32760) / 3000.0;
            const double v = -1500 * 2.6 * u / ((1 + u * u) * (1 + u * u)) + 30 * std::sin(k * 0.3);
            (*Store)[k] = TPointSlot{static_cast<std::uint16_t>(k),
                                     static_cast<std::uint16_t>(std::lround(2048 + v))};
        }
        if (scene == TScene::Processed) {
            Results.MaxPositions = {31028};
            Results.MinPositions = {34492};
            Results.PairAmplitudes = {2500};
            Results.MaxCount = Results.MinCount = Results.PairCount = 1;
            Results.Area = 1.5e8;
            Cfg.Visir1 = Cfg.Visir2 = true;
            Cfg.VisKoord1 = 20000;
            Cfg.VisKoord2 = 45000;
        } else if (scene == TScene::ManyExtrema) {
            // Maxima and minima spread over the whole view, every one with
            // its own ordinate.
            for (int k = 0; k < Extrema / 2; ++k) {
                Results.MaxPositions.push_back(static_cast<std::uint16_t>(k * 16 + 3));
                Results.MinPositions.push_back(static_cast<std::uint16_t>(k * 16 + 11));
            }
            Results.MaxCount = Results.MinCount = Extrema / 2;
        }
        Plot = std::make_unique<TPlotWidget>(Cfg, *Store, Results, Readings, Format, GFactor);
        Plot->SetVisirs(&Visirs);
        Visirs.SetSurface(Plot.get());
        Plot->resize(PlotW, PlotH);
        Plot->ScreenBoxPaint(); // canvas made, fonts loaded
    }
};

// The floor of the plain paint: an image of the plot's size filled and the
// pixels of the view's points written at their places.
struct TFillAndPixels {
    QImage Image;
    std::vector<std::uint32_t> Offsets; // pixel index of each point
    QRgb Background;
    QRgb Graph;

    explicit TFillAndPixels(const TBenchPlot& b)
        : Image(PlotW, PlotH, QImage::Format_RGB32),
          Background(ToRgb(b.Cfg.DisplayColors.BackGround)),
          Graph(ToRgb(b.Cfg.DisplayColors.Graph)) {
        const TPlotGeometry& g = b.Plot->Geometry();
        for (int k = b.Cfg.ViewMin; k <= b.Cfg.ViewMax; ++k) {
            const TPointSlot& s = (*b.Store)[k];
            if (IsValidSlot(s))
                Offsets.push_back(
                    static_cast<std::uint32_t>(g.PointY(s.Y) * PlotW + g.XOfCode(s.X)));
        }
    }
    void Draw() {
        Image.fill(Background);
        auto* pixels = reinterpret_cast<QRgb*>(Image.bits());
        for (const std::uint32_t offset : Offsets)
            pixels[offset] = Graph;
        benchmark::DoNotOptimize(Image.constBits());
    }
};

void Paint(TBenchPlot& b) {
    b.Plot->ScreenBoxPaint();
    benchmark::DoNotOptimize(b.Plot->Canvas().constBits());
}

void BM_FullPaint(benchmark::State& state) {
    TBenchPlot b(TScene::Plain);
    TFillAndPixels floor(b);
    RunPaired(
        state, [&] { Paint(b); }, [&] { floor.Draw(); });
    state.SetItemsProcessed(state.iterations() * 65520);
}
BENCHMARK(BM_FullPaint)->Unit(benchmark::kMicrosecond)->UseManualTime();

void BM_FullPaintProcessed(benchmark::State& state) {
    TBenchPlot b(TScene::Processed);
    TBenchPlot plain(TScene::Plain);
    RunPaired(
        state, [&] { Paint(b); }, [&] { Paint(plain); });
}
BENCHMARK(BM_FullPaintProcessed)->Unit(benchmark::kMicrosecond)->UseManualTime();

// 8 000 extrema labelled; the counter label_ns is the cost of one label with
// its arrow over the plain paint.
void BM_FullPaint8000Labels(benchmark::State& state) {
    TBenchPlot b(TScene::ManyExtrema);
    TBenchPlot plain(TScene::Plain);
    RunPaired(
        state, [&] { Paint(b); }, [&] { Paint(plain); }, Extrema);
    if (state.counters.count("subject_ns"))
        state.counters["label_ns"] = state.counters["subject_ns"] - state.counters["floor_ns"];
}
BENCHMARK(BM_FullPaint8000Labels)->Unit(benchmark::kMillisecond)->UseManualTime();

// The same when every label is new to the plot: the labels' colour changes
// before each paint, so each of their texts is measured and drawn afresh.
void BM_FullPaint8000NewLabels(benchmark::State& state) {
    TBenchPlot b(TScene::ManyExtrema);
    TBenchPlot plain(TScene::Plain);
    TColorValue& text = b.Cfg.DisplayColors.Text;
    int prepared = 0; // before the subject and before the floor
    RunPaired(
        state, [&] { Paint(b); }, [&] { Paint(plain); }, Extrema,
        [&] {
            if (prepared++ % 2 == 0)
                text ^= 1;
        });
    if (state.counters.count("subject_ns"))
        state.counters["label_ns"] = state.counters["subject_ns"] - state.counters["floor_ns"];
}
BENCHMARK(BM_FullPaint8000NewLabels)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_LivePixelAndMarker(benchmark::State& state) {
    TBenchPlot b(TScene::Plain);
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
