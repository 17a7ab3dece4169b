#include "exchange/text_spectrum.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace {

bool Fail(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

QString ColumnName(const QString& name, const QString& unit) {
    return unit.isEmpty() ? name : QStringLiteral("%1 [%2]").arg(name, unit);
}

// The two fields of a line: split at tabs, else at semicolons, else at
// blanks when that gives two numbers-to-be, else at commas. Where the
// columns are not split at commas, a comma is a decimal separator.
QStringList SplitColumns(const QString& line, bool& commaIsDecimal) {
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    commaIsDecimal = true;
    if (line.contains(u'\t'))
        return line.split(u'\t');
    if (line.contains(u';'))
        return line.split(u';');
    const QStringList words = line.trimmed().split(blanks);
    if (words.size() == 2 && !words[0].endsWith(u',') && !words[1].startsWith(u','))
        return words;
    commaIsDecimal = false;
    return line.split(u',');
}

bool ParseNumber(QString text, bool commaIsDecimal, double& value) {
    if (commaIsDecimal)
        text.replace(u',', u'.');
    return ParseExchangeNumber(text, value);
}

// The two numbers of a data line; false when it is not two numbers.
bool ParseLine(const QString& line, double& field, double& amplitude) {
    bool commaIsDecimal = false;
    const QStringList columns = SplitColumns(line, commaIsDecimal);
    return columns.size() == 2 && ParseNumber(columns[0], commaIsDecimal, field) &&
           ParseNumber(columns[1], commaIsDecimal, amplitude);
}

bool HoldsWords(const QString& line) {
    for (const QChar c : line) {
        if (c.isLetter() && c != u'e' && c != u'E')
            return true;
    }
    return false;
}

} // namespace

QByteArray CsvText(const TExchangeSpectrum& s) {
    QString text = ColumnName(QStringLiteral("field"), s.FieldUnit) + u',' +
                   ColumnName(QStringLiteral("amplitude"), s.AmplitudeUnit) + u'\n';
    const std::size_t n = std::min(s.Field.size(), s.Amplitude.size());
    text.reserve(static_cast<qsizetype>(n * 24));
    for (std::size_t k = 0; k < n; ++k)
        text += ExchangeNumber(s.Field[k]) + u',' + ExchangeNumber(s.Amplitude[k]) + u'\n';
    return text.toUtf8();
}

bool ReadTextSpectrum(const QString& path, TExchangeSpectrum& spectrum, QString* error) {
    const QFileInfo info(path);
    if (!info.exists())
        return Fail(error, QStringLiteral("Файл \"%1\": нет такого файла").arg(path));
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        return Fail(error, QStringLiteral("Не удалось прочитать файл \"%1\": %2")
                               .arg(path, info.isDir() ? QStringLiteral("это каталог")
                                                       : file.errorString()));
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    TExchangeSpectrum read;
    bool headerAllowed = true;
    int lineNumber = 0;
    for (QString line : text.split(u'\n')) {
        ++lineNumber;
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        double field = 0;
        double amplitude = 0;
        if (!ParseLine(trimmed, field, amplitude)) {
            if (headerAllowed && HoldsWords(trimmed)) {
                headerAllowed = false;
                continue;
            }
            const QString shown = trimmed.size() > 60 ? trimmed.left(60) + u'…' : trimmed;
            return Fail(error, QStringLiteral("Файл \"%1\", строка %2: не два числа: \"%3\"")
                                   .arg(path)
                                   .arg(lineNumber)
                                   .arg(shown));
        }
        headerAllowed = false;
        read.Field.push_back(field);
        read.Amplitude.push_back(amplitude);
    }
    if (read.Field.empty())
        return Fail(error, QStringLiteral("Файл \"%1\": в нём нет ни одной точки").arg(path));
    read.Title = info.completeBaseName();
    spectrum = std::move(read);
    return true;
}
