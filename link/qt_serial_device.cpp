#include "link/qt_serial_device.h"

#include "base/atomic_file.h"
#include "link/port_access.h"
#include "link/port_names.h"
#include "link/protocol.h"
#include "link/thread_alarm.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

TQtSerialDevice::TQtSerialDevice() {
    Port.setReadBufferSize(0);
    QObject::connect(&Port, &QSerialPort::readyRead, &Port, [this] { TakeIn(); });
    QObject::connect(&Port, &QSerialPort::errorOccurred, &Port,
                     [this](QSerialPort::SerialPortError error) { OnError(error); });
}

TQtSerialDevice::~TQtSerialDevice() {
    Close();
}

bool TQtSerialDevice::Open(const QString& name) {
    Close();
    Failure.clear();
    const QString path = PortDevicePath(name);
    // What stands in the way is found first, in the system's words: the
    // serial port module would report a missing device or a lock alike.
    Failure = PortAccessProblem(path);
    if (!Failure.isEmpty())
        return false;
    Port.setPortName(path);
    if (!Port.open(QIODevice::ReadWrite)) {
        // The device may be used, so a refusal now is another program's
        // lock on it (its lock file, or the kernel's exclusive mode).
        Failure = Port.error() == QSerialPort::PermissionError ? SystemErrorText(EBUSY)
                                                               : Port.errorString();
        return false;
    }
    // QSerialPort's lock file keeps other Qt programs out; the flock keeps out
    // every other opener that asks, including a second port in this process
    // and programs run by root, which TIOCEXCL lets through.
    if (::flock(static_cast<int>(Port.handle()), LOCK_EX | LOCK_NB) != 0) {
        Failure = SystemErrorText(EBUSY);
        Port.close();
        return false;
    }
    Port.setDataBits(QSerialPort::Data8);
    Port.clearError();
    IsLost = false;
    LostText.clear();
    CountersAvailable = true;
    ModemWaitAvailable = true;
    CtsChangesSeen.reset();
    std::uint32_t counts[5];
    if (ReadCounters(counts))
        std::copy(counts, counts + 5, Baseline);
    return true;
}

void TQtSerialDevice::Close() {
    if (Port.isOpen())
        Port.close();
    In.clear();
    Head = 0;
}

bool TQtSerialDevice::ApplyLine(const TLineSettings& line, QStringList& notes) {
    if (!Port.isOpen())
        return false;
    bool ok = Port.setBaudRate(line.BaudRate);
    QSerialPort::Parity parity = QSerialPort::NoParity;
    switch (line.Parity) {
    case TParityMode::None:
        parity = QSerialPort::NoParity;
        break;
    case TParityMode::Odd:
        parity = QSerialPort::OddParity;
        break;
    case TParityMode::Even:
        parity = QSerialPort::EvenParity;
        break;
    case TParityMode::Mark:
        parity = QSerialPort::MarkParity;
        break;
    case TParityMode::Space:
        parity = QSerialPort::SpaceParity;
        break;
    }
    ok = Port.setParity(parity) && ok;
    ok = Port.setStopBits(line.StopBits == TStopBitsMode::Two ? QSerialPort::TwoStop
                                                              : QSerialPort::OneStop) &&
         ok;
    ok = Port.setFlowControl(line.HardwareFlow ? QSerialPort::HardwareControl
                                               : QSerialPort::NoFlowControl) &&
         ok;

    // Parity errors are checked only when parity is used; a byte that fails
    // the check is passed on and counted, like any other line error.
    const int fd = static_cast<int>(Port.handle());
    termios tio{};
    if (::tcgetattr(fd, &tio) == 0) {
        tio.c_iflag &= ~static_cast<tcflag_t>(IGNPAR | PARMRK | IGNBRK);
        if (line.ParityCheck)
            tio.c_iflag |= INPCK;
        else
            tio.c_iflag &= ~static_cast<tcflag_t>(INPCK);
        ok = ::tcsetattr(fd, TCSANOW, &tio) == 0 && ok;
    } else {
        ok = false;
    }
    // Some drivers accept a setting and keep the old one (pseudo-terminals
    // that know no parity): what the driver holds is read back, so that a
    // setting not in force is never reported as applied.
    termios held{};
    if (::tcgetattr(fd, &held) != 0 || (held.c_cflag & CSIZE) != CS8 ||
        ((held.c_cflag & PARENB) != 0) != (line.Parity != TParityMode::None) ||
        ((held.c_cflag & CSTOPB) != 0) != (line.StopBits == TStopBitsMode::Two))
        ok = false;

    // The modem lines: a pseudo-terminal and some adapters have none.
    bool linesOk = true;
    if (!line.HardwareFlow)
        linesOk = Port.setRequestToSend(line.Rts == TLineLevel::On) && linesOk;
    linesOk = Port.setDataTerminalReady(line.Dtr == TLineLevel::On) && linesOk;
    if (!linesOk)
        notes << QCoreApplication::translate("QtSerialDevice", "Линии RTS и DTR порта недоступны");
    DsrSensitive = line.DsrSensitivity;
    if (DsrSensitive && !ModemLines())
        notes << QCoreApplication::translate("QtSerialDevice",
                                             "Линия DSR порта недоступна, приём без учёта DSR");
    Port.clearError();
    return ok;
}

