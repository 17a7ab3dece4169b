// kavtool import IN.(DSC|csv|txt|tsv) -o OUT.kav [--ini Kav.ini] [--gain INDEX]:
// a spectrum from another program's BES3T data set or two-column text of
// field and amplitude, mapped through the ini file's calibration, or from
// lines of "code<TAB>amplitude code" (.tsv).

#include "tools/kavtool.h"

#include "exchange/spectrum_export.h"
#include "exchange/spectrum_import.h"
#include "link/instrument_tables.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"

#include <QFile>
#include <memory>
#include <vector>

namespace {

bool ParseWord(QStringView text, int high, int& value) {
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok || v < 0 || v > high)
        return false;
    value = static_cast<int>(v);
    return true;
}

} // namespace

namespace {

// A BES3T data set or two-column text through the settings' calibration.
int ImportExchangeFile(const QString& inPath, const QString& outPath, const TParsedArgs& parsed) {
    const auto ini = parsed.Options.find(QStringLiteral("--ini"));
    TKavCfg cfg;
    QString error;
    if (!LoadToolSettings(cfg, ini == parsed.Options.end() ? QString() : ini->second, &error))
        return Fail(error);
    int gainRow = cfg.Amplifying;
    const auto gain = parsed.Options.find(QStringLiteral("--gain"));
    if (gain != parsed.Options.end()) {
        bool ok = false;
        gainRow = gain->second.toInt(&ok);
        if (!ok || gainRow < 0 || gainRow >= GainRowCount)
            return UsageError("import", QStringLiteral("--gain must be 0..%1, not \"%2\"")
                                            .arg(GainRowCount - 1)
                                            .arg(gain->second));
    }
    auto store = std::make_unique<TPointTable>();
    QStringList notes;
    if (!ImportSpectrumFile(inPath, cfg, gainRow, *store, notes, &error))
        return Fail(error);
    for (const QString& note : notes)
        PrintError(QStringLiteral("kavtool: note: ") + note);
    if (!SaveSpectrumFile(outPath, *store, &error))
        return Fail(error);
    return ExitOk;
}

} // namespace

int RunImport(const QStringList& args) {
    const TParsedArgs parsed =
        ParseArgs(args, {QStringLiteral("-o"), QStringLiteral("--ini"), QStringLiteral("--gain")});
    if (!parsed.Error.isEmpty())
        return UsageError("import", parsed.Error);
    const auto out = parsed.Options.find(QStringLiteral("-o"));
    if (parsed.Positional.size() != 1 || out == parsed.Options.end())
        return UsageError("import", QStringLiteral("one input file and -o FILE.kav expected"));
    const QString inPath = parsed.Positional[0];
    const QString outPath = out->second;
    switch (ExchangeFormatOfPath(inPath)) {
    case TExchangeFormat::Bes3t:
    case TExchangeFormat::Csv:
    case TExchangeFormat::Text:
        return ImportExchangeFile(inPath, outPath, parsed);
    case TExchangeFormat::Tsv:
        break;
    default:
        return UsageError("import", QStringLiteral("the input must be .DSC, .csv, .txt or .tsv"));
    }

    QFile in(inPath);
    if (!in.exists())
        return Fail(QStringLiteral("file \"%1\" not found").arg(inPath));
    if (!in.open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("cannot read \"%1\": %2").arg(inPath, in.errorString()));
    const QString text = QString::fromUtf8(in.readAll());
    in.close();

    auto store = std::make_unique<TPointTable>();
    ClearPoints(*store);
    std::vector<int> lineOfCode(PointSlotCount, 0);
    int lineNumber = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        ++lineNumber;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        const auto fields = line.split(u'\t');
        int code = 0;
        int ampl = 0;
        const QString where = QStringLiteral("%1:%2: ").arg(inPath).arg(lineNumber);
        if (fields.size() != 2)
            return Fail(where + QStringLiteral("expected \"code<TAB>amplitude code\""));
        if (!ParseWord(fields[0], MaxFieldCode, code))
            return Fail(where + QStringLiteral("field code must be 0..%1, not \"%2\"")
                                    .arg(MaxFieldCode)
                                    .arg(fields[0].toString()));
        if (!ParseWord(fields[1], MaxAmplitudeCode, ampl))
            return Fail(where + QStringLiteral("amplitude code must be 0..%1, not \"%2\"")
                                    .arg(MaxAmplitudeCode)
                                    .arg(fields[1].toString()));
        if (lineOfCode[code] != 0)
            return Fail(where + QStringLiteral("field code %1 already given on line %2")
                                    .arg(code)
                                    .arg(lineOfCode[code]));
        lineOfCode[code] = lineNumber;
        (*store)[code] =
            TPointSlot{static_cast<std::uint16_t>(code), static_cast<std::uint16_t>(ampl)};
    }

    QString error;
    if (!SaveSpectrumFile(outPath, *store, &error))
        return Fail(error);
    return ExitOk;
}
