#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>
#include <vector>

// Every file the program writes (spectra, Kav.ini, exports, pictures, PDFs)
// is committed whole or not at all: the bytes go to a file beside the target
// that nobody else sees, are flushed to the disk, and only then take the
// target's name in one rename. A failure at any step leaves the previous file
// as it was, removes what was written, and reports the system's reason
// ("No space left on device", "File too large", "Permission denied", ...).
// A target that is a symbolic link, or a chain of them, stays a link: the
// file at the end of the chain gets the new content, and a chain that loops
// is refused ("Too many levels of symbolic links"). Whatever a killed save
// left beside a target is removed by the next save of that target, by
// either writer below.

// Writes `data` as the whole new content of `path`. On failure returns false
// and, when `reason` is given, sets it to the system's reason.
bool WriteFileAtomically(const QString& path, const QByteArray& data, QString* reason = nullptr);

// For writers that can only write a file by name (QPrinter's PDF output): a
// fresh, uniquely named empty file beside the target. The writer fills
// TempPath(); Commit() flushes it to the disk and gives it the target's name.
// A slot that is not committed removes its file when it is destroyed.
class TAtomicFileSlot {
public:
    explicit TAtomicFileSlot(QString targetPath);
    ~TAtomicFileSlot();
    TAtomicFileSlot(const TAtomicFileSlot&) = delete;
    TAtomicFileSlot& operator=(const TAtomicFileSlot&) = delete;

    // Creates the temporary file; false (with the reason) when the target's
    // directory does not take it.
    bool Open(QString* reason = nullptr);
    QString TempPath() const { return Temp; }
    // An empty file is refused: a writer that produced nothing has failed.
    bool Commit(QString* reason = nullptr);

private:
    QString Target;
    QByteArray Resolved; // the file the commit replaces, links followed
    QString Temp;
    int LockFd = -1; // the temporary file, locked while the slot lives
    bool Committed = false;
};

// Many files saved in one run (kavtool's batch form): Write() puts each
// file's bytes into an unnamed file beside its target at once, and Commit()
// flushes all of them to the disk together (one sync of their file system
// instead of two flushes a file), then gives each its target's name and
// flushes each folder once. Every file is still whole or not at all, and
// nothing of a failed one is left behind; what was written but not
// committed is dropped when the batch ends. Each written file holds an open
// descriptor until the commit, so a caller commits every few dozen files.
class TAtomicBatch {
public:
    TAtomicBatch();
    ~TAtomicBatch();
    TAtomicBatch(const TAtomicBatch&) = delete;
    TAtomicBatch& operator=(const TAtomicBatch&) = delete;

    // Writes `data` as the new content `path` takes at the commit. False,
    // with the system's reason, when it cannot be written (a full disk, the
    // file size limit, a folder that does not take it); nothing is left.
    bool Write(const QString& path, const QByteArray& data, QString* reason = nullptr);
    // Files written and not committed yet.
    qsizetype Pending() const;

    struct TFailure {
        QString Path; // as given to Write()
        QString Reason;
    };
    // Commits every pending file, in the order written. Returns those that
    // failed, each with the system's reason; their targets stay as they were.
    QList<TFailure> Commit();

private:
    struct TPending;
    std::vector<TPending> Files;
    // The hidden names that may be leftovers of killed saves, by folder,
    // each folder read once.
    std::vector<std::pair<QByteArray, QList<QByteArray>>> Leftovers;
};

// The system's text for an errno value ("No space left on device").
QString SystemErrorText(int err);

// A write past the file size limit (ulimit -f) then fails with EFBIG like any
// other write error, instead of killing the process with SIGXFSZ. Called once
// at the start of each program.
void IgnoreFileSizeSignal();
