// The line fit against its floor: the model and its Jacobian evaluated once
// per iteration the fit used, on the same points, in the same run. What the
// fit adds to that is the optimiser's linear algebra, the extra evaluations
// of its trial steps, the extremum search for the starting values and the
// covariance at the end.

#include "bench/paired_timing.h"
#include "processing/line_fit.h"
#include "processing/line_model.h"
#include "spectrum/point_store.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace {

struct TBenchLine {
    double Centre, Width, Amplitude, Mix;
};

// A spectrum of the given lines on a slightly sloped baseline, with noise
// of 10 codes, one point in every slot first..last.
std::unique_ptr<TPointTable> Spectrum(TLineShape shape, const std::vector<TBenchLine>& lines,
                                      int first, int last) {
    auto store = std::make_unique<TPointTable>();
    ClearPoints(*store);
    std::mt19937_64 random(42);
    std::normal_distribution<double> noise(0, 10);
    for (int k = first; k <= last; ++k) {
        double y = 2040 + 0.0005 * (k - first) + noise(random);
        for (const TBenchLine& l : lines)
            y += LineValue(shape, {l.Centre, l.Width, l.Amplitude, l.Mix}, k);
        y = std::min(std::max(std::nearbyint(y), 0.0), 4095.0);
        (*store)[k] = TPointSlot{static_cast<std::uint16_t>(k), static_cast<std::uint16_t>(y)};
    }
    return store;
}

void RunFitAgainstFloor(benchmark::State& state, const TPointTable& store,
                        const TFitRequest& request) {
    const TLineFit first = FitLines(store, request);
    if (!first.Done()) {
        state.SkipWithError("the fit did not converge");
        return;
    }
    // The floor's points and parameters: those of the fit.
    std::vector<double> x(first.Curve.Codes.begin(), first.Curve.Codes.end());
    const int n = static_cast<int>(x.size());
    std::vector<double> values(n);
    std::vector<double> jacobian(static_cast<std::size_t>(n) * first.ParameterCount);
    const int iterations = first.Iterations;
    RunPaired(
        state,
        [&] {
            const TLineFit fit = FitLines(store, request);
            benchmark::DoNotOptimize(fit.Parameters.data());
        },
        [&] {
            for (int i = 0; i < iterations; ++i) {
                EvaluateModel(first.Model, first.Parameters.data(), x.data(), n, values.data(),
                              jacobian.data());
                benchmark::DoNotOptimize(jacobian.data());
                benchmark::ClobberMemory();
            }
        });
    state.counters["iterations"] = iterations;
    state.counters["points"] = n;
}

// One Lorentzian over 5 000 points.
void BM_FitOneLine(benchmark::State& state) {
    const auto store = Spectrum(TLineShape::Lorentz, {{32500, 600, 1500, 1}}, 30000, 34999);
    TFitRequest request;
    request.Noise = 80;
    request.Step = 100;
    RunFitAgainstFloor(state, *store, request);
}

// The same with a pseudo-Voigt line, whose evaluation takes an exponential
// per point: the optimiser's own passes over the Jacobian (its column norms,
// the normal matrix) weigh less against it than against the Lorentzian.
void BM_FitOneVoigtLine(benchmark::State& state) {
    const auto store = Spectrum(TLineShape::Voigt, {{32500, 600, 1500, 0.5}}, 30000, 34999);
    TFitRequest request;
    request.Shape = TLineShape::Voigt;
    request.Noise = 80;
    request.Step = 100;
    RunFitAgainstFloor(state, *store, request);
}

// Four pseudo-Voigt lines over the whole axis, 65 520 points.
void BM_FitFourVoigtLines(benchmark::State& state) {
    const auto store = Spectrum(TLineShape::Voigt,
                                {{12000, 1500, 1200, 0.3},
                                 {26000, 1200, 800, 0.5},
                                 {40000, 1800, 1000, 0.7},
                                 {54000, 1000, 600, 0.4}},
                                0, MaxFieldCode);
    TFitRequest request;
    request.LineCount = 4;
    request.Shape = TLineShape::Voigt;
    request.Noise = 80;
    request.Step = 300;
    RunFitAgainstFloor(state, *store, request);
}

} // namespace

BENCHMARK(BM_FitOneLine)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_FitOneVoigtLine)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_FitFourVoigtLines)->Unit(benchmark::kMillisecond)->UseManualTime();
