#pragma once

#include <QByteArray>
#include <QString>

// Every file the program reads (spectra, Kav.ini, imports) goes through one
// reader that cannot be made to hang or to eat the memory: the file is opened
// without blocking, so a FIFO or a device named by mistake is refused at once
// instead of waiting for a writer, anything that is not a regular file is
// refused, and no more than a stated number of bytes is ever read, so an
// endless source (/dev/zero, a file that grows while it is read) ends in a
// refusal, not in an exhausted memory.

enum class TInputOutcome {
    Read,       // bytes holds the whole file
    NotFound,   // nothing by that name (a dangling link included)
    NotRegular, // a directory, FIFO, socket or device; reason names which
    TooLarge,   // more than maxBytes bytes
    Failed,     // the system refused to open or read it; reason is its text
};

struct TInputFile {
    TInputOutcome Outcome = TInputOutcome::Failed;
    QByteArray Bytes;
    qint64 Size = 0; // the bytes read (Read only)
    // The system's reason for NotFound, NotRegular ("Is a directory", "Is a
    // FIFO", ...) and Failed; empty otherwise.
    QString Reason;
};

// Reads the whole regular file at `path`, at most `maxBytes` bytes.
TInputFile ReadInputFile(const QString& path, qint64 maxBytes);

// The same, read into the caller's memory instead of Bytes (which stays
// empty), for a reader that fills a table of its own without a copy: the
// first `capacity` bytes go into `buffer`, any after them (up to maxBytes)
// are read and counted in Size but not kept. A refusal may leave part of
// the file in the buffer.
TInputFile ReadInputFileInto(const QString& path, char* buffer, qint64 capacity, qint64 maxBytes);

// True when `path` names something that exists (a dangling link does not).
bool InputExists(const QString& path);