void TQtSerialDevice::TakeIn() {
    if (!Port.isOpen())
        return;
    const QByteArray data = Port.readAll();
    if (data.isEmpty())
        return;
    if (DsrSensitive) {
        const std::optional<int> lines = ModemLines();
        if (lines && (*lines & TIOCM_DSR) == 0)
            return; // DSR low: the bytes are ignored, as asked
    }
    if (Head > 0 && Head >= In.size() / 2) {
        In.remove(0, Head);
        Head = 0;
    }
    In.append(data);
}

void TQtSerialDevice::OnError(QSerialPort::SerialPortError error) {
    // A read that fails (EIO on a hung-up line, a closed pseudo-terminal) or a
    // vanished resource (an unplugged adapter) means the line went away; the
    // read notifier would go on failing for ever.
    if ((error != QSerialPort::ResourceError && error != QSerialPort::ReadError) || IsLost)
        return;
    // Keep what has arrived, and close the port later, outside QSerialPort's
    // own notification, to stop its error reports.
    TakeIn();
    IsLost = true;
    LostText = LineFailure();
    QMetaObject::invokeMethod(
        &Port,
        [this] {
            if (Port.isOpen())
                Port.close();
        },
        Qt::QueuedConnection);
}

QString TQtSerialDevice::LineFailure() {
    // The serial port module's own text may name an error number that a call
    // after the failed read left behind; the descriptor is asked again, one
    // byte at a time so that a byte still there is kept.
    const int fd = static_cast<int>(Port.handle());
    for (;;) {
        char byte = 0;
        const ssize_t n = ::read(fd, &byte, 1);
        if (n == 1) {
            In.append(byte);
            continue;
        }
        if (n == 0)
            return SystemErrorText(EIO); // hung up
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return Port.errorString();
        return SystemErrorText(errno);
    }
}

int TQtSerialDevice::InQueueCount() {
    if (Port.isOpen() && Port.bytesAvailable() > 0)
        TakeIn();
    return static_cast<int>(In.size() - Head);
}

int TQtSerialDevice::OutQueueCount() {
    if (!Port.isOpen())
        return 0;
    int queued = 0;
    if (::ioctl(static_cast<int>(Port.handle()), TIOCOUTQ, &queued) != 0)
        queued = 0;
    return static_cast<int>(Port.bytesToWrite()) + queued;
}

