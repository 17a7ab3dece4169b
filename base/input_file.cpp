#include "base/input_file.h"

#include "base/atomic_file.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What a file that is not a regular one is, in the words of the system's
// error texts where it has them.
QString KindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return SystemErrorText(EISDIR);
    if (S_ISFIFO(mode))
        return QStringLiteral("Is a FIFO");
    if (S_ISSOCK(mode))
        return QStringLiteral("Is a socket");
    if (S_ISCHR(mode))
        return QStringLiteral("Is a character device");
    if (S_ISBLK(mode))
        return QStringLiteral("Is a block device");
    return QStringLiteral("Not a regular file");
}

class TFd {
public:
    TFd() = default;
    ~TFd() {
        if (Fd >= 0)
            ::close(Fd);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    void Reset(int fd) { Fd = fd; }
    int Get() const { return Fd; }

private:
    int Fd = -1;
};

TInputFile Refused(TInputOutcome outcome, QString reason = {}) {
    TInputFile result;
    result.Outcome = outcome;
    result.Reason = std::move(reason);
    return result;
}

// Opens `path` for reading when it is a regular file of at most maxBytes
// bytes; its size goes into *size. Any outcome but Read is the refusal.
TInputFile OpenInput(const QString& path, qint64 maxBytes, TFd& fd, qint64* size) {
    const QByteArray name = QFile::encodeName(path);
    // O_NONBLOCK: opening a FIFO for reading does not wait for a writer.
    fd.Reset(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.Get() < 0) {
        const int err = errno;
        return Refused(err == ENOENT ? TInputOutcome::NotFound : TInputOutcome::Failed,
                       SystemErrorText(err));
    }
    struct stat st;
    if (::fstat(fd.Get(), &st) != 0)
        return Refused(TInputOutcome::Failed, SystemErrorText(errno));
    if (!S_ISREG(st.st_mode))
        return Refused(TInputOutcome::NotRegular, KindOf(st.st_mode));
    if (st.st_size > maxBytes)
        return Refused(TInputOutcome::TooLarge);
    *size = st.st_size;
    TInputFile opened;
    opened.Outcome = TInputOutcome::Read;
    return opened;
}

// Where the next bytes of a read go, and how many fit there.
struct TRoom {
    char* At;
    qint64 Size;
};

// Reads `fd` to its end into the room `next(bytes read so far)` gives.
// It reads one byte past the bound, so that a file that grew after fstat
// is seen as too large rather than cut short.
template <class TNext> TInputFile ReadToEnd(const TFd& fd, qint64 maxBytes, TNext next) {
    qint64 got = 0;
    for (;;) {
        const TRoom room = next(got);
        const qint64 wanted = std::min(room.Size, maxBytes + 1 - got);
        const ssize_t n = ::read(fd.Get(), room.At, size_t(wanted));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Refused(TInputOutcome::Failed, SystemErrorText(errno));
        }
        if (n == 0)
            break;
        got += n;
        if (got > maxBytes)
            return Refused(TInputOutcome::TooLarge);
    }
    TInputFile result;
    result.Size = got;
    result.Outcome = TInputOutcome::Read;
    return result;
}

} // namespace

bool InputExists(const QString& path) {
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0;
}

TInputFile ReadInputFile(const QString& path, qint64 maxBytes) {
    TFd fd;
    qint64 size = 0;
    if (TInputFile opened = OpenInput(path, maxBytes, fd, &size);
        opened.Outcome != TInputOutcome::Read)
        return opened;

    QByteArray bytes(qsizetype(size) + 1, Qt::Uninitialized);
    TInputFile result = ReadToEnd(fd, maxBytes, [&bytes, maxBytes](qint64 got) {
        if (got == bytes.size())
            bytes.resize(qsizetype(std::min<qint64>(maxBytes + 1, got * 2 + 4096)));
        return TRoom{bytes.data() + got, bytes.size() - got};
    });
    if (result.Outcome == TInputOutcome::Read) {
        bytes.resize(qsizetype(result.Size));
        result.Bytes = std::move(bytes);
    }
    return result;
}

TInputFile ReadInputFileInto(const QString& path, char* buffer, qint64 capacity, qint64 maxBytes) {
    TFd fd;
    qint64 size = 0;
    if (TInputFile opened = OpenInput(path, maxBytes, fd, &size);
        opened.Outcome != TInputOutcome::Read)
        return opened;

    // What does not fit the buffer passes through a small one of its own.
    char spill[4096];
    return ReadToEnd(fd, maxBytes, [&](qint64 got) {
        return got < capacity ? TRoom{buffer + got, capacity - got} : TRoom{spill, sizeof spill};
    });
}
