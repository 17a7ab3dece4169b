#include "config/unit_calibration.h"

#include "base/number_style.h"
#include "config/ini_file.h"
#include "config/settings_store.h"

#include <algorithm>
#include <cmath>

#include <QCoreApplication>

namespace {

struct TGroupInfo {
    TUnitGroup Group;
    int FirstRow;
    int Count;
    const char* Title;
};

const TGroupInfo Groups[UnitGroupCount] = {
    {TUnitGroup::Razv, 0, RazvUnitCount, QT_TRANSLATE_NOOP("UnitCalibration", "Развёртка")},
    {TUnitGroup::Amp, 4, AmpUnitCount, QT_TRANSLATE_NOOP("UnitCalibration", "Спектр")},
    {TUnitGroup::Corr, 6, CorrUnitCount, QT_TRANSLATE_NOOP("UnitCalibration", "Коррекция")},
    {TUnitGroup::ADC, 8, ADCUnitCount, QT_TRANSLATE_NOOP("UnitCalibration", "Вход АЦП")},
};

// The radio items of the four groups, row by row; the double blanks are the
// program's own.
const char* const UnitTitles[CalibrationRowCount] = {
    QT_TRANSLATE_NOOP("UnitCalibration", "Ток электромагнита, отсчет ЦАП"),
    QT_TRANSLATE_NOOP("UnitCalibration", "Ток электромагнита,  А"),
    QT_TRANSLATE_NOOP("UnitCalibration", "Поле электромагнита,  Э"),
    QT_TRANSLATE_NOOP("UnitCalibration", "Суммарное магнитное поле,  Э"),
    QT_TRANSLATE_NOOP("UnitCalibration", "Напряжение, отсчет АЦП"),
    QT_TRANSLATE_NOOP("UnitCalibration", "Напряжение, В"),
    QT_TRANSLATE_NOOP("UnitCalibration", "Напряжение, отсчет ЦАП"),
    QT_TRANSLATE_NOOP("UnitCalibration", "Напряжение, мВ"),
    QT_TRANSLATE_NOOP("UnitCalibration", "Напряжение, отсчет АЦП"),
    QT_TRANSLATE_NOOP("UnitCalibration", "Напряжение,  В"),
    QT_TRANSLATE_NOOP("UnitCalibration", "Амплитуда тока (100 кГц),  А"),
    QT_TRANSLATE_NOOP("UnitCalibration", "Амплитуда поля (100 кГц),  Э"),
    QT_TRANSLATE_NOOP("UnitCalibration", "Напряженность поля, Э"),
};

const TGroupInfo& Info(TUnitGroup group) {
    return Groups[static_cast<int>(group)];
}

struct TReferenceCodes {
    float P1;
    float P2;
    bool FromUnit0; // the codes are X1 and X2 of the group's unit 0
};

TReferenceCodes ReferenceCodes(const TCalibrationRow& r, const TMeasureUnit& unit0) {
    if (r.Unit == 0) {
        switch (r.Group) {
        case TUnitGroup::Razv:
            return {0, 65535, false};
        case TUnitGroup::Corr:
            return {-32767, 32767, false};
        case TUnitGroup::ADC:
            return {0, 4095, false};
        case TUnitGroup::Amp:
            break; // its own X1 and X2, which unit0 already holds
        }
    }
    return {static_cast<float>(unit0.X1), static_cast<float>(unit0.X2), true};
}

TCalibrationRefusal Refusal(TCalibrationFault fault, int row, bool min, bool max,
                            const QString& text = QString()) {
    TCalibrationRefusal r;
    r.Fault = fault;
    r.Row = row;
    r.MinField = min;
    r.MaxField = max;
    r.Text = text;
    return r;
}

} // namespace

TCalibrationRow CalibrationRow(int row) {
    for (const TGroupInfo& g : Groups) {
        if (row >= g.FirstRow && row < g.FirstRow + g.Count)
            return {g.Group, row - g.FirstRow};
    }
    return {TUnitGroup::Razv, 0};
}

int CalibrationRowOf(TUnitGroup group, int unit) {
    return Info(group).FirstRow + unit;
}

