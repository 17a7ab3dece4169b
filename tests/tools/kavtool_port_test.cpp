// kavtool takes a device path as the port name whole.

#include "kavtool_run.h"
#include "qstring_printer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(KavtoolPort, ADevicePathIsUsedWhole) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0");
    TKavtoolOptions options;
    options.WorkDir = dir.path();
    const TKavtoolRun r = RunKavtool({"acquire", "--port", missing, "--sweeps", "1"}, options);
    EXPECT_EQ(r.Exit, 1);
    EXPECT_TRUE(r.Err.contains(missing)) << r.Err.toStdString();
}
