#include "link/com_port.h"
#include "link/line_settings.h"
#include "link/memory_port.h"
#include "link/memory_serial_device.h"
#include "link/port_names.h"

#include <gtest/gtest.h>

namespace {

// A port whose factory records every device it makes.
struct TRecordingPort {
    TRecordingPort()
        : Port([this](const QString& name) -> std::unique_ptr<SerialDevice> {
              Names << name;
              auto device = std::make_unique<TMemorySerialDevice>();
              device->OpenResult = !Refused.contains(name);
              device->ApplyResult = ApplyResult;
              device->ApplyNotes = DeviceNotes;
              Last = device.get();
              return device;
          }) {
        Port.OnMessage = [this](const QString& text) { Messages << text; };
    }
    QStringList Names;
    QStringList Refused;
    bool ApplyResult = true;
    QStringList DeviceNotes;
    TMemorySerialDevice* Last = nullptr;
    QStringList Messages;
    TCOMPort Port;
};

TComSettings Settings(const QString& name, int baud = 5) {
    TComSettings s;
    s.PortName = name;
    s.BaudRate = static_cast<std::uint8_t>(baud);
    s.TimeOut = 1000;
    s.SlaveAddress = 1;
    return s;
}

} // namespace

TEST(ComPort, SameNameChangesOnlyTheLineSettings) {
    TRecordingPort r;
    r.Port.SetSettings(Settings("COM1"));
    TMemorySerialDevice* first = r.Last;
    r.Port.SetSettings(Settings("COM1", 13));
    EXPECT_EQ(r.Names, QStringList{"COM1"});
    EXPECT_EQ(r.Port.Device(), first);
    EXPECT_EQ(first->ApplyCount, 2);
    EXPECT_EQ(first->LastLine.BaudRate, 256000);
    EXPECT_TRUE(r.Port.Opened());
}

TEST(ComPort, AnotherNameClosesTheOpenPortFirst) {
    TRecordingPort r;
    r.Port.SetSettings(Settings("COM1"));
    r.Port.SetSettings(Settings("ttyUSB0"));
    EXPECT_EQ(r.Names, (QStringList{"COM1", "ttyUSB0"}));
    EXPECT_EQ(r.Port.Settings().PortName, QStringLiteral("ttyUSB0"));
    EXPECT_EQ(r.Last->OpenedName, QStringLiteral("ttyUSB0"));
}

TEST(ComPort, LongNameIsHeldCutToTen) {
    TRecordingPort r;
    r.Port.SetSettings(Settings("ttyUSB0123456"));
    EXPECT_EQ(r.Port.Settings().PortName, QStringLiteral("ttyUSB0123"));
    r.Port.SetSettings(Settings("ttyUSB0123456"));
    EXPECT_EQ(r.Names.size(), 1); // the cut name matches: no reopen
}

TEST(ComPort, MissingPortLeavesItClosed) {
    TRecordingPort r;
    r.Refused << "COM7";
    r.Port.SetSettings(Settings("COM7"));
    EXPECT_FALSE(r.Port.Opened());
    EXPECT_EQ(r.Port.Device(), nullptr);
    EXPECT_EQ(r.Port.InQueueCount(), 0);
    EXPECT_TRUE(r.Port.OutQueueEmpty());
    const std::uint8_t byte = 1;
    EXPECT_FALSE(r.Port.Write(&byte, 1));
    EXPECT_FALSE(r.Port.ClearToSend().has_value());
}

TEST(ComPort, RefusedLineSettingsAreRetriedFromAFreshOpen) {
    TRecordingPort r;
    r.ApplyResult = false;
    r.Port.SetSettings(Settings("COM1"));
    EXPECT_FALSE(r.Port.Opened());
    r.ApplyResult = true;
    r.Port.SetSettings(Settings("COM1"));
    EXPECT_TRUE(r.Port.Opened());
    EXPECT_EQ(r.Names.size(), 2); // the refused handle was released and the port opened again
}

TEST(ComPort, EmptyNameOpensNothing) {
    TRecordingPort r;
    r.Port.SetSettings(Settings(""));
    EXPECT_FALSE(r.Port.Opened());
    EXPECT_TRUE(r.Names.isEmpty());
}

