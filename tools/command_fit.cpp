// kavtool fit IN.kav [--ini Kav.ini] [--visirs A B] [--lines N]
// [--shape lorentz|gauss|voigt] [--freq MHz] [--max-evaluations N] [--json]: fits 1 to 4
// first-derivative lines on a straight baseline to the spectrum between the
// visirs (the whole spectrum without both), starting from the extremum
// search of the ini file's settings, and prints every parameter with its
// standard error in the ini file's units, as the window shows them.

#include "tools/kavtool.h"

#include "base/number_style.h"
#include "processing/fit_texts.h"
#include "processing/fit_values.h"
#include "processing/line_fit.h"
#include "spectrum/value_format.h"
#include "tools/analysis_args.h"
#include "tools/processing_run.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

namespace {

constexpr const char* Command = "fit";

const char* const ShapeWords[] = {"lorentz", "gauss", "voigt"};

bool ParseShape(const QString& word, TLineShape& shape) {
    for (int i = 0; i < LineShapeCount; ++i) {
        if (word == QLatin1StringView(ShapeWords[i])) {
            shape = static_cast<TLineShape>(i);
            return true;
        }
    }
    return false;
}

QJsonObject Value(const TFitValue& v, const QString& text = {}, const QString& errorText = {}) {
    QJsonObject o{{"value", v.Value}, {"error", v.Error}};
    if (!text.isEmpty())
        o["text"] = text;
    if (!errorText.isEmpty())
        o["errorText"] = errorText;
    return o;
}

QJsonObject Json(const QString& input, const TLineFit& fit, const TShownFit& shown,
                 const TKavCfg& cfg, const TValueFormat& format) {
    const QChar sep = format.DecimalSep();
    const QString fieldUnit = cfg.RazvUnit == 0 ? QString() : cfg.RazvUnits[cfg.RazvUnit].Name;
    QJsonObject json{
        {"file", input},
        {"shape", QLatin1StringView(ShapeWords[static_cast<int>(fit.Shape)])},
        {"range", QJsonObject{{"first", fit.First}, {"last", fit.Last}}},
        {"points", fit.PointCount},
        {"parameters", fit.ParameterCount},
        {"iterations", fit.Iterations},
        {"converged", true},
        {"units", QJsonObject{{"field", fieldUnit}, {"amplitude", cfg.AmpUnits[cfg.AmpUnit].Name}}},
    };
    QJsonArray lines;
    for (std::size_t k = 0; k < fit.Lines.size(); ++k) {
        const TFittedLine& c = fit.Lines[k];
        const TShownLine& s = shown.Lines[k];
        QJsonObject line{
            {"centre", Value(s.Centre, format.FieldValueToStr(s.Centre.Value))},
            {"width", Value(s.Width, format.FieldValueToStr(s.Width.Value))},
            {"amplitude", Value(s.Amplitude, format.AmplValueToStr(s.Amplitude.Value))},
            {"doubleIntegral",
             Value(s.DoubleIntegral, format.AreaValueToStr(s.DoubleIntegral.Value))},
            {"g",
             s.HasG ? QJsonValue(Value(s.G, FormatGeneral(s.G.Value, 5, 4, sep))) : QJsonValue()},
            {"codes", QJsonObject{{"centre", Value(c.Centre)},
                                  {"width", Value(c.Width)},
                                  {"amplitude", Value(c.Amplitude)},
                                  {"doubleIntegral", Value(c.DoubleIntegral)}}},
        };
        if (fit.Shape == TLineShape::Voigt)
            line["mix"] = Value(s.Mix);
        lines.append(line);
    }
    json["lines"] = lines;
    json["baseline"] = QJsonObject{{"offset", Value(shown.BaselineOffset)},
                                   {"slope", Value(shown.BaselineSlope)},
                                   {"codes", QJsonObject{{"origin", fit.BaselineOrigin},
                                                         {"offset", Value(fit.BaselineOffset)},
                                                         {"slope", Value(fit.BaselineSlope)}}}};
    json["residualRms"] = QJsonObject{{"value", shown.ResidualRms},
                                      {"text", format.AmplValueToStr(shown.ResidualRms)},
                                      {"codes", fit.ResidualRms}};
    json["rSquared"] = shown.RSquared;
    json["frequencyMHz"] = shown.FrequencyMHz > 0 ? QJsonValue(shown.FrequencyMHz) : QJsonValue();
    QJsonArray text;
    for (const QString& line : FitTextLines(fit, shown, format))
        text.append(line);
    json["text"] = text;
    return json;
}

} // namespace

