#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

// Line settings as a device is asked to apply them: every choice already
// resolved to something the platform can do (see line_settings.h).
enum class TParityMode : std::uint8_t { None, Odd, Even, Mark, Space };
enum class TStopBitsMode : std::uint8_t { One, Two };
enum class TLineLevel : std::uint8_t { Off, On };

struct TLineSettings {
    std::int32_t BaudRate = 9600;
    TParityMode Parity = TParityMode::None;
    bool ParityCheck = false; // check received parity (on exactly when parity is used)
    TStopBitsMode StopBits = TStopBitsMode::One;
    bool HardwareFlow = false;        // RTS/CTS flow control; the driver then owns RTS
    TLineLevel Rts = TLineLevel::Off; // used only without hardware flow
    TLineLevel Dtr = TLineLevel::Off;
    bool DsrSensitivity = false; // drop received bytes while DSR is low

    bool operator==(const TLineSettings&) const = default;
};

// One serial line, as TCOMPort needs it. Received bytes are taken into the
// device's own buffer as they arrive; InQueueCount and Read work on that
// buffer, so a read never waits for the line.
class SerialDevice {
public:
    virtual ~SerialDevice() = default;

    // Opens the named line for exclusive use, 8 data bits, raw bytes.
    virtual bool Open(const QString& name) = 0;
    // Why the last Open failed, in the system's words; empty when not known.
    virtual QString OpenFailure() const { return {}; }
    virtual void Close() = 0;
    // Applies the line settings; false when the driver refuses them. What the
    // device itself cannot do is appended to notes, one line each.
    virtual bool ApplyLine(const TLineSettings& line, QStringList& notes) = 0;

    virtual int InQueueCount() = 0;
    virtual int OutQueueCount() = 0;
    // Line-error flags (LineError* of protocol.h) seen since the last call.
    virtual std::uint32_t TakeLineErrors() = 0;
    // Takes up to count bytes from the input buffer; returns how many.
    virtual int Read(std::uint8_t* buffer, int count) = 0;
    virtual bool Write(const std::uint8_t* buffer, int count) = 0;
    // The CTS line; empty when the device cannot report its modem lines.
    virtual std::optional<bool> ClearToSend() = 0;
    // Blocks until the CTS line may have changed since ClearToSend last read
    // it, for at most timeoutMicros; returning early is allowed. False when
    // the device cannot wait on its line: nothing was waited for, and the
    // caller looks again after a pause of its own.
    virtual bool WaitClearToSendChange(std::int64_t timeoutMicros) { return false; }
    // True once the line has gone away under an open port (unplugged adapter,
    // closed pseudo-terminal). Bytes already taken in stay readable.
    virtual bool Lost() const = 0;
    // Why the line went away, in the system's words; empty when not known.
    virtual QString LostReason() const { return {}; }
};

// Makes the device for a port name; null when no device serves that name.
using TDeviceFactory = std::function<std::unique_ptr<SerialDevice>(const QString& name)>;
