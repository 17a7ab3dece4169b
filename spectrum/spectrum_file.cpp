#include "spectrum/spectrum_file.h"

#include "base/atomic_file.h"
#include "base/input_file.h"
#include "spectrum/point_store.h"

#include <QCoreApplication>
#include <QSysInfo>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {

constexpr qint64 MaxSpectrumBytes = qint64(MaxSpectrumRecords) * SpectrumRecordSize;
constexpr std::uint16_t LastAmplitudeY = 4095;

void SetError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

QString ReadError(const QString& path, const QString& reason) {
    return QCoreApplication::translate("SpectrumFile", "Не удалось прочитать файл \"%1\": %2")
        .arg(path, reason);
}

QString TooLongError(const QString& path) {
    return QCoreApplication::translate("SpectrumFile",
                                       "Файл \"%1\" не открыт: в нём больше %2 записей")
        .arg(path)
        .arg(MaxSpectrumRecords);
}

} // namespace

QByteArray SpectrumFileBytes(const TPointTable& store) {
    // Sized to the records: a small spectrum takes a small buffer.
    const auto records = std::count_if(store.begin(), store.end(),
                                       [](const TPointSlot& slot) { return slot.Y != EmptyY; });
    QByteArray bytes(qsizetype(records) * SpectrumRecordSize, Qt::Uninitialized);
    uchar* out = reinterpret_cast<uchar*>(bytes.data());
    qsizetype used = 0;
    for (const TPointSlot& slot : store) {
        if (slot.Y == EmptyY)
            continue;
        qToLittleEndian<quint16>(slot.X, out + used);
        qToLittleEndian<quint16>(slot.Y, out + used + 2);
        used += SpectrumRecordSize;
    }
    return bytes;
}

QString SpectrumWriteError(const QString& path, const QString& reason) {
    return QCoreApplication::translate("SpectrumFile", "Не удалось записать файл \"%1\": %2")
        .arg(path, reason);
}

bool SaveSpectrumFile(const QString& path, const TPointTable& store, QString* error) {
    QString reason;
    if (!WriteFileAtomically(path, SpectrumFileBytes(store), &reason)) {
        SetError(error, SpectrumWriteError(path, reason));
        return false;
    }
    return true;
}

bool SaveSpectrumFile(TAtomicBatch& batch, const QString& path, const TPointTable& store,
                      QString* error) {
    QString reason;
    if (!batch.Write(path, SpectrumFileBytes(store), &reason)) {
        SetError(error, SpectrumWriteError(path, reason));
        return false;
    }
    return true;
}

namespace {

// A whole record past the buffer is a refusal; up to 3 trailing bytes after
// a full buffer are ignored like any trailing part.
constexpr qint64 MaxSpectrumFileBytes = MaxSpectrumBytes + SpectrumRecordSize - 1;

// What a read of a spectrum file comes to, with the message of a refusal.
TLoadOutcome ReadOutcome(const QString& path, const TInputFile& input, QString* error) {
    switch (input.Outcome) {
    case TInputOutcome::Read:
        return TLoadOutcome::Loaded;
    case TInputOutcome::NotFound:
        return TLoadOutcome::NotFound;
    case TInputOutcome::TooLarge:
        SetError(error, TooLongError(path));
        return TLoadOutcome::Failed;
    case TInputOutcome::NotRegular:
        if (input.Reason == SystemErrorText(EISDIR)) {
            SetError(error,
                     ReadError(path, QCoreApplication::translate("SpectrumFile", "это каталог")));
            return TLoadOutcome::Failed;
        }
        break;
    case TInputOutcome::Failed:
        break;
    }
    SetError(error, ReadError(path, input.Reason));
    return TLoadOutcome::Failed;
}

} // namespace

TLoadOutcome ReadSpectrumBytes(const QString& path, QByteArray& bytes, QString* error) {
    bytes.clear();
    TInputFile input = ReadInputFile(path, MaxSpectrumFileBytes);
    const TLoadOutcome outcome = ReadOutcome(path, input, error);
    if (outcome == TLoadOutcome::Loaded)
        bytes = std::move(input.Bytes);
    return outcome;
}

namespace {

// A file record as one number: X in the low 16 bits, Y in the high 16.
std::uint32_t RecordAt(const uchar* records, int i) {
    return qFromLittleEndian<quint32>(records + qsizetype(i) * SpectrumRecordSize);
}

TPointSlot SlotOf(std::uint32_t record) {
    return TPointSlot{static_cast<std::uint16_t>(record), static_cast<std::uint16_t>(record >> 16)};
}

// Copies count records into slots from `to` on. A slot is laid out as a file
// record, so on a little-endian machine the bytes are copied as they are.
void CopyRecords(const uchar* records, int count, TPointSlot* to) {
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        std::memcpy(to, records, std::size_t(count) * SpectrumRecordSize);
    } else {
        for (int i = 0; i < count; ++i)
            to[i] = SlotOf(RecordAt(records, i));
    }
}

