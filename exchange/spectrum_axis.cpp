#include "exchange/spectrum_axis.h"

#include "base/instrument_tables.h"
#include "spectrum/point_slot.h"

#include <cmath>

#include <QCoreApplication>

namespace {

constexpr int AbsoluteFieldUnit = 3;

bool HasSlope(const TMeasureUnit& unit) {
    return std::isfinite(unit.KoeffK) && std::isfinite(unit.KoeffB) && unit.KoeffK != 0;
}

// Gauss per unit of the standard field units.
double GaussPer(const QString& unit) {
    if (unit == u"G")
        return 1;
    if (unit == u"mT")
        return 10;
    if (unit == u"T")
        return 10000;
    return 0;
}

} // namespace

bool TSpectrumAxis::FromSettings(const TKavCfg& cfg, int gainRow, TSpectrumAxis& axis,
                                 QString* error) {
    const auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (cfg.AmpUnit >= AmpUnitCount)
        return fail(QCoreApplication::translate("SpectrumAxis",
                                                "Выбрана несуществующая единица амплитуды %1")
                        .arg(cfg.AmpUnit));
    if (gainRow < 0 || gainRow >= GainRowCount)
        return fail(QCoreApplication::translate("SpectrumAxis", "Несуществующая строка усиления %1")
                        .arg(gainRow));
    const TMeasureUnit& field = cfg.RazvUnits[AbsoluteFieldUnit];
    if (!HasSlope(field))
        return fail(QCoreApplication::translate(
                        "SpectrumAxis", "Калибровка поля RazvUnit3 (%1 .. %2) не задаёт оси поля")
                        .arg(field.X1)
                        .arg(field.X2));
    const TMeasureUnit& amplitude = cfg.AmpUnits[cfg.AmpUnit];
    if (!HasSlope(amplitude))
        return fail(QCoreApplication::translate(
                        "SpectrumAxis", "Калибровка амплитуды AmpUnit%1 не задаёт оси амплитуды")
                        .arg(cfg.AmpUnit));
    axis.Field = field;
    axis.Amplitude = amplitude;
    axis.Gain = gainRow;
    axis.Factor = GainFactor(gainRow);
    return true;
}

double TSpectrumAxis::FieldOfCode(std::uint16_t code) const {
    return UnitValue(Field, code);
}

double TSpectrumAxis::AmplitudeOfOrdinate(std::uint16_t ordinate) const {
    return UnitValue(Amplitude, static_cast<long double>(ordinate) - ZeroLine) / Factor;
}

double TSpectrumAxis::NearestCode(double field) const {
    const long double code = (static_cast<long double>(field) - Field.KoeffB) / Field.KoeffK;
    // nearbyint follows the default rounding mode: nearest, halves to even.
    return static_cast<double>(std::nearbyint(code));
}

double TSpectrumAxis::ExactOrdinate(double amplitude) const {
    const long double code =
        (static_cast<long double>(amplitude) * Factor - Amplitude.KoeffB) / Amplitude.KoeffK;
    return static_cast<double>(code + ZeroLine);
}

double TSpectrumAxis::NearestOrdinate(double amplitude) const {
    const long double code =
        (static_cast<long double>(amplitude) * Factor - Amplitude.KoeffB) / Amplitude.KoeffK;
    return static_cast<double>(std::nearbyint(code) + ZeroLine);
}

QString StandardFieldUnit(const QString& name) {
    const QString n = name.trimmed();
    if (n == u"Э" || n == u"Гс" || n == u"Гаусс" || n == u"G" || n == u"Gs" ||
        n.compare(QStringLiteral("gauss"), Qt::CaseInsensitive) == 0 || n == u"Oe")
        return QStringLiteral("G");
    if (n == u"мТл" || n == u"mT")
        return QStringLiteral("mT");
    if (n == u"Тл" || n == u"T")
        return QStringLiteral("T");
    return QString();
}

QString StandardAmplitudeUnit(const QString& name) {
    const QString n = name.trimmed();
    if (n == u"В")
        return QStringLiteral("V");
    if (n == u"мВ")
        return QStringLiteral("mV");
    if (n == u"мкВ")
        return QStringLiteral("uV");
    return n;
}

bool FieldUnitFactor(const QString& from, const QString& to, double& factor) {
    const double a = GaussPer(from);
    const double b = GaussPer(to);
    if (a == 0 || b == 0)
        return false;
    factor = a / b;
    return true;
}
