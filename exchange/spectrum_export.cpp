#include "exchange/spectrum_export.h"

#include "base/atomic_file.h"
#include "base/measure_unit.h"
#include "exchange/bes3t_file.h"
#include "exchange/message_text.h"
#include "exchange/spectrum_axis.h"
#include "exchange/text_spectrum.h"
#include "spectrum/parameter_block.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int AbsoluteFieldUnit = 3;
constexpr int AdcFieldUnit = 3; // the ADC unit of the field through the ADC input

bool Fail(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

// The valid slots between the view bounds, in ascending order.
std::vector<std::uint16_t> ViewCodes(const TPointTable& store, const TKavCfg& cfg) {
    std::vector<std::uint16_t> codes;
    const int first = std::max(std::min(cfg.ViewMin, cfg.ViewMax), 0);
    const int last = std::min(std::max(cfg.ViewMin, cfg.ViewMax), int(MaxFieldCode));
    for (int k = first; k <= last; ++k) {
        if (IsValidSlot(store[k]))
            codes.push_back(static_cast<std::uint16_t>(k));
    }
    return codes;
}

} // namespace

TExchangeFormat ExchangeFormatOfPath(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"tsv")
        return TExchangeFormat::Tsv;
    if (suffix == u"csv")
        return TExchangeFormat::Csv;
    if (suffix == u"txt" || suffix == u"dat" || suffix == u"asc")
        return TExchangeFormat::Text;
    if (suffix == u"dsc" || suffix == u"dta")
        return TExchangeFormat::Bes3t;
    if (suffix == u"png")
        return TExchangeFormat::Png;
    if (suffix == u"svg")
        return TExchangeFormat::Svg;
    return TExchangeFormat::Unknown;
}

TMeasurementInfo MeasurementInfoOf(const TPointTable& store, const TKavCfg& cfg) {
    TMeasurementInfo info;
    info.GainRow = cfg.Amplifying;
    if (cfg.ResonatorFreq != 0)
        info.FrequencyHz = cfg.ResonatorFreq * 1000.0;
    // Of two records of one code the later counts, as when a file is read.
    for (int slot = FirstParameterCode; slot < PointSlotCount; ++slot) {
        const TPointSlot& s = store[slot];
        switch (s.Y) {
        case ParSpeed:
            info.SpeedRow = s.X;
            break;
        case ParSerial:
            info.Serial = s.X;
            break;
        case ParProgram:
            info.Program = s.X;
            break;
        case ParSumCount:
            info.SumCount = s.X;
            break;
        case ParAdcField:
            info.ModulationAmplitude = s.X / 100.0;
            break;
        case ParAmplScale:
            info.ScaleStep = static_cast<std::int16_t>(s.X);
            break;
        default:
            break;
        }
    }
    if (info.ScaleStep && !AmplitudeScaleOfStep(*info.ScaleStep))
        info.ScaleStep.reset();
    const QString modulationUnit = cfg.ADCUnits[AdcFieldUnit].Name;
    info.ModulationUnit = StandardFieldUnit(modulationUnit);
    if (info.ModulationUnit.isEmpty())
        info.ModulationUnit = modulationUnit;
    return info;
}

bool CodesEquidistant(const std::vector<std::uint16_t>& codes) {
    if (codes.size() < 3)
        return true;
    const double first = codes.front();
    const double step = (double(codes.back()) - first) / double(codes.size() - 1);
    for (std::size_t k = 1; k + 1 < codes.size(); ++k) {
        if (std::fabs(codes[k] - (first + step * double(k))) > 1.0)
            return false;
    }
    return true;
}

bool CollectViewSpectrum(const TPointTable& store, const TKavCfg& cfg, TExchangeSpectrum& spectrum,
                         QStringList& notes, QString* error) {
    TSpectrumAxis axis;
    if (!TSpectrumAxis::FromSettings(cfg, cfg.Amplifying, axis, error))
        return false;
    const std::vector<std::uint16_t> codes = ViewCodes(store, cfg);
    if (codes.empty())
        return Fail(error,
                    QCoreApplication::translate(
                        "SpectrumExport", "Между границами просмотра (%1 .. %2) нет ни одной точки")
                        .arg(cfg.ViewMin)
                        .arg(cfg.ViewMax));

    TExchangeSpectrum s;
    s.Info = MeasurementInfoOf(store, cfg);
    // The factor an import multiplied the amplitudes by is divided out: the
    // numbers are those of the file it came from.
    const double scale = s.Info.ScaleStep ? *AmplitudeScaleOfStep(*s.Info.ScaleStep) : 1.0;
    s.Field.reserve(codes.size());
    s.Amplitude.reserve(codes.size());
    for (const std::uint16_t code : codes) {
        s.Field.push_back(axis.FieldOfCode(code));
        s.Amplitude.push_back(axis.AmplitudeOfOrdinate(store[code].Y) / scale);
    }
    s.Equidistant = CodesEquidistant(codes);
    const QString fieldName = cfg.RazvUnits[AbsoluteFieldUnit].Name;
    s.FieldUnit = StandardFieldUnit(fieldName);
    if (s.FieldUnit.isEmpty()) {
        s.FieldUnit = fieldName;
        notes << QCoreApplication::translate(
                     "SpectrumExport",
                     "Единица поля \"%1\" записана как есть: другие программы могут её "
                     "не знать (известны G и mT)")
                     .arg(ShownText(fieldName));
    }
    s.AmplitudeUnit = StandardAmplitudeUnit(cfg.AmpUnits[cfg.AmpUnit].Name);
    spectrum = std::move(s);
    return true;
}

bool ExportSpectrum(const QString& path, TExchangeFormat format, const TPointTable& store,
                    const TKavCfg& cfg, const QString& title, QStringList& notes, QString* error) {
    if (format != TExchangeFormat::Bes3t && format != TExchangeFormat::Csv)
        return Fail(error,
                    QCoreApplication::translate(
                        "SpectrumExport", "Файл \"%1\": спектр записывается только в BES3T или CSV")
                        .arg(ShownPath(path)));
    TExchangeSpectrum spectrum;
    QStringList collected;
    if (!CollectViewSpectrum(store, cfg, spectrum, collected, error))
        return false;
    spectrum.Title = title;
    if (format == TExchangeFormat::Bes3t) {
        // Written always, so that reading the file back keeps the amplitudes
        // as they are, whatever part of the codes they fill.
        if (!spectrum.Info.ScaleStep)
            spectrum.Info.ScaleStep = 0;
        QStringList comments;
        if (!spectrum.Equidistant)
            comments << QStringLiteral("Kav7: the points are not equidistant; each point's "
                                       "field is in the .XGF file (XTYP IGD).");
        if (!WriteBes3t(path, spectrum, comments, error))
            return false;
        if (!spectrum.Equidistant)
            collected << QCoreApplication::translate(
                             "SpectrumExport",
                             "Точки не равноотстоящие: поле каждой точки записано в "
                             "файл оси %1 (XTYP IGD)")
                             .arg(ShownPath(Bes3tPaths(path).Xgf));
    } else {
        QString reason;
        if (!WriteFileAtomically(path, CsvText(spectrum), &reason))
            return Fail(error, QCoreApplication::translate("SpectrumExport",
                                                           "Не удалось записать файл \"%1\": %2")
                                   .arg(ShownPath(path), reason));
    }
    notes << collected;
    return true;
}