bool TQtSerialDevice::ReadCounters(std::uint32_t counts[5]) {
    serial_icounter_struct ic{};
    if (!Port.isOpen() || ::ioctl(static_cast<int>(Port.handle()), TIOCGICOUNT, &ic) != 0)
        return false;
    counts[0] = static_cast<std::uint32_t>(ic.overrun);
    counts[1] = static_cast<std::uint32_t>(ic.buf_overrun);
    counts[2] = static_cast<std::uint32_t>(ic.parity);
    counts[3] = static_cast<std::uint32_t>(ic.frame);
    counts[4] = static_cast<std::uint32_t>(ic.brk);
    return true;
}

std::uint32_t TQtSerialDevice::TakeLineErrors() {
    // A pseudo-terminal and some USB adapters keep no counters: no errors
    // can be reported there, and the query is not repeated.
    if (!CountersAvailable)
        return 0;
    std::uint32_t counts[5];
    if (!ReadCounters(counts)) {
        CountersAvailable = false;
        return 0;
    }
    static constexpr std::uint32_t Flags[5] = {LineErrorOverrun, LineErrorRxOverflow,
                                               LineErrorParity, LineErrorFraming, LineErrorBreak};
    std::uint32_t flags = 0;
    for (int i = 0; i < 5; ++i) {
        if (counts[i] != Baseline[i])
            flags |= Flags[i];
        Baseline[i] = counts[i];
    }
    return flags;
}

int TQtSerialDevice::Read(std::uint8_t* buffer, int count) {
    const int n = std::clamp(count, 0, static_cast<int>(In.size() - Head));
    if (n > 0)
        std::memcpy(buffer, In.constData() + Head, static_cast<std::size_t>(n));
    Head += n;
    if (Head == In.size()) {
        In.clear();
        Head = 0;
    }
    return n;
}

bool TQtSerialDevice::Write(const std::uint8_t* buffer, int count) {
    if (!Port.isOpen() || IsLost)
        return false;
    const qint64 written = Port.write(reinterpret_cast<const char*>(buffer), count);
    Port.flush();
    return written == count && !IsLost;
}

std::optional<int> TQtSerialDevice::ModemLines() const {
    int lines = 0;
    if (!Port.isOpen() || ::ioctl(static_cast<int>(Port.handle()), TIOCMGET, &lines) != 0)
        return std::nullopt;
    return lines;
}

std::optional<std::uint32_t> TQtSerialDevice::CtsChangeCount() const {
    serial_icounter_struct ic{};
    if (!Port.isOpen() || ::ioctl(static_cast<int>(Port.handle()), TIOCGICOUNT, &ic) != 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(ic.cts);
}

std::optional<bool> TQtSerialDevice::ClearToSend() {
    // The driver's count of CTS changes is taken before the level, so that a
    // change after this look, even one over before the next wait begins, is
    // seen by that wait.
    CtsChangesSeen = CtsChangeCount();
    const std::optional<int> lines = ModemLines();
    if (!lines)
        return std::nullopt;
    return (*lines & TIOCM_CTS) != 0;
}

bool TQtSerialDevice::WaitClearToSendChange(std::int64_t timeoutMicros) {
    if (!Port.isOpen() || IsLost || !ModemWaitAvailable)
        return false;
    if (CtsChangesSeen && CtsChangeCount() != CtsChangesSeen)
        return true; // changed already
    // TIOCMIWAIT has no timeout of its own: the alarm ends it. Without an
    // alarm it is not called at all.
    const TThreadAlarm alarm(timeoutMicros);
    if (!alarm.Armed())
        return false;
    const int result = ::ioctl(static_cast<int>(Port.handle()), TIOCMIWAIT, TIOCM_CTS);
    const int error = errno;
    if (result == 0 || error == EINTR)
        return true; // the line changed, or the time is up
    // Pseudo-terminals and some adapters do not know the request; a line
    // gone away (EIO) is left to the pauses until the port notices.
    if (error == ENOTTY || error == EINVAL || error == ENOSYS)
        ModemWaitAvailable = false;
    return false;
}
