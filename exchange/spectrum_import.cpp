#include "exchange/spectrum_import.h"

#include "base/instrument_tables.h"
#include "exchange/bes3t_file.h"
#include "exchange/message_text.h"
#include "exchange/spectrum_axis.h"
#include "exchange/spectrum_export.h"
#include "exchange/text_spectrum.h"
#include "spectrum/parameter_block.h"
#include "spectrum/point_store.h"

#include <cmath>
#include <limits>
#include <memory>

#include <QCoreApplication>

namespace {

constexpr int AbsoluteFieldUnit = 3;

// Amplitudes that fill less than this part of the room between the zero
// line and the ends of the codes are scaled up.
constexpr double SmallPart = 0.1;

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

QString Number(double v) {
    return QString::number(v, 'g', 6);
}

// The 1-2-5 step of the factor that makes the amplitudes fill the room
// around the zero line: 0 when they already fill more than a small part of
// it and stay within the codes. `span` gets the codes they would take as
// they are.
int FillStep(const std::vector<double>& amplitudes, const TSpectrumAxis& axis, double& span) {
    const double zero = axis.ExactOrdinate(0);
    span = 0;
    if (!(zero >= 0 && zero <= MaxAmplitudeCode))
        return 0;
    double up = 0;
    double down = 0;
    for (const double a : amplitudes) {
        const double o = axis.ExactOrdinate(a) - zero;
        up = std::max(up, o);
        down = std::max(down, -o);
    }
    span = up + down;
    constexpr double none = std::numeric_limits<double>::infinity();
    const double limit =
        std::min(up > 0 ? (MaxAmplitudeCode - zero) / up : none, down > 0 ? zero / down : none);
    if (!std::isfinite(limit) || limit <= 0 || (limit >= 1 && limit * SmallPart < 1))
        return 0;
    return AmplitudeScaleStepBelow(limit);
}

} // namespace

bool ReadExchangeFile(const QString& path, TExchangeSpectrum& spectrum, QString* error) {
    switch (ExchangeFormatOfPath(path)) {
    case TExchangeFormat::Bes3t:
        return ReadBes3t(path, spectrum, error);
    case TExchangeFormat::Csv:
    case TExchangeFormat::Text:
        return ReadTextSpectrum(path, spectrum, error);
    default:
        return Fail(error,
                    QCoreApplication::translate(
                        "SpectrumImport", "Файл \"%1\": неизвестный формат (читаются .DSC, .DTA, "
                                          ".csv, .txt, .dat, .asc)")
                        .arg(ShownPath(path)));
    }
}

