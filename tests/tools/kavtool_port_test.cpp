// kavtool takes a device path as the port name whole.

#include "qstring_printer.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(KavtoolPort, ADevicePathIsUsedWhole) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0");
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(KAVTOOL_PATH, {"acquire", "--port", missing, "--sweeps", "1"});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 1);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.contains(missing)) << err.toStdString();
}
