#include "exchange/bes3t_file.h"

#include "base/atomic_file.h"
#include "base/instrument_tables.h"
#include "exchange/ascii_text.h"
#include "exchange/exchange_input.h"
#include "exchange/message_text.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QtEndian>
#include <array>
#include <cmath>

namespace {

// Keys of the standard parameter layer that carry what the spectrometer
// knows and no standard key says (the standard ones: MWFQ, RCAG, AVGS), and
// the checksums that tie the descriptor to its files.
const QString KeyGainRow = QStringLiteral("KAVGAIN");
const QString KeySpeedRow = QStringLiteral("KAVSPEED");
const QString KeySerial = QStringLiteral("KAVSERIAL");
const QString KeyProgram = QStringLiteral("KAVPROGRAM");
const QString KeyScale = QStringLiteral("KAVSCALE");
const QString KeyDataSha = QStringLiteral("KAVDTASHA256");
const QString KeyAxisSha = QStringLiteral("KAVXGFSHA256");

// The time of one sweep of each speed row in seconds (the row names of
// SpeedTable); 0 where the row does not sweep.
constexpr std::array<double, SpeedRowCount> SweepSeconds = {
    30, 240, 0, 128 * 60, 64 * 60, 32 * 60, 16 * 60, 8 * 60, 4 * 60, 2 * 60, 60, 30};

bool Fail(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

QString FileError(const QString& path, const QString& what) {
    return QCoreApplication::translate("Bes3tFile", "Файл \"%1\": %2").arg(ShownPath(path), what);
}

QString WriteError(const QString& path, const QString& reason) {
    return QCoreApplication::translate("Bes3tFile", "Не удалось записать файл \"%1\": %2")
        .arg(ShownPath(path), reason);
}

// A text value of the descriptor: ASCII, in single quotes, which it cannot
// hold.
QString Quoted(const QString& text) {
    QString ascii = AsciiText(text);
    ascii.replace(u'\'', u'"');
    return u'\'' + ascii + u'\'';
}

QByteArray Sha256Hex(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray DoubleBytes(const std::vector<double>& values) {
    QByteArray bytes(static_cast<qsizetype>(values.size() * sizeof(double)), Qt::Uninitialized);
    uchar* out = reinterpret_cast<uchar*>(bytes.data());
    for (std::size_t k = 0; k < values.size(); ++k)
        qToBigEndian<double>(values[k], out + k * sizeof(double));
    return bytes;
}

struct TDescriptorLines {
    QStringList Lines;
    void Key(const QString& name, const QString& value) { Lines << name + u'\t' + value; }
    void Comment(const QString& text = {}) {
        Lines << (text.isEmpty() ? QStringLiteral("*") : QStringLiteral("*\t") + AsciiText(text));
    }
};

void DeviceLayer(TDescriptorLines& d, const TExchangeSpectrum& s) {
    const TMeasurementInfo& info = s.Info;
    const std::size_t n = s.Field.size();
    d.Lines << QStringLiteral("************************************************************")
            << QStringLiteral("*") << QStringLiteral("#DSL\t1.0 * DEVICE-SPECIFIC LAYER");
    d.Comment();
    d.Lines << QStringLiteral(".DVC\tacqStart, 1.0");
    d.Comment();
    d.Lines << QStringLiteral(".DVC\tfieldCtrl, 1.0");
    d.Comment();
    if (n) {
        const auto [low, high] = std::minmax_element(s.Field.begin(), s.Field.end());
        const QString unit = u' ' + AsciiText(s.FieldUnit);
        d.Key(QStringLiteral("CenterField"), ExchangeNumber((*low + *high) / 2) + unit);
        d.Key(QStringLiteral("SweepWidth"), ExchangeNumber(*high - *low) + unit);
        d.Comment();
    }
    if (info.FrequencyHz > 0) {
        d.Lines << QStringLiteral(".DVC\tmwBridge, 1.0");
        d.Comment();
        d.Key(QStringLiteral("Frequency"),
              ExchangeNumber(info.FrequencyHz / 1e9) + QStringLiteral(" GHz"));
        d.Comment();
    }
    // The spectrum is one sweep or the mean of the sweeps summed.
    const int scans = info.SumCount && *info.SumCount > 0 ? *info.SumCount : 1;
    d.Lines << QStringLiteral(".DVC\trecorder, 1.0");
    d.Comment();
    d.Key(QStringLiteral("NbScansAcc"), QString::number(scans));
    d.Key(QStringLiteral("NbScansDone"), QString::number(scans));
    d.Key(QStringLiteral("NbScansToDo"), QString::number(scans));
    d.Comment();
    d.Lines << QStringLiteral(".DVC\tsignalChannel, 1.0");
    d.Comment();
    const double sweep = info.SpeedRow && *info.SpeedRow >= 0 && *info.SpeedRow < SpeedRowCount
                             ? SweepSeconds[static_cast<std::size_t>(*info.SpeedRow)]
                             : 0;
    if (sweep > 0 && n > 0)
        d.Key(QStringLiteral("ConvTime"),
              ExchangeNumber(sweep * 1000 / static_cast<double>(n)) + QStringLiteral(" ms"));
    if (info.ModulationAmplitude > 0)
        d.Key(QStringLiteral("ModAmp"),
              ExchangeNumber(info.ModulationAmplitude) + u' ' + AsciiText(info.ModulationUnit));
    d.Key(QStringLiteral("SctNorm"), QStringLiteral("true"));
    if (sweep > 0)
        d.Key(QStringLiteral("SweepTime"), ExchangeNumber(sweep) + QStringLiteral(" s"));
    d.Comment();
    d.Lines << QStringLiteral("************************************************************");
}

QString DescriptorText(const TExchangeSpectrum& s, const QStringList& comments,
                       const QByteArray& dataSha, const QByteArray& axisSha) {
    const std::size_t n = s.Field.size();
    const double xmin = n ? s.Field.front() : 0;
    const double xwid = n > 1 ? s.Field.back() - s.Field.front() : 0;
    TDescriptorLines d;
    d.Lines << QStringLiteral("#DESC\t1.2 * DESCRIPTOR INFORMATION ***********************");
    d.Comment();
    d.Comment(QStringLiteral("Dataset Type and Format:"));
    d.Comment();
    d.Key(QStringLiteral("DSRC"), QStringLiteral("EXP"));
    d.Key(QStringLiteral("BSEQ"), QStringLiteral("BIG"));
    d.Key(QStringLiteral("IKKF"), QStringLiteral("REAL"));
    d.Key(QStringLiteral("XTYP"), s.Equidistant ? QStringLiteral("IDX") : QStringLiteral("IGD"));
    d.Key(QStringLiteral("YTYP"), QStringLiteral("NODATA"));
    d.Key(QStringLiteral("ZTYP"), QStringLiteral("NODATA"));
    d.Comment();
    d.Comment(QStringLiteral("Item Formats:"));
    d.Comment();
    d.Key(QStringLiteral("IRFMT"), QStringLiteral("D"));
    if (!s.Equidistant)
        d.Key(QStringLiteral("XFMT"), QStringLiteral("D"));
    d.Comment();
    d.Comment(QStringLiteral("Data Ranges and Resolutions:"));
    d.Comment();
    d.Key(QStringLiteral("XPTS"), QString::number(n));
    d.Key(QStringLiteral("XMIN"), ExchangeNumber(xmin));
    d.Key(QStringLiteral("XWID"), ExchangeNumber(xwid));
    d.Comment();
    d.Comment(QStringLiteral("Documentational Text:"));
    d.Comment();
    d.Key(QStringLiteral("TITL"), Quoted(s.Title));
    d.Key(QStringLiteral("IRNAM"), Quoted(QStringLiteral("Intensity")));
    d.Key(QStringLiteral("XNAM"), Quoted(QStringLiteral("Field")));
    d.Key(QStringLiteral("IRUNI"), Quoted(s.AmplitudeUnit));
    d.Key(QStringLiteral("XUNI"), Quoted(s.FieldUnit));
    d.Comment();
    for (const QString& comment : comments)
        d.Comment(comment);
    d.Lines << QStringLiteral("************************************************************");
    d.Comment();
    d.Lines << QStringLiteral("#SPL\t1.2 * STANDARD PARAMETER LAYER");
    d.Comment();
    d.Comment(QStringLiteral("The data are divided by the gain (RCAG 0: no receiver gain left to "
                             "remove) and are the mean"));
    d.Comment(QStringLiteral("of the AVGS sweeps summed (SctNorm true)."));
    d.Comment(QStringLiteral("Kav7 keys: KAVGAIN gain row 0..7 (factor 1, 2, 5, 10, 20, 50, 100, "
                             "200) the amplitudes are divided by,"));
    d.Comment(QStringLiteral("KAVSPEED sweep speed row 0..11, KAVSERIAL and KAVPROGRAM the "
                             "spectrometer's serial and program"));
    d.Comment(QStringLiteral("numbers, KAVSCALE the 1-2-5 step of the factor an import multiplied "
                             "the amplitudes by, divided"));
    d.Comment(QStringLiteral("out again here; KAVDTASHA256 and KAVXGFSHA256 the SHA-256 of the "
                             ".DTA and .XGF files."));
    d.Comment();
    d.Key(QStringLiteral("EXPT"), QStringLiteral("CW"));
    const TMeasurementInfo& info = s.Info;
    if (info.FrequencyHz > 0)
        d.Key(QStringLiteral("MWFQ"), ExchangeNumber(info.FrequencyHz));
    d.Key(QStringLiteral("AVGS"), QString::number(info.SumCount ? *info.SumCount : 1));
    d.Key(QStringLiteral("RCAG"), QStringLiteral("0"));
    if (info.GainRow)
        d.Key(KeyGainRow, QString::number(*info.GainRow));
    if (info.SpeedRow)
        d.Key(KeySpeedRow, QString::number(*info.SpeedRow));
    if (info.Serial)
        d.Key(KeySerial, QString::number(*info.Serial));
    if (info.Program)
        d.Key(KeyProgram, QString::number(*info.Program));
    if (info.ScaleStep)
        d.Key(KeyScale, QString::number(*info.ScaleStep));
    d.Key(KeyDataSha, u'\'' + QString::fromLatin1(dataSha) + u'\'');
    if (!axisSha.isEmpty())
        d.Key(KeyAxisSha, u'\'' + QString::fromLatin1(axisSha) + u'\'');
    d.Comment();
    DeviceLayer(d, s);
    return d.Lines.join(u'\n') + u'\n';
}

// The descriptor's keys: those of the descriptor part and of the standard
// parameter layer (device layers are not read), the first of each name.
// A value may go on over lines that end with a backslash.
QHash<QString, QString> ParseKeys(const QString& text) {
    QHash<QString, QString> keys;
    bool reading = true;
    QString logical;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        QStringView line = QStringView(text).mid(start, end - start);
        start = end + 1;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.endsWith(u'\\')) {
            logical += line.chopped(1);
            continue;
        }
        logical += line;
        const QString trimmed = logical.trimmed();
        logical.clear();
        if (trimmed.startsWith(u'#')) {
            reading = trimmed.startsWith(QStringLiteral("#DESC")) ||
                      trimmed.startsWith(QStringLiteral("#SPL"));
            continue;
        }
        if (!reading || trimmed.isEmpty() || trimmed.startsWith(u'*'))
            continue;
        qsizetype gap = 0;
        while (gap < trimmed.size() && !trimmed[gap].isSpace())
            ++gap;
        const QString name = trimmed.left(gap);
        if (!keys.contains(name))
            keys.insert(name, trimmed.mid(gap).trimmed());
    }
    return keys;
}

QString Unquoted(const QString& value) {
    if (value.size() >= 2 && value.startsWith(u'\'') && value.endsWith(u'\''))
        return value.mid(1, value.size() - 2);
    return value;
}

std::optional<int> IntKey(const QHash<QString, QString>& keys, const QString& name) {
    bool ok = false;
    const int v = keys.value(name).toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

// A checksum key's value: 64 hex digits in quotes, lower case; empty for
// anything else.
QByteArray ShaKey(const QHash<QString, QString>& keys, const QString& name) {
    const QString value = Unquoted(keys.value(name).trimmed()).toLower();
    static const QString hex = QStringLiteral("0123456789abcdef");
    if (value.size() != 64)
        return {};
    for (const QChar c : value) {
        if (!hex.contains(c))
            return {};
    }
    return value.toLatin1();
}

bool ItemFormat(const QString& code, char& format, int& size) {
    static const struct {
        char Code;
        int Size;
    } formats[] = {{'D', 8}, {'F', 4}, {'I', 4}, {'S', 2}, {'C', 1}};
    const QString f = code.trimmed().toUpper();
    if (f.size() != 1)
        return false;
    for (const auto& candidate : formats) {
        if (f[0] == QLatin1Char(candidate.Code)) {
            format = candidate.Code;
            size = candidate.Size;
            return true;
        }
    }
    return false;
}

double ItemValue(const uchar* p, char format, bool big) {
    switch (format) {
    case 'D':
        return big ? qFromBigEndian<double>(p) : qFromLittleEndian<double>(p);
    case 'F':
        return big ? qFromBigEndian<float>(p) : qFromLittleEndian<float>(p);
    case 'I':
        return big ? qFromBigEndian<qint32>(p) : qFromLittleEndian<qint32>(p);
    case 'S':
        return big ? qFromBigEndian<qint16>(p) : qFromLittleEndian<qint16>(p);
    default:
        return static_cast<qint8>(p[0]);
    }
}

// The values of a file of `count` items; false (naming the file) for a
// size that is not exactly theirs or a value that is not a finite number.
bool Items(const QByteArray& bytes, qsizetype count, char format, int size, bool big,
           const QString& name, const QString& what, std::vector<double>& values, QString* error) {
    const qint64 need = qint64(count) * size;
    if (bytes.size() != need)
        return Fail(error, FileError(name, QCoreApplication::translate(
                                               "Bes3tFile", "в нём %1 байт, а %2 %3 формата %4 "
                                                            "занимают ровно %5 байт")
                                               .arg(bytes.size())
                                               .arg(count)
                                               .arg(what)
                                               .arg(QLatin1Char(format))
                                               .arg(need)));
    values.resize(static_cast<std::size_t>(count));
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    for (qsizetype k = 0; k < count; ++k) {
        const double v = ItemValue(p + k * size, format, big);
        if (!std::isfinite(v))
            return Fail(
                error,
                FileError(
                    name,
                    QCoreApplication::translate("Bes3tFile", "значение %1 не число").arg(k + 1)));
        values[static_cast<std::size_t>(k)] = v;
    }
    return true;
}

// The file beside `path` with the same base name and the extension `suffix`
// in any case: the one in the case of `path`'s own extension first.
QString Sibling(const QString& path, const QString& suffix) {
    const QFileInfo info(path);
    const QString base = info.completeBaseName();
    const bool lower = !info.suffix().isEmpty() && info.suffix().front().isLower();
    const QString preferred = base + u'.' + (lower ? suffix.toLower() : suffix.toUpper());
    const QDir dir = info.dir();
    if (QFileInfo::exists(dir.filePath(preferred)) ||
        QFileInfo(dir.filePath(preferred)).isSymLink())
        return dir.filePath(preferred);
    const QStringList entries =
        dir.entryList(QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.size() == base.size() + 1 + suffix.size() && entry.startsWith(base) &&
            entry[base.size()] == u'.' &&
            entry.mid(base.size() + 1).compare(suffix, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return dir.filePath(preferred);
}

bool IsSuffix(const QString& path, const char* suffix) {
    return QFileInfo(path).suffix().compare(QLatin1String(suffix), Qt::CaseInsensitive) == 0;
}

// Restores a file to what it held before (removes it when it did not exist).
bool PutBack(const QString& path, bool existed, const QByteArray& previous, QString* reason) {
    if (existed)
        return WriteFileAtomically(path, previous, reason);
    if (QFile::remove(path) || !QFileInfo::exists(path))
        return true;
    if (reason)
        *reason = QCoreApplication::translate("Bes3tFile", "не удалён");
    return false;
}

// What a file held before a write, to put back if the write of the pair
// fails; false (with the reason) when it exists and cannot be read.
bool Remember(const QString& path, bool& existed, QByteArray& bytes, QString* error) {
    existed = QFileInfo(path).isFile();
    if (!existed)
        return true;
    // A file the export itself would write: a .kav holds at most 65520
    // points, a descriptor is smaller than its bound.
    return ReadExchangeInput(
        path, std::max<qint64>(MaxExchangePoints * 8, MaxBes3tDescriptorBytes),
        QCoreApplication::translate("Bes3tFile", "его не сохранить для возврата"), bytes, error);
}

} // namespace

TBes3tPaths Bes3tPaths(const QString& path) {
    if (IsSuffix(path, "dsc") || IsSuffix(path, "dta")) {
        const QString base = path.left(path.size() - 3);
        const bool lower = QFileInfo(path).suffix().front().isLower();
        return {base + (lower ? QStringLiteral("dsc") : QStringLiteral("DSC")),
                base + (lower ? QStringLiteral("dta") : QStringLiteral("DTA")),
                base + (lower ? QStringLiteral("xgf") : QStringLiteral("XGF"))};
    }
    return {path + QStringLiteral(".DSC"), path + QStringLiteral(".DTA"),
            path + QStringLiteral(".XGF")};
}

bool WriteBes3t(const QString& path, const TExchangeSpectrum& spectrum, const QStringList& comments,
                QString* error) {
    const TBes3tPaths paths = Bes3tPaths(path);
    const QByteArray data = DoubleBytes(spectrum.Amplitude);
    const QByteArray axis = spectrum.Equidistant ? QByteArray() : DoubleBytes(spectrum.Field);
    const QByteArray descriptor =
        DescriptorText(spectrum, comments, Sha256Hex(data),
                       spectrum.Equidistant ? QByteArray() : Sha256Hex(axis))
            .toLatin1();

    // What the data and axis files held, to put back if the descriptor fails.
    bool hadData = false;
    bool hadAxis = false;
    QByteArray previousData;
    QByteArray previousAxis;
    if (!Remember(paths.Dta, hadData, previousData, error))
        return false;
    if (!spectrum.Equidistant && !Remember(paths.Xgf, hadAxis, previousAxis, error))
        return false;

    QString reason;
    if (!spectrum.Equidistant && !WriteFileAtomically(paths.Xgf, axis, &reason))
        return Fail(error, WriteError(paths.Xgf, reason));
    if (!WriteFileAtomically(paths.Dta, data, &reason)) {
        QString text = WriteError(paths.Dta, reason);
        if (!spectrum.Equidistant && !PutBack(paths.Xgf, hadAxis, previousAxis, &reason))
            text += QCoreApplication::translate(
                        "Bes3tFile", "; файл оси \"%1\" уже записан заново и не возвращён: %2")
                        .arg(ShownPath(paths.Xgf), reason);
        return Fail(error, text);
    }
    if (WriteFileAtomically(paths.Dsc, descriptor, &reason)) {
        // An axis file of an earlier export would only mislead.
        if (spectrum.Equidistant && QFileInfo(paths.Xgf).isFile())
            QFile::remove(paths.Xgf);
        return true;
    }

    QString text = WriteError(paths.Dsc, reason);
    QString restoreReason;
    if (!PutBack(paths.Dta, hadData, previousData, &restoreReason))
        text += QCoreApplication::translate(
                    "Bes3tFile", "; файл данных \"%1\" уже записан заново и не возвращён: %2")
                    .arg(ShownPath(paths.Dta), restoreReason);
    if (!spectrum.Equidistant && !PutBack(paths.Xgf, hadAxis, previousAxis, &restoreReason))
        text += QCoreApplication::translate(
                    "Bes3tFile", "; файл оси \"%1\" уже записан заново и не возвращён: %2")
                    .arg(ShownPath(paths.Xgf), restoreReason);
    return Fail(error, text);
}

bool ParseBes3tDescriptor(const QByteArray& bytes, const QString& name, TBes3tLayout& layout,
                          QString* error) {
    // Descriptors are ASCII; an older one may hold UTF-8 or Latin-1 texts.
    QString text = QString::fromUtf8(bytes);
    if (text.contains(QChar::ReplacementCharacter))
        text = QString::fromLatin1(bytes);
    const QHash<QString, QString> keys = ParseKeys(text);
    const auto value = [&](const char* key) { return keys.value(QLatin1String(key)).trimmed(); };
    const auto shown = [&](const char* key) {
        return value(key).isEmpty() ? QCoreApplication::translate("Bes3tFile", "(нет)")
                                    : ShownText(value(key));
    };
    const auto fail = [&](const QString& what) { return Fail(error, FileError(name, what)); };

    if (!keys.contains(QStringLiteral("XPTS")))
        return fail(QCoreApplication::translate(
            "Bes3tFile", "это не описание набора данных BES3T (нет ключа XPTS)"));
    const QString ikkf = value("IKKF").toUpper();
    if (!ikkf.isEmpty() && ikkf != u"REAL")
        return fail(QCoreApplication::translate(
                        "Bes3tFile", "комплексные или многокомпонентные данные (IKKF %1) не "
                                     "поддерживаются, нужны IKKF REAL")
                        .arg(shown("IKKF")));
    for (const char* axis : {"YTYP", "ZTYP"}) {
        const QString type = value(axis).toUpper();
        if (!type.isEmpty() && type != u"NODATA")
            return fail(QCoreApplication::translate(
                            "Bes3tFile", "многомерный набор данных (%1 %2) не поддерживается, "
                                         "нужен одномерный спектр")
                            .arg(QLatin1String(axis), shown(axis)));
    }
    TBes3tLayout read;
    const QString xtyp = value("XTYP").toUpper();
    if (xtyp != u"IDX" && xtyp != u"IGD")
        return fail(QCoreApplication::translate(
                        "Bes3tFile", "ось XTYP %1 не поддерживается, нужна XTYP IDX или IGD")
                        .arg(shown("XTYP")));
    read.IndexAxis = xtyp == u"IDX";
    if (!ItemFormat(value("IRFMT"), read.Format, read.ItemSize))
        return fail(
            QCoreApplication::translate(
                "Bes3tFile", "неизвестный формат значений IRFMT %1 (известны D, F, I, S, C)")
                .arg(shown("IRFMT")));
    if (!read.IndexAxis && !value("XFMT").isEmpty() &&
        !ItemFormat(value("XFMT"), read.AxisFormat, read.AxisItemSize))
        return fail(QCoreApplication::translate(
                        "Bes3tFile", "неизвестный формат оси XFMT %1 (известны D, F, I, S, C)")
                        .arg(shown("XFMT")));
    const QString bseq = value("BSEQ").toUpper();
    if (!bseq.isEmpty() && bseq != u"BIG" && bseq != u"LIT")
        return fail(QCoreApplication::translate(
                        "Bes3tFile", "неизвестный порядок байт BSEQ %1 (известны BIG и LIT)")
                        .arg(shown("BSEQ")));
    read.BigEndian = bseq != u"LIT";
    bool ok = false;
    const qlonglong points = value("XPTS").toLongLong(&ok);
    if (!ok || points < 1 || points > MaxExchangePoints)
        return fail(QCoreApplication::translate("Bes3tFile", "XPTS %1 не число точек от 1 до %2")
                        .arg(shown("XPTS"))
                        .arg(MaxExchangePoints));
    read.Points = static_cast<qsizetype>(points);
    if (read.IndexAxis) {
        if (!ParseExchangeNumber(value("XMIN"), read.XMin))
            return fail(
                QCoreApplication::translate("Bes3tFile", "XMIN %1 не число").arg(shown("XMIN")));
        if (!ParseExchangeNumber(value("XWID"), read.XWid))
            return fail(
                QCoreApplication::translate("Bes3tFile", "XWID %1 не число").arg(shown("XWID")));
    }
    read.FieldUnit = Unquoted(value("XUNI"));
    read.AmplitudeUnit = Unquoted(value("IRUNI"));
    read.Title = Unquoted(value("TITL"));
    double frequency = 0;
    if (ParseExchangeNumber(value("MWFQ"), frequency) && frequency > 0)
        read.Info.FrequencyHz = frequency;
    read.Info.GainRow = IntKey(keys, KeyGainRow);
    read.Info.SpeedRow = IntKey(keys, KeySpeedRow);
    read.Info.Serial = IntKey(keys, KeySerial);
    read.Info.Program = IntKey(keys, KeyProgram);
    read.Info.SumCount = IntKey(keys, QStringLiteral("AVGS"));
    read.Info.ScaleStep = IntKey(keys, KeyScale);
    read.DataSha256 = ShaKey(keys, KeyDataSha);
    read.AxisSha256 = ShaKey(keys, KeyAxisSha);
    layout = std::move(read);
    return true;
}

bool DecodeBes3tData(const TBes3tLayout& layout, const QByteArray& data, const QByteArray& axis,
                     const QString& dataName, const QString& axisName, TExchangeSpectrum& spectrum,
                     QString* error) {
    // A descriptor that records its files' checksums was written with them;
    // other files beside it are the remains of an interrupted save.
    const auto mismatch = [&](const QString& name) {
        return Fail(error, FileError(name, QCoreApplication::translate(
                                               "Bes3tFile", "не тот файл, что описан рядом (его "
                                                            "SHA-256 не совпадает с записанной в "
                                                            "описании): запись набора была "
                                                            "прервана или файлы перепутаны")));
    };
    TExchangeSpectrum read;
    if (!Items(data, layout.Points, layout.Format, layout.ItemSize, layout.BigEndian, dataName,
               QCoreApplication::translate("Bes3tFile", "значений (XPTS) IRFMT"), read.Amplitude,
               error))
        return false;
    if (!layout.DataSha256.isEmpty() && Sha256Hex(data) != layout.DataSha256)
        return mismatch(dataName);
    if (layout.IndexAxis) {
        read.Field.resize(static_cast<std::size_t>(layout.Points));
        for (qsizetype k = 0; k < layout.Points; ++k)
            read.Field[static_cast<std::size_t>(k)] =
                layout.Points == 1 ? layout.XMin
                                   : layout.XMin + layout.XWid * static_cast<double>(k) /
                                                       static_cast<double>(layout.Points - 1);
        if (!std::isfinite(read.Field.back()))
            return Fail(error, FileError(dataName, QCoreApplication::translate(
                                                       "Bes3tFile", "ось XMIN %1, XWID %2 выходит "
                                                                    "за пределы чисел")
                                                       .arg(layout.XMin)
                                                       .arg(layout.XWid)));
    } else {
        if (!Items(axis, layout.Points, layout.AxisFormat, layout.AxisItemSize, layout.BigEndian,
                   axisName, QCoreApplication::translate("Bes3tFile", "значений оси (XPTS) XFMT"),
                   read.Field, error))
            return false;
        if (!layout.AxisSha256.isEmpty() && Sha256Hex(axis) != layout.AxisSha256)
            return mismatch(axisName);
    }
    read.FieldUnit = layout.FieldUnit;
    read.AmplitudeUnit = layout.AmplitudeUnit;
    read.Title = layout.Title;
    read.Info = layout.Info;
    read.Equidistant = layout.IndexAxis;
    spectrum = std::move(read);
    return true;
}

bool ReadBes3t(const QString& path, TExchangeSpectrum& spectrum, QString* error) {
    const QString dsc = IsSuffix(path, "dsc") ? path : Sibling(path, QStringLiteral("DSC"));
    QByteArray descriptor;
    if (!ReadExchangeInput(dsc, MaxBes3tDescriptorBytes,
                           QCoreApplication::translate(
                               "Bes3tFile", "такого описания набора данных BES3T не бывает"),
                           descriptor, error))
        return false;
    TBes3tLayout layout;
    if (!ParseBes3tDescriptor(descriptor, dsc, layout, error))
        return false;

    // Each file is read up to the size the descriptor gives it, so a longer
    // one is refused without being read.
    const QString dta = IsSuffix(path, "dta") ? path : Sibling(dsc, QStringLiteral("DTA"));
    const QString tooLong = QCoreApplication::translate(
                                "Bes3tFile", "в нём больше значений, чем XPTS %1 в описании \"%2\"")
                                .arg(layout.Points)
                                .arg(ShownPath(dsc));
    QByteArray data;
    if (!ReadExchangeInput(dta, layout.DataBytes(), tooLong, data, error))
        return false;
    QString xgf;
    QByteArray axis;
    if (!layout.IndexAxis) {
        xgf = Sibling(dsc, QStringLiteral("XGF"));
        if (!ReadExchangeInput(xgf, layout.AxisBytes(), tooLong, axis, error))
            return false;
    }
    return DecodeBes3tData(layout, data, axis, dta, xgf, spectrum, error);
}