int UnitCount(TUnitGroup group) {
    return Info(group).Count;
}

namespace {

// The record of a row and the selection of a group, for a const or a
// mutable settings record alike.
template <class Cfg> auto& UnitOf(Cfg& cfg, int row) {
    const TCalibrationRow r = CalibrationRow(row);
    switch (r.Group) {
    case TUnitGroup::Razv:
        return cfg.RazvUnits[r.Unit];
    case TUnitGroup::Amp:
        return cfg.AmpUnits[r.Unit];
    case TUnitGroup::Corr:
        return cfg.CorrUnits[r.Unit];
    case TUnitGroup::ADC:
        break;
    }
    return cfg.ADCUnits[r.Unit];
}

template <class Cfg> auto& SelectionOf(Cfg& cfg, TUnitGroup group) {
    switch (group) {
    case TUnitGroup::Razv:
        return cfg.RazvUnit;
    case TUnitGroup::Amp:
        return cfg.AmpUnit;
    case TUnitGroup::Corr:
        return cfg.CorrUnit;
    case TUnitGroup::ADC:
        break;
    }
    return cfg.ADCUnit;
}

} // namespace

TMeasureUnit& CalibrationUnit(TKavCfg& cfg, int row) {
    return UnitOf(cfg, row);
}

const TMeasureUnit& CalibrationUnit(const TKavCfg& cfg, int row) {
    return UnitOf(cfg, row);
}

std::uint8_t& SelectedUnit(TKavCfg& cfg, TUnitGroup group) {
    return SelectionOf(cfg, group);
}

std::uint8_t SelectedUnit(const TKavCfg& cfg, TUnitGroup group) {
    return SelectionOf(cfg, group);
}

QString UnitGroupTitle(TUnitGroup group) {
    return QCoreApplication::translate("UnitCalibration", Info(group).Title);
}

QString UnitTitle(int row) {
    return row >= 0 && row < CalibrationRowCount
               ? QCoreApplication::translate("UnitCalibration", UnitTitles[row])
               : QString();
}

QString CalibrationText(double value, QChar decimalSep) {
    return FormatGeneral(value, 5, 5, decimalSep);
}

std::optional<double> ParseCalibrationText(const QString& text, QChar decimalSep) {
    // The ini reader takes "." and "," alike; here only the separator the
    // edits show is one.
    for (const QChar c : text) {
        if ((c == u'.' || c == u',') && c != decimalSep)
            return std::nullopt;
    }
    return ParseIniFloat(text, decimalSep);
}

TCalibrationInput CalibrationInputFrom(const TKavCfg& cfg, QChar decimalSep) {
    TCalibrationInput in;
    for (int row = 0; row < CalibrationRowCount; ++row) {
        in.MinTexts[row] = CalibrationText(CalibrationUnit(cfg, row).X1, decimalSep);
        in.MaxTexts[row] = CalibrationText(CalibrationUnit(cfg, row).X2, decimalSep);
    }
    for (const TGroupInfo& g : Groups)
        in.Selected[static_cast<int>(g.Group)] = SelectedUnit(cfg, g.Group);
    return in;
}

