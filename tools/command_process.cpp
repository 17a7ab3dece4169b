// kavtool process IN.kav [--ini Kav.ini] [--visirs A B] [--gain INDEX] OP... [-o OUT.kav]
// [--json]: runs processing operations on a spectrum in the order given, as
// the window's actions run them, and prints what the plot would show.

#include "tools/kavtool.h"

#include "link/instrument_tables.h"
#include "processing/processing_actions.h"
#include "processing/resonance.h"
#include "processing/result_texts.h"
#include "spectrum/parameter_block.h"
#include "spectrum/spectrum_session.h"
#include "spectrum/spectrum_view.h"
#include "spectrum/value_format.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <limits>
#include <memory>
#include <vector>

namespace {

constexpr const char* Command = "process";

enum class TOpKind { Filter, Gliss, Equalize, Integrate, MinMax, Ratio, Dpph };

struct TOp {
    TOpKind Kind;
    QString Text; // as given, for the report
    std::int32_t Value = 0;
    std::uint16_t Noise = 0;
    std::uint16_t Step = 0;
};

struct TProcessArgs {
    QString Input;
    QString Ini;
    QString Output;
    bool Json = false;
    bool HasVisirs = false;
    std::uint16_t Visir1 = 0;
    std::uint16_t Visir2 = 0;
    int Gain = -1; // -1: as the file and the settings say
    std::vector<TOp> Ops;
    QString Error;
};

// The warnings the actions raise; the last one decides a failed operation.
class TToolView : public TProcessingView {
public:
    QString Warning;
    void ShowWarning(const QString& text) override { Warning = text; }
    void ShowInformation(const QString&) override {}
    void Repaint() override {}
    bool BackUp = false;
    bool GShow = false;
    void SetBackUpEnabled(bool enabled) override { BackUp = enabled; }
    bool IsBackUpEnabled() const override { return BackUp; }
    void SetGFactorShown(bool shown) override { GShow = shown; }
    bool IsGFactorShown() const override { return GShow; }
};

bool ParseInt(const QString& text, std::int64_t lo, std::int64_t hi, std::int64_t& value) {
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok);
    if (!ok || v < lo || v > hi)
        return false;
    value = v;
    return true;
}

bool ParseWord(const QString& text, std::uint16_t& value) {
    std::int64_t v = 0;
    if (!ParseInt(text, 0, 65535, v))
        return false;
    value = static_cast<std::uint16_t>(v);
    return true;
}

bool IsOptionLike(const QString& a) {
    return a.startsWith(u"--") || (a.size() > 1 && a[0] == u'-' && a[1].isLetter());
}

// Reads one operation starting at args[i]; advances i past its arguments.
bool ParseOp(const QStringList& args, qsizetype& i, TOp& op, QString& error) {
    const QString name = args[i];
    auto argument = [&](int n) -> QString { return i + n < args.size() ? args[i + n] : QString(); };
    std::int64_t v = 0;
    if (name == u"filter" || name == u"gliss") {
        op.Kind = name == u"filter" ? TOpKind::Filter : TOpKind::Gliss;
        if (!ParseInt(argument(1), std::numeric_limits<std::int32_t>::min(),
                      std::numeric_limits<std::int32_t>::max(), v)) {
            error = QStringLiteral("%1 needs a whole number").arg(name);
            return false;
        }
        op.Value = static_cast<std::int32_t>(v);
        op.Text = name + u' ' + argument(1);
        i += 2;
        return true;
    }
    if (name == u"minmax" || name == u"ratio") {
        op.Kind = name == u"minmax" ? TOpKind::MinMax : TOpKind::Ratio;
        if (!ParseWord(argument(1), op.Noise) || !ParseWord(argument(2), op.Step)) {
            error = QStringLiteral("%1 needs NOISE and STEP, each 0..65535").arg(name);
            return false;
        }
        op.Text = name + u' ' + argument(1) + u' ' + argument(2);
        i += 3;
        return true;
    }
    if (name == u"equalize" || name == u"integrate" || name == u"dpph") {
        op.Kind = name == u"equalize"    ? TOpKind::Equalize
                  : name == u"integrate" ? TOpKind::Integrate
                                         : TOpKind::Dpph;
        op.Text = name;
        i += 1;
        return true;
    }
    error = QStringLiteral("unknown operation \"%1\"").arg(name);
    return false;
}

TProcessArgs ParseProcessArgs(const QStringList& args) {
    TProcessArgs p;
    for (qsizetype i = 0; i < args.size();) {
        const QString& a = args[i];
        if (a == u"--ini" || a == u"-o" || a == u"--gain") {
            if (i + 1 >= args.size()) {
                p.Error = QStringLiteral("%1 needs a value").arg(a);
                return p;
            }
            const QString value = args[i + 1];
            if (a == u"--ini") {
                p.Ini = value;
            } else if (a == u"-o") {
                p.Output = value;
            } else {
                std::int64_t g = 0;
                if (!ParseInt(value, 0, GainRowCount - 1, g)) {
                    p.Error = QStringLiteral("--gain needs a gain row 0..%1").arg(GainRowCount - 1);
                    return p;
                }
                p.Gain = static_cast<int>(g);
            }
            i += 2;
        } else if (a == u"--visirs") {
            if (i + 2 >= args.size() || !ParseWord(args[i + 1], p.Visir1) ||
                !ParseWord(args[i + 2], p.Visir2)) {
                p.Error = QStringLiteral("--visirs needs two sweep codes 0..65535");
                return p;
            }
            p.HasVisirs = true;
            i += 3;
        } else if (a == u"--json") {
            p.Json = true;
            i += 1;
        } else if (IsOptionLike(a)) {
            p.Error = QStringLiteral("unknown option %1").arg(a);
            return p;
        } else if (p.Input.isEmpty()) {
            p.Input = a;
            i += 1;
        } else {
            TOp op{};
            if (!ParseOp(args, i, op, p.Error))
                return p;
            p.Ops.push_back(op);
        }
    }
    if (p.Input.isEmpty())
        p.Error = QStringLiteral("one spectrum file expected");
    else if (p.Ops.empty())
        p.Error = QStringLiteral("at least one operation expected");
    return p;
}

