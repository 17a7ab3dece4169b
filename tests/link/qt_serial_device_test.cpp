// The real serial device on pseudo-terminals, the alarm that bounds a
// blocking call, and the device list of the port dialog.
#include "base/atomic_file.h"
#include "link/port_access.h"
#include "link/port_names.h"
#include "link/protocol.h"
#include "link/pty_line.h"
#include "link/qt_serial_device.h"
#include "link/receiver.h"
#include "link/test_app.h"
#include "link/thread_alarm.h"
#include "qstring_printer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

namespace {

TDeviceFactory RealLines() {
    return [](const QString&) { return std::make_unique<TQtSerialDevice>(); };
}

TComSettings PortOn(const QString& name) {
    TComSettings s;
    s.PortName = name;
    s.BaudRate = 11; // 115200
    s.StopBits = 2;
    s.TimeOut = 1000;
    s.SlaveAddress = 1;
    return s;
}

// A data point frame whose field code is the sequence number.
QByteArray NumberedFrame(int i) {
    const std::uint8_t body[7] = {TmDataPoint, std::uint8_t(i >> 8), std::uint8_t(i), 8, 0, 1, 8};
    return QByteArray() + char(FrameStartMarker) + char(FrameSecondMarker) +
           QByteArray(reinterpret_cast<const char*>(body), 7) + char(ByteSum(body, 7));
}

// The line settings as the driver holds them, read through a second descriptor.
termios DriverSettings(const QString& path) {
    termios tio{};
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(::tcgetattr(fd, &tio), 0);
    ::close(fd);
    return tio;
}

struct TPtyReceiver {
    explicit TPtyReceiver(int index) : Line(index), Receiver(RealLines()) {
        TestApp();
        Receiver.OnMessage = [this](const QString& text) { Messages << text; };
        Receiver.OnFrame = [this] { Fields << (Receiver.RxBuffer[1] << 8 | Receiver.RxBuffer[2]); };
    }
    // Opens the receiver on the line; false when the line or the port failed.
    bool Open(TComSettings s) {
        Receiver.SetSettings(s);
        return Line.Ok() && Receiver.Opened();
    }
    bool Open() { return Open(PortOn(Line.Link)); }
    // Feeds the bytes and waits until the port holds them all.
    bool Feed(const QByteArray& bytes) {
        Line.WriteSome(bytes.constData(), static_cast<int>(bytes.size()));
        return PumpUntil([&] { return Receiver.InQueueCount() == bytes.size(); });
    }
    TPtyLine Line;
    TKavReceiver Receiver;
    QStringList Messages;
    QList<int> Fields;
};

void Touch(const QString& path, const QByteArray& content = {}) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

} // namespace

TEST(PtyLine, OpensAppliesTheSettingsAndCarriesBytesBothWays) {
    TPtyReceiver r(1);
    ASSERT_TRUE(r.Open());
    termios tio = DriverSettings(r.Line.SlavePath);
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B115200));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & PARENB, 0u);
    EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(tio.c_iflag & INPCK, 0u);

    // A changed record on the same name: applied without reopening. Some
    // pseudo-terminals refuse parity; a refused setting must leave the port
    // not opened, never pretend it holds.
    TComSettings next = PortOn(r.Line.Link);
    next.Parity = 2;
    next.StopBits = 0;
    SerialDevice* device = r.Receiver.Device();
    r.Receiver.SetSettings(next);
    EXPECT_EQ(r.Receiver.Device(), device);
    tio = DriverSettings(r.Line.SlavePath);
    EXPECT_EQ(tio.c_cflag & CSTOPB, 0u);
    if (tio.c_cflag & PARENB) {
        EXPECT_TRUE(r.Receiver.Opened());
        EXPECT_EQ(tio.c_cflag & PARODD, 0u);
        EXPECT_NE(tio.c_iflag & INPCK, 0u);
    } else {
        EXPECT_FALSE(r.Receiver.Opened());
    }
    next.Parity = 0;
    r.Receiver.SetSettings(next);
    ASSERT_TRUE(r.Receiver.Opened());

    // Instrument to program.
    ASSERT_TRUE(r.Feed(NumberedFrame(1) + NumberedFrame(2) + QByteArray(1, '\0')));
    r.Receiver.PollTick();
    EXPECT_EQ(r.Fields, (QList<int>{1, 2}));
    // A pseudo-terminal has no modem lines and no error counters: said once.
    EXPECT_TRUE(r.Messages.contains(QStringLiteral("Линии RTS и DTR порта недоступны")));
    EXPECT_FALSE(r.Receiver.ClearToSend().has_value());
    EXPECT_EQ(r.Receiver.LastErrors(), 0u);

    // Program to instrument.
    const std::uint8_t command[] = {0x81, 0x58, 0x90};
    EXPECT_TRUE(r.Receiver.Write(command, 3));
    QByteArray received;
    ASSERT_TRUE(PumpUntil([&] {
        received += r.Line.ReadAll();
        return received.size() >= 3;
    }));
    EXPECT_EQ(received.toHex(), "815890");
    EXPECT_TRUE(PumpUntil([&] { return r.Receiver.OutQueueEmpty(); }));
}

