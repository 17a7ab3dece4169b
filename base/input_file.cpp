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
    explicit TFd(int fd) : Fd(fd) {}
    ~TFd() {
        if (Fd >= 0)
            ::close(Fd);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return Fd; }

private:
    int Fd;
};

TInputFile Refused(TInputOutcome outcome, QString reason = {}) {
    TInputFile result;
    result.Outcome = outcome;
    result.Reason = std::move(reason);
    return result;
}

} // namespace

bool InputExists(const QString& path) {
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0;
}

TInputFile ReadInputFile(const QString& path, qint64 maxBytes) {
    const QByteArray name = QFile::encodeName(path);
    // O_NONBLOCK: opening a FIFO for reading does not wait for a writer.
    TFd fd(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
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

    // Read one byte past the bound, so a file that grew after fstat is seen
    // as too large rather than cut short.
    TInputFile result;
    result.Bytes.resize(qsizetype(st.st_size) + 1);
    qint64 got = 0;
    for (;;) {
        if (got == result.Bytes.size()) {
            if (got > maxBytes)
                return Refused(TInputOutcome::TooLarge);
            result.Bytes.resize(qsizetype(std::min<qint64>(maxBytes + 1, got * 2 + 4096)));
        }
        const ssize_t n =
            ::read(fd.Get(), result.Bytes.data() + got, size_t(result.Bytes.size() - got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Refused(TInputOutcome::Failed, SystemErrorText(errno));
        }
        if (n == 0)
            break;
        got += n;
    }
    if (got > maxBytes)
        return Refused(TInputOutcome::TooLarge);
    result.Bytes.resize(qsizetype(got));
    result.Outcome = TInputOutcome::Read;
    return result;
}
