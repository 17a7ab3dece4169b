// Port names as Kav.ini holds them: short names cut to ten characters,
// device paths whole.

#include "config/port_name.h"
#include "config/settings_store.h"
#include "qstring_printer.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(PortName, DevicePathsStayWholeThroughKavIni) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Kav.ini");
    const QString byId = "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0";
    for (const QString& name :
         {byId, QString("/dev/ttyUSB0"), QString("ttyUSB012345"), QString("COM12345678901")}) {
        SCOPED_TRACE(name.toStdString());
        TKavCfg cfg{};
        SetDefaults(cfg, dir.path());
        cfg.Port.PortName = name;
        ASSERT_TRUE(SaveSettings(cfg, {}, path, QChar('.')));
        TKavCfg back{};
        SetDefaults(back, dir.path());
        TRecentFiles recent;
        LoadSettings(back, recent, path, QChar('.'));
        EXPECT_EQ(back.Port.PortName, HeldPortName(name));
        EXPECT_EQ(back.Port.PortName, IsDevicePathName(name) ? name : name.left(10));
    }
    EXPECT_EQ(HeldPortName("SIM"), "SIM");
    EXPECT_EQ(HeldPortName(""), "");
}
