// kavtool format field|ampl|area|corr|adc VALUE... [--ini Kav.ini]
// [--gain INDEX]: values as the program shows them.

#include "tools/kavtool.h"

#include "base/instrument_tables.h"
#include "spectrum/value_format.h"

#include <QLocale>
#include <limits>

namespace {

bool ParseInt(const QString& text, qint64 low, qint64 high, qint64& value) {
    bool ok = false;
    value = text.toLongLong(&ok);
    return ok && value >= low && value <= high;
}

// A number with "." or the user's separator.
bool ParseDouble(const QString& text, double& value) {
    bool ok = false;
    value = QLocale::c().toDouble(text, &ok);
    if (!ok)
        value = QLocale::system().toDouble(text, &ok);
    return ok;
}

} // namespace

int RunFormat(const QStringList& args) {
    const TParsedArgs parsed = ParseArgs(args, {QStringLiteral("--ini"), QStringLiteral("--gain")});
    if (!parsed.Error.isEmpty())
        return UsageError("format", parsed.Error);
    if (parsed.Positional.size() < 2)
        return UsageError("format", QStringLiteral("a kind and at least one value expected"));
    const QString kind = parsed.Positional[0];
    const QStringList kinds{"field", "ampl", "area", "corr", "adc"};
    if (!kinds.contains(kind))
        return UsageError("format", QStringLiteral("unknown kind \"%1\"").arg(kind));

    const auto ini = parsed.Options.find(QStringLiteral("--ini"));
    TKavCfg cfg;
    QString error;
    const QString iniPath = ini == parsed.Options.end() ? QString() : ini->second;
    if (!LoadToolSettings(cfg, iniPath, &error))
        return Fail(error);
    const QStringList unitKeys = kind == u"field"  ? QStringList{"RazvUnit"}
                                 : kind == u"ampl" ? QStringList{"AmpUnit"}
                                 : kind == u"area" ? QStringList{"RazvUnit", "AmpUnit"}
                                 : kind == u"corr" ? QStringList{"CorrUnit"}
                                                   : QStringList{"ADCUnit"};
    if (!CheckUnitSelection(cfg, iniPath, unitKeys, &error))
        return Fail(error);
    const auto gain = parsed.Options.find(QStringLiteral("--gain"));
    if (gain != parsed.Options.end()) {
        qint64 row = 0;
        if (!ParseInt(gain->second, 0, GainRowCount - 1, row))
            return UsageError("format", QStringLiteral("--gain takes a row 0..%1, not \"%2\"")
                                            .arg(GainRowCount - 1)
                                            .arg(gain->second));
        cfg.Amplifying = static_cast<std::uint8_t>(row);
    }

    const TValueFormat format(cfg, SystemDecimalSep());
    constexpr qint64 IntLow = std::numeric_limits<std::int32_t>::min();
    constexpr qint64 IntHigh = std::numeric_limits<std::int32_t>::max();
    QStringList lines;
    for (qsizetype i = 1; i < parsed.Positional.size(); ++i) {
        const QString& text = parsed.Positional[i];
        qint64 n = 0;
        double d = 0;
        if (kind == u"field") {
            if (!ParseInt(text, 0, 65535, n))
                return UsageError("format",
                                  QStringLiteral("not a field code 0..65535: \"%1\"").arg(text));
            lines << format.FieldToStr(static_cast<std::uint16_t>(n));
        } else if (kind == u"area") {
            if (!ParseDouble(text, d))
                return UsageError("format", QStringLiteral("not a number: \"%1\"").arg(text));
            lines << format.AreaToStr(d);
        } else {
            if (!ParseInt(text, IntLow, IntHigh, n))
                return UsageError("format",
                                  QStringLiteral("not a 32-bit integer: \"%1\"").arg(text));
            const auto code = static_cast<std::int32_t>(n);
            lines << (kind == u"ampl"   ? format.AmplToStr(code)
                      : kind == u"corr" ? format.CorrToStr(code)
                                        : format.ADCToStr(code));
        }
    }
    for (const QString& line : lines)
        PrintLine(line);
    return ExitOk;
}
