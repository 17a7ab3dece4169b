#include "base/atomic_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

QString SystemErrorText(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

namespace {

bool Fail(QString* reason, int err) {
    if (reason)
        *reason = SystemErrorText(err);
    return false;
}

// The longest chain of symbolic links followed, as the system follows them.
constexpr int MaxLinkHops = 40;

QByteArray DirectoryOf(const QByteArray& target) {
    const qsizetype slash = target.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : target.left(slash);
}

// The file that a write to `path` really replaces: a chain of symbolic links
// is followed to its end, so that every link stays and the file at the end
// gets the new content (created there when it does not exist yet). A chain
// that does not end (a loop) is ELOOP, as the system reports it.
bool ResolveTarget(const QString& path, QByteArray& target, int& err) {
    QByteArray current = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    for (int hops = 0;; ++hops) {
        struct stat st {};
        // Anything but a link ends the chain; a name that cannot be looked
        // at is left to the write, which reports the system's reason.
        if (::lstat(current.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            target = current;
            return true;
        }
        if (hops == MaxLinkHops) {
            err = ELOOP;
            return false;
        }
        QByteArray link(PATH_MAX, Qt::Uninitialized);
        const ssize_t n = ::readlink(current.constData(), link.data(), size_t(link.size()));
        if (n < 0) {
            err = errno;
            return false;
        }
        link.truncate(n);
        current = link.startsWith('/') ? link : DirectoryOf(current) + '/' + link;
    }
}

// The permissions of the new file: those of the file it replaces, else the
// usual ones for a new file under the process's umask.
mode_t NewFileMode(const QByteArray& target) {
    struct stat st {};
    if (::stat(target.constData(), &st) == 0)
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

QByteArray HiddenTempPattern(const QByteArray& target) {
    const qsizetype slash = target.lastIndexOf('/');
    return DirectoryOf(target) + "/." + target.mid(slash + 1) + ".XXXXXX";
}

// A named temporary file is locked by its writer for as long as it is being
// written; the lock goes with the process, so a file nobody holds and that
// has not changed for a while was left by a save that was killed.
constexpr time_t StaleTempAgeSeconds = 60;

void LockTemp(int fd) {
    ::flock(fd, LOCK_EX | LOCK_NB);
}

bool IsTempSuffix(const char* s) {
    for (int i = 0; i < 6; ++i) {
        const char c = s[i];
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            return false;
    }
    return s[6] == '\0';
}

// The hidden names in `dir` of the kind a save's temporary file has
// (".NAME.XXXXXX"), for the cleanup below.
QList<QByteArray> TempCandidates(const QByteArray& dir) {
    QList<QByteArray> names;
    DIR* d = ::opendir(dir.constData());
    if (!d)
        return names;
    while (const dirent* e = ::readdir(d)) {
        const size_t length = std::strlen(e->d_name);
        if (e->d_name[0] == '.' && length > 8 && e->d_name[length - 7] == '.' &&
            IsTempSuffix(e->d_name + length - 6))
            names << QByteArray(e->d_name, qsizetype(length));
    }
    ::closedir(d);
    return names;
}

// Removes what killed saves of `target` left beside it, so leftovers do not
// pile up; a file another process is still writing is left alone.
void RemoveStaleTemps(const QByteArray& target, const QList<QByteArray>& candidates) {
    const QByteArray dir = DirectoryOf(target);
    const QByteArray prefix = "." + target.mid(target.lastIndexOf('/') + 1) + ".";
    const time_t now = ::time(nullptr);
    for (const QByteArray& name : candidates) {
        if (name.size() != prefix.size() + 6 || !name.startsWith(prefix))
            continue;
        const QByteArray path = dir + '/' + name;
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode) ||
            now - st.st_mtime < StaleTempAgeSeconds)
            continue;
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
        ::close(fd);
    }
}

void RemoveStaleTemps(const QByteArray& target) {
    RemoveStaleTemps(target, TempCandidates(DirectoryOf(target)));
}

// A directory's entries reach the disk: the rename survives a power cut.
// File systems that cannot sync a directory are not an error.
void SyncDirectory(const QByteArray& dir) {
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool WriteAll(int fd, const char* data, qint64 size, int& err) {
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, static_cast<size_t>(size - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            return false;
        }
        if (n == 0) {
            err = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// The unnamed file: O_TMPFILE where the file system has it, so that nothing
// is left behind whatever happens before the commit; else a hidden named file.
struct TTempFile {
    int Fd = -1;
    QByteArray Named; // empty for an unnamed file
};

bool CreateTemp(const QByteArray& target, mode_t mode, TTempFile& temp, int& err) {
#ifdef O_TMPFILE
    temp.Fd = ::open(DirectoryOf(target).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (temp.Fd >= 0)
        return true;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL && errno != ENOENT) {
        err = errno;
        return false;
    }
#endif
    QByteArray pattern = HiddenTempPattern(target);
    temp.Fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (temp.Fd < 0) {
        err = errno;
        return false;
    }
    LockTemp(temp.Fd);
    temp.Named = pattern;
    if (::fchmod(temp.Fd, mode) != 0) {
        err = errno;
        return false;
    }
    return true;
}

// A hidden name beside the target with a random suffix of the kind mkstemp
// makes, so that the stale-file cleanup knows it.
QByteArray HiddenTempName(const QByteArray& target) {
    static constexpr char Letters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name = HiddenTempPattern(target);
    for (qsizetype i = name.size() - 6; i < name.size(); ++i)
        name[i] = Letters[QRandomGenerator::global()->bounded(int(sizeof Letters) - 1)];
    return name;
}

// Gives an unnamed file a hidden name beside the target, for the rename. The
// name is made by the link itself: no empty file ever stands under it, so a
// save killed here leaves nothing behind.
bool NameTemp(const QByteArray& target, TTempFile& temp, int& err) {
    if (!temp.Named.isEmpty())
        return true;
    const QByteArray proc = "/proc/self/fd/" + QByteArray::number(temp.Fd);
    LockTemp(temp.Fd); // the lock is the file's, whatever its name
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = HiddenTempName(target);
        if (::linkat(AT_FDCWD, proc.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) ==
            0) {
            temp.Named = name;
            return true;
        }
        if (errno != EEXIST) {
            err = errno;
            return false;
        }
    }
    err = EEXIST;
    return false;
}

void Discard(TTempFile& temp) {
    if (temp.Fd >= 0)
        ::close(temp.Fd);
    temp.Fd = -1;
    if (!temp.Named.isEmpty())
        ::unlink(temp.Named.constData());
    temp.Named.clear();
}

bool RenameInto(const QByteArray& from, const QByteArray& to, int& err) {
    if (::rename(from.constData(), to.constData()) != 0) {
        err = errno;
        return false;
    }
    return true;
}

bool RenameOver(const QByteArray& from, const QByteArray& to, int& err) {
    if (!RenameInto(from, to, err))
        return false;
    SyncDirectory(DirectoryOf(to));
    return true;
}

bool RefuseDirectory(const QByteArray& target, int& err) {
    struct stat st {};
    if (::stat(target.constData(), &st) == 0 && S_ISDIR(st.st_mode)) {
        err = EISDIR;
        return true;
    }
    return false;
}

// The temporary file of `target` created and holding `data`; on failure
// nothing is left.
bool WriteTemp(const QByteArray& target, const QByteArray& data, TTempFile& temp, int& err) {
    if (CreateTemp(target, NewFileMode(target), temp, err) &&
        WriteAll(temp.Fd, data.constData(), data.size(), err))
        return true;
    Discard(temp);
    return false;
}

// The flushed temporary file given its hidden name, closed and renamed onto
// `target` (without the folder's sync); on failure nothing is left.
bool NameCloseAndRename(const QByteArray& target, TTempFile& temp, int& err) {
    if (!NameTemp(target, temp, err)) {
        Discard(temp);
        return false;
    }
    const int fd = temp.Fd;
    temp.Fd = -1;
    if (::close(fd) != 0) {
        err = errno;
        Discard(temp);
        return false;
    }
    if (!RenameInto(temp.Named, target, err)) {
        Discard(temp);
        return false;
    }
    return true;
}

} // namespace

bool WriteFileAtomically(const QString& path, const QByteArray& data, QString* reason) {
    QByteArray target;
    int err = 0;
    if (!ResolveTarget(path, target, err) || RefuseDirectory(target, err))
        return Fail(reason, err);
    RemoveStaleTemps(target);
    TTempFile temp;
    if (!WriteTemp(target, data, temp, err))
        return Fail(reason, err);
    if (::fsync(temp.Fd) != 0) {
        err = errno;
        Discard(temp);
        return Fail(reason, err);
    }
    if (!NameCloseAndRename(target, temp, err))
        return Fail(reason, err);
    SyncDirectory(DirectoryOf(target));
    return true;
}

TAtomicFileSlot::TAtomicFileSlot(QString targetPath) : Target(std::move(targetPath)) {}

TAtomicFileSlot::~TAtomicFileSlot() {
    if (!Committed && !Temp.isEmpty())
        QFile::remove(Temp);
    if (LockFd >= 0)
        ::close(LockFd);
}

bool TAtomicFileSlot::Open(QString* reason) {
    QByteArray target;
    int err = 0;
    if (!ResolveTarget(Target, target, err) || RefuseDirectory(target, err))
        return Fail(reason, err);
    RemoveStaleTemps(target);
    QByteArray pattern = HiddenTempPattern(target);
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return Fail(reason, errno);
    Resolved = target;
    Temp = QFile::decodeName(pattern);
    // Held open and locked until the slot ends: the file is being written.
    LockFd = fd;
    LockTemp(fd);
    return ::fchmod(fd, NewFileMode(target)) == 0 || Fail(reason, errno);
}

bool TAtomicFileSlot::Commit(QString* reason) {
    if (Temp.isEmpty())
        return Fail(reason, EBADF);
    const QByteArray temp = QFile::encodeName(Temp);
    const int fd = ::open(temp.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return Fail(reason, errno);
    struct stat st {};
    int err = 0;
    if (::fstat(fd, &st) != 0 || st.st_size == 0) {
        err = st.st_size == 0 ? ENODATA : errno;
        ::close(fd);
        return Fail(reason, err);
    }
    if (::fsync(fd) != 0) {
        err = errno;
        ::close(fd);
        return Fail(reason, err);
    }
    if (::close(fd) != 0)
        return Fail(reason, errno);
    if (!RenameOver(temp, Resolved, err))
        return Fail(reason, err);
    Committed = true;
    return true;
}

struct TAtomicBatch::TPending {
    QString Path;
    QByteArray Target;
    TTempFile Temp;
    dev_t Device = 0;
};

TAtomicBatch::TAtomicBatch() = default;

TAtomicBatch::~TAtomicBatch() {
    for (TPending& file : Files)
        Discard(file.Temp);
}

qsizetype TAtomicBatch::Pending() const {
    return qsizetype(Files.size());
}

bool TAtomicBatch::Write(const QString& path, const QByteArray& data, QString* reason) {
    TPending file{path, {}, {}, 0};
    int err = 0;
    if (!ResolveTarget(path, file.Target, err) || RefuseDirectory(file.Target, err))
        return Fail(reason, err);
    const QByteArray dir = DirectoryOf(file.Target);
    auto seen = std::find_if(Leftovers.begin(), Leftovers.end(),
                             [&dir](const auto& entry) { return entry.first == dir; });
    if (seen == Leftovers.end()) {
        Leftovers.emplace_back(dir, TempCandidates(dir));
        seen = Leftovers.end() - 1;
    }
    RemoveStaleTemps(file.Target, seen->second);
    if (!WriteTemp(file.Target, data, file.Temp, err))
        return Fail(reason, err);
    struct stat st {};
    if (::fstat(file.Temp.Fd, &st) != 0) {
        err = errno;
        Discard(file.Temp);
        return Fail(reason, err);
    }
    file.Device = st.st_dev;
    Files.push_back(std::move(file));
    return true;
}

QList<TAtomicBatch::TFailure> TAtomicBatch::Commit() {
    QList<TFailure> failures;
    std::vector<bool> failed(Files.size(), false);
    auto fail = [&](std::size_t i, int err) {
        Discard(Files[i].Temp);
        failures << TFailure{Files[i].Path, SystemErrorText(err)};
        failed[i] = true;
    };
    // Every file's bytes reach the disk: one sync of each file system they
    // are on. Where that reports an error, each file is flushed on its own,
    // so that only the files that really failed are refused.
    std::vector<dev_t> synced;
    std::vector<dev_t> unsure;
    for (const TPending& file : Files) {
        if (std::find(synced.begin(), synced.end(), file.Device) != synced.end())
            continue;
        synced.push_back(file.Device);
        if (::syncfs(file.Temp.Fd) != 0)
            unsure.push_back(file.Device);
    }
    for (std::size_t i = 0; i < Files.size(); ++i) {
        if (std::find(unsure.begin(), unsure.end(), Files[i].Device) != unsure.end() &&
            ::fsync(Files[i].Temp.Fd) != 0)
            fail(i, errno);
    }
    // Then each takes its name, and each folder's entries reach the disk
    // once.
    std::vector<QByteArray> folders;
    for (std::size_t i = 0; i < Files.size(); ++i) {
        if (failed[i])
            continue;
        TPending& file = Files[i];
        int err = 0;
        if (!NameCloseAndRename(file.Target, file.Temp, err)) {
            fail(i, err);
            continue;
        }
        const QByteArray folder = DirectoryOf(file.Target);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    }
    for (const QByteArray& folder : folders)
        SyncDirectory(folder);
    Files.clear();
    return failures;
}

void IgnoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}
