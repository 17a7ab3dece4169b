// kavtool compare SAMPLE.kav REFERENCE [--ini Kav.ini]
// [--normalize none|pp|integral|records] [--shift|--no-shift] [--ref-spins N] [--json]:
// places the reference on the sample's field axis, scales it, optionally
// finds the field shift that lays it over the sample, and prints the scale,
// the shift, the difference's RMS and the ratio of double integrals (with
// the sample's spin count when the reference's is given). The reference is
// a .kav spectrum or another program's file as kavtool import reads it.
// What the command line does not give is taken from the settings' [Compare]
// (the comparison dialog's last choice).

#include "tools/kavtool.h"

#include "base/instrument_tables.h"
#include "config/settings_store.h"
#include "exchange/spectrum_import.h"
#include "processing/fit_texts.h"
#include "processing/spectrum_compare.h"
#include "spectrum/value_format.h"
#include "tools/analysis_args.h"
#include "tools/processing_run.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cmath>
#include <optional>

namespace {

constexpr const char* Command = "compare";

struct TNormalizationWord {
    const char* Word;
    TNormalization Normalization;
};

const TNormalizationWord NormalizationWords[] = {
    {"none", TNormalization::None},
    {"pp", TNormalization::PeakToPeak},
    {"integral", TNormalization::Integral},
    {"records", TNormalization::Records},
};

const char* WordOf(TNormalization n) {
    for (const TNormalizationWord& w : NormalizationWords) {
        if (w.Normalization == n)
            return w.Word;
    }
    return "";
}

QJsonObject Json(const QString& sample, const QString& reference, const TSpectrumComparison& c,
                 const TKavCfg& cfg, const TValueFormat& format) {
    const double fieldSlope =
        cfg.RazvUnit == 0 || cfg.RazvUnit >= RazvUnitCount ? 1 : cfg.RazvUnits[cfg.RazvUnit].KoeffK;
    const double amplSlope =
        std::fabs(cfg.AmpUnits[cfg.AmpUnit].KoeffK / GainFactor(cfg.Amplifying));
    QJsonObject json{
        {"sample", sample},
        {"reference", reference},
        {"normalization", QLatin1StringView(WordOf(c.Normalization))},
        {"scale", c.Scale},
        {"shift", QJsonObject{{"codes", c.ShiftCodes},
                              {"value", c.ShiftCodes * fieldSlope},
                              {"text", format.FieldValueToStr(c.ShiftCodes * fieldSlope)},
                              {"absoluteField", c.ShiftField}}},
        {"residualRms", QJsonObject{{"codes", c.ResidualRms},
                                    {"value", c.ResidualRms * amplSlope},
                                    {"text", format.AmplValueToStr(c.ResidualRms * amplSlope)}}},
        {"range", QJsonObject{{"first", c.First}, {"last", c.Last}}},
        {"points", c.PointCount},
        {"sampleIntegral", c.SampleIntegral},
        {"referenceIntegral", c.ReferenceIntegral},
        {"integralRatio", c.HasRatio ? QJsonValue(c.IntegralRatio) : QJsonValue()},
        {"sampleSpins", c.HasSpins ? QJsonValue(c.SampleSpins) : QJsonValue()},
        {"gain", QJsonObject{{"sample", GainFactor(c.SampleGainRow)},
                             {"reference", GainFactor(c.ReferenceGainRow)}}},
        {"sweeps", QJsonObject{{"sample", c.SampleSweeps}, {"reference", c.ReferenceSweeps}}},
    };
    QJsonArray text;
    for (const QString& line : CompareTextLines(c, cfg, format))
        text.append(line);
    json["text"] = text;
    return json;
}

} // namespace

