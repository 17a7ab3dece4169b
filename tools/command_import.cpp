// kavtool import FILE.tsv -o FILE.kav: a spectrum from lines of
// "code<TAB>amplitude code".

#include "tools/kavtool.h"

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

int RunImport(const QStringList& args) {
    const TParsedArgs parsed = ParseArgs(args, {QStringLiteral("-o")});
    if (!parsed.Error.isEmpty())
        return UsageError("import", parsed.Error);
    const auto out = parsed.Options.find(QStringLiteral("-o"));
    if (parsed.Positional.size() != 1 || out == parsed.Options.end())
        return UsageError("import", QStringLiteral("one input file and -o FILE.kav expected"));
    const QString inPath = parsed.Positional[0];
    const QString outPath = out->second;

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
