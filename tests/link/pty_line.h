#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

// A pseudo-terminal for the tests of the real serial device: the port opens
// the slave side through a short symlink (port names hold at most 10
// characters), the test plays the instrument on the non-blocking master.
struct TPtyLine {
    explicit TPtyLine(int index) {
        char slave[128] = {};
        int slaveFd = -1;
        if (::openpty(&Master, &slaveFd, slave, nullptr, nullptr) != 0)
            return;
        termios tio{};
        ::tcgetattr(slaveFd, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(slaveFd, TCSANOW, &tio);
        ::close(slaveFd);
        ::fcntl(Master, F_SETFL, ::fcntl(Master, F_GETFL) | O_NONBLOCK);
        // A program the test starts must not hold the master too: closing
        // it is how the test takes the line away.
        ::fcntl(Master, F_SETFD, FD_CLOEXEC);
        SlavePath = QString::fromLocal8Bit(slave);
        Link = QStringLiteral("/tmp/k%1")
                   .arg((::getpid() % 1000) * 10 + index, 4, 10, QLatin1Char('0'));
        ::unlink(Link.toLocal8Bit().constData());
        if (::symlink(slave, Link.toLocal8Bit().constData()) != 0)
            Link.clear();
    }
    ~TPtyLine() {
        CloseMaster();
        if (!Link.isEmpty())
            ::unlink(Link.toLocal8Bit().constData());
    }
    bool Ok() const { return Master >= 0 && !Link.isEmpty(); }
    void CloseMaster() {
        if (Master >= 0)
            ::close(Master);
        Master = -1;
    }
    // Writes what the master can take now; returns how many bytes.
    int WriteSome(const char* data, int count) {
        const ssize_t n = ::write(Master, data, static_cast<size_t>(count));
        return n > 0 ? static_cast<int>(n) : 0;
    }
    QByteArray ReadAll() {
        QByteArray all;
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(Master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            all.append(buffer, static_cast<int>(n));
        }
        return all;
    }

    int Master = -1;
    QString SlavePath;
    QString Link;
};

// Runs the event loop until done() holds or the limit has passed.
template <typename Done> bool PumpUntil(Done done, int limitMs = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}
