// The cost of one formatted value: the plot labels, readouts and the live
// telemetry lines format values on every redraw.
#include "config/settings_store.h"
#include "spectrum/number_style.h"
#include "spectrum/value_format.h"

#include <benchmark/benchmark.h>

namespace {

TKavCfg DefaultCfg() {
    TKavCfg cfg{};
    SetDefaults(cfg, "/w");
    return cfg;
}

void BM_FieldToStr(benchmark::State& state) {
    TKavCfg cfg = DefaultCfg();
    cfg.RazvUnit = static_cast<std::uint8_t>(state.range(0));
    const TValueFormat format(cfg, QChar(','));
    std::uint16_t code = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(format.FieldToStr(code));
        code += 7919;
    }
}
BENCHMARK(BM_FieldToStr)->DenseRange(0, 3)->ArgName("unit");

void BM_AmplToStr(benchmark::State& state) {
    TKavCfg cfg = DefaultCfg();
    cfg.AmpUnit = static_cast<std::uint8_t>(state.range(0));
    cfg.Amplifying = 3;
    const TValueFormat format(cfg, QChar(','));
    std::int32_t code = -2047;
    for (auto _ : state) {
        benchmark::DoNotOptimize(format.AmplToStr(code));
        code = code >= 2047 ? -2047 : code + 13;
    }
}
BENCHMARK(BM_AmplToStr)->DenseRange(0, 1)->ArgName("unit");

void BM_AreaToStr(benchmark::State& state) {
    TKavCfg cfg = DefaultCfg();
    cfg.RazvUnit = 3;
    cfg.AmpUnit = 1;
    const TValueFormat format(cfg, QChar(','));
    double area = 1.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(format.AreaToStr(area));
        area *= 1.37;
        if (area > 1e12)
            area = 1.0;
    }
}
BENCHMARK(BM_AreaToStr);

void BM_CorrToStr(benchmark::State& state) {
    TKavCfg cfg = DefaultCfg();
    cfg.CorrUnit = static_cast<std::uint8_t>(state.range(0));
    const TValueFormat format(cfg, QChar(','));
    std::int32_t code = -32767;
    for (auto _ : state) {
        benchmark::DoNotOptimize(format.CorrToStr(code));
        code = code >= 32767 ? -32767 : code + 101;
    }
}
BENCHMARK(BM_CorrToStr)->DenseRange(0, 1)->ArgName("unit");

void BM_ADCToStr(benchmark::State& state) {
    TKavCfg cfg = DefaultCfg();
    cfg.ADCUnit = static_cast<std::uint8_t>(state.range(0));
    const TValueFormat format(cfg, QChar(','));
    std::int32_t code = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(format.ADCToStr(code));
        code = (code + 17) & 4095;
    }
}
BENCHMARK(BM_ADCToStr)->DenseRange(0, 4)->ArgName("unit");

void BM_FormatGeneral15(benchmark::State& state) {
    long double v = 1.0L / 3;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatGeneral(v, 15, 0, QChar(',')));
        v *= 1.1L;
        if (v > 1e20L)
            v = 1.0L / 3;
    }
}
BENCHMARK(BM_FormatGeneral15);

} // namespace
