// The serial devices of the machine as the COM port dialog lists them, on a
// made-up /dev and /sys tree.

#include "link/port_names.h"
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