TEST(ComPort, BaudOutsideTheTableIsHeldAt9600AndReportedOnce) {
    TMemoryPort port;
    TComSettings s = Settings("COM1", 19);
    port.Receiver.SetSettings(s);
    EXPECT_EQ(port.Line->LastLine.BaudRate, 9600);
    EXPECT_EQ(port.Receiver.Settings().BaudRate, 5);
    EXPECT_TRUE(port.Messages.isEmpty()); // reported by the poll, after the owner is ready
    port.Receiver.PollTick();
    ASSERT_EQ(port.Messages.size(), 1);
    EXPECT_TRUE(port.Messages[0].contains(QStringLiteral("19")));
    port.Receiver.SetSettings(s);
    port.Receiver.PollTick();
    EXPECT_EQ(port.Messages.size(), 1);
}

TEST(ComPort, DeviceNotesAreReportedThroughTheLink) {
    TRecordingPort r;
    r.DeviceNotes << QStringLiteral("Линии RTS и DTR порта недоступны");
    TKavReceiver receiver([&](const QString& name) {
        auto device = std::make_unique<TMemorySerialDevice>();
        device->ApplyNotes = r.DeviceNotes;
        return device;
    });
    QStringList messages;
    receiver.OnMessage = [&](const QString& text) { messages << text; };
    receiver.SetSettings(Settings("COM1"));
    receiver.PollTick();
    EXPECT_EQ(messages, r.DeviceNotes);
}

TEST(ComPort, CloseReleasesTheDevice) {
    TRecordingPort r;
    r.Port.SetSettings(Settings("COM1"));
    r.Port.Close();
    EXPECT_FALSE(r.Port.Opened());
    EXPECT_EQ(r.Port.Device(), nullptr);
}

TEST(PortNames, MapToDevicePaths) {
    EXPECT_EQ(PortDevicePath("COM1"), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(PortDevicePath("COM12"), QStringLiteral("/dev/ttyS11"));
    EXPECT_EQ(PortDevicePath("ttyUSB0"), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(PortDevicePath("/dev/pts/3"), QStringLiteral("/dev/pts/3"));
    EXPECT_EQ(PortDevicePath("COM0"), QStringLiteral("/dev/COM0"));
    EXPECT_EQ(PortDevicePath("COMx"), QStringLiteral("/dev/COMx"));
}

TEST(LineSettings, RateAndParityFollowTheirTables) {
    const struct {
        int Baud, Rate, Parity;
        TParityMode Mode;
    } cases[] = {{13, 256000, 0, TParityMode::None},
                 {14, 230400, 2, TParityMode::Even},
                 {0, 300, 3, TParityMode::Mark},
                 {5, 9600, 4, TParityMode::Space},
                 {11, 115200, 1, TParityMode::Odd}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Baud);
        TComSettings s = Settings("COM1", c.Baud);
        s.Parity = static_cast<std::uint8_t>(c.Parity);
        QStringList notes;
        const TLineSettings line = ResolveLineSettings(s, notes);
        EXPECT_EQ(line.BaudRate, c.Rate);
        EXPECT_EQ(line.Parity, c.Mode);
        EXPECT_EQ(line.ParityCheck, c.Parity != 0);
        EXPECT_TRUE(notes.isEmpty());
    }
}

TEST(LineSettings, WhatLinuxCannotDoFallsBackWithANote) {
    TComSettings s = Settings("COM1");
    s.StopBits = 1;
    s.RTSControl = 3;
    s.DTRControl = 2;
    s.DSRControl = true;
    QStringList notes;
    const TLineSettings line = ResolveLineSettings(s, notes);
    EXPECT_EQ(line.StopBits, TStopBitsMode::Two);
    EXPECT_EQ(line.Rts, TLineLevel::On);
    EXPECT_EQ(line.Dtr, TLineLevel::On);
    EXPECT_FALSE(line.HardwareFlow);
    EXPECT_EQ(notes.size(), 4);
}

TEST(LineSettings, CtsAndRtsHandShakeShareOneFlowControl) {
    QStringList notes;
    TComSettings s = Settings("COM1");
    s.CTSControl = true;
    s.RTSControl = 2;
    EXPECT_TRUE(ResolveLineSettings(s, notes).HardwareFlow);
    EXPECT_TRUE(notes.isEmpty());
    s.RTSControl = 0;
    EXPECT_TRUE(ResolveLineSettings(s, notes).HardwareFlow);
    EXPECT_EQ(notes.size(), 1);
}

TEST(LineSettings, HandEditedValuesOutOfRangeAreHeldAtDefaults) {
    TComSettings s = Settings("COM1", 200);
    s.Parity = 9;
    s.StopBits = 7;
    s.RTSControl = 8;
    s.DTRControl = 5;
    QStringList notes;
    const TLineSettings line = ResolveLineSettings(s, notes);
    EXPECT_EQ(line, TLineSettings{});
    EXPECT_EQ(notes.size(), 5);
}
