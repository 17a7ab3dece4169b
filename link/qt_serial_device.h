#pragma once

#include "link/serial_device.h"

#include <QByteArray>
#include <QSerialPort>
#include <cstdint>

// A real serial line on QSerialPort. Received bytes are moved into this
// device's buffer on every readyRead, so with the event loop running nothing
// waits in the kernel's small queue for the next poll. What QSerialPort does
// not offer is done on its native handle: the exclusive lock, the driver's
// error counters (TIOCGICOUNT), the parity check flag, the modem lines and
// the wait for a change of CTS (TIOCMIWAIT, bounded by a TThreadAlarm).
class TQtSerialDevice final : public SerialDevice {
public:
    TQtSerialDevice();
    ~TQtSerialDevice() override;

    bool Open(const QString& name) override;
    QString OpenFailure() const override { return Failure; }
    void Close() override;
    bool ApplyLine(const TLineSettings& line, QStringList& notes) override;
    int InQueueCount() override;
    int OutQueueCount() override;
    std::uint32_t TakeLineErrors() override;
    int Read(std::uint8_t* buffer, int count) override;
    bool Write(const std::uint8_t* buffer, int count) override;
    std::optional<bool> ClearToSend() override;
    bool WaitClearToSendChange(std::int64_t timeoutMicros) override;
    bool Lost() const override { return IsLost; }
    QString LostReason() const override { return LostText; }

private:
    void TakeIn();
    void OnError(QSerialPort::SerialPortError error);
    // Why the line failed, in the system's words.
    QString LineFailure();
    std::optional<int> ModemLines() const;
    bool ReadCounters(std::uint32_t counts[5]);
    std::optional<std::uint32_t> CtsChangeCount() const;

    QSerialPort Port;
    QString Failure; // why the last Open failed
    QByteArray In;
    qsizetype Head = 0;
    bool DsrSensitive = false;
    bool IsLost = false;
    QString LostText; // the system's reason the line went away
    bool CountersAvailable = true;
    bool ModemWaitAvailable = true;              // false once the driver refused TIOCMIWAIT
    std::optional<std::uint32_t> CtsChangesSeen; // the CTS change count at the last look
    std::uint32_t Baseline[5] = {};              // overrun, buffer overrun, parity, frame, break
};
