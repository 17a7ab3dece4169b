#include "processing/fit_texts.h"

#include "base/instrument_tables.h"
#include "base/number_style.h"

#include <cmath>

#include <QCoreApplication>

namespace {

const QString PlusMinus = QStringLiteral(" ± ");

// A standard error kept to two significant digits before it is written in
// its quantity's style, so that "± 0,021 Э" does not carry six digits of
// noise.
double TwoDigits(double v) {
    if (v == 0 || !std::isfinite(v))
        return v;
    const double scale = std::pow(10.0, std::floor(std::log10(std::fabs(v))) - 1);
    return std::nearbyint(v / scale) * scale;
}

// The selected sweep unit's slope; 1 for the raw codes.
double FieldSlope(const TKavCfg& cfg) {
    if (cfg.RazvUnit == 0 || cfg.RazvUnit >= RazvUnitCount)
        return 1;
    return cfg.RazvUnits[cfg.RazvUnit].KoeffK;
}

double AmplitudeSlope(const TKavCfg& cfg) {
    if (cfg.AmpUnit >= AmpUnitCount)
        return 1;
    return cfg.AmpUnits[cfg.AmpUnit].KoeffK / GainFactor(cfg.Amplifying);
}

// "Линия k: " before the rows of line k when there are several lines.
QString LinePrefix(const TLineFit& fit, int k) {
    return fit.Lines.size() > 1 ? QCoreApplication::translate("FitTexts", "Линия %1: ").arg(k + 1)
                                : QString();
}

QString Joined(const TResultRow& row) {
    return row.Name + u'=' + row.Value + (row.Error.isEmpty() ? QString() : PlusMinus + row.Error);
}

} // namespace

QString LineShapeName(TLineShape shape) {
    switch (shape) {
    case TLineShape::Lorentz:
        return QCoreApplication::translate("FitTexts", "Лоренц");
    case TLineShape::Gauss:
        return QCoreApplication::translate("FitTexts", "Гаусс");
    case TLineShape::Voigt:
        return QCoreApplication::translate("FitTexts", "Псевдо-Фойгт");
    }
    return QString();
}

QString FitStatusText(const TLineFit& fit) {
    switch (fit.Status) {
    case TFitStatus::Done:
        return QString();
    case TFitStatus::BadRequest:
        return QCoreApplication::translate(
                   "FitTexts", "Аппроксимация невозможна: число линий должно быть от %1 до %2")
            .arg(MinFitLines)
            .arg(MaxFitLines);
    case TFitStatus::TooFewPoints:
        return QCoreApplication::translate(
                   "FitTexts", "Аппроксимация невозможна: точек в диапазоне (%1) не больше, чем "
                               "параметров (%2)")
            .arg(fit.PointCount)
            .arg(fit.ParameterCount);
    case TFitStatus::FlatSegment:
        return QCoreApplication::translate(
            "FitTexts", "Аппроксимация невозможна: спектр в диапазоне не меняется");
    case TFitStatus::NoExtremumPair:
        return QCoreApplication::translate(
            "FitTexts", "Аппроксимация невозможна: не найдено ни одной пары экстремумов");
    case TFitStatus::TooFewPairs:
        return QCoreApplication::translate(
                   "FitTexts", "Аппроксимация невозможна: найдено пар экстремумов %1, а линий "
                               "задано %2")
            .arg(fit.PairsFound)
            .arg(fit.LineCount);
    case TFitStatus::NotConverged:
        return QCoreApplication::translate("FitTexts", "Аппроксимация не сошлась (итераций: %1)")
            .arg(fit.Iterations);
    case TFitStatus::Undetermined:
        return QCoreApplication::translate(
            "FitTexts",
            "Аппроксимация не сошлась: параметры линий не определяются точками диапазона");
    }
    return QString();
}

