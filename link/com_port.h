#pragma once

#include "base/translated_text.h"
#include "config/kav_cfg.h"
#include "link/serial_device.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

// Why a port that opened is not used: its driver refused the line settings.
inline constexpr TTrText LineRefusedText{
    "ComPort",
    QT_TRANSLATE_NOOP("ComPort", "драйвер порта не принял скорость, чётность или стоповые биты")};

// One serial port: opened by name, set from a TComSettings record, raw bytes
// in and out, queue status and line errors. Knows nothing of frames.
class TCOMPort {
public:
    explicit TCOMPort(TDeviceFactory factory);
    virtual ~TCOMPort();

    TCOMPort(const TCOMPort&) = delete;
    TCOMPort& operator=(const TCOMPort&) = delete;

    bool Open(const QString& name);
    void Close();
    // Applies a whole record; the port is reopened only when the name changes
    // or it is not open.
    virtual void SetSettings(TComSettings settings);

    bool Write(const std::uint8_t* buffer, int count);
    // Reads exactly count bytes; false when fewer were waiting.
    bool Read(std::uint8_t* buffer, int count);
    int InQueueCount();
    bool OutQueueEmpty();
    std::optional<bool> ClearToSend();
    // The device's wait for a change of CTS (SerialDevice); false on a
    // closed port.
    bool WaitClearToSendChange(std::int64_t timeoutMicros);

    bool Opened() const { return IsOpened; }
    // Why the last open failed, in the system's words; empty when it did not
    // fail or no reason is known.
    const QString& OpenFailure() const { return Failure; }
    const TComSettings& Settings() const { return Held; }
    std::uint32_t LastErrors() const { return Errors; }
    // The device behind the port while a handle is held, else null.
    SerialDevice* Device() const { return Handle.get(); }
    // True when the line went away under the open port; cleared by Close.
    bool DeviceLost() const { return LostReported; }
    // The line that reported it: the port and the system's reason.
    const QString& LostMessage() const { return LostText; }
    // True once for each loss, to the first caller that asks after it.
    bool TakeLoss();

    // Where the link reports one line of text for the message window.
    std::function<void(const QString&)> OnMessage;

    std::array<std::uint8_t, 256> RxBuffer{};

protected:
    // Reports the setting notes not yet reported (called from the poll, so
    // that they reach the message window after the owner has prepared it).
    void ReportPendingNotes();
    void Report(const QString& text);

private:
    void CheckLost();

    TDeviceFactory Factory;
    std::unique_ptr<SerialDevice> Handle;
    bool IsOpened = false;
    QString Failure;
    TComSettings Held;
    std::uint32_t Errors = 0;
    std::uint32_t UnseenErrors = 0; // taken by queries other than InQueueCount
    bool LostReported = false;
    bool LossTaken = false;
    QString LostText;
    QStringList LastNotes;    // notes of the last settings applied
    QStringList PendingNotes; // not yet reported
};
