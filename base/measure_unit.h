#pragma once

#include <QString>

// One measurement unit: a straight line from an instrument code to a physical
// value, plus the unit text written after the value.
struct TMeasureUnit {
    double X1 = 0;     // value at the group's first reference code
    double X2 = 0;     // value at the group's second reference code
    double KoeffK = 0; // value per code
    double KoeffB = 0; // value at code 0
    QString Name;      // at most 5 characters; empty for the raw-code unit

    bool operator==(const TMeasureUnit&) const = default;
};

// Derives KoeffK and KoeffB so that code P1 maps to X1 and code P2 to X2.
// X1 and X2 are left unchanged. Two equal (or non-finite) reference codes
// define no line, and values that would give an infinite or NaN slope or
// offset give none either: then the unit keeps its previous KoeffK and
// KoeffB and false is returned, so a caller can tell the operator.
bool CalcUnitKoeff(TMeasureUnit& unit, float P1, float P2);

// The value of a code in a unit: code * KoeffK + KoeffB, in extended precision.
double UnitValue(const TMeasureUnit& unit, long double code);
