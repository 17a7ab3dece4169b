#include "spectrum/spectrum_file.h"

#include "spectrum/atomic_file.h"
#include "spectrum/point_store.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace {

constexpr qint64 MaxSpectrumBytes = qint64(MaxSpectrumRecords) * SpectrumRecordSize;
constexpr std::uint16_t LastAmplitudeY = 4095;

void SetError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

QString WriteError(const QString& path, const QString& reason) {
    return QStringLiteral("Не удалось записать файл \"%1\": %2").arg(path, reason);
}

QString ReadError(const QString& path, const QString& reason) {
    return QStringLiteral("Не удалось прочитать файл \"%1\": %2").arg(path, reason);
}

QString TooLongError(const QString& path) {
    return QStringLiteral("Файл \"%1\" не открыт: в нём больше %2 записей")
        .arg(path)
        .arg(MaxSpectrumRecords);
}

} // namespace

QByteArray SpectrumFileBytes(const TPointTable& store) {
    QByteArray bytes(MaxSpectrumBytes, Qt::Uninitialized);
    uchar* out = reinterpret_cast<uchar*>(bytes.data());
    qsizetype used = 0;
    for (const TPointSlot& slot : store) {
        if (slot.Y == EmptyY)
            continue;
        qToLittleEndian<quint16>(slot.X, out + used);
        qToLittleEndian<quint16>(slot.Y, out + used + 2);
        used += SpectrumRecordSize;
    }
    bytes.truncate(used);
    return bytes;
}

bool SaveSpectrumFile(const QString& path, const TPointTable& store, QString* error) {
    QString reason;
    if (!WriteFileAtomically(path, SpectrumFileBytes(store), &reason)) {
        SetError(error, WriteError(path, reason));
        return false;
    }
    return true;
}

TLoadOutcome ReadSpectrumBytes(const QString& path, QByteArray& bytes, QString* error) {
    bytes.clear();
    const QFileInfo info(path);
    if (!info.exists())
        return TLoadOutcome::NotFound;
    if (info.isDir()) {
        SetError(error, ReadError(path, QStringLiteral("это каталог")));
        return TLoadOutcome::Failed;
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        SetError(error, ReadError(path, file.errorString()));
        return TLoadOutcome::Failed;
    }
    // A whole record past the buffer is a refusal; up to 3 trailing bytes
    // after a full buffer are ignored like any trailing part.
    const qint64 limit = MaxSpectrumBytes + SpectrumRecordSize - 1;
    if (!file.isSequential() && file.size() > limit) {
        SetError(error, TooLongError(path));
        return TLoadOutcome::Failed;
    }
    bytes.resize(limit + 1);
    qint64 got = 0;
    while (got <= limit) {
        const qint64 n = file.read(bytes.data() + got, limit + 1 - got);
        if (n < 0) {
            const QString reason = file.errorString();
            bytes.clear();
            SetError(error, ReadError(path, reason));
            return TLoadOutcome::Failed;
        }
        if (n == 0)
            break;
        got += n;
    }
    if (got > limit) {
        bytes.clear();
        SetError(error, TooLongError(path));
        return TLoadOutcome::Failed;
    }
    bytes.resize(got);
    return TLoadOutcome::Loaded;
}

TLoadStats PlaceSpectrumRecords(const QByteArray& bytes, TPointTable& store, TPointTable& undo) {
    TLoadStats stats;
    const qsizetype whole = bytes.size() / SpectrumRecordSize;
    stats.Records = static_cast<int>(std::min<qsizetype>(whole, MaxSpectrumRecords));
    stats.TrailingBytes = static_cast<int>(bytes.size() % SpectrumRecordSize);

    ClearPoints(store);
    ClearPoints(undo);
    const uchar* in = reinterpret_cast<const uchar*>(bytes.constData());
    for (int i = 0; i < stats.Records; ++i) {
        const uchar* record = in + qsizetype(i) * SpectrumRecordSize;
        undo[i] =
            TPointSlot{qFromLittleEndian<quint16>(record), qFromLittleEndian<quint16>(record + 2)};
    }

    for (int i = 0; i < stats.Records; ++i) {
        const TPointSlot record = undo[i];
        int slot;
        if (record.Y == EmptyY)
            continue;
        if (record.Y <= LastAmplitudeY) {
            slot = record.X;
            ++stats.Points;
        } else if (record.Y > MaxValidY) {
            slot = record.Y;
            ++stats.Parameters;
        } else {
            ++stats.Stray;
            continue;
        }
        if (store[slot].Y != EmptyY)
            ++stats.Overwritten;
        store[slot] = record;
    }
    return stats;
}

TLoadOutcome LoadSpectrumFile(const QString& path, TPointTable& store, TPointTable& undo,
                              QString* error, TLoadStats* stats) {
    QByteArray bytes;
    const TLoadOutcome outcome = ReadSpectrumBytes(path, bytes, error);
    if (outcome != TLoadOutcome::Loaded)
        return outcome;
    const TLoadStats placed = PlaceSpectrumRecords(bytes, store, undo);
    if (stats)
        *stats = placed;
    return outcome;
}

QString AutoSaveName(const QString& mask, std::int32_t number) {
    QString name = mask + QString::asprintf("%8.8d", number);
    for (QChar& c : name) {
        if (c == u' ' || c == u'.' || c == u',' || c == u'\\' || c == u'/' || c == u'*')
            c = u'_';
    }
    return name;
}

QString AutoSavePath(const QString& workDir, const QString& name) {
    QString path = workDir;
    if (!path.isEmpty() && !path.endsWith(u'/'))
        path += u'/';
    return path + name + QStringLiteral(".kav");
}
