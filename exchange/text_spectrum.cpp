#include "exchange/text_spectrum.h"

#include "exchange/exchange_input.h"
#include "exchange/message_text.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <cmath>

namespace {

bool Fail(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

// A CSV field: quoted, with its quotes doubled, when it holds a separator,
// a quote or a line break.
QString CsvField(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString ColumnName(const QString& name, const QString& unit) {
    return CsvField(unit.isEmpty() ? name : QStringLiteral("%1 [%2]").arg(name, unit));
}

enum class TSeparator { Tab, Semicolon, Blanks, Comma };

// How the cells of a line are separated: tabs, else semicolons, else blanks
// when no cell ends or starts with a comma, else commas.
TSeparator SeparatorOf(const QString& line) {
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    if (line.contains(u'\t'))
        return TSeparator::Tab;
    if (line.contains(u';'))
        return TSeparator::Semicolon;
    const QStringList words = line.split(blanks, Qt::SkipEmptyParts);
    if (words.size() >= 2) {
        bool commaAtEdge = false;
        for (const QString& w : words)
            commaAtEdge = commaAtEdge || w.startsWith(u',') || w.endsWith(u',');
        if (!commaAtEdge)
            return TSeparator::Blanks;
    }
    return TSeparator::Comma;
}

// Comma-separated cells, a cell in double quotes holding commas and doubled
// quotes as CSV writes them.
QStringList CommaCells(const QString& line) {
    if (!line.contains(u'"'))
        return line.split(u',');
    QStringList cells{QString()};
    bool quoted = false;
    for (qsizetype k = 0; k < line.size(); ++k) {
        const QChar c = line[k];
        if (c == u'"' && quoted && k + 1 < line.size() && line[k + 1] == u'"') {
            cells.back() += c;
            ++k;
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (c == u',' && !quoted) {
            cells << QString();
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

QStringList Cells(const QString& line, TSeparator separator) {
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    switch (separator) {
    case TSeparator::Tab:
        return line.split(u'\t');
    case TSeparator::Semicolon:
        return line.split(u';');
    case TSeparator::Blanks:
        return line.split(blanks, Qt::SkipEmptyParts);
    case TSeparator::Comma:
        return CommaCells(line);
    }
    return {};
}

bool ParseNumber(QString text, bool commaIsDecimal, double& value) {
    if (commaIsDecimal)
        text.replace(u',', u'.');
    return ParseExchangeNumber(text, value);
}

// The numbers of a line of two or more numeric cells; false for any other
// line. Cells of blanks at the line's end (a trailing tab) are ignored.
bool ParseNumbers(const QString& line, std::vector<double>& numbers, TSeparator& separator) {
    separator = SeparatorOf(line);
    QStringList cells = Cells(line, separator);
    while (!cells.isEmpty() && cells.back().trimmed().isEmpty())
        cells.removeLast();
    if (cells.size() < 2)
        return false;
    numbers.resize(static_cast<std::size_t>(cells.size()));
    for (qsizetype k = 0; k < cells.size(); ++k) {
        if (!ParseNumber(cells[k], separator != TSeparator::Comma,
                         numbers[static_cast<std::size_t>(k)]))
            return false;
    }
    return true;
}

// A column's name and the unit in brackets after it: "Field [mT]" is
// ("field", "mT").
void SplitName(const QString& cell, QString& name, QString& unit) {
    static const QRegularExpression bracket(
        QStringLiteral("^(.*?)\\s*[\\[(]([^\\])]*)[\\])]\\s*$"));
    const QRegularExpressionMatch m = bracket.match(cell.trimmed());
    name = (m.hasMatch() ? m.captured(1) : cell).trimmed().toLower();
    unit = m.hasMatch() ? m.captured(2).trimmed() : QString();
    if (name.startsWith(u'"') && name.endsWith(u'"') && name.size() >= 2)
        name = name.mid(1, name.size() - 2).trimmed();
}

bool IsFieldName(const QString& name) {
    static const QStringList exact = {QStringLiteral("b"), QStringLiteral("b0"),
                                      QStringLiteral("h"), QStringLiteral("x")};
    return exact.contains(name) || name.contains(QStringLiteral("field")) ||
           name.contains(QStringLiteral("поле")) || name.contains(QStringLiteral("gauss"));
}

bool IsIntensityName(const QString& name) {
    static const QStringList parts = {QStringLiteral("intens"), QStringLiteral("amplit"),
                                      QStringLiteral("signal"), QStringLiteral("интенс"),
                                      QStringLiteral("амплит"), QStringLiteral("сигнал")};
    if (name == u"y")
        return true;
    for (const QString& part : parts) {
        if (name.contains(part))
            return true;
    }
    return false;
}

struct TColumnChoice {
    int Field = -1;
    int Amplitude = -1;
    QStringList Units; // the unit of each column, empty where none is named
};

// The field and intensity columns named by a header line of `count` cells,
// split as the data lines are (else as the header itself suggests).
TColumnChoice NamedColumns(const QString& header, int count, TSeparator dataSeparator) {
    TColumnChoice choice;
    for (int k = 0; k < count; ++k)
        choice.Units << QString();
    if (header.isEmpty())
        return choice;
    QStringList cells = Cells(header, dataSeparator);
    if (cells.size() != count)
        cells = Cells(header, SeparatorOf(header));
    if (cells.size() != count)
        return choice;
    for (int k = 0; k < count; ++k) {
        QString name;
        SplitName(cells[k], name, choice.Units[k]);
        if (choice.Field < 0 && IsFieldName(name))
            choice.Field = k;
        else if (choice.Amplitude < 0 && IsIntensityName(name))
            choice.Amplitude = k;
    }
    return choice;
}

// The first column counts 0, 1, 2, ... or 1, 2, 3, ... (rows of `count`
// numbers one after another).
bool IsRunningIndex(const std::vector<double>& cells, std::size_t count) {
    const double first = cells.front();
    if (first != 0 && first != 1)
        return false;
    for (std::size_t row = 0; row * count < cells.size(); ++row) {
        if (cells[row * count] != first + static_cast<double>(row))
            return false;
    }
    return true;
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

bool ParseTextSpectrum(const QByteArray& bytes, const QString& name, TExchangeSpectrum& spectrum,
                       QString* error) {
    const QString shownName = ShownPath(name);
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    // The numbers of the data lines one after another, `count` a line; the
    // header is the last line before them.
    std::vector<double> cells;
    std::size_t count = 0;
    int firstDataLine = 0;
    TSeparator separator = TSeparator::Comma;
    TSeparator dataSeparator = TSeparator::Comma;
    QString header;
    int lineNumber = 0;
    std::vector<double> numbers;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        QString line = text.mid(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        const bool data = ParseNumbers(trimmed, numbers, separator);
        if (!data && count == 0) {
            header = trimmed;
            continue;
        }
        if (!data)
            return Fail(error,
                        QCoreApplication::translate(
                            "TextSpectrum", "Файл \"%1\", строка %2: не строка чисел: \"%3\"")
                            .arg(shownName)
                            .arg(lineNumber)
                            .arg(ShownText(trimmed)));
        if (count == 0) {
            count = numbers.size();
            firstDataLine = lineNumber;
            dataSeparator = separator;
        } else if (numbers.size() != count) {
            return Fail(error, QCoreApplication::translate(
                                   "TextSpectrum", "Файл \"%1\", строка %2: %3 чисел, а в первой "
                                                   "строке данных (%4) их %5")
                                   .arg(shownName)
                                   .arg(lineNumber)
                                   .arg(numbers.size())
                                   .arg(firstDataLine)
                                   .arg(count));
        }
        if (qsizetype(cells.size() / count) >= MaxExchangePoints)
            return Fail(error,
                        QCoreApplication::translate(
                            "TextSpectrum", "Файл \"%1\": больше %2 точек: такого спектра не "
                                            "бывает")
                            .arg(shownName)
                            .arg(MaxExchangePoints));
        cells.insert(cells.end(), numbers.begin(), numbers.end());
    }
    if (count == 0)
        return Fail(error, QCoreApplication::translate("TextSpectrum",
                                                       "Файл \"%1\": в нём нет ни одной точки")
                               .arg(shownName));

    TColumnChoice choice = NamedColumns(header, static_cast<int>(count), dataSeparator);
    if (choice.Field < 0 || choice.Amplitude < 0) {
        if (count == 2) {
            choice.Field = 0;
            choice.Amplitude = 1;
        } else if (IsRunningIndex(cells, count)) {
            choice.Field = static_cast<int>(count) - 2;
            choice.Amplitude = static_cast<int>(count) - 1;
        } else {
            return Fail(error,
                        QCoreApplication::translate(
                            "TextSpectrum", "Файл \"%1\": %2 столбцов чисел, и не понять, какие "
                                            "из них поле и амплитуда (нужен заголовок с field "
                                            "и intensity или номер точки в первом столбце)")
                            .arg(shownName)
                            .arg(count));
        }
    }

    TExchangeSpectrum read;
    const std::size_t points = cells.size() / count;
    read.Field.reserve(points);
    read.Amplitude.reserve(points);
    for (std::size_t row = 0; row < points; ++row) {
        read.Field.push_back(cells[row * count + static_cast<std::size_t>(choice.Field)]);
        read.Amplitude.push_back(cells[row * count + static_cast<std::size_t>(choice.Amplitude)]);
    }
    read.FieldUnit = choice.Units[choice.Field];
    read.AmplitudeUnit = choice.Units[choice.Amplitude];
    spectrum = std::move(read);
    return true;
}

bool ReadTextSpectrum(const QString& path, TExchangeSpectrum& spectrum, QString* error) {
    QByteArray bytes;
    if (!ReadExchangeInput(
            path, MaxTextSpectrumBytes,
            QCoreApplication::translate("TextSpectrum", "такого текстового спектра не бывает"),
            bytes, error))
        return false;
    TExchangeSpectrum read;
    if (!ParseTextSpectrum(bytes, path, read, error))
        return false;
    read.Title = QFileInfo(path).completeBaseName();
    spectrum = std::move(read);
    return true;
}
