#include "spectrum/parameter_block.h"

#include "base/instrument_tables.h"
#include "base/measure_unit.h"
#include "spectrum/spectrum_view.h"
#include "spectrum/value_format.h"

#include <algorithm>
#include <cmath>

#include <QCoreApplication>

namespace {

constexpr int FieldUnit = 3;    // the absolute field unit a file's bounds describe
constexpr int RangeUnit = 2;    // the field range from the file's low bound
constexpr int AdcFieldUnit = 3; // the ADC unit of the field measured through the ADC

constexpr int PanelProgram = 5;
constexpr int PanelSerial = 6;
constexpr int PanelFilter = 9;
constexpr int PanelSumCount = 10;

const QString FieldUnitName = QStringLiteral("Э");
const QString MilliteslaName = QStringLiteral("мТл");

QString SumCountPanelText(std::uint16_t count) {
    return QCoreApplication::translate("ParameterBlock", "НАКОПЛ: %1").arg(count);
}

QString FilterPanelText(std::uint16_t filter) {
    return QCoreApplication::translate("ParameterBlock", "ФИЛЬТР [%1]").arg(filter);
}

bool IsGaussName(const QString& name) {
    const QString n = name.trimmed();
    return n == u"Э" || n == u"Гс" || n == u"G" || n == u"Oe";
}

bool IsMilliteslaName(const QString& name) {
    const QString n = name.trimmed();
    return n == u"мТл" || n == u"mT";
}

// A value in tenths when it fits a record exactly as a file stores it:
// rounded, 0..65535.
bool FitsTenths(long double tenths) {
    const long double rounded = std::nearbyint(tenths);
    return std::isfinite(tenths) && rounded >= 0 && rounded <= 65535;
}

bool IsWhole(long double value) {
    return std::fabs(value - std::nearbyint(value)) <= 1e-6L;
}

// Derives a sweep unit's line against the two reference codes of sweep unit 0.
void RecalibrateSweepUnit(TKavCfg& cfg, int unit) {
    CalcUnitKoeff(cfg.RazvUnits[unit], static_cast<float>(cfg.RazvUnits[0].X1),
                  static_cast<float>(cfg.RazvUnits[0].X2));
}

} // namespace

const char* ParameterName(std::uint16_t code) {
    switch (code) {
    case ParGain:
        return "ParGain";
    case ParSpeed:
        return "ParSpeed";
    case ParSerial:
        return "ParSerial";
    case ParProgram:
        return "ParProgram";
    case ParFieldLow:
        return "ParFieldLow";
    case ParFieldHigh:
        return "ParFieldHigh";
    case ParAdcCode:
        return "ParAdcCode";
    case ParSumCount:
        return "ParSumCount";
    case ParFilter:
        return "ParFilter";
    case ParAdcField:
        return "ParAdcField";
    case ParFieldUnit:
        return "ParFieldUnit";
    case ParAmplScale:
        return "ParAmplScale";
    default:
        return "";
    }
}

std::uint16_t RoundToWord(long double value) {
    if (!std::isfinite(value))
        return 0;
    // nearbyint follows the default rounding mode: nearest, halves to even.
    // The remainder of an integral value is exact, whatever its magnitude.
    long double low = std::fmod(std::nearbyint(value), 65536.0L);
    if (low < 0)
        low += 65536.0L;
    return static_cast<std::uint16_t>(low);
}

bool FieldBoundRecordsOf(const TMeasureUnit& field, TFieldBoundRecords& records) {
    const long double low = field.X1;
    const long double high = field.X2;
    records = TFieldBoundRecords{RoundToWord(low * 10), RoundToWord(high * 10),
                                 IsMilliteslaName(field.Name)};
    if (FitsTenths(low * 10) && FitsTenths(high * 10))
        return true;
    // Gauss are tenths of a millitesla.
    if (IsGaussName(field.Name) && IsWhole(low) && IsWhole(high) && FitsTenths(low) &&
        FitsTenths(high)) {
        records = TFieldBoundRecords{RoundToWord(low), RoundToWord(high), true};
        return true;
    }
    return false;
}

std::optional<double> AmplitudeScaleOfStep(int step) {
    if (step < -90 || step > 90)
        return std::nullopt;
    static constexpr double Mantissa[] = {1, 2, 5};
    const int decade = step >= 0 ? step / 3 : -((-step + 2) / 3);
    return Mantissa[step - 3 * decade] * std::pow(10.0, decade);
}

int AmplitudeScaleStepBelow(double factor) {
    int step = 3 * static_cast<int>(std::floor(std::log10(factor)));
    step = std::clamp(step, -90, 90);
    // Up while the next step still fits, down while this one does not: the
    // logarithm may be a hair off either way.
    while (step < 90 && *AmplitudeScaleOfStep(step + 1) <= factor)
        ++step;
    while (step > -90 && *AmplitudeScaleOfStep(step) > factor)
        --step;
    return step;
}

