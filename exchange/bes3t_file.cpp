#include "exchange/bes3t_file.h"

#include "link/instrument_tables.h"
#include "spectrum/atomic_file.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QtEndian>
#include <cmath>
#include <cstring>

namespace {

// Keys of the standard parameter layer that carry what the spectrometer
// knows and no standard key says exactly (the standard ones: MWFQ, RCAG,
// AVGS).
const QString KeyGainRow = QStringLiteral("KAVGAIN");
const QString KeySpeedRow = QStringLiteral("KAVSPEED");
const QString KeySerial = QStringLiteral("KAVSERIAL");
const QString KeyProgram = QStringLiteral("KAVPROGRAM");

bool Fail(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

QString FileError(const QString& path, const QString& what) {
    return QStringLiteral("Файл \"%1\": %2").arg(path, what);
}

QString WriteError(const QString& path, const QString& reason) {
    return QStringLiteral("Не удалось записать файл \"%1\": %2").arg(path, reason);
}

// A text value of the descriptor: in single quotes, which it cannot hold.
QString Quoted(QString text) {
    text.replace(u'\'', u'"');
    text.replace(u'\n', u' ');
    return u'\'' + text + u'\'';
}

QString DescriptorText(const TExchangeSpectrum& s, const QStringList& comments) {
    const std::size_t n = s.Field.size();
    const double xmin = n ? s.Field.front() : 0;
    const double xwid = n > 1 ? s.Field.back() - s.Field.front() : 0;
    QStringList lines;
    const auto key = [&](const QString& name, const QString& value) {
        lines << name + u'\t' + value;
    };
    lines << QStringLiteral("#DESC\t1.2 * DESCRIPTOR INFORMATION ***********************")
          << QStringLiteral("*") << QStringLiteral("*\tDataset Type and Format:")
          << QStringLiteral("*");
    key(QStringLiteral("DSRC"), QStringLiteral("EXP"));
    key(QStringLiteral("BSEQ"), QStringLiteral("BIG"));
    key(QStringLiteral("IKKF"), QStringLiteral("REAL"));
    key(QStringLiteral("XTYP"), QStringLiteral("IDX"));
    key(QStringLiteral("YTYP"), QStringLiteral("NODATA"));
    key(QStringLiteral("ZTYP"), QStringLiteral("NODATA"));
    lines << QStringLiteral("*") << QStringLiteral("*\tItem Formats:") << QStringLiteral("*");
    key(QStringLiteral("IRFMT"), QStringLiteral("D"));
    lines << QStringLiteral("*") << QStringLiteral("*\tData Ranges and Resolutions:")
          << QStringLiteral("*");
    key(QStringLiteral("XPTS"), QString::number(n));
    key(QStringLiteral("XMIN"), ExchangeNumber(xmin));
    key(QStringLiteral("XWID"), ExchangeNumber(xwid));
    lines << QStringLiteral("*") << QStringLiteral("*\tDocumentational Text:")
          << QStringLiteral("*");
    key(QStringLiteral("TITL"), Quoted(s.Title));
    key(QStringLiteral("IRNAM"), Quoted(QStringLiteral("Intensity")));
    key(QStringLiteral("XNAM"), Quoted(QStringLiteral("Field")));
    key(QStringLiteral("IRUNI"), Quoted(s.AmplitudeUnit));
    key(QStringLiteral("XUNI"), Quoted(s.FieldUnit));
    lines << QStringLiteral("*");
    for (const QString& comment : comments)
        lines << QStringLiteral("*\t") + comment;
    lines << QStringLiteral("************************************************************")
          << QStringLiteral("*") << QStringLiteral("#SPL\t1.2 * STANDARD PARAMETER LAYER")
          << QStringLiteral("*")
          << QStringLiteral("*\tKav7 keys: KAVGAIN gain row 0..7 (factor 1, 2, 5, 10, 20, 50, "
                            "100, 200), KAVSPEED sweep speed row 0..11,")
          << QStringLiteral("*\tKAVSERIAL and KAVPROGRAM the spectrometer's serial and program "
                            "numbers.")
          << QStringLiteral("*");
    key(QStringLiteral("EXPT"), QStringLiteral("CW"));
    const TMeasurementInfo& info = s.Info;
    if (info.FrequencyHz > 0)
        key(QStringLiteral("MWFQ"), ExchangeNumber(info.FrequencyHz));
    if (info.SumCount)
        key(QStringLiteral("AVGS"), QString::number(*info.SumCount));
    if (info.GainRow) {
        key(QStringLiteral("RCAG"), ExchangeNumber(20 * std::log10(GainFactor(*info.GainRow))));
        key(KeyGainRow, QString::number(*info.GainRow));
    }
    if (info.SpeedRow)
        key(KeySpeedRow, QString::number(*info.SpeedRow));
    if (info.Serial)
        key(KeySerial, QString::number(*info.Serial));
    if (info.Program)
        key(KeyProgram, QString::number(*info.Program));
    lines << QStringLiteral("*")
          << QStringLiteral("************************************************************");
    return lines.join(u'\n') + u'\n';
}

QByteArray DataBytes(const std::vector<double>& values) {
    QByteArray bytes(static_cast<qsizetype>(values.size() * sizeof(double)), Qt::Uninitialized);
    uchar* out = reinterpret_cast<uchar*>(bytes.data());
    for (std::size_t k = 0; k < values.size(); ++k)
        qToBigEndian<double>(values[k], out + k * sizeof(double));
    return bytes;
}

// The descriptor's keys: those of the descriptor part and of the standard
// parameter layer (device layers are not read), the first of each name.
// A value may go on over lines that end with a backslash.
QHash<QString, QString> ParseDescriptor(const QString& text) {
    QHash<QString, QString> keys;
    bool reading = true;
    QString pending;
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!pending.isEmpty()) {
            line = pending + line;
            pending.clear();
        }
        if (line.endsWith(u'\\')) {
            line.chop(1);
            pending = line;
            continue;
        }
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'#')) {
            reading = trimmed.startsWith(QStringLiteral("#DESC")) ||
                      trimmed.startsWith(QStringLiteral("#SPL"));
            continue;
        }
        if (!reading || trimmed.isEmpty() || trimmed.startsWith(u'*'))
            continue;
        const qsizetype gap = trimmed.indexOf(QRegularExpression(QStringLiteral("\\s")));
        const QString name = gap < 0 ? trimmed : trimmed.left(gap);
        const QString value = gap < 0 ? QString() : trimmed.mid(gap).trimmed();
        if (!keys.contains(name))
            keys.insert(name, value);
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

