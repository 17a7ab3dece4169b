#include "spectrum/measure_unit.h"

double UnitValue(const TMeasureUnit& unit, long double code) {
    return static_cast<double>(code * static_cast<long double>(unit.KoeffK) +
                               static_cast<long double>(unit.KoeffB));
}
