#pragma once

#include "base/measure_unit.h"
#include "config/kav_cfg.h"

#include <QString>
#include <cstdint>

// How a spectrum's codes become the values other programs read, and back.
// The field is the absolute field of sweep unit 3, the calibration the
// resonance calculations use, whatever unit is selected for display. The
// amplitude is the selected amplitude unit's value of the ordinate minus the
// zero line, divided by the gain factor: the value the plot shows.
class TSpectrumAxis {
public:
    // The axis of the settings with the gain of a gain row. Fails (with the
    // reason) when the selected amplitude unit does not exist or a unit's
    // line has no slope, so that no value could be mapped back.
    static bool FromSettings(const TKavCfg& cfg, int gainRow, TSpectrumAxis& axis, QString* error);

    double FieldOfCode(std::uint16_t code) const;
    double AmplitudeOfOrdinate(std::uint16_t ordinate) const;

    // The nearest field code of a field value (halves to even); it may lie
    // outside 0..65519, and then the caller drops the point.
    double NearestCode(double field) const;
    // The ordinate of an amplitude as a real number, and the nearest one
    // (halves to even), before any limiting to 0..4095.
    double ExactOrdinate(double amplitude) const;
    double NearestOrdinate(double amplitude) const;

    const TMeasureUnit& FieldUnit() const { return Field; }
    const TMeasureUnit& AmplitudeUnit() const { return Amplitude; }
    int GainRow() const { return Gain; }

private:
    TMeasureUnit Field;
    TMeasureUnit Amplitude;
    int Gain = 0;
    int Factor = 1;
};

// The name other programs use for a field unit name of the settings or of a
// file: "Э", "Гс", "Гаусс", "G", "Gs", "Gauss", "Oe" are "G"; "мТл", "mT" are "mT"; "Тл", "T" are
// "T". Empty when the name is none of them.
QString StandardFieldUnit(const QString& name);

// The name other programs use for an amplitude unit name: "В" is "V", "мВ"
// "mV", "мкВ" "uV"; any other name as it stands.
QString StandardAmplitudeUnit(const QString& name);

// The factor that turns a field in unit `from` into unit `to` (G, mT or T,
// by the names StandardFieldUnit gives); false when either is not known.
bool FieldUnitFactor(const QString& from, const QString& to, double& factor);