int RunCompare(const QStringList& args) {
    QStringList rest = args;
    const bool json = TakeFlag(rest, QStringLiteral("--json"));
    const bool shift = TakeFlag(rest, QStringLiteral("--shift"));
    const bool noShift = TakeFlag(rest, QStringLiteral("--no-shift"));
    if (shift && noShift)
        return UsageError(Command, QStringLiteral("--shift and --no-shift exclude each other"));
    const TParsedArgs parsed = ParseArgs(rest, {"--ini", "--normalize", "--ref-spins"});
    if (!parsed.Error.isEmpty())
        return UsageError(Command, parsed.Error);
    if (parsed.Positional.size() != 2)
        return UsageError(Command, QStringLiteral("a sample and a reference spectrum expected"));
    auto option = [&](const char* name) {
        const auto it = parsed.Options.find(QLatin1StringView(name));
        return it == parsed.Options.end() ? QString() : it->second;
    };
    // What the command line does not give comes from the settings'
    // [Compare], read with the sample below.
    std::optional<TNormalization> normalization;
    if (const QString word = option("--normalize"); !word.isEmpty()) {
        for (const TNormalizationWord& w : NormalizationWords) {
            if (word == QLatin1StringView(w.Word))
                normalization = w.Normalization;
        }
        if (!normalization)
            return UsageError(Command,
                              QStringLiteral("--normalize needs none, pp, integral or records"));
    }
    std::optional<double> referenceSpins;
    if (const QString spins = option("--ref-spins"); !spins.isEmpty()) {
        double value = 0;
        if (!ParsePositive(spins, value))
            return UsageError(Command, QStringLiteral("--ref-spins needs a spin count above 0"));
        referenceSpins = value;
    }

    const QString referencePath = parsed.Positional[1];
    TProcessingArgs p;
    p.Ini = option("--ini");
    TProcessedSpectrum sample;
    if (const int status = LoadAndProcess(p, parsed.Positional[0], sample); status != ExitOk)
        return status;
    const TCompareSettings& stored = sample.Cfg.Compare;
    TCompareRequest request;
    request.Normalization = normalization.value_or(stored.Normalization);
    request.FindShift = shift || (!noShift && stored.FindShift);
    request.ReferenceSpins = referenceSpins.value_or(stored.ReferenceSpins);
    TProcessedSpectrum reference;
    if (referencePath.endsWith(QStringLiteral(".kav"), Qt::CaseInsensitive)) {
        if (const int status = LoadAndProcess(p, referencePath, reference); status != ExitOk)
            return status;
    } else {
        // Another program's spectrum, mapped as "kavtool import" maps it:
        // through the instrument's calibration, at the ini file's gain. The
        // records the import writes place it by its field.
        TKavCfg instrument = sample.Cfg;
        RestoreUnitSnapshot(instrument);
        TImportOptions options;
        options.GainRow = instrument.Amplifying;
        QStringList notes;
        QString error;
        if (!ImportSpectrumFile(referencePath, instrument, options, *reference.Store, notes,
                                &error))
            return Fail(error);
        reference.Cfg = ReferenceSettings(instrument, *reference.Store);
    }

    if (sample.Cfg.Visir1 && sample.Cfg.Visir2) {
        request.From = sample.Cfg.VisKoord1;
        request.To = sample.Cfg.VisKoord2;
    }
    const TSpectrumComparison c =
        CompareSpectra(OpenedSpectrum(*sample.Store, sample.Cfg),
                       OpenedSpectrum(*reference.Store, reference.Cfg), request);
    if (!c.Done())
        return Fail(CompareStatusText(c));

    const TValueFormat format(sample.Cfg, sample.DecimalSep);
    if (json) {
        PrintLine(QString::fromUtf8(QJsonDocument(Json(parsed.Positional[0], referencePath, c,
                                                       sample.Cfg, format))
                                        .toJson(QJsonDocument::Indented))
                      .trimmed());
        return ExitOk;
    }
    QStringList out;
    out << QStringLiteral("sample: %1").arg(parsed.Positional[0]);
    out << QStringLiteral("reference: %1").arg(referencePath);
    out << QStringLiteral("compared: %1 .. %2, %3 points")
               .arg(format.FieldToStr(c.First), format.FieldToStr(c.Last))
               .arg(c.PointCount);
    for (const TResultRow& row : CompareResultRows(c, sample.Cfg, format))
        out << row.Name + u'=' + row.Value;
    PrintLine(out.join(u'\n'));
    return ExitOk;
}
