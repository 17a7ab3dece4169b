// kavtool process IN.kav... [--ini Kav.ini] [--visirs A B] [--gain INDEX] OP...
// [-o OUT.kav|DIR/] [--json]: runs processing operations on a spectrum in the
// order given, as the window's actions run them, and prints what the plot
// would show. Several spectra in one run each get their report (after a line
// "file: IN.kav", or as one JSON document a line) and, with -o DIR/, their
// processed copy DIR/IN.kav.

#include "tools/kavtool.h"

#include "processing/resonance.h"
#include "processing/result_texts.h"
#include "spectrum/spectrum_file.h"
#include "spectrum/spectrum_session.h"
#include "spectrum/value_format.h"
#include "tools/batch_run.h"
#include "tools/processing_run.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <vector>

namespace {

constexpr const char* Command = "process";

struct TReport {
    QJsonObject Json;
    QStringList Lines;
};

QJsonArray Extrema(const char* title, const std::vector<std::uint16_t>& positions, int count,
                   const TPointTable& store, const TValueFormat& format, TReport& report) {
    QJsonArray list;
    report.Lines << QStringLiteral("%1: %2").arg(QLatin1StringView(title)).arg(count);
    for (int k = 0; k < count; ++k) {
        const std::uint16_t slot = positions[k];
        const std::uint16_t y = store[slot].Y;
        const QString field = format.FieldToStr(slot);
        const QString label = ExtremumLabel(format, y);
        report.Lines << QStringLiteral("  slot %1  field %2  ordinate %3  %4")
                            .arg(slot)
                            .arg(field)
                            .arg(y)
                            .arg(label);
        list.append(
            QJsonObject{{"slot", slot}, {"field", field}, {"ordinate", y}, {"text", label}});
    }
    return list;
}

TReport BuildReport(const TProcessingArgs& p, const QString& input, const TPointTable& store,
                    const TKavCfg& cfg, const TSpectrumResults& r, const TValueFormat& format,
                    QChar sep) {
    TReport report;
    QJsonObject& json = report.Json;
    json["file"] = input;
    QJsonArray ops;
    for (const TOp& op : p.Ops)
        ops.append(op.Text);
    json["operations"] = ops;

    const bool withG = cfg.ResonatorFreq != 0;
    json["maxima"] = Extrema("maxima", r.MaxPositions, r.MaxCount, store, format, report);
    json["minima"] = Extrema("minima", r.MinPositions, r.MinCount, store, format, report);

    QJsonArray pairs;
    report.Lines << QStringLiteral("pairs: %1").arg(r.PairCount);
    for (int k = 0; k < r.PairCount; ++k) {
        const std::uint16_t maxSlot = r.MaxPositions[k];
        const std::uint16_t minSlot = r.MinPositions[k];
        const std::uint16_t amp = r.PairAmplitudes[k];
        const QString text = PairAmplitudeText(format, amp);
        QJsonObject pair{{"max", maxSlot}, {"min", minSlot}, {"amplitude", amp}, {"text", text}};
        QString line =
            QStringLiteral("  %1: max %2  min %3  %4").arg(k).arg(maxSlot).arg(minSlot).arg(text);
        if (withG) {
            const auto middle = static_cast<std::uint16_t>((unsigned(minSlot) + maxSlot) / 2);
            double g = 0;
            const QString gText = GFactorText(cfg, middle, sep);
            pair["gText"] = gText;
            pair["g"] = GFactorAt(cfg, middle, g) ? QJsonValue(g) : QJsonValue();
            line += QStringLiteral("  ") + gText;
        }
        pairs.append(pair);
        report.Lines << line;
    }
    json["pairs"] = pairs;

    const QString area = AreaText(format, r.Area);
    json["area"] =
        area.isEmpty() ? QJsonValue() : QJsonValue(QJsonObject{{"value", r.Area}, {"text", area}});
    report.Lines << (area.isEmpty() ? QStringLiteral("area: none") : area);

    if (r.TibaAmp == 0) {
        json["peakRatio"] = QJsonValue();
        report.Lines << QStringLiteral("peak ratio: none");
    } else {
        double ratio = 0;
        const bool hasRatio = PeakRatio(r, ratio);
        const QString text = PeakRatioText(format, r);
        json["peakRatio"] = QJsonObject{{"tiba", r.TibaAmp},
                                        {"titan", r.TitanAmp},
                                        {"ratio", hasRatio ? QJsonValue(ratio) : QJsonValue()},
                                        {"text", text}};
        report.Lines
            << (hasRatio ? text
                         : QStringLiteral("peak ratio: none (Tiba %1, Titan 0)").arg(r.TibaAmp));
    }

    if (withG) {
        const QString text = FrequencyText(cfg, sep);
        json["frequency"] = QJsonObject{{"kHz", cfg.ResonatorFreq}, {"text", text}};
        report.Lines << text;
    } else {
        json["frequency"] = QJsonValue();
        report.Lines << QStringLiteral("frequency: none");
    }

    // The visir readouts: g-factors once the frequency is known, else fields.
    QJsonArray visirs;
    const std::uint16_t codes[2] = {cfg.VisKoord1, cfg.VisKoord2};
    const bool shown[2] = {cfg.Visir1, cfg.Visir2};
    for (int v = 0; v < 2; ++v) {
        const QString field = format.FieldToStr(codes[v]);
        QJsonObject visir{{"slot", codes[v]}, {"shown", shown[v]}, {"field", field}};
        QString line = QStringLiteral("visir%1: slot %2  %3").arg(v + 1).arg(codes[v]).arg(field);
        if (withG) {
            const QString gText = GFactorText(cfg, codes[v], sep);
            visir["gText"] = gText;
            line += QStringLiteral("  ") + gText;
        }
        if (!shown[v])
            line += QStringLiteral("  (off)");
        visirs.append(visir);
        report.Lines << line;
    }
    json["visirs"] = visirs;
    return report;
}

} // namespace