int RunFit(const QStringList& args) {
    QStringList rest = args;
    const bool json = TakeFlag(rest, QStringLiteral("--json"));
    TProcessingArgs p;
    QString error;
    if (!TakeVisirs(rest, p.HasVisirs, p.Visir1, p.Visir2, error))
        return UsageError(Command, error);
    const TParsedArgs parsed =
        ParseArgs(rest, {"--ini", "--lines", "--shape", "--freq", "--max-evaluations"});
    if (!parsed.Error.isEmpty())
        return UsageError(Command, parsed.Error);
    if (parsed.Positional.size() != 1)
        return UsageError(Command, QStringLiteral("one spectrum file expected"));
    const QString input = parsed.Positional[0];
    auto option = [&](const char* name) {
        const auto it = parsed.Options.find(QLatin1StringView(name));
        return it == parsed.Options.end() ? QString() : it->second;
    };
    p.Ini = option("--ini");

    TProcessedSpectrum s;
    if (const int status = LoadAndProcess(p, input, s); status != ExitOk)
        return status;

    TFitRequest request;
    request.LineCount = s.Cfg.Fit.LineCount;
    request.Shape = s.Cfg.Fit.Shape;
    double frequency = s.Cfg.Fit.FrequencyMHz;
    if (const QString lines = option("--lines"); !lines.isEmpty()) {
        bool ok = false;
        request.LineCount = lines.toInt(&ok);
        if (!ok || request.LineCount < MinFitLines || request.LineCount > MaxFitLines)
            return UsageError(Command, QStringLiteral("--lines needs a number of lines 1..4"));
    }
    if (const QString shape = option("--shape");
        !shape.isEmpty() && !ParseShape(shape, request.Shape))
        return UsageError(Command, QStringLiteral("--shape needs lorentz, gauss or voigt"));
    if (const QString freq = option("--freq"); !freq.isEmpty() && !ParsePositive(freq, frequency))
        return UsageError(Command, QStringLiteral("--freq needs a frequency in MHz above 0"));
    if (const QString budget = option("--max-evaluations"); !budget.isEmpty()) {
        bool ok = false;
        request.MaxEvaluations = budget.toInt(&ok);
        if (!ok || request.MaxEvaluations < 1)
            return UsageError(
                Command,
                QStringLiteral("--max-evaluations needs a number of evaluations 1 or more"));
    }
    // The visir range as the window's actions take it: both visirs on, else
    // the whole spectrum.
    if (s.Cfg.Visir1 && s.Cfg.Visir2) {
        request.From = s.Cfg.VisKoord1;
        request.To = s.Cfg.VisKoord2;
    }
    request.Noise = s.Cfg.FindMaxNoise;
    request.Step = s.Cfg.FindMaxStep;

    const TLineFit fit = FitLines(*s.Store, request);
    if (!fit.Done())
        return Fail(FitStatusText(fit));

    const TValueFormat format(s.Cfg, s.DecimalSep);
    const TShownFit shown = ShownFit(fit, s.Cfg, FitFrequencyMHz(s.Cfg, frequency));
    if (json) {
        PrintLine(QString::fromUtf8(QJsonDocument(Json(input, fit, shown, s.Cfg, format))
                                        .toJson(QJsonDocument::Indented))
                      .trimmed());
        return ExitOk;
    }
    QStringList out;
    out << QStringLiteral("file: %1").arg(input);
    out << QStringLiteral("range: %1 .. %2, %3 points; %4, lines: %5")
               .arg(format.FieldToStr(fit.First), format.FieldToStr(fit.Last))
               .arg(fit.PointCount)
               .arg(LineShapeName(fit.Shape))
               .arg(fit.LineCount);
    out << FitTextLines(fit, shown, format);
    PrintLine(out.join(u'\n'));
    return ExitOk;
}