namespace {

// The rows of one fitted line, without the line's prefix.
std::vector<TResultRow> LineRows(const TLineFit& fit, const TShownLine& line,
                                 const TValueFormat& format) {
    const QChar sep = format.DecimalSep();
    std::vector<TResultRow> rows;
    rows.push_back({QStringLiteral("B0"), format.FieldValueToStr(line.Centre.Value),
                    format.FieldValueToStr(TwoDigits(line.Centre.Error))});
    rows.push_back({QStringLiteral("ΔHpp"), format.FieldValueToStr(line.Width.Value),
                    format.FieldValueToStr(TwoDigits(line.Width.Error))});
    rows.push_back({QStringLiteral("A"), format.AmplValueToStr(line.Amplitude.Value),
                    format.AmplValueToStr(TwoDigits(line.Amplitude.Error))});
    if (fit.Shape == TLineShape::Voigt)
        rows.push_back({QStringLiteral("η"), FormatGeneral(line.Mix.Value, 3, 3, sep),
                        FormatGeneral(TwoDigits(line.Mix.Error), 3, 3, sep)});
    rows.push_back({QStringLiteral("S"), format.AreaValueToStr(line.DoubleIntegral.Value),
                    format.AreaValueToStr(TwoDigits(line.DoubleIntegral.Error))});
    if (line.HasG)
        rows.push_back({QStringLiteral("g"), FormatGeneral(line.G.Value, 5, 4, sep),
                        FormatGeneral(TwoDigits(line.G.Error), 2, 2, sep)});
    return rows;
}

// The rows of the fit as a whole.
std::vector<TResultRow> SummaryRows(const TShownFit& shown, const TValueFormat& format) {
    const QChar sep = format.DecimalSep();
    std::vector<TResultRow> rows;
    rows.push_back({QCoreApplication::translate("FitTexts", "СКО остатка"),
                    format.AmplValueToStr(shown.ResidualRms),
                    {}});
    rows.push_back({QStringLiteral("R²"), FormatFixed(shown.RSquared, 5, 5, sep), {}});
    rows.push_back({QCoreApplication::translate("FitTexts", "итераций"),
                    QString::number(shown.Iterations),
                    {}});
    if (shown.FrequencyMHz > 0)
        rows.push_back({QStringLiteral("f"),
                        FormatGeneral(shown.FrequencyMHz, 5, 1, sep) +
                            QCoreApplication::translate("FitTexts", "МГц"),
                        {}});
    return rows;
}

} // namespace

std::vector<TResultRow> FitResultRows(const TLineFit& fit, const TShownFit& shown,
                                      const TValueFormat& format) {
    std::vector<TResultRow> rows;
    if (!fit.Done())
        return rows;
    for (std::size_t k = 0; k < shown.Lines.size(); ++k) {
        const QString prefix = LinePrefix(fit, static_cast<int>(k));
        for (TResultRow row : LineRows(fit, shown.Lines[k], format)) {
            row.Name.prepend(prefix);
            rows.push_back(row);
        }
    }
    for (const TResultRow& row : SummaryRows(shown, format))
        rows.push_back(row);
    return rows;
}

QStringList FitTextLines(const TLineFit& fit, const TShownFit& shown, const TValueFormat& format) {
    if (!fit.Done())
        return {FitStatusText(fit)};
    QStringList lines;
    for (std::size_t k = 0; k < shown.Lines.size(); ++k) {
        QStringList parts;
        for (const TResultRow& row : LineRows(fit, shown.Lines[k], format))
            parts << Joined(row);
        lines << LinePrefix(fit, static_cast<int>(k)) + parts.join(QStringLiteral("  "));
    }
    QStringList summary;
    for (const TResultRow& row : SummaryRows(shown, format))
        summary << (row.Name == QCoreApplication::translate("FitTexts", "итераций")
                        ? row.Name + QStringLiteral(": ") + row.Value
                        : Joined(row));
    lines << summary.join(QStringLiteral("  "));
    return lines;
}

QString ResultRowsAsTabText(const std::vector<TResultRow>& rows) {
    QString text;
    for (const TResultRow& row : rows)
        text += row.Name + u'\t' + row.Value + u'\t' + row.Error + u'\n';
    return text;
}

