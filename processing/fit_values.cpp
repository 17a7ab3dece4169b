#include "processing/fit_values.h"

#include "base/instrument_tables.h"
#include "base/measure_unit.h"
#include "processing/resonance.h"

#include <cmath>

namespace {

constexpr int AbsoluteFieldUnit = 3;

// The selected sweep unit's line; the raw-code unit (and a selection outside
// the group) is the code itself.
struct TLine {
    double K = 1;
    double B = 0;
};

TLine FieldLine(const TKavCfg& cfg) {
    if (cfg.RazvUnit == 0 || cfg.RazvUnit >= RazvUnitCount)
        return {};
    const TMeasureUnit& u = cfg.RazvUnits[cfg.RazvUnit];
    return {u.KoeffK, u.KoeffB};
}

// The selected amplitude unit's line divided by the gain factor, as
// AmplToStr applies it.
TLine AmplitudeLine(const TKavCfg& cfg) {
    if (cfg.AmpUnit >= AmpUnitCount)
        return {};
    const TMeasureUnit& u = cfg.AmpUnits[cfg.AmpUnit];
    const double g = GainFactor(cfg.Amplifying);
    return {u.KoeffK / g, u.KoeffB / g};
}

// A difference of codes (a width, an amplitude, an error) scaled by a slope.
TFitValue Span(const TFitValue& v, double k) {
    return {v.Value * k, v.Error * std::fabs(k)};
}

} // namespace

double FitFrequencyMHz(const TKavCfg& cfg, double askedMHz) {
    if (askedMHz > 0 && std::isfinite(askedMHz))
        return askedMHz;
    return cfg.ResonatorFreq > 0 ? cfg.ResonatorFreq / 1000.0 : 0;
}

bool GFactorOfCode(const TKavCfg& cfg, double frequencyMHz, const TFitValue& code, TFitValue& g) {
    const TMeasureUnit& field = cfg.RazvUnits[AbsoluteFieldUnit];
    const long double h = UnitValue(field, code.Value);
    if (!(frequencyMHz > 0) || h == 0)
        return false;
    const long double value = frequencyMHz * 1000.0L / (GOneFrequencyFactor * h);
    // g is inversely proportional to the field: dg/g = dH/H.
    const long double error = std::fabs(value * field.KoeffK * code.Error / h);
    if (!std::isfinite(static_cast<double>(value)))
        return false;
    g = TFitValue{static_cast<double>(value), static_cast<double>(error)};
    return true;
}

TShownFit ShownFit(const TLineFit& fit, const TKavCfg& cfg, double frequencyMHz) {
    TShownFit shown;
    const TLine field = FieldLine(cfg);
    const TLine ampl = AmplitudeLine(cfg);
    const double ks = cfg.RazvUnit < RazvUnitCount ? cfg.RazvUnits[cfg.RazvUnit].KoeffK : 1;
    const double ka = cfg.AmpUnit < AmpUnitCount ? cfg.AmpUnits[cfg.AmpUnit].KoeffK : 1;
    // The double integral as AreaToStr shows an area: the code area divided
    // by the gain, times the sweep slope squared and the amplitude slope.
    const double area = ks * ks * ka / GainFactor(cfg.Amplifying);

    for (const TFittedLine& line : fit.Lines) {
        TShownLine s;
        s.Centre = {line.Centre.Value * field.K + field.B, line.Centre.Error * std::fabs(field.K)};
        s.Width = Span(line.Width, field.K);
        s.Width.Value = std::fabs(s.Width.Value);
        s.Amplitude = Span(line.Amplitude, ampl.K);
        s.Mix = line.Mix;
        s.DoubleIntegral = Span(line.DoubleIntegral, area);
        s.HasG = GFactorOfCode(cfg, frequencyMHz, line.Centre, s.G);
        shown.Lines.push_back(s);
    }
    shown.BaselineOffset = {(fit.BaselineOffset.Value - ZeroLine) * ampl.K + ampl.B,
                            fit.BaselineOffset.Error * std::fabs(ampl.K)};
    shown.BaselineSlope = Span(fit.BaselineSlope, ampl.K / field.K);
    shown.ResidualRms = fit.ResidualRms * std::fabs(ampl.K);
    shown.RSquared = fit.RSquared;
    shown.Iterations = fit.Iterations;
    shown.FrequencyMHz = frequencyMHz > 0 ? frequencyMHz : 0;
    return shown;
}