// Applies one operation through the actions; false, with the warning, when
// the action refused for a missing visir.
bool ApplyOp(const TOp& op, TKavCfg& cfg, TProcessingActions& actions, TToolView& view,
             QString& warning) {
    view.Warning.clear();
    switch (op.Kind) {
    case TOpKind::Filter:
        cfg.LPFConst = op.Value;
        actions.AFilterExecute();
        return true;
    case TOpKind::Gliss:
        cfg.GlissConst = op.Value;
        actions.AGlissExecute();
        return true;
    case TOpKind::Dpph:
        // Its warning is the reminder where visir 1 must stand, not a refusal.
        actions.ACalcFrecDFPGExecute();
        return true;
    case TOpKind::Equalize:
        actions.AEqualizeExecute();
        break;
    case TOpKind::Integrate:
        actions.AIntegrExecute();
        break;
    case TOpKind::MinMax:
        cfg.FindMaxNoise = op.Noise;
        cfg.FindMaxStep = op.Step;
        actions.AMinMaxExecute();
        break;
    case TOpKind::Ratio:
        cfg.FindMaxNoise = op.Noise;
        cfg.FindMaxStep = op.Step;
        actions.ADivisionExecute();
        break;
    }
    warning = view.Warning;
    return warning.isEmpty();
}

// The instrument's serial and program numbers, the summation count and the
// real-time filter of the input file, so that a processed copy keeps them.
void KeepFileReadings(const TPointTable& store, TKavCfg& cfg, TInstrumentReadings& readings) {
    for (const TPointSlot& slot : store) {
        switch (slot.Y) {
        case ParSerial:
            readings.InstrumentSerial = static_cast<std::uint8_t>(slot.X);
            break;
        case ParProgram:
            readings.InstrumentProgram = static_cast<std::uint8_t>(slot.X);
            break;
        case ParSumCount:
            readings.SumCount = slot.X;
            break;
        case ParFilter:
            cfg.EnableRTLPF = slot.X != 0;
            if (slot.X != 0)
                cfg.RTLPFConst = slot.X;
            break;
        default:
            break;
        }
    }
}

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

TReport BuildReport(const TProcessArgs& p, const TPointTable& store, const TKavCfg& cfg,
                    const TSpectrumResults& r, const TValueFormat& format, QChar sep) {
    TReport report;
    QJsonObject& json = report.Json;
    json["file"] = p.Input;
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
    const TProcessArgs p = ParseProcessArgs(args);
    if (!p.Error.isEmpty())
        return UsageError(Command, p.Error);

    TKavCfg cfg;
    QString error;
    if (!LoadToolSettings(cfg, p.Ini, &error) ||
        !CheckUnitSelection(cfg, p.Ini, {"RazvUnit", "AmpUnit"}, &error))
        return Fail(error);

    const QChar sep = SystemDecimalSep();
    auto store = std::make_unique<TPointTable>();
    auto undo = std::make_unique<TPointTable>();
    TInstrumentReadings readings;
    TSpectrumResults results;
    TNullSpectrumView spectrumView;
    TSpectrumSession session{*store, *undo, cfg, readings, results, spectrumView, sep};
    const TOpenResult opened = OpenSpectrum(session, p.Input);
    if (opened.Outcome == TLoadOutcome::NotFound)
        return Fail(QStringLiteral("file \"%1\" not found").arg(p.Input));
    if (opened.Outcome == TLoadOutcome::Failed)
        return Fail(opened.Error);
    KeepFileReadings(*store, cfg, readings);

    if (p.Gain >= 0)
        cfg.Amplifying = static_cast<std::uint8_t>(p.Gain);
    if (p.HasVisirs) {
        cfg.Visir1 = cfg.Visir2 = true;
        cfg.VisKoord1 = p.Visir1;
        cfg.VisKoord2 = p.Visir2;
    }

    TToolView view;
    TProcessingActions actions(*store, *undo, cfg, results, view, sep);
    for (const TOp& op : p.Ops) {
        QString warning;
        if (!ApplyOp(op, cfg, actions, view, warning))
            return Fail(op.Text + QStringLiteral(": ") + warning);
    }

    if (!p.Output.isEmpty() && !SaveSpectrumAs(session, p.Output, &error))
        return Fail(error);

    const TValueFormat format(cfg, sep);
    const TReport report = BuildReport(p, *store, cfg, results, format, sep);
    if (p.Json)
        PrintLine(QString::fromUtf8(QJsonDocument(report.Json).toJson(QJsonDocument::Indented))
                      .trimmed());
    else
        PrintLine(report.Lines.join(u'\n'));
    return ExitOk;
}
