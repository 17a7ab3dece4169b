#pragma once

#include "spectrum/point_slot.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

class TAtomicBatch;

// A spectrum file: headerless 4-byte records (X, Y; both u16 little-endian),
// one for every slot whose Y is not 65535, in ascending slot order.

inline constexpr int SpectrumRecordSize = 4;
inline constexpr int MaxSpectrumRecords = PointSlotCount;

// The file's bytes of a table: every non-empty slot as a record.
QByteArray SpectrumFileBytes(const TPointTable& store);

// Writes every non-empty slot of the table. The write is atomic: a failed
// save leaves the previous file whole, returns false and puts the file name
// and the system's reason into *error (when given).
bool SaveSpectrumFile(const QString& path, const TPointTable& store, QString* error = nullptr);

// The same into a batch of saves: the file is written now and takes its
// name when the batch commits; a failure at the commit is reported with
// SpectrumWriteError().
bool SaveSpectrumFile(TAtomicBatch& batch, const QString& path, const TPointTable& store,
                      QString* error = nullptr);

// "The file could not be written", naming the file and the system's reason.
QString SpectrumWriteError(const QString& path, const QString& reason);

enum class TLoadOutcome {
    Loaded,   // the file was read into the tables
    NotFound, // no file of that name: both tables keep their contents
    Failed,   // unreadable or refused: both tables keep their contents
};

// What a load found in the file, for callers that report on it.
struct TLoadStats {
    int Records = 0;       // whole 4-byte records in the file
    int TrailingBytes = 0; // 1..3 bytes after the last whole record, ignored
    int Points = 0;        // records with Y 0..4095
    int Parameters = 0;    // records with Y 65520..65534
    int Stray = 0;         // records with Y 4096..65519, dropped
    int Overwritten = 0;   // records that a later record of the same slot replaced
};

// The raw bytes of a spectrum file, read whole before any table is touched.
// Fails for a file that cannot be read and for one of more than 65536
// records (the read buffer holds no more).
TLoadOutcome ReadSpectrumBytes(const QString& path, QByteArray& bytes, QString* error = nullptr);

// Places a file's bytes: store is cleared; undo gets the raw records from
// slot 0 on (the rest empty); each record then goes into the store at its
// field code (Y 0..4095) or at its own code (Y 65520..65534); Y 4096..65519
// is dropped; of two records for one slot the later wins. bytes must hold at
// most 65536 whole records.
TLoadStats PlaceSpectrumRecords(const QByteArray& bytes, TPointTable& store, TPointTable& undo);

// ReadSpectrumBytes, then PlaceSpectrumRecords when the file was read.
TLoadOutcome LoadSpectrumFile(const QString& path, TPointTable& store, TPointTable& undo,
                              QString* error = nullptr, TLoadStats* stats = nullptr);

// The same load for tables that hold nothing to keep, such as a pair made
// for one file: the file is read straight into `undo`, which is to hold its
// raw records anyway, and placed into `store` from there, with no buffer of
// its own and no copy. The tables, outcome, message and stats are those of
// LoadSpectrumFile, except that a file refused once its reading began (a
// read error, a file that grew past the bound) may leave part of itself in
// `undo`.
TLoadOutcome LoadSpectrumFileInPlace(const QString& path, TPointTable& store, TPointTable& undo,
                                     QString* error = nullptr, TLoadStats* stats = nullptr);