bool PlaceImportedSpectrum(const TExchangeSpectrum& spectrum, const TKavCfg& cfg,
                           const TImportOptions& options, const QString& source, TPointTable& table,
                           QStringList& notes, QString* error, TImportCounts* counts) {
    const QString shownSource = ShownPath(source);
    const std::optional<int>& fileGain = spectrum.Info.GainRow;
    const int gain =
        fileGain && *fileGain >= 0 && *fileGain < GainRowCount ? *fileGain : options.GainRow;
    TSpectrumAxis axis;
    if (!TSpectrumAxis::FromSettings(cfg, gain, axis, error))
        return false;
    const TMeasureUnit& field = cfg.RazvUnits[AbsoluteFieldUnit];
    TFieldBoundRecords bounds;
    if (!FieldBoundRecordsOf(field, bounds))
        return Fail(
            error,
            QCoreApplication::translate("SpectrumImport",
                                        "Файл \"%1\" не импортирован: границы калибровки поля "
                                        "RazvUnit3 %2 .. %3 %4 не записать в файл спектра "
                                        "(он хранит их десятыми долями от 0 до 6553.5 или, в "
                                        "мТл, целыми гауссами до 65535)")
                .arg(shownSource, Number(field.X1), Number(field.X2), ShownText(field.Name)));

    // The file's axis in the calibration's unit.
    QStringList found;
    double factor = 1;
    const QString fileUnit = spectrum.FieldUnit.trimmed();
    const QString fileStandard = StandardFieldUnit(fileUnit);
    const QString calibrationStandard = StandardFieldUnit(field.Name);
    if (!fileUnit.isEmpty() && fileStandard.isEmpty() && fileUnit != field.Name.trimmed()) {
        if (!options.AnyAxis)
            return Fail(error,
                        QCoreApplication::translate(
                            "SpectrumImport", "Файл \"%1\": ось в единицах \"%2\" — не магнитное "
                                              "поле (известны G, mT, T); взять её как поле можно "
                                              "только явно (kavtool import --any-axis)")
                            .arg(shownSource, ShownText(fileUnit)));
        found << QCoreApplication::translate(
                     "SpectrumImport",
                     "Файл \"%1\": ось в единицах \"%2\" взята как поле в единицах "
                     "\"%3\" калибровки RazvUnit3")
                     .arg(shownSource, ShownText(fileUnit), ShownText(field.Name));
    } else if (!fileStandard.isEmpty() &&
               !FieldUnitFactor(fileStandard, calibrationStandard, factor)) {
        factor = 1;
        found << QCoreApplication::translate(
                     "SpectrumImport",
                     "Файл \"%1\": единица поля \"%2\" не сводится к единице \"%3\" "
                     "калибровки RazvUnit3; значения поля взяты как есть")
                     .arg(shownSource, ShownText(fileUnit), ShownText(field.Name));
    }

    // The points that fall on field codes, in the file's order.
    const std::size_t n = std::min(spectrum.Field.size(), spectrum.Amplitude.size());
    std::vector<std::uint16_t> codes;
    std::vector<double> amplitudes;
    TImportCounts c;
    for (std::size_t k = 0; k < n; ++k) {
        const double code = axis.NearestCode(spectrum.Field[k] * factor);
        if (!(code >= 0 && code <= MaxFieldCode)) {
            ++c.Outside;
            continue;
        }
        codes.push_back(static_cast<std::uint16_t>(code));
        amplitudes.push_back(spectrum.Amplitude[k]);
    }
    if (codes.empty())
        return Fail(error,
                    QCoreApplication::translate(
                        "SpectrumImport", "Файл \"%1\": ни одна из %2 точек не попала в коды поля "
                                          "0..65519 калибровки RazvUnit3 (%3 .. %4 %5)")
                        .arg(shownSource)
                        .arg(n)
                        .arg(Number(field.X1), Number(field.X2), ShownText(field.Name)));

    // The amplitude factor: the file's own, or the one that fills the codes.
    int step = 0;
    double span = 0;
    const std::optional<int>& fileStep = spectrum.Info.ScaleStep;
    if (options.AbsoluteScale)
        step = 0;
    else if (fileStep && AmplitudeScaleOfStep(*fileStep))
        step = *fileStep;
    else
        step = FillStep(amplitudes, axis, span);
    c.Scale = *AmplitudeScaleOfStep(step);

    auto placed = std::make_unique<TPointTable>();
    ClearPoints(*placed);
    for (std::size_t k = 0; k < codes.size(); ++k) {
        double ordinate = axis.NearestOrdinate(amplitudes[k] * c.Scale);
        if (!(ordinate >= 0 && ordinate <= MaxAmplitudeCode)) {
            ++c.Clipped;
            ordinate = ordinate > 0 ? MaxAmplitudeCode : 0;
        }
        const std::uint16_t x = codes[k];
        if (IsValidSlot((*placed)[x]))
            ++c.Shared;
        (*placed)[x] = TPointSlot{x, static_cast<std::uint16_t>(ordinate)};
    }

    PutRecord(*placed, ParGain, static_cast<std::uint16_t>(gain));
    PutRecord(*placed, ParFieldLow, bounds.Low);
    PutRecord(*placed, ParFieldHigh, bounds.High);
    if (bounds.Millitesla)
        (*placed)[ParFieldUnit] = TPointSlot{FieldUnitMillitesla, ParFieldUnit};
    if (step != 0)
        (*placed)[ParAmplScale] = TPointSlot{static_cast<std::uint16_t>(step), ParAmplScale};
    const TMeasurementInfo& info = spectrum.Info;
    PutKnownRecord(*placed, ParSpeed, info.SpeedRow, SpeedRowCount);
    PutKnownRecord(*placed, ParSerial, info.Serial, 256);
    PutKnownRecord(*placed, ParProgram, info.Program, 256);
    PutKnownRecord(*placed, ParSumCount, info.SumCount, 65536);

    if (step != 0 && !(fileStep && *fileStep == step))
        found << QCoreApplication::translate(
                     "SpectrumImport",
                     "Файл \"%1\": амплитуды как есть заняли бы %2 из 4096 кодов; они "
                     "умножены на %3, чтобы спектр сохранил форму; множитель записан "
                     "в спектр, и экспорт вернёт исходные числа")
                     .arg(shownSource, Number(span), Number(c.Scale));
    if (c.Outside)
        found << QCoreApplication::translate(
                     "SpectrumImport", "Файл \"%1\": %2 точек вне кодов поля 0..65519 пропущены")
                     .arg(shownSource)
                     .arg(c.Outside);
    if (c.Clipped)
        found << QCoreApplication::translate(
                     "SpectrumImport", "Файл \"%1\": %2 амплитуд вне 12-битного диапазона 0..4095 "
                                       "ограничены его краями")
                     .arg(shownSource)
                     .arg(c.Clipped);
    if (c.Shared)
        found << QCoreApplication::translate(
                     "SpectrumImport",
                     "Файл \"%1\": %2 точек легли на код поля, уже занятый другой "
                     "точкой; оставлена последняя")
                     .arg(shownSource)
                     .arg(c.Shared);
    table = *placed;
    notes << found;
    if (counts)
        *counts = c;
    return true;
}

bool ImportSpectrumFile(const QString& path, const TKavCfg& cfg, const TImportOptions& options,
                        TPointTable& table, QStringList& notes, QString* error,
                        TImportCounts* counts) {
    TExchangeSpectrum spectrum;
    if (!ReadExchangeFile(path, spectrum, error))
        return false;
    return PlaceImportedSpectrum(spectrum, cfg, options, path, table, notes, error, counts);
}
