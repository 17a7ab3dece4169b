#include "spectrum/value_format.h"

#include "link/instrument_tables.h"
#include "spectrum/measure_unit.h"
#include "spectrum/number_style.h"

#include <cmath>

namespace {

const QString Blank = QStringLiteral(" ");

// A value rounded to the nearest integer, halves to the even neighbour, as a
// decimal integer. Non-finite values keep their defined texts, and a value
// too large for a 64-bit integer is written in the general style with 15
// digits, like a float of the settings file.
QString RoundedInteger(long double v, QChar sep) {
    if (!std::isfinite(v))
        return FormatGeneral(v, 1, 0, sep);
    // nearbyint rounds by the default mode: nearest, halves to even.
    const long double r = std::nearbyint(v);
    if (std::fabs(r) < 1e18L)
        return QString::number(static_cast<qint64>(r));
    return FormatGeneral(r, 15, 0, sep);
}

} // namespace

QString TValueFormat::FieldToStr(std::uint16_t code) const {
    const int u = Cfg.RazvUnit;
    if (u >= RazvUnitCount)
        return {};
    if (u == 0)
        return QString::number(code); // the raw code: the line is not applied
    const TMeasureUnit& unit = Cfg.RazvUnits[u];
    const double v = UnitValue(unit, code);
    switch (u) {
    case 1:
        return FormatFixed(v, 4, 3, Sep) + Blank + unit.Name;
    case 2:
        return FormatGeneral(v, 4, 2, Sep) + Blank + unit.Name;
    default:
        return FormatGeneral(v, 6, 4, Sep) + Blank + unit.Name;
    }
}

QString TValueFormat::AmplToStr(std::int32_t code) const {
    const int u = Cfg.AmpUnit;
    if (u >= AmpUnitCount)
        return {};
    const TMeasureUnit& unit = Cfg.AmpUnits[u];
    const long double v =
        static_cast<long double>(UnitValue(unit, code)) / GainFactor(Cfg.Amplifying);
    if (u == 0)
        return FormatGeneral(v, 4, 3, Sep);
    const long double a = std::fabs(v);
    if (!std::isfinite(v) || a >= 1 || v == 0)
        return FormatGeneral(v, 3, 3, Sep) + Blank + unit.Name;
    if (a < 0.001L)
        return FormatGeneral(v * 1000000, 3, 3, Sep) + QStringLiteral(" мк") + unit.Name;
    return FormatGeneral(v * 1000, 3, 3, Sep) + QStringLiteral(" м") + unit.Name;
}

QString TValueFormat::AreaToStr(double area) const {
    const int s = Cfg.RazvUnit;
    const int a = Cfg.AmpUnit;
    if (s >= RazvUnitCount || a >= AmpUnitCount)
        return {};
    const TMeasureUnit& sweep = Cfg.RazvUnits[s];
    const TMeasureUnit& ampl = Cfg.AmpUnits[a];
    const long double ks = sweep.KoeffK;
    const long double v = ks * ks * (static_cast<long double>(area) * ampl.KoeffK);
    QString text = FormatScientific(v, 4, 3, Sep);
    if (s == 0 && a == 0)
        text += QStringLiteral(" отсч^3");
    else if (s == 0)
        text += Blank + ampl.Name + QStringLiteral("*отсч^2");
    else if (a == 0)
        text += QStringLiteral(" отсч*") + sweep.Name + QStringLiteral("^2");
    else
        text += Blank + ampl.Name + QStringLiteral("*") + sweep.Name + QStringLiteral("^2");
    return text;
}

QString TValueFormat::CorrToStr(std::int32_t code) const {
    const int u = Cfg.CorrUnit;
    if (u >= CorrUnitCount)
        return {};
    const TMeasureUnit& unit = Cfg.CorrUnits[u];
    const double v = UnitValue(unit, code);
    if (u == 0)
        return RoundedInteger(v, Sep);
    return FormatGeneral(v, 4, 5, Sep) + Blank + unit.Name;
}

QString TValueFormat::ADCToStr(std::int32_t code) const {
    const int u = Cfg.ADCUnit;
    if (u >= ADCUnitCount)
        return {};
    const TMeasureUnit& unit = Cfg.ADCUnits[u];
    const double v = UnitValue(unit, code);
    switch (u) {
    case 0:
        return RoundedInteger(v, Sep);
    case 1:
        return FormatFixed(v, 3, 2, Sep) + Blank + unit.Name;
    case 2:
    case 3:
        return FormatFixed(v, 2, 2, Sep) + Blank + unit.Name;
    default:
        return FormatFixed(v, 4, 0, Sep) + Blank + unit.Name;
    }
}