// Records checked and placed together when they are data points on
// consecutive codes, the bulk of a file this program wrote.
constexpr int RunLength = 64;

// True when the count records from the given one are data points whose codes
// run from first on without a gap: X is first + j, and Y is at most 4095, so
// its top four bits are clear. Written without early exit, so that it
// compiles to vector instructions.
bool IsPointRun(const uchar* records, int count, std::uint32_t first) {
    static_assert(LastAmplitudeY == 0x0FFF);
    std::uint32_t bad = 0;
    for (int j = 0; j < count; ++j)
        bad |= (RecordAt(records, j) ^ (first + static_cast<std::uint32_t>(j))) & 0xF000FFFFu;
    return bad == 0;
}

// Places `records` file records (little-endian bytes from `in`) into the
// store, which is cleared, and counts what they were.
TLoadStats PlaceRecords(const uchar* in, int records, TPointTable& store) {
    TLoadStats stats;
    // The store is cleared as the records are placed: every slot below
    // `cleared` is empty or holds a record of this file, and the slots from
    // there to a record's slot are emptied when a record lands past them. A
    // record below `cleared` may replace an earlier one; in a file this
    // program wrote the slots only rise, and each slot is written once.
    int cleared = 0;
    auto clearUpTo = [&](int slot) {
        if (slot > cleared) {
            std::fill(store.begin() + cleared, store.begin() + slot, TPointSlot{0, EmptyY});
            cleared = slot;
        }
    };
    int i = 0;
    while (i < records) {
        if (i + RunLength <= records) {
            const std::uint32_t first = RecordAt(in, i) & 0xFFFF;
            if (first >= static_cast<std::uint32_t>(cleared) &&
                first + RunLength <= PointSlotCount &&
                IsPointRun(in + qsizetype(i) * SpectrumRecordSize, RunLength, first)) {
                clearUpTo(static_cast<int>(first));
                CopyRecords(in + qsizetype(i) * SpectrumRecordSize, RunLength, &store[first]);
                cleared = static_cast<int>(first) + RunLength;
                stats.Points += RunLength;
                i += RunLength;
                continue;
            }
        }
        // One by one up to the next run's start, so that a failed run check
        // costs at most one check per RunLength records.
        const int end = std::min(records, i + RunLength);
        for (; i < end; ++i) {
            const TPointSlot record = SlotOf(RecordAt(in, i));
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
            if (slot >= cleared) {
                clearUpTo(slot);
                cleared = slot + 1;
            } else if (store[slot].Y != EmptyY) {
                ++stats.Overwritten;
            }
            store[slot] = record;
        }
    }
    clearUpTo(PointSlotCount);
    return stats;
}

// The undo table past a file's records: empty.
void EmptyFrom(int records, TPointTable& undo) {
    std::fill(undo.begin() + records, undo.end(), TPointSlot{0, EmptyY});
}

} // namespace

TLoadStats PlaceSpectrumRecords(const QByteArray& bytes, TPointTable& store, TPointTable& undo) {
    const qsizetype whole = bytes.size() / SpectrumRecordSize;
    const int records = static_cast<int>(std::min<qsizetype>(whole, MaxSpectrumRecords));
    const uchar* in = reinterpret_cast<const uchar*>(bytes.constData());

    // The undo table: the raw records from slot 0 on, the rest empty.
    CopyRecords(in, records, undo.data());
    EmptyFrom(records, undo);

    TLoadStats stats = PlaceRecords(in, records, store);
    stats.Records = records;
    stats.TrailingBytes = static_cast<int>(bytes.size() % SpectrumRecordSize);
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

TLoadOutcome LoadSpectrumFileInPlace(const QString& path, TPointTable& store, TPointTable& undo,
                                     QString* error, TLoadStats* stats) {
    static_assert(sizeof(TPointTable) == MaxSpectrumBytes);
    uchar* raw = reinterpret_cast<uchar*>(undo.data());
    const TInputFile input = ReadInputFileInto(path, reinterpret_cast<char*>(raw), MaxSpectrumBytes,
                                               MaxSpectrumFileBytes);
    const TLoadOutcome outcome = ReadOutcome(path, input, error);
    if (outcome != TLoadOutcome::Loaded)
        return outcome;
    const int records =
        static_cast<int>(std::min<qint64>(input.Size / SpectrumRecordSize, MaxSpectrumRecords));
    TLoadStats placed = PlaceRecords(raw, records, store);
    placed.Records = records;
    placed.TrailingBytes = static_cast<int>(input.Size - qint64(records) * SpectrumRecordSize);
    // The undo table holds the raw records from slot 0 on: as read on a
    // little-endian machine, each turned into a slot in its place on another.
    if constexpr (QSysInfo::ByteOrder != QSysInfo::LittleEndian) {
        for (int i = 0; i < records; ++i)
            undo[i] = SlotOf(RecordAt(raw, i));
    }
    EmptyFrom(records, undo);
    if (stats)
        *stats = placed;
    return outcome;
}
