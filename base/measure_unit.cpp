#include "base/measure_unit.h"

#include <cmath>

bool CalcUnitKoeff(TMeasureUnit& unit, float P1, float P2) {
    const long double p1 = P1;
    const long double p2 = P2;
    if (!std::isfinite(p1) || !std::isfinite(p2) || p1 == p2)
        return false;
    const long double x1 = unit.X1;
    const long double x2 = unit.X2;
    const long double k = (x1 - x2) / (p1 - p2);
    const long double b = x2 - (x1 - x2) * p2 / (p1 - p2);
    const double koeffK = static_cast<double>(k);
    const double koeffB = static_cast<double>(b);
    if (!std::isfinite(koeffK) || !std::isfinite(koeffB))
        return false;
    unit.KoeffK = koeffK;
    unit.KoeffB = koeffB;
    return true;
}

double UnitValue(const TMeasureUnit& unit, long double code) {
    return static_cast<double>(code * static_cast<long double>(unit.KoeffK) +
                               static_cast<long double>(unit.KoeffB));
}