TEST(PtyLine, VanishedDeviceIsReportedAndTheRestDelivered) {
    TPtyReceiver r(3);
    ASSERT_TRUE(r.Open());
    r.Receiver.PollTick();
    r.Messages.clear();
    ASSERT_TRUE(r.Feed(NumberedFrame(7) + NumberedFrame(8)));
    r.Line.CloseMaster();
    ASSERT_TRUE(PumpUntil([&] { return r.Receiver.Device()->Lost(); }));
    QCoreApplication::processEvents(); // the device closes its side outside the notification

    r.Receiver.PollTick();
    EXPECT_EQ(r.Fields, (QList<int>{7, 8}));
    ASSERT_EQ(r.Messages.size(), 1);
    EXPECT_EQ(r.Messages[0],
              "Порт " + r.Line.Link + " недоступен: связь потеряна (" + SystemErrorText(EIO) + ")");
    EXPECT_FALSE(r.Receiver.Opened());
    const std::uint8_t byte = 0;
    EXPECT_FALSE(r.Receiver.Write(&byte, 1));
    EXPECT_FALSE(r.Receiver.Send(&byte, 1));
    r.Receiver.PollTick();
    EXPECT_EQ(r.Messages.size(), 1);
}

TEST(PtyLine, NothingIsLostWhileThePollWaits) {
    TPtyReceiver r(4);
    ASSERT_TRUE(r.Open());

    // 40 000 frames, 400 000 bytes: far more than a kernel queue holds.
    constexpr int FrameCount = 40000;
    QByteArray stream;
    for (int i = 0; i < FrameCount; ++i)
        stream += NumberedFrame(i);
    stream += QByteArray(1, '\0');

    int sent = 0;
    QElapsedTimer timer;
    timer.start();
    while (sent < stream.size() && timer.elapsed() < 20000) {
        // Never blocks: the master is non-blocking, and what it cannot take
        // now goes after the event loop has let the port take bytes in.
        sent += r.Line.WriteSome(stream.constData() + sent, static_cast<int>(stream.size()) - sent);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    ASSERT_EQ(sent, stream.size());
    ASSERT_TRUE(PumpUntil([&] { return r.Receiver.InQueueCount() == stream.size(); }));
    EXPECT_TRUE(r.Fields.isEmpty());

    r.Receiver.PollTick();
    ASSERT_EQ(r.Fields.size(), FrameCount);
    for (int i = 0; i < FrameCount; ++i)
        ASSERT_EQ(r.Fields[i], i & 0xFFFF) << i;
    EXPECT_EQ(r.Receiver.InQueueCount(), 1);
}

TEST(PtyLine, NonStandardRateDsrAndCtsOnALineWithoutModemLines) {
    TPtyReceiver r(5);
    TComSettings s = PortOn(r.Line.Link);
    s.BaudRate = 13; // 256000, set through the driver's arbitrary-rate call
    s.DSRSensitivity = true;
    ASSERT_TRUE(r.Open(s));
    // No DSR line to watch: said so, and the bytes are not thrown away.
    ASSERT_TRUE(r.Feed(NumberedFrame(3) + QByteArray(1, '\0')));
    r.Receiver.PollTick();
    EXPECT_EQ(r.Fields, QList<int>{3});
    EXPECT_TRUE(
        r.Messages.contains(QStringLiteral("Линия DSR порта недоступна, приём без учёта DSR")));
    // No CTS line to wait on either (the send pauses instead), and no pulse.
    EXPECT_FALSE(r.Receiver.Device()->WaitClearToSendChange(1000));
    EXPECT_FALSE(r.Receiver.SendCommand(CmdAdcRequest, TCommandValues{}));
    EXPECT_TRUE(r.Messages.contains(QStringLiteral("Отсутствует сигнал CTS")));
    EXPECT_TRUE(r.Line.ReadAll().isEmpty());
}

// ---- The alarm that bounds a blocking call ----------------------------------

TEST(ThreadAlarm, EndsABlockingCallLeavesNothingBehindAndNeedsItsSignal) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    pollfd nothing{fds[0], POLLIN, 0};
    {
        // A poll on an empty pipe, for ten seconds unless the alarm ends it.
        const TThreadAlarm alarm(20'000);
        ASSERT_TRUE(alarm.Armed());
        errno = 0;
        EXPECT_EQ(::poll(&nothing, 1, 10'000), -1);
        EXPECT_EQ(errno, EINTR);
    }
    {
        // A call that ends first is not disturbed, and neither is anything
        // after the alarm is gone.
        const TThreadAlarm alarm(50'000);
        ASSERT_TRUE(alarm.Armed());
        ASSERT_EQ(::write(fds[1], "x", 1), 1);
        EXPECT_EQ(::poll(&nothing, 1, 10'000), 1);
    }
    const timespec pause{0, 80'000'000}; // past both alarms' times
    EXPECT_EQ(::clock_nanosleep(CLOCK_MONOTONIC, 0, &pause, nullptr), 0);
    ::close(fds[0]);
    ::close(fds[1]);

    // Not armed where its signal cannot arrive.
    sigset_t block;
    sigemptyset(&block);
    sigaddset(&block, TThreadAlarm::Signal());
    sigset_t old;
    ASSERT_EQ(::pthread_sigmask(SIG_BLOCK, &block, &old), 0);
    {
        const TThreadAlarm alarm(1000);
        EXPECT_FALSE(alarm.Armed());
    }
    ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
    EXPECT_TRUE(TThreadAlarm(1000).Armed());
}

// ---- The device list of the port dialog, on a made-up /dev and /sys tree ---

TEST(SerialDevicePaths, GroupsInOrderNumbersAsNumbersPhantomUartsLeftOut) {
    QTemporaryDir root;
    const QString dev = root.filePath("dev");
    const QString sys = root.filePath("sys/class/tty");
    for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "ttyS1", "ttyS2", "ttyS3",
                             "ttySx", "ttyUSB", "tty0", "ttyAMA0", "null"})
        Touch(dev + "/" + name);
    Touch(sys + "/ttyS0/type", "4\n"); // a 16550A: a real port
    Touch(sys + "/ttyS1/type", "0\n"); // no UART behind the name
    Touch(sys + "/ttyS2/type", "0\n");
    // ttyS3 has no type: nothing is known, it is offered.
    Touch(dev + "/serial/by-id/usb-Prolific-if00-port0");
    Touch(dev + "/serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0");

    EXPECT_EQ(
        SerialDevicePaths(dev, sys),
        (QStringList{dev + "/ttyUSB2", dev + "/ttyUSB10", dev + "/ttyACM0", dev + "/ttyS0",
                     dev + "/ttyS3", dev + "/serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0",
                     dev + "/serial/by-id/usb-Prolific-if00-port0"}));
    EXPECT_EQ(SerialDevicePaths(root.filePath("none"), sys), QStringList{});
}

// ---- Why a port does not open ------------------------------------------------

TEST(PortAccess, TheSystemsReasonForWhatStandsInTheWay) {
    QTemporaryDir root;
    const QString file = root.filePath("file");
    Touch(file);
    const QString dangling = root.filePath("by-id-gone");
    ASSERT_EQ(::symlink("/nonexistent/ttyUSB9", dangling.toLocal8Bit().constData()), 0);
    const struct {
        QString Path;
        int Errno; // 0: nothing in the way
    } cases[] = {
        {root.filePath("ttyUSB7"), ENOENT},
        {dangling, ENOENT},
        {file + "/x", ENOTDIR},
        {file, ENOTTY},
        {root.path(), ENOTTY},
        {"/dev/null", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PortAccessProblem(c.Path), c.Errno ? SystemErrorText(c.Errno) : QString())
            << c.Path.toStdString();

    // What to do about "Permission denied" on a device its group may use.
    const QString denied = SystemErrorText(EACCES);
    EXPECT_EQ(PermissionDeniedText("dialout", TGroupMembership::NotListed),
              denied + " — добавьте пользователя в группу dialout");
    EXPECT_EQ(PermissionDeniedText("uucp", TGroupMembership::ListedNotActive),
              denied + " — пользователь уже в группе uucp, войдите в систему заново");
    EXPECT_EQ(PermissionDeniedText("dialout", TGroupMembership::Active), denied);
}

// The port keeps the reason of its last failed open; an open that succeeds
// forgets it. A second opener is refused, under either name, and told that
// the device is busy; once the first lets go, the port can be had.
TEST(PtyLine, APortThatDoesNotOpenKeepsTheSystemsReason) {
    TPtyReceiver r(8);
    r.Receiver.SetSettings(PortOn(r.Line.Link + "-gone"));
    EXPECT_FALSE(r.Receiver.Opened());
    EXPECT_EQ(r.Receiver.OpenFailure(), SystemErrorText(ENOENT));
    ASSERT_TRUE(r.Open());
    EXPECT_EQ(r.Receiver.OpenFailure(), QString());

    TKavReceiver second(RealLines());
    second.SetSettings(PortOn(r.Line.Link));
    EXPECT_FALSE(second.Opened());
    EXPECT_EQ(second.Device(), nullptr);
    EXPECT_EQ(second.OpenFailure(), SystemErrorText(EBUSY));
    second.SetSettings(PortOn(r.Line.SlavePath));
    EXPECT_FALSE(second.Opened());
    r.Receiver.Stop();
    second.SetSettings(PortOn(r.Line.Link));
    EXPECT_TRUE(second.Opened());
}