struct TItemFormat {
    char Code;
    int Size;
};

bool ItemFormat(const QString& irfmt, TItemFormat& format) {
    static const TItemFormat formats[] = {{'D', 8}, {'F', 4}, {'I', 4}, {'S', 2}, {'C', 1}};
    const QString f = irfmt.trimmed().toUpper();
    if (f.size() != 1)
        return false;
    for (const TItemFormat& candidate : formats) {
        if (f[0] == QLatin1Char(candidate.Code)) {
            format = candidate;
            return true;
        }
    }
    return false;
}

double ItemValue(const uchar* p, const TItemFormat& format, bool big) {
    switch (format.Code) {
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

// The data file beside a descriptor: the same base name with ".DTA" in the
// descriptor's case, else in the other case.
QString ExistingDataFile(const TBes3tPaths& paths) {
    if (QFileInfo(paths.Dta).isFile())
        return paths.Dta;
    const QString other =
        paths.Dta.left(paths.Dta.size() - 3) +
        (paths.Dta.endsWith(QStringLiteral("DTA")) ? QStringLiteral("dta") : QStringLiteral("DTA"));
    return QFileInfo(other).isFile() ? other : QString();
}

bool ReadWhole(const QString& path, QByteArray& bytes, QString* error) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return Fail(error, QStringLiteral("Не удалось прочитать файл \"%1\": %2")
                               .arg(path, QFileInfo(path).isDir() ? QStringLiteral("это каталог")
                                                                  : file.errorString()));
    bytes = file.readAll();
    return true;
}

} // namespace

TBes3tPaths Bes3tPaths(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QStringLiteral("dsc"), Qt::CaseInsensitive) == 0 ||
        suffix.compare(QStringLiteral("dta"), Qt::CaseInsensitive) == 0) {
        const QString base = path.left(path.size() - 3);
        const bool lower = suffix.front().isLower();
        return {base + (lower ? QStringLiteral("dsc") : QStringLiteral("DSC")),
                base + (lower ? QStringLiteral("dta") : QStringLiteral("DTA"))};
    }
    return {path + QStringLiteral(".DSC"), path + QStringLiteral(".DTA")};
}

bool WriteBes3t(const QString& path, const TExchangeSpectrum& spectrum, const QStringList& comments,
                QString* error) {
    const TBes3tPaths paths = Bes3tPaths(path);
    const QByteArray descriptor = DescriptorText(spectrum, comments).toUtf8();
    const QByteArray data = DataBytes(spectrum.Amplitude);

    // What the data file held, to put back if the descriptor fails.
    QByteArray previousData;
    const bool hadData = QFileInfo(paths.Dta).isFile();
    if (hadData && !ReadWhole(paths.Dta, previousData, error))
        return false;

    QString reason;
    if (!WriteFileAtomically(paths.Dta, data, &reason))
        return Fail(error, WriteError(paths.Dta, reason));
    if (WriteFileAtomically(paths.Dsc, descriptor, &reason))
        return true;

    QString text = WriteError(paths.Dsc, reason);
    QString restoreReason;
    const bool restored = hadData ? WriteFileAtomically(paths.Dta, previousData, &restoreReason)
                                  : QFile::remove(paths.Dta);
    if (!restored)
        text += QStringLiteral("; файл данных \"%1\" уже записан заново и не возвращён: %2")
                    .arg(paths.Dta, hadData ? restoreReason : QStringLiteral("не удалён"));
    return Fail(error, text);
}

