#include "tools/processing_run.h"

#include "base/instrument_tables.h"
#include "processing/processing_actions.h"
#include "processing/processing_view.h"
#include "spectrum/parameter_block.h"

#include <limits>

namespace {

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

bool IsOperationName(const QString& word) {
    for (const char* name :
         {"filter", "gliss", "equalize", "integrate", "minmax", "ratio", "dpph"}) {
        if (word == QLatin1StringView(name))
            return true;
    }
    return false;
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

} // namespace

TProcessingArgs ParseProcessingArgs(const QStringList& args, const QStringList& flags) {
    TProcessingArgs p;
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
        } else if (flags.contains(a)) {
            p.Flags << a;
            i += 1;
        } else if (IsOptionLike(a)) {
            p.Error = QStringLiteral("unknown option %1").arg(a);
            return p;
        } else if (p.Ops.empty() && !IsOperationName(a)) {
            p.Inputs << a;
            i += 1;
        } else {
            TOp op{};
            if (!ParseOp(args, i, op, p.Error))
                return p;
            p.Ops.push_back(op);
        }
    }
    if (p.Error.isEmpty() && p.Inputs.isEmpty())
        p.Error = QStringLiteral("a spectrum file expected");
    return p;
}

QString TSelectorView::GainText() const {
    return GainRow >= 0 && GainRow < GainRowCount ? QString::fromUtf8(GainTable[GainRow].Name)
                                                  : QString();
}

QString TSelectorView::SpeedText() const {
    // In the language of the messages, as the window's selector shows it.
    return SpeedName(SpeedRow);
}

bool LoadProcessingSettings(const TProcessingArgs& p, TKavCfg& settings, QString* error) {
    return LoadToolSettings(settings, p.Ini, error) &&
           CheckUnitSelection(settings, p.Ini, {"RazvUnit", "AmpUnit"}, error);
}

bool OpenAndProcess(const TProcessingArgs& p, const QString& input, const TKavCfg& settings,
                    TProcessedSpectrum& s, QString* error) {
    s.Cfg = settings;
    // The tables are made for this file: it is read into them directly.
    const TOpenResult opened = OpenSpectrumInPlace(s.Session, input);
    if (opened.Outcome == TLoadOutcome::NotFound) {
        *error = QStringLiteral("file \"%1\" not found").arg(input);
        return false;
    }
    if (opened.Outcome == TLoadOutcome::Failed) {
        *error = opened.Error;
        return false;
    }
    KeepFileReadings(*s.Store, s.Cfg, s.Readings);

    if (p.Gain >= 0) {
        s.Cfg.Amplifying = static_cast<std::uint8_t>(p.Gain);
        s.Selectors.GainRow = p.Gain;
    }
    if (p.HasVisirs) {
        s.Cfg.Visir1 = s.Cfg.Visir2 = true;
        s.Cfg.VisKoord1 = p.Visir1;
        s.Cfg.VisKoord2 = p.Visir2;
    }

    TToolView view;
    TProcessingActions actions(*s.Store, *s.Undo, s.Cfg, s.Results, view, s.DecimalSep);
    for (const TOp& op : p.Ops) {
        QString warning;
        if (!ApplyOp(op, s.Cfg, actions, view, warning)) {
            *error = op.Text + QStringLiteral(": ") + warning;
            return false;
        }
    }
    return true;
}

int LoadAndProcess(const TProcessingArgs& p, const QString& input, TProcessedSpectrum& s) {
    TKavCfg settings;
    QString error;
    if (!LoadProcessingSettings(p, settings, &error) ||
        !OpenAndProcess(p, input, settings, s, &error))
        return Fail(error);
    return ExitOk;
}

int StartProcessing(const char* command, const QStringList& args, const QStringList& flags,
                    const QString& extension,
                    const std::function<QString(const TProcessingArgs&)>& check,
                    TProcessingStart& start) {
    TProcessingArgs& p = start.Args;
    p = ParseProcessingArgs(args, flags);
    if (p.Error.isEmpty())
        p.Error = check(p);
    if (p.Error.isEmpty())
        PlanBatch(p.Inputs, p.Output, extension, start.Batch, &p.Error);
    if (!p.Error.isEmpty())
        return UsageError(command, p.Error);
    QString error;
    if (!LoadProcessingSettings(p, start.Settings, &error) || !MakeBatchFolder(start.Batch, &error))
        return Fail(error);
    return ExitOk;
}
