// The serial devices of the machine as the COM port dialog lists them, on a
// made-up /dev and /sys tree; device paths held whole by the port.

#include "link/port_names.h"
#include "memory_port.h"
#include "qstring_printer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void Touch(const QString& path, const QByteArray& content = {}) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

} // namespace

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

TEST(SerialDevicePaths, APortHoldsADevicePathWholeAndCutsAShortName) {
    const struct {
        const char* Name;
        const char* Held;
    } cases[] = {
        {"/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"/dev/serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0",
         "/dev/serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0"},
        {"ttyUSB012345", "ttyUSB0123"},
        {"COM3", "COM3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TMemoryPort port;
        port.Open(c.Name);
        ASSERT_TRUE(port.Receiver.Opened());
        EXPECT_EQ(port.Receiver.Settings().PortName, c.Held);
        EXPECT_EQ(port.Line->OpenedName, c.Held);
    }
}