bool ReadBes3t(const QString& path, TExchangeSpectrum& spectrum, QString* error,
               QStringList* notes) {
    const TBes3tPaths paths = Bes3tPaths(path);
    const QString dsc = paths.Dsc;
    if (!QFileInfo::exists(dsc))
        return Fail(error, FileError(dsc, QStringLiteral("нет такого файла")));
    QByteArray descriptorBytes;
    if (!ReadWhole(dsc, descriptorBytes, error))
        return false;
    const QHash<QString, QString> keys = ParseDescriptor(QString::fromUtf8(descriptorBytes));
    const auto value = [&](const char* name) { return keys.value(QLatin1String(name)).trimmed(); };
    const auto fail = [&](const QString& what) { return Fail(error, FileError(dsc, what)); };

    if (!keys.contains(QStringLiteral("XPTS")) && !keys.contains(QStringLiteral("IKKF")))
        return fail(QStringLiteral("это не описание набора данных BES3T (нет ключей XPTS и IKKF)"));
    const QString ikkf = value("IKKF").toUpper();
    if (ikkf != u"REAL")
        return fail(QStringLiteral("комплексные или многокомпонентные данные (IKKF %1) не "
                                   "поддерживаются, нужны IKKF REAL")
                        .arg(value("IKKF")));
    for (const char* axis : {"YTYP", "ZTYP"}) {
        const QString type = value(axis).toUpper();
        if (!type.isEmpty() && type != u"NODATA")
            return fail(QStringLiteral("многомерный набор данных (%1 %2) не поддерживается, "
                                       "нужен одномерный спектр")
                            .arg(QLatin1String(axis), value(axis)));
    }
    if (value("XTYP").toUpper() != u"IDX")
        return fail(QStringLiteral("ось XTYP %1 не поддерживается, нужна равномерная ось XTYP IDX")
                        .arg(value("XTYP").isEmpty() ? QStringLiteral("(нет)") : value("XTYP")));
    TItemFormat format{};
    if (!ItemFormat(value("IRFMT"), format))
        return fail(QStringLiteral("неизвестный формат значений IRFMT %1 (известны D, F, I, S, C)")
                        .arg(value("IRFMT").isEmpty() ? QStringLiteral("(нет)") : value("IRFMT")));
    const QString bseq = value("BSEQ").toUpper();
    if (!bseq.isEmpty() && bseq != u"BIG" && bseq != u"LIT")
        return fail(QStringLiteral("неизвестный порядок байт BSEQ %1 (известны BIG и LIT)")
                        .arg(value("BSEQ")));
    const bool big = bseq != u"LIT";
    bool ok = false;
    const qlonglong points = value("XPTS").toLongLong(&ok);
    if (!ok || points < 1 || points > 100'000'000)
        return fail(QStringLiteral("XPTS %1 не число точек").arg(value("XPTS")));
    double xmin = 0;
    double xwid = 0;
    if (!ParseExchangeNumber(value("XMIN"), xmin))
        return fail(QStringLiteral("XMIN %1 не число").arg(value("XMIN")));
    if (!ParseExchangeNumber(value("XWID"), xwid))
        return fail(QStringLiteral("XWID %1 не число").arg(value("XWID")));

    const QString dta = ExistingDataFile(paths);
    if (dta.isEmpty())
        return fail(QStringLiteral("нет файла данных \"%1\"").arg(paths.Dta));
    QByteArray data;
    if (!ReadWhole(dta, data, error))
        return false;
    const qlonglong need = points * format.Size;
    if (data.size() < need)
        return Fail(error, FileError(dta, QStringLiteral("в нём %1 байт, а %2 значений формата "
                                                         "IRFMT %3 (XPTS) занимают %4 байт")
                                              .arg(data.size())
                                              .arg(points)
                                              .arg(QLatin1Char(format.Code))
                                              .arg(need)));

    TExchangeSpectrum read;
    read.Field.resize(static_cast<std::size_t>(points));
    read.Amplitude.resize(static_cast<std::size_t>(points));
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    for (qlonglong k = 0; k < points; ++k) {
        const double v = ItemValue(bytes + k * format.Size, format, big);
        if (!std::isfinite(v))
            return Fail(error, FileError(dta, QStringLiteral("значение %1 не число").arg(k + 1)));
        read.Amplitude[static_cast<std::size_t>(k)] = v;
        read.Field[static_cast<std::size_t>(k)] =
            points == 1 ? xmin
                        : xmin + xwid * static_cast<double>(k) / static_cast<double>(points - 1);
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
    if (notes && data.size() > need)
        *notes << QStringLiteral("Файл \"%1\": %2 байт после %3 значений не прочитаны")
                      .arg(dta)
                      .arg(data.size() - need)
                      .arg(points);
    spectrum = std::move(read);
    return true;
}
