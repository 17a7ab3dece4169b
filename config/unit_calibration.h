#pragma once

#include "config/kav_cfg.h"

#include <QChar>
#include <QString>
#include <array>
#include <optional>

// The calibration of the measurement units as the calibration dialog edits
// it: the 13 unit records, each with a Min text (its X1) and a Max text (its
// X2), and the selected unit of each of the four groups.

enum class TUnitGroup { Razv, Amp, Corr, ADC };

inline constexpr int UnitGroupCount = 4;
// The records in the order the calibration reads them: RazvUnit0..3,
// AmpUnit0..1, CorrUnit0..1, ADCUnit0..4.
inline constexpr int CalibrationRowCount = 13;

struct TCalibrationRow {
    TUnitGroup Group;
    int Unit; // index within the group
};

TCalibrationRow CalibrationRow(int row);
int CalibrationRowOf(TUnitGroup group, int unit);
int UnitCount(TUnitGroup group);
TMeasureUnit& CalibrationUnit(TKavCfg& cfg, int row);
const TMeasureUnit& CalibrationUnit(const TKavCfg& cfg, int row);
std::uint8_t& SelectedUnit(TKavCfg& cfg, TUnitGroup group);
std::uint8_t SelectedUnit(const TKavCfg& cfg, TUnitGroup group);

// The page title of a group and the text that names a unit ("Ток
// электромагнита,  А"), as the dialog shows them.
QString UnitGroupTitle(TUnitGroup group);
QString UnitTitle(int row);

// A value as a Min or Max edit shows it: general style, 5 significant
// digits, the given decimal separator.
QString CalibrationText(double value, QChar decimalSep);

// The value of a Min or Max text: an optional "-", digits with at most one
// decimal separator (decimalSep only), an optional exponent as the show step
// writes it ("1E-0006"). Anything else, and a value beyond the range of a
// double, gives nothing.
std::optional<double> ParseCalibrationText(const QString& text, QChar decimalSep);

// What the dialog holds when OK is pressed.
struct TCalibrationInput {
    std::array<QString, CalibrationRowCount> MinTexts;
    std::array<QString, CalibrationRowCount> MaxTexts;
    // The selected unit of each group (TUnitGroup order); -1 when none is
    // selected, which keeps the stored index.
    std::array<int, UnitGroupCount> Selected = {-1, -1, -1, -1};
};

// The show step: every X1 and X2 as its text, the stored selections.
TCalibrationInput CalibrationInputFrom(const TKavCfg& cfg, QChar decimalSep);

enum class TCalibrationFault {
    NotANumber,      // the field's text is no number
    EqualReferences, // Min and Max of a unit 0 are equal: the group's units get no line
    NoLine,          // the values are so large that no line fits a double
};

// Why OK was refused, and which fields are at fault (the row of a unit 0 for
// reference codes, since its Min and Max are the codes the others use).
struct TCalibrationRefusal {
    TCalibrationFault Fault = TCalibrationFault::NotANumber;
    int Row = 0;
    bool MinField = false;
    bool MaxField = false;
    QString Text; // the offending text for NotANumber
};

// OK of the calibration: for each record in row order, X1 and X2 from the
// texts and KoeffK/KoeffB from the reference codes of its group (unit 0 of
// the sweep group: 0 and 65535; of the correction group: -32767 and 32767;
// of the ADC group: 0 and 4095; of the amplitude group: its own X1 and X2;
// every other unit: X1 and X2 of its group's unit 0, as read just before);
// then the selections. Every field is checked first: on a refusal nothing of
// cfg has changed.
std::optional<TCalibrationRefusal> ApplyCalibration(TKavCfg& cfg, const TCalibrationInput& input,
                                                    QChar decimalSep);

// After OK of the calibration: the instrument's own calibration (the unit
// snapshot of the settings record, sweep units 4..7 and ADC units 5..9) takes
// what the operator changed in the dialog, and nothing else. The snapshot is
// the instrument's calibration before the dialog; the rows whose Min or Max
// text differs between `shown` (what the dialog showed) and `accepted` (what
// OK read) are applied to it as OK applies them, with the lines of the rows
// derived from them; the other rows go through their own texts, as every row
// of the dialog does. A calibration an open spectrum file brought into the
// sweep units, and that the operator did not touch, therefore stays out of
// the snapshot, and out of the settings file, which is written from it.
void KeepInstrumentCalibration(TKavCfg& cfg, const TCalibrationInput& shown,
                               const TCalibrationInput& accepted, QChar decimalSep);

// The warning that names the refused field.
QString CalibrationRefusalText(const TCalibrationRefusal& refusal);