QString NormalizationName(TNormalization normalization) {
    switch (normalization) {
    case TNormalization::None:
        return QCoreApplication::translate("FitTexts", "без нормировки");
    case TNormalization::PeakToPeak:
        return QCoreApplication::translate("FitTexts", "по размаху");
    case TNormalization::Integral:
        return QCoreApplication::translate("FitTexts", "по двойному интегралу");
    case TNormalization::Records:
        return QCoreApplication::translate("FitTexts", "по усилению");
    }
    return QString();
}

QString CompareStatusText(const TSpectrumComparison& c) {
    switch (c.Status) {
    case TCompareStatus::Done:
        return QString();
    case TCompareStatus::EmptySample:
        return QCoreApplication::translate("FitTexts",
                                           "Сравнение невозможно: в диапазоне нет точек спектра");
    case TCompareStatus::EmptyReference:
        return QCoreApplication::translate("FitTexts",
                                           "Сравнение невозможно: в спектре сравнения нет точек");
    case TCompareStatus::NoOverlap:
        return QCoreApplication::translate("FitTexts",
                                           "Спектр сравнения не перекрывается с текущим по полю");
    case TCompareStatus::ZeroReference:
        return c.Normalization == TNormalization::Integral
                   ? QCoreApplication::translate(
                         "FitTexts", "Нормировка невозможна: двойной интеграл спектра сравнения "
                                     "равен нулю")
                   : QCoreApplication::translate(
                         "FitTexts", "Нормировка невозможна: размах спектра сравнения равен нулю");
    }
    return QString();
}

std::vector<TResultRow> CompareResultRows(const TSpectrumComparison& c, const TKavCfg& cfg,
                                          const TValueFormat& format) {
    std::vector<TResultRow> rows;
    if (!c.Done())
        return rows;
    const QChar sep = format.DecimalSep();
    rows.push_back({QCoreApplication::translate("FitTexts", "Нормировка"),
                    NormalizationName(c.Normalization),
                    {}});
    rows.push_back({QCoreApplication::translate("FitTexts", "Масштаб"),
                    FormatGeneral(c.Scale, 4, 3, sep),
                    {}});
    rows.push_back({QCoreApplication::translate("FitTexts", "Сдвиг"),
                    format.FieldValueToStr(c.ShiftCodes * FieldSlope(cfg)),
                    {}});
    rows.push_back({QCoreApplication::translate("FitTexts", "СКО разности"),
                    format.AmplValueToStr(c.ResidualRms * std::fabs(AmplitudeSlope(cfg))),
                    {}});
    rows.push_back({QCoreApplication::translate("FitTexts", "Усиление"),
                    QStringLiteral("%1 / %2")
                        .arg(GainFactor(c.SampleGainRow))
                        .arg(GainFactor(c.ReferenceGainRow)),
                    {}});
    rows.push_back({QCoreApplication::translate("FitTexts", "Накоплений"),
                    QStringLiteral("%1 / %2").arg(c.SampleSweeps).arg(c.ReferenceSweeps),
                    {}});
    if (c.HasRatio)
        rows.push_back({QCoreApplication::translate("FitTexts", "Отношение двойных интегралов"),
                        FormatGeneral(c.IntegralRatio, 4, 3, sep),
                        {}});
    if (c.HasSpins)
        rows.push_back({QCoreApplication::translate("FitTexts", "Спинов в образце"),
                        FormatScientific(c.SampleSpins, 4, 3, sep),
                        {}});
    return rows;
}

QStringList CompareTextLines(const TSpectrumComparison& c, const TKavCfg& cfg,
                             const TValueFormat& format) {
    if (!c.Done())
        return {CompareStatusText(c)};
    QStringList parts;
    for (const TResultRow& row : CompareResultRows(c, cfg, format))
        parts << row.Name + u'=' + row.Value;
    return {parts.join(QStringLiteral("  "))};
}
