#pragma once

// The two ways a test meets a full disk: the process's file size limit
// (any user can lower it), and a small tmpfs filled to the brim (needs the
// right to mount; tests skip where it is not given).

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

// Runs f with the file size limit at `bytes`. SIGXFSZ is ignored meanwhile,
// as the programs ignore it, so a write past the limit fails with EFBIG.
template <typename F> auto UnderFileSizeLimit(rlim_t bytes, F f) {
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit low = old;
    low.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &low);
    const auto result = f();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    return result;
}

// The system's text for an error number, as the programs report it.
inline QString SystemReason(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

// A 64 KiB tmpfs on a temporary folder, unmounted when the object goes.
class TSmallDisk {
public:
    TSmallDisk() {
        const QByteArray where = QFile::encodeName(Dir.path());
        if (::mount("tmpfs", where.constData(), "tmpfs", 0, "size=64k") == 0)
            IsMounted = true;
        else
            Reason = SystemReason(errno);
    }
    ~TSmallDisk() {
        if (IsMounted)
            ::umount2(QFile::encodeName(Dir.path()).constData(), MNT_DETACH);
    }
    TSmallDisk(const TSmallDisk&) = delete;
    TSmallDisk& operator=(const TSmallDisk&) = delete;

    bool Mounted() const { return IsMounted; }
    QString Reason; // why it could not be mounted
    QString Path(const QString& name) const { return Dir.filePath(name); }

    // Writes a file until the disk takes no byte more; true when it did.
    bool Fill() const {
        const int fd = ::open(QFile::encodeName(Path(".fill")).constData(),
                              O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        const QByteArray block(4096, 'f');
        qsizetype chunk = block.size();
        while (chunk > 0) {
            if (::write(fd, block.constData(), static_cast<size_t>(chunk)) < 0) {
                if (errno != ENOSPC)
                    break;
                chunk /= 2;
            }
        }
        ::close(fd);
        return chunk == 0;
    }

private:
    QTemporaryDir Dir;
    bool IsMounted = false;
};
