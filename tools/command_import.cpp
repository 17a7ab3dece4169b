// kavtool import IN.(DSC|DTA|csv|txt|dat|asc|tsv) -o OUT.kav [--ini Kav.ini]
// [--gain INDEX] [--absolute] [--any-axis] [--json]: a spectrum from another
// program's BES3T data set or column text of field and amplitude, mapped
// through the ini file's calibration, or from lines of "code<TAB>amplitude
// code" (.tsv).

#include "tools/kavtool.h"

#include "base/instrument_tables.h"
#include "exchange/exchange_input.h"
#include "exchange/message_text.h"
#include "exchange/spectrum_export.h"
#include "exchange/spectrum_import.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <memory>
#include <vector>

namespace {

// The longest .tsv read: 65520 lines of a code and an amplitude code take
// well under a megabyte, even with blanks and blank lines.
constexpr qint64 MaxTsvBytes = qint64(16) << 20;

const QString AbsoluteFlag = QStringLiteral("--absolute");
const QString AnyAxisFlag = QStringLiteral("--any-axis");
const QString JsonFlag = QStringLiteral("--json");

bool ParseWord(QStringView text, int high, int& value) {
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok || v < 0 || v > high)
        return false;
    value = static_cast<int>(v);
    return true;
}

// What the import did, as one JSON object on stdout.
void PrintJson(const QString& in, const QString& out, const TPointTable& store,
               const TImportCounts& counts, const QStringList& notes) {
    int points = 0;
    for (int k = 0; k <= MaxFieldCode; ++k)
        points += IsValidSlot(store[k]) ? 1 : 0;
    QJsonObject json;
    json["input"] = in;
    json["output"] = out;
    json["points"] = points;
    json["scale"] = counts.Scale;
    json["outside"] = counts.Outside;
    json["clipped"] = counts.Clipped;
    json["shared"] = counts.Shared;
    json["notes"] = QJsonArray::fromStringList(notes);
    PrintLine(QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Indented)).trimmed());
}

// A BES3T data set or column text through the settings' calibration.
int ImportExchangeFile(const QString& inPath, const QString& outPath, const TParsedArgs& parsed,
                       const QStringList& flags) {
    const auto ini = parsed.Options.find(QStringLiteral("--ini"));
    TKavCfg cfg;
    QString error;
    if (!LoadToolSettings(cfg, ini == parsed.Options.end() ? QString() : ini->second, &error))
        return Fail(error);
    TImportOptions options;
    options.GainRow = cfg.Amplifying;
    options.AbsoluteScale = flags.contains(AbsoluteFlag);
    options.AnyAxis = flags.contains(AnyAxisFlag);
    const auto gain = parsed.Options.find(QStringLiteral("--gain"));
    if (gain != parsed.Options.end()) {
        bool ok = false;
        options.GainRow = gain->second.toInt(&ok);
        if (!ok || options.GainRow < 0 || options.GainRow >= GainRowCount)
            return UsageError("import", QStringLiteral("--gain must be 0..%1, not \"%2\"")
                                            .arg(GainRowCount - 1)
                                            .arg(ShownText(gain->second)));
    }
    auto store = std::make_unique<TPointTable>();
    QStringList notes;
    TImportCounts counts;
    if (!ImportSpectrumFile(inPath, cfg, options, *store, notes, &error, &counts))
        return Fail(error);
    if (!SaveSpectrumFile(outPath, *store, &error))
        return Fail(error);
    if (flags.contains(JsonFlag)) {
        PrintJson(inPath, outPath, *store, counts, notes);
    } else {
        for (const QString& note : notes)
            PrintError(QStringLiteral("kavtool: note: ") + note);
    }
    return ExitOk;
}

// Lines of "code<TAB>amplitude code".
int ImportCodes(const QString& inPath, const QString& outPath) {
    QByteArray bytes;
    QString error;
    if (!ReadExchangeInput(
            inPath, MaxTsvBytes,
            QCoreApplication::translate("CommandImport", "столько строк кодов в спектре не бывает"),
            bytes, &error))
        return Fail(error);
    const QString text = QString::fromUtf8(bytes);
    const QString shownPath = ShownPath(inPath);

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
        const QString where = QStringLiteral("%1:%2: ").arg(shownPath).arg(lineNumber);
        if (fields.size() != 2)
            return Fail(where + QStringLiteral("expected \"code<TAB>amplitude code\""));
        if (!ParseWord(fields[0], MaxFieldCode, code))
            return Fail(where + QStringLiteral("field code must be 0..%1, not \"%2\"")
                                    .arg(MaxFieldCode)
                                    .arg(ShownText(fields[0])));
        if (!ParseWord(fields[1], MaxAmplitudeCode, ampl))
            return Fail(where + QStringLiteral("amplitude code must be 0..%1, not \"%2\"")
                                    .arg(MaxAmplitudeCode)
                                    .arg(ShownText(fields[1])));
        if (lineOfCode[code] != 0)
            return Fail(where + QStringLiteral("field code %1 already given on line %2")
                                    .arg(code)
                                    .arg(lineOfCode[code]));
        lineOfCode[code] = lineNumber;
        (*store)[code] =
            TPointSlot{static_cast<std::uint16_t>(code), static_cast<std::uint16_t>(ampl)};
    }
    if (!SaveSpectrumFile(outPath, *store, &error))
        return Fail(error);
    return ExitOk;
}

} // namespace

int RunImport(const QStringList& args) {
    // The flags, then the options with values.
    QStringList rest;
    QStringList flags;
    for (const QString& a : args)
        (a == AbsoluteFlag || a == AnyAxisFlag || a == JsonFlag ? flags : rest) << a;
    const TParsedArgs parsed =
        ParseArgs(rest, {QStringLiteral("-o"), QStringLiteral("--ini"), QStringLiteral("--gain")});
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
        return ImportExchangeFile(inPath, outPath, parsed, flags);
    case TExchangeFormat::Tsv:
        if (!flags.isEmpty())
            return UsageError("import",
                              QStringLiteral("%1 does not apply to .tsv codes").arg(flags.front()));
        return ImportCodes(inPath, outPath);
    default:
        return UsageError("import", QStringLiteral("the input must be .DSC, .DTA, .csv, .txt, "
                                                   ".dat, .asc or .tsv"));
    }
}
