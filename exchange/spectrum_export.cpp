#include "exchange/spectrum_export.h"

#include "exchange/bes3t_file.h"
#include "exchange/spectrum_axis.h"
#include "exchange/text_spectrum.h"
#include "spectrum/atomic_file.h"
#include "spectrum/parameter_block.h"

#include <QFileInfo>
#include <algorithm>
#include <numeric>
#include <vector>

namespace {

constexpr int AbsoluteFieldUnit = 3;

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

// The greatest common step of the codes; 0 for fewer than two.
int CommonStep(const std::vector<std::uint16_t>& codes) {
    int step = 0;
    for (std::size_t k = 1; k < codes.size(); ++k)
        step = std::gcd(step, codes[k] - codes[k - 1]);
    return step;
}

} // namespace

TExchangeFormat ExchangeFormatOfPath(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"tsv")
        return TExchangeFormat::Tsv;
    if (suffix == u"csv")
        return TExchangeFormat::Csv;
    if (suffix == u"txt")
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
        default:
            break;
        }
    }
    return info;
}

bool CollectViewSpectrum(const TPointTable& store, const TKavCfg& cfg, bool equidistant,
                         TExchangeSpectrum& spectrum, QStringList& notes, QString* error,
                         bool* resampled) {
    TSpectrumAxis axis;
    if (!TSpectrumAxis::FromSettings(cfg, cfg.Amplifying, axis, error))
        return false;
    std::vector<std::uint16_t> codes = ViewCodes(store, cfg);
    if (codes.empty())
        return Fail(error, QStringLiteral("Между границами просмотра (%1 .. %2) нет ни одной точки")
                               .arg(cfg.ViewMin)
                               .arg(cfg.ViewMax));

    // Amplitude of every code on the grid: a grid code without a point takes
    // the preceding point's ordinate.
    std::vector<std::uint16_t> ordinates;
    const int step = CommonStep(codes);
    bool regular = true;
    for (std::size_t k = 1; k < codes.size(); ++k)
        regular = regular && codes[k] - codes[k - 1] == step;
    if (resampled)
        *resampled = equidistant && !regular;
    if (equidistant && !regular) {
        const std::size_t given = codes.size();
        std::vector<std::uint16_t> grid;
        std::uint16_t carried = store[codes.front()].Y;
        for (int code = codes.front(); code <= codes.back(); code += step) {
            if (IsValidSlot(store[code]))
                carried = store[code].Y;
            grid.push_back(static_cast<std::uint16_t>(code));
            ordinates.push_back(carried);
        }
        codes = std::move(grid);
        notes << QStringLiteral("Точки не равноотстоящие: спектр записан на равномерной сетке с "
                                "шагом %1 кодов поля, %2 недостающих точек взяли амплитуду "
                                "предыдущей точки")
                     .arg(step)
                     .arg(codes.size() - given);
    } else {
        for (std::uint16_t code : codes)
            ordinates.push_back(store[code].Y);
    }

    TExchangeSpectrum s;
    s.Field.reserve(codes.size());
    s.Amplitude.reserve(codes.size());
    for (std::size_t k = 0; k < codes.size(); ++k) {
        s.Field.push_back(axis.FieldOfCode(codes[k]));
        s.Amplitude.push_back(axis.AmplitudeOfOrdinate(ordinates[k]));
    }
    const QString fieldName = cfg.RazvUnits[AbsoluteFieldUnit].Name;
    s.FieldUnit = StandardFieldUnit(fieldName);
    if (s.FieldUnit.isEmpty()) {
        s.FieldUnit = fieldName;
        notes << QStringLiteral("Единица поля \"%1\" записана как есть: другие программы могут её "
                                "не знать (известны G и mT)")
                     .arg(fieldName);
    }
    s.AmplitudeUnit = StandardAmplitudeUnit(cfg.AmpUnits[cfg.AmpUnit].Name);
    s.Info = MeasurementInfoOf(store, cfg);
    spectrum = std::move(s);
    return true;
}

bool ExportSpectrum(const QString& path, TExchangeFormat format, const TPointTable& store,
                    const TKavCfg& cfg, const QString& title, QStringList& notes, QString* error) {
    if (format != TExchangeFormat::Bes3t && format != TExchangeFormat::Csv)
        return Fail(
            error,
            QStringLiteral("Файл \"%1\": спектр записывается только в BES3T или CSV").arg(path));
    TExchangeSpectrum spectrum;
    QStringList collected;
    bool resampled = false;
    if (!CollectViewSpectrum(store, cfg, format == TExchangeFormat::Bes3t, spectrum, collected,
                             error, &resampled))
        return false;
    spectrum.Title = title;
    if (format == TExchangeFormat::Bes3t) {
        QStringList comments;
        if (resampled)
            comments << QStringLiteral("Kav7: points resampled on an equidistant field grid; "
                                       "a grid point without a measured point repeats the "
                                       "preceding one.");
        if (!WriteBes3t(path, spectrum, comments, error))
            return false;
    } else {
        QString reason;
        if (!WriteFileAtomically(path, CsvText(spectrum), &reason))
            return Fail(error,
                        QStringLiteral("Не удалось записать файл \"%1\": %2").arg(path, reason));
    }
    notes << collected;
    return true;
}
