// The cost of one formatted value: the plot labels, readouts and the live
// telemetry lines format values on every redraw. Each formatter is paired
// with its floor, QString::number of the same value in the nearest Qt style
// and digit count; the counters give both per value and their ratio.
#include "base/instrument_tables.h"
#include "base/measure_unit.h"
#include "base/number_style.h"
#include "bench/paired_timing.h"
#include "config/settings_store.h"
#include "spectrum/value_format.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

namespace {

constexpr int Batch = 256;

TKavCfg DefaultCfg() {
    TKavCfg cfg{};
    SetDefaults(cfg, "/w");
    return cfg;
}

// The Qt style that stands for one of ours: 'f' with D decimals, 'g' with P
// digits, 'e' with P - 1 decimals, or an integer.
struct TFloorStyle {
    char Format; // 'f', 'g', 'e'; 0 for an integer
    int Precision;
};

// Formats a batch of codes with the formatter and the same values with the
// floor.
template <typename Format>
void PairedBatch(benchmark::State& state, const std::vector<std::int32_t>& codes,
                 const std::vector<double>& values, TFloorStyle floor, Format format) {
    RunPaired(
        state,
        [&] {
            for (const std::int32_t code : codes)
                benchmark::DoNotOptimize(format(code));
        },
        [&] {
            for (const double v : values)
                benchmark::DoNotOptimize(floor.Format == 0
                                             ? QString::number(static_cast<qint64>(v))
                                             : QString::number(v, floor.Format, floor.Precision));
        },
        Batch);
}

std::vector<std::int32_t> Codes(std::int32_t first, std::int32_t step, std::int32_t last) {
    std::vector<std::int32_t> codes;
    std::int32_t code = first;
    for (int i = 0; i < Batch; ++i) {
        codes.push_back(code);
        code += step;
        if (code > last)
            code = first + (code - last) % step;
    }
    return codes;
}

std::vector<double> Values(const TMeasureUnit& unit, const std::vector<std::int32_t>& codes,
                           double divisor = 1) {
    std::vector<double> values;
    for (const std::int32_t code : codes)
        values.push_back(UnitValue(unit, code) / divisor);
    return values;
}

void BM_FieldToStr(benchmark::State& state) {
    TKavCfg cfg = DefaultCfg();
    const int u = static_cast<int>(state.range(0));
    cfg.RazvUnit = static_cast<std::uint8_t>(u);
    const TValueFormat format(cfg, QChar(','));
    const auto codes = Codes(0, 7919, 65519);
    static constexpr TFloorStyle Floors[] = {{0, 0}, {'f', 3}, {'g', 4}, {'g', 6}};
    PairedBatch(state, codes, Values(cfg.RazvUnits[u], codes), Floors[u],
                [&](std::int32_t code) { return format.FieldToStr(static_cast<quint16>(code)); });
}
BENCHMARK(BM_FieldToStr)->DenseRange(0, 3)->ArgName("unit")->UseManualTime();

void BM_AmplToStr(benchmark::State& state) {
    TKavCfg cfg = DefaultCfg();
    const int u = static_cast<int>(state.range(0));
    cfg.AmpUnit = static_cast<std::uint8_t>(u);
    cfg.Amplifying = 3;
    const TValueFormat format(cfg, QChar(','));
    const auto codes = Codes(-2047, 13, 2047);
    std::vector<double> values = Values(cfg.AmpUnits[u], codes, GainFactor(cfg.Amplifying));
    if (u == 1) // the text shows the value in milli- or micro-units below 1
        for (double& v : values)
            v *= std::fabs(v) >= 1 || v == 0 ? 1 : (std::fabs(v) < 0.001 ? 1e6 : 1e3);
    PairedBatch(state, codes, values, TFloorStyle{'g', u == 0 ? 4 : 3},
                [&](std::int32_t code) { return format.AmplToStr(code); });
}
BENCHMARK(BM_AmplToStr)->DenseRange(0, 1)->ArgName("unit")->UseManualTime();

void BM_AreaToStr(benchmark::State& state) {
    TKavCfg cfg = DefaultCfg();
    cfg.RazvUnit = 3;
    cfg.AmpUnit = 1;
    const TValueFormat format(cfg, QChar(','));
    std::vector<double> areas;
    std::vector<double> values;
    double area = 1.0;
    for (int i = 0; i < Batch; ++i) {
        areas.push_back(area);
        const double ks = cfg.RazvUnits[3].KoeffK;
        values.push_back(ks * ks * area * cfg.AmpUnits[1].KoeffK);
        area = area > 1e12 ? 1.0 : area * 1.37;
    }
    RunPaired(
        state,
        [&] {
            for (const double a : areas)
                benchmark::DoNotOptimize(format.AreaToStr(a));
        },
        [&] {
            for (const double v : values)
                benchmark::DoNotOptimize(QString::number(v, 'e', 3));
        },
        Batch);
}
BENCHMARK(BM_AreaToStr)->UseManualTime();

void BM_CorrToStr(benchmark::State& state) {
    TKavCfg cfg = DefaultCfg();
    const int u = static_cast<int>(state.range(0));
    cfg.CorrUnit = static_cast<std::uint8_t>(u);
    const TValueFormat format(cfg, QChar(','));
    const auto codes = Codes(-32767, 101, 32767);
    PairedBatch(state, codes, Values(cfg.CorrUnits[u], codes),
                u == 0 ? TFloorStyle{0, 0} : TFloorStyle{'g', 4},
                [&](std::int32_t code) { return format.CorrToStr(code); });
}
BENCHMARK(BM_CorrToStr)->DenseRange(0, 1)->ArgName("unit")->UseManualTime();

void BM_ADCToStr(benchmark::State& state) {
    TKavCfg cfg = DefaultCfg();
    const int u = static_cast<int>(state.range(0));
    cfg.ADCUnit = static_cast<std::uint8_t>(u);
    const TValueFormat format(cfg, QChar(','));
    const auto codes = Codes(0, 17, 4095);
    static constexpr TFloorStyle Floors[] = {{0, 0}, {'f', 2}, {'f', 2}, {'f', 2}, {'f', 0}};
    PairedBatch(state, codes, Values(cfg.ADCUnits[u], codes), Floors[u],
                [&](std::int32_t code) { return format.ADCToStr(code); });
}
BENCHMARK(BM_ADCToStr)->DenseRange(0, 4)->ArgName("unit")->UseManualTime();

// The general style at full width, against 'g' with 15 digits.
void BM_FormatGeneral15(benchmark::State& state) {
    std::vector<double> values;
    double v = 1.0 / 3;
    for (int i = 0; i < Batch; ++i) {
        values.push_back(v);
        v = v > 1e20 ? 1.0 / 3 : v * 1.1;
    }
    RunPaired(
        state,
        [&] {
            for (const double x : values)
                benchmark::DoNotOptimize(FormatGeneral(x, 15, 0, QChar(',')));
        },
        [&] {
            for (const double x : values)
                benchmark::DoNotOptimize(QString::number(x, 'g', 15));
        },
        Batch);
}
BENCHMARK(BM_FormatGeneral15)->UseManualTime();

} // namespace