int RunProcess(const QStringList& args) {
    const QString json = QStringLiteral("--json");
    TProcessingStart start;
    if (const int status = StartProcessing(
            Command, args, {json}, QStringLiteral(".kav"),
            [](const TProcessingArgs& p) {
                return p.Ops.empty() ? QStringLiteral("at least one operation expected")
                                     : QString();
            },
            start);
        status != ExitOk)
        return status;
    const TProcessingArgs& p = start.Args;
    const TBatch& batch = start.Batch;
    const TKavCfg& settings = start.Settings;

    const bool asJson = p.Flags.contains(json);
    // Several results are saved together; one is saved on its own, flushed
    // to the disk before it takes its name.
    TBatchSaves saves{{}, SpectrumWriteError};
    TAtomicBatch* together = batch.Several() ? &saves.Files : nullptr;
    return RunBatch(
        batch, saves,
        [&](const QString& input, const QString& output, QString* text, QString* error) {
            TProcessedSpectrum s;
            if (!OpenAndProcess(p, input, settings, s, error))
                return false;
            if (!output.isEmpty() && !SaveSpectrumAs(s.Session, output, error, together))
                return false;
            const TValueFormat format(s.Cfg, s.DecimalSep);
            const TReport report =
                BuildReport(p, input, *s.Store, s.Cfg, s.Results, format, s.DecimalSep);
            // Several reports: one JSON document a line, or each
            // after the name of its file.
            if (asJson)
                *text = QString::fromUtf8(QJsonDocument(report.Json)
                                              .toJson(batch.Several() ? QJsonDocument::Compact
                                                                      : QJsonDocument::Indented))
                            .trimmed();
            else if (batch.Several())
                *text = QStringLiteral("file: ") + input + u'\n' + report.Lines.join(u'\n');
            else
                *text = report.Lines.join(u'\n');
            return true;
        });
}
