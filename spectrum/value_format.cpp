#include "spectrum/value_format.h"

#include "base/instrument_tables.h"
#include "base/measure_unit.h"
#include "base/number_style.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

// The number followed by the given texts, in one string made at once.
QString Join(const TNumberText& number, std::initializer_list<QStringView> after) {
    qsizetype size = number.Length;
    for (const QStringView part : after)
        size += part.size();
    QString text(size, Qt::Uninitialized);
    QChar* out = text.data();
    std::copy(number.Chars, number.Chars + number.Length, out);
    out += number.Length;
    for (const QStringView part : after)
        out = std::copy(part.begin(), part.end(), out);
    return text;
}

QString Fixed(long double v, int P, int D, QChar sep, std::initializer_list<QStringView> after) {
    TNumberText number;
    WriteFixed(number, v, P, D, sep);
    return Join(number, after);
}

QString General(long double v, int P, int D, QChar sep, std::initializer_list<QStringView> after) {
    TNumberText number;
    WriteGeneral(number, v, P, D, sep);
    return Join(number, after);
}

QString Scientific(long double v, int P, int D, QChar sep,
                   std::initializer_list<QStringView> after) {
    TNumberText number;
    WriteScientific(number, v, P, D, sep);
    return Join(number, after);
}

constexpr QStringView Blank = u" ";

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
    return FieldValueToStr(UnitValue(Cfg.RazvUnits[u], code));
}

QString TValueFormat::FieldValueToStr(long double v) const {
    const int u = Cfg.RazvUnit;
    if (u >= RazvUnitCount)
        return {};
    const TMeasureUnit& unit = Cfg.RazvUnits[u];
    switch (u) {
    case 0:
        return General(v, 6, 4, Sep, {});
    case 1:
        return Fixed(v, 4, 3, Sep, {Blank, unit.Name});
    case 2:
        return General(v, 4, 2, Sep, {Blank, unit.Name});
    default:
        return General(v, 6, 4, Sep, {Blank, unit.Name});
    }
}

QString TValueFormat::AmplToStr(std::int32_t code) const {
    const int u = Cfg.AmpUnit;
    if (u >= AmpUnitCount)
        return {};
    const long double v =
        static_cast<long double>(UnitValue(Cfg.AmpUnits[u], code)) / GainFactor(Cfg.Amplifying);
    return AmplValueToStr(v);
}

QString TValueFormat::AmplValueToStr(long double v) const {
    const int u = Cfg.AmpUnit;
    if (u >= AmpUnitCount)
        return {};
    const TMeasureUnit& unit = Cfg.AmpUnits[u];
    if (u == 0)
        return General(v, 4, 3, Sep, {});
    const long double a = std::fabs(v);
    if (!std::isfinite(v) || a >= 1 || v == 0)
        return General(v, 3, 3, Sep, {Blank, unit.Name});
    if (a < 0.001L)
        return General(v * 1000000, 3, 3, Sep, {u" мк", unit.Name});
    return General(v * 1000, 3, 3, Sep, {u" м", unit.Name});
}

QString TValueFormat::AreaToStr(double area) const {
    const int s = Cfg.RazvUnit;
    const int a = Cfg.AmpUnit;
    if (s >= RazvUnitCount || a >= AmpUnitCount)
        return {};
    const long double ks = Cfg.RazvUnits[s].KoeffK;
    return AreaValueToStr(ks * ks * (static_cast<long double>(area) * Cfg.AmpUnits[a].KoeffK));
}

QString TValueFormat::AreaValueToStr(long double v) const {
    const int s = Cfg.RazvUnit;
    const int a = Cfg.AmpUnit;
    if (s >= RazvUnitCount || a >= AmpUnitCount)
        return {};
    const TMeasureUnit& sweep = Cfg.RazvUnits[s];
    const TMeasureUnit& ampl = Cfg.AmpUnits[a];
    if (s == 0 && a == 0)
        return Scientific(v, 4, 3, Sep, {QCoreApplication::translate("ValueFormat", " отсч^3")});
    if (s == 0)
        return Scientific(
            v, 4, 3, Sep,
            {Blank, ampl.Name, QCoreApplication::translate("ValueFormat", "*отсч^2")});
    if (a == 0)
        return Scientific(
            v, 4, 3, Sep,
            {QCoreApplication::translate("ValueFormat", " отсч*"), sweep.Name, u"^2"});
    return Scientific(v, 4, 3, Sep, {Blank, ampl.Name, u"*", sweep.Name, u"^2"});
}

QString TValueFormat::CorrToStr(std::int32_t code) const {
    const int u = Cfg.CorrUnit;
    if (u >= CorrUnitCount)
        return {};
    const TMeasureUnit& unit = Cfg.CorrUnits[u];
    const double v = UnitValue(unit, code);
    if (u == 0)
        return RoundedInteger(v, Sep);
    return General(v, 4, 5, Sep, {Blank, unit.Name});
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
        return Fixed(v, 3, 2, Sep, {Blank, unit.Name});
    case 2:
    case 3:
        return Fixed(v, 2, 2, Sep, {Blank, unit.Name});
    default:
        return Fixed(v, 4, 0, Sep, {Blank, unit.Name});
    }
}