void WriteParameterBlock(TPointTable& store, const TKavCfg& cfg,
                         const TInstrumentReadings& readings) {
    TFieldBoundRecords bounds;
    FieldBoundRecordsOf(cfg.RazvUnits[FieldUnit], bounds);
    const long double adcField = UnitValue(cfg.ADCUnits[AdcFieldUnit], readings.AdcValue);
    const std::uint16_t values[ParameterRecordCount] = {
        cfg.Amplifying,
        cfg.Rapid,
        readings.InstrumentSerial,
        readings.InstrumentProgram,
        bounds.Low,
        bounds.High,
        readings.AdcValue,
        static_cast<std::uint16_t>(readings.SumCount),
        static_cast<std::uint16_t>(cfg.EnableRTLPF ? cfg.RTLPFConst : 0),
        RoundToWord(adcField * 100),
    };
    // Slot 65535 holds code 65534 (ParGain), and so on down to ParAdcField.
    for (int i = 0; i < ParameterRecordCount; ++i) {
        const int slot = PointSlotCount - 1 - i;
        store[slot] = TPointSlot{values[i], static_cast<std::uint16_t>(slot - 1)};
    }
    store[ParFieldUnit] =
        bounds.Millitesla ? TPointSlot{FieldUnitMillitesla, ParFieldUnit} : TPointSlot{};
}

void ApplyFileParameters(const TPointTable& store, TKavCfg& cfg, TInstrumentReadings& readings,
                         TSpectrumView& view, QChar decimalSep) {
    const TValueFormat format(cfg, decimalSep);

    view.SetGainIndex(0);
    cfg.Amplifying = 0;
    view.SetSpeedIndex(SpeedRowCount - 1);
    cfg.Rapid = SpeedRowCount - 1;
    view.BlankSelectorTexts();

    bool lowSeen = false;
    bool highSeen = false;
    bool millitesla = false;
    for (const TPointSlot& slot : store) {
        if (slot.Y < FirstParameterCode || slot.Y == EmptyY)
            continue;
        const std::uint16_t v = slot.X;
        switch (slot.Y) {
        case ParGain:
            if (v < GainRowCount) {
                view.SetGainIndex(v);
                cfg.Amplifying = static_cast<std::uint8_t>(v);
            }
            break;
        case ParSpeed:
            if (v < SpeedRowCount) {
                view.SetSpeedIndex(v);
                cfg.Rapid = static_cast<std::uint8_t>(v);
            }
            break;
        case ParSerial:
            view.SetStatusPanel(PanelSerial, QStringLiteral("S/N: %1").arg(v));
            break;
        case ParProgram:
            view.SetStatusPanel(PanelProgram, QStringLiteral("PR: %1").arg(v));
            break;
        case ParFieldLow:
            cfg.RazvUnits[FieldUnit].X1 = v / 10.0;
            lowSeen = true;
            break;
        case ParFieldHigh:
            cfg.RazvUnits[FieldUnit].X2 = v / 10.0;
            highSeen = true;
            break;
        case ParAdcCode:
            readings.AdcValue = v;
            view.SetAdcReading(format.ADCToStr(v));
            break;
        case ParSumCount:
            view.SetStatusPanel(PanelSumCount, SumCountPanelText(v));
            break;
        case ParFilter:
            if (v != 0)
                view.SetStatusPanel(PanelFilter, FilterPanelText(v));
            break;
        case ParAdcField:
            readings.AdcFieldValue = static_cast<float>(v / 100.0);
            break;
        case ParFieldUnit:
            millitesla = v == FieldUnitMillitesla;
            break;
        default:
            break; // the amplitude scale and codes 65520..65522 change nothing here
        }
    }

    if (lowSeen && highSeen) {
        TMeasureUnit& range = cfg.RazvUnits[RangeUnit];
        TMeasureUnit& field = cfg.RazvUnits[FieldUnit];
        range.X1 = 0;
        range.X2 = field.X2 - field.X1;
        range.Name = millitesla ? MilliteslaName : FieldUnitName;
        RecalibrateSweepUnit(cfg, RangeUnit);
        field.Name = range.Name;
        RecalibrateSweepUnit(cfg, FieldUnit);
    }

    view.SetViewBoundTexts(format.FieldToStr(static_cast<std::uint16_t>(cfg.ViewMin)),
                           format.FieldToStr(static_cast<std::uint16_t>(cfg.ViewMax)));
}

std::vector<TTranslatedPanel> TranslatedFilePanels(const TPointTable& store) {
    std::vector<TTranslatedPanel> panels;
    const auto put = [&panels](int index, std::function<QString()> make) {
        auto same = std::find_if(panels.begin(), panels.end(),
                                 [index](const TTranslatedPanel& p) { return p.Index == index; });
        if (same == panels.end())
            same = panels.insert(panels.end(), TTranslatedPanel{index, {}, {}});
        same->Text = make();
        same->Make = std::move(make);
    };
    for (const TPointSlot& slot : store) {
        const std::uint16_t v = slot.X;
        if (slot.Y == ParSumCount)
            put(PanelSumCount, [v] { return SumCountPanelText(v); });
        else if (slot.Y == ParFilter && v != 0)
            put(PanelFilter, [v] { return FilterPanelText(v); });
    }
    return panels;
}
