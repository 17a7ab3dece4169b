#pragma once

#include "link/memory_serial_device.h"
#include "link/receiver.h"

#include <QString>
#include <QStringList>
#include <memory>

// A receiver on an in-memory line, with its messages and frames recorded.
struct TMemoryPort {
    explicit TMemoryPort(const TClock& clock = SteadyClock())
        : Receiver(
              [this](const QString&) {
                  auto device = std::make_unique<TMemorySerialDevice>();
                  Line = device.get();
                  device->OpenResult = OpenResult;
                  return device;
              },
              clock) {
        Receiver.OnMessage = [this](const QString& text) { Messages << text; };
        Receiver.OnFrame = [this] {
            Frames << QByteArray(reinterpret_cast<const char*>(Receiver.RxBuffer.data()), 8);
        };
    }

    void Open(const QString& name = QStringLiteral("COM1")) {
        TComSettings settings;
        settings.PortName = name;
        settings.BaudRate = 5;
        settings.TimeOut = 1000;
        Receiver.SetSettings(settings);
    }

    bool OpenResult = true;
    TMemorySerialDevice* Line = nullptr;
    TKavReceiver Receiver;
    QStringList Messages;
    QList<QByteArray> Frames;
};

// The example data point of the protocol: 7F AA 02 10 00 08 00 05 03 22.
inline QByteArray GoodFrame() {
    return QByteArray::fromHex("7faa0210000800050322");
}
