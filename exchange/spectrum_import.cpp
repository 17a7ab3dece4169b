#include "exchange/spectrum_import.h"

#include "exchange/bes3t_file.h"
#include "exchange/spectrum_axis.h"
#include "exchange/spectrum_export.h"
#include "exchange/text_spectrum.h"
#include "link/instrument_tables.h"
#include "spectrum/parameter_block.h"
#include "spectrum/point_store.h"

#include <cmath>
#include <memory>

namespace {

constexpr int AbsoluteFieldUnit = 3;

bool Fail(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

// A parameter record in the slot a save puts it in (one above its code).
void PutRecord(TPointTable& table, std::uint16_t code, std::uint16_t value) {
    table[code + 1] = TPointSlot{value, code};
}

void PutKnownRecord(TPointTable& table, std::uint16_t code, const std::optional<int>& value,
                    int limit) {
    if (value && *value >= 0 && *value < limit)
        PutRecord(table, code, static_cast<std::uint16_t>(*value));
}

// The factor that brings the file's field values into the calibration's
// unit; 1 (with a note when the names differ) when either unit is unknown.
double FieldFactor(const TExchangeSpectrum& s, const QString& calibrationName,
                   const QString& source, QStringList& notes) {
    double factor = 1;
    if (FieldUnitFactor(StandardFieldUnit(s.FieldUnit), StandardFieldUnit(calibrationName), factor))
        return factor;
    if (!s.FieldUnit.trimmed().isEmpty() && s.FieldUnit.trimmed() != calibrationName.trimmed())
        notes << QStringLiteral("Файл \"%1\": единица поля \"%2\" не сводится к единице \"%3\" "
                                "калибровки RazvUnit3; значения поля взяты как есть")
                     .arg(source, s.FieldUnit, calibrationName);
    return 1;
}

} // namespace

bool ReadExchangeFile(const QString& path, TExchangeSpectrum& spectrum, QString* error,
                      QStringList* notes) {
    switch (ExchangeFormatOfPath(path)) {
    case TExchangeFormat::Bes3t:
        return ReadBes3t(path, spectrum, error, notes);
    case TExchangeFormat::Csv:
    case TExchangeFormat::Text:
        return ReadTextSpectrum(path, spectrum, error);
    default:
        return Fail(error, QStringLiteral("Файл \"%1\": неизвестный формат (читаются .DSC, .csv, "
                                          ".txt)")
                               .arg(path));
    }
}

bool PlaceImportedSpectrum(const TExchangeSpectrum& spectrum, const TKavCfg& cfg, int gainRow,
                           const QString& source, TPointTable& table, QStringList& notes,
                           QString* error, TImportCounts* counts) {
    const std::optional<int>& fileGain = spectrum.Info.GainRow;
    const int gain = fileGain && *fileGain >= 0 && *fileGain < GainRowCount ? *fileGain : gainRow;
    TSpectrumAxis axis;
    if (!TSpectrumAxis::FromSettings(cfg, gain, axis, error))
        return false;
    const TMeasureUnit& field = cfg.RazvUnits[AbsoluteFieldUnit];
    QStringList found;
    const double factor = FieldFactor(spectrum, field.Name, source, found);

    auto placed = std::make_unique<TPointTable>();
    ClearPoints(*placed);
    TImportCounts c;
    int points = 0;
    const std::size_t n = std::min(spectrum.Field.size(), spectrum.Amplitude.size());
    for (std::size_t k = 0; k < n; ++k) {
        const double code = axis.NearestCode(spectrum.Field[k] * factor);
        if (!(code >= 0 && code <= MaxFieldCode)) {
            ++c.Outside;
            continue;
        }
        double ordinate = axis.NearestOrdinate(spectrum.Amplitude[k]);
        if (!(ordinate >= 0 && ordinate <= MaxAmplitudeCode)) {
            ++c.Clipped;
            ordinate = ordinate > 0 ? MaxAmplitudeCode : 0;
        }
        const auto x = static_cast<std::uint16_t>(code);
        if (IsValidSlot((*placed)[x]))
            ++c.Shared;
        else
            ++points;
        (*placed)[x] = TPointSlot{x, static_cast<std::uint16_t>(ordinate)};
    }
    if (points == 0)
        return Fail(error, QStringLiteral("Файл \"%1\": ни одна из %2 точек не попала в коды поля "
                                          "0..65519 калибровки RazvUnit3 (%3 .. %4 %5)")
                               .arg(source)
                               .arg(n)
                               .arg(field.X1)
                               .arg(field.X2)
                               .arg(field.Name));

    PutRecord(*placed, ParGain, static_cast<std::uint16_t>(gain));
    PutRecord(*placed, ParFieldLow, RoundToWord(static_cast<long double>(field.X1) * 10));
    PutRecord(*placed, ParFieldHigh, RoundToWord(static_cast<long double>(field.X2) * 10));
    const TMeasurementInfo& info = spectrum.Info;
    PutKnownRecord(*placed, ParSpeed, info.SpeedRow, SpeedRowCount);
    PutKnownRecord(*placed, ParSerial, info.Serial, 256);
    PutKnownRecord(*placed, ParProgram, info.Program, 256);
    PutKnownRecord(*placed, ParSumCount, info.SumCount, 65536);

    if (c.Outside)
        found << QStringLiteral("Файл \"%1\": %2 точек вне кодов поля 0..65519 пропущены")
                     .arg(source)
                     .arg(c.Outside);
    if (c.Clipped)
        found << QStringLiteral("Файл \"%1\": %2 амплитуд вне 12-битного диапазона 0..4095 "
                                "ограничены его краями")
                     .arg(source)
                     .arg(c.Clipped);
    if (c.Shared)
        found << QStringLiteral("Файл \"%1\": %2 точек легли на код поля, уже занятый другой "
                                "точкой; оставлена последняя")
                     .arg(source)
                     .arg(c.Shared);
    table = *placed;
    notes << found;
    if (counts)
        *counts = c;
    return true;
}

bool ImportSpectrumFile(const QString& path, const TKavCfg& cfg, int gainRow, TPointTable& table,
                        QStringList& notes, QString* error, TImportCounts* counts) {
    TExchangeSpectrum spectrum;
    if (!ReadExchangeFile(path, spectrum, error, &notes))
        return false;
    return PlaceImportedSpectrum(spectrum, cfg, gainRow, path, table, notes, error, counts);
}
