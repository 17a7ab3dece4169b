#include "spectrum/parameter_block.h"

#include "link/instrument_tables.h"
#include "spectrum/measure_unit.h"
#include "spectrum/spectrum_view.h"
#include "spectrum/value_format.h"

#include <cmath>

namespace {

constexpr int FieldUnit = 3;    // the absolute field unit a file's bounds describe
constexpr int RangeUnit = 2;    // the field range from the file's low bound
constexpr int AdcFieldUnit = 3; // the ADC unit of the field measured through the ADC

constexpr int PanelProgram = 5;
constexpr int PanelSerial = 6;
constexpr int PanelFilter = 9;
constexpr int PanelSumCount = 10;

const QString FieldUnitName = QStringLiteral("Э");

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

void WriteParameterBlock(TPointTable& store, const TKavCfg& cfg,
                         const TInstrumentReadings& readings) {
    const TMeasureUnit& field = cfg.RazvUnits[FieldUnit];
    const long double adcField = UnitValue(cfg.ADCUnits[AdcFieldUnit], readings.AdcValue);
    const std::uint16_t values[ParameterRecordCount] = {
        cfg.Amplifying,
        cfg.Rapid,
        readings.InstrumentSerial,
        readings.InstrumentProgram,
        RoundToWord(static_cast<long double>(field.X1) * 10),
        RoundToWord(static_cast<long double>(field.X2) * 10),
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
            view.SetStatusPanel(PanelSumCount, QStringLiteral("НАКОПЛ: %1").arg(v));
            break;
        case ParFilter:
            if (v != 0)
                view.SetStatusPanel(PanelFilter, QStringLiteral("ФИЛЬТР [%1]").arg(v));
            break;
        case ParAdcField:
            readings.AdcFieldValue = static_cast<float>(v / 100.0);
            break;
        default:
            break; // codes 65520..65524 carry nothing
        }
    }

    if (lowSeen && highSeen) {
        TMeasureUnit& range = cfg.RazvUnits[RangeUnit];
        TMeasureUnit& field = cfg.RazvUnits[FieldUnit];
        range.X1 = 0;
        range.X2 = field.X2 - field.X1;
        range.Name = FieldUnitName;
        RecalibrateSweepUnit(cfg, RangeUnit);
        field.Name = FieldUnitName;
        RecalibrateSweepUnit(cfg, FieldUnit);
    }

    view.SetViewBoundTexts(format.FieldToStr(static_cast<std::uint16_t>(cfg.ViewMin)),
                           format.FieldToStr(static_cast<std::uint16_t>(cfg.ViewMax)));
}
