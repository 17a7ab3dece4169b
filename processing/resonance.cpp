#include "processing/resonance.h"

#include "base/number_style.h"
#include "processing/round_half_even.h"

#include <cmath>
#include <limits>

#include <QCoreApplication>

namespace {
constexpr int AbsoluteFieldUnit = 3;
}

double AbsoluteField(const TKavCfg& cfg, std::uint16_t code) {
    return UnitValue(cfg.RazvUnits[AbsoluteFieldUnit], code);
}

std::int32_t DpphResonatorFrequency(const TKavCfg& cfg, std::uint16_t code) {
    const long double f = RoundHalfEven(AbsoluteField(cfg, code) * DpphFrequencyFactor);
    // A field calibration far off the instrument's range must not overflow.
    if (!(f > std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    if (f > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(f);
}

QString FrequencyText(const TKavCfg& cfg, QChar decimalSep) {
    const long double mhz = cfg.ResonatorFreq / static_cast<long double>(1000.0f);
    return QStringLiteral("f=") + FormatGeneral(mhz, 5, 1, decimalSep) +
           QCoreApplication::translate("Resonance", "МГц");
}

bool GFactorAt(const TKavCfg& cfg, std::uint16_t code, double& g) {
    const long double h = AbsoluteField(cfg, code);
    if (h == 0)
        return false;
    const double quotient = static_cast<double>(cfg.ResonatorFreq / (GOneFrequencyFactor * h));
    if (!std::isfinite(quotient))
        return false;
    g = quotient;
    return true;
}

QString GFactorText(const TKavCfg& cfg, std::uint16_t code, QChar decimalSep) {
    double g = 0;
    if (!GFactorAt(cfg, code, g))
        return QString();
    return QStringLiteral("g=") + FormatGeneral(g, 5, 4, decimalSep);
}