std::optional<TCalibrationRefusal> ApplyCalibration(TKavCfg& cfg, const TCalibrationInput& input,
                                                    QChar decimalSep) {
    // Every text first, in row order, Min before Max.
    std::array<double, CalibrationRowCount> x1{};
    std::array<double, CalibrationRowCount> x2{};
    for (int row = 0; row < CalibrationRowCount; ++row) {
        const auto min = ParseCalibrationText(input.MinTexts[row], decimalSep);
        if (!min)
            return Refusal(TCalibrationFault::NotANumber, row, true, false, input.MinTexts[row]);
        const auto max = ParseCalibrationText(input.MaxTexts[row], decimalSep);
        if (!max)
            return Refusal(TCalibrationFault::NotANumber, row, false, true, input.MaxTexts[row]);
        x1[row] = *min;
        x2[row] = *max;
    }

    // Then every line, on a copy: a derived unit uses its unit 0's new values.
    TKavCfg work = cfg;
    for (int row = 0; row < CalibrationRowCount; ++row) {
        const TCalibrationRow r = CalibrationRow(row);
        TMeasureUnit& unit = CalibrationUnit(work, row);
        unit.X1 = x1[row];
        unit.X2 = x2[row];
        const int row0 = CalibrationRowOf(r.Group, 0);
        const TReferenceCodes codes = ReferenceCodes(r, CalibrationUnit(work, row0));
        if (codes.FromUnit0) {
            if (!std::isfinite(codes.P1) || !std::isfinite(codes.P2))
                return Refusal(TCalibrationFault::NoLine, row0, true, true);
            if (codes.P1 == codes.P2)
                return Refusal(TCalibrationFault::EqualReferences, row0, true, true);
        }
        if (!CalcUnitKoeff(unit, codes.P1, codes.P2))
            return Refusal(TCalibrationFault::NoLine, row, true, true);
    }
    for (const TGroupInfo& g : Groups) {
        const int selected = input.Selected[static_cast<int>(g.Group)];
        if (selected >= 0 && selected < g.Count)
            SelectedUnit(work, g.Group) = static_cast<std::uint8_t>(selected);
    }

    // Nothing failed: the record takes the new units and selections.
    cfg.RazvUnits = work.RazvUnits;
    cfg.AmpUnits = work.AmpUnits;
    cfg.CorrUnits = work.CorrUnits;
    cfg.ADCUnits = work.ADCUnits;
    cfg.RazvUnit = work.RazvUnit;
    cfg.AmpUnit = work.AmpUnit;
    cfg.CorrUnit = work.CorrUnit;
    cfg.ADCUnit = work.ADCUnit;
    return std::nullopt;
}

void KeepInstrumentCalibration(TKavCfg& cfg, const TCalibrationInput& shown,
                               const TCalibrationInput& accepted, QChar decimalSep) {
    TKavCfg instrument = cfg;
    RestoreUnitSnapshot(instrument);
    TCalibrationInput input = CalibrationInputFrom(instrument, decimalSep);
    for (int row = 0; row < CalibrationRowCount; ++row) {
        if (accepted.MinTexts[row] != shown.MinTexts[row])
            input.MinTexts[row] = accepted.MinTexts[row];
        if (accepted.MaxTexts[row] != shown.MaxTexts[row])
            input.MaxTexts[row] = accepted.MaxTexts[row];
    }
    // The records the edits are applied to hold the same unit 0 as those the
    // dialog accepted (no file changes it), so they take them as OK did;
    // should they not, the accepted records are the instrument's.
    if (ApplyCalibration(instrument, input, decimalSep))
        instrument = cfg;
    std::copy_n(instrument.RazvUnits.begin(), RazvUnitCount, cfg.RazvUnits.begin() + RazvUnitCount);
    std::copy_n(instrument.ADCUnits.begin(), ADCUnitCount, cfg.ADCUnits.begin() + ADCUnitCount);
}

QString CalibrationRefusalText(const TCalibrationRefusal& refusal) {
    const QString where =
        QCoreApplication::translate("UnitCalibration", "Страница \"%1\", единица \"%2\": ")
            .arg(UnitGroupTitle(CalibrationRow(refusal.Row).Group), UnitTitle(refusal.Row));
    switch (refusal.Fault) {
    case TCalibrationFault::NotANumber:
        return where +
               QCoreApplication::translate("UnitCalibration", "в поле %1 не число (\"%2\").")
                   .arg(refusal.MinField ? QStringLiteral("Min") : QStringLiteral("Max"),
                        refusal.Text);
    case TCalibrationFault::EqualReferences:
        return where + QCoreApplication::translate(
                           "UnitCalibration", "значения Min и Max равны. По ним пересчитываются "
                                              "единицы этой страницы, они должны различаться.");
    case TCalibrationFault::NoLine:
        break;
    }
    return where + QCoreApplication::translate("UnitCalibration",
                                               "по значениям Min и Max нельзя построить шкалу: "
                                               "числа слишком велики.");
}
