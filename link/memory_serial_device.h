#pragma once

#include "link/serial_device.h"

#include <QByteArray>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// A serial line held in memory: what is fed in is what the port reads, what
// the port writes is kept. Replays captured bytes and stands in for a line
// wherever no device is at hand (tests, benchmarks, fuzzing).
class TMemorySerialDevice final : public SerialDevice {
public:
    bool Open(const QString& name) override;
    void Close() override;
    bool ApplyLine(const TLineSettings& line, QStringList& notes) override;
    int InQueueCount() override;
    int OutQueueCount() override { return PendingOut; }
    std::uint32_t TakeLineErrors() override;
    int Read(std::uint8_t* buffer, int count) override;
    bool Write(const std::uint8_t* buffer, int count) override;
    std::optional<bool> ClearToSend() override;
    bool Lost() const override { return IsLost; }
    QString LostReason() const override { return LostText; }

    void Feed(const std::uint8_t* bytes, int count);
    void Feed(const QByteArray& bytes);
    void Feed(std::initializer_list<std::uint8_t> bytes);
    void AddLineErrors(std::uint32_t flags) { Errors |= flags; }
    void SetLost(bool lost, const QString& reason = {}) {
        IsLost = lost;
        LostText = reason;
    }

    // What the line does when asked.
    bool OpenResult = true;
    bool ApplyResult = true;
    QStringList ApplyNotes;
    std::function<std::optional<bool>()> CtsSource; // unset: CTS off
    int PendingOut = 0;                             // bytes the output queue reports

    // What the port did with the line.
    bool IsOpen = false;
    QString OpenedName;
    TLineSettings LastLine;
    int ApplyCount = 0;
    QByteArray Written;
    int WriteCalls = 0;
    int ReadCalls = 0;
    int OverReads = 0; // reads that asked for more than was waiting

private:
    std::vector<std::uint8_t> In;
    std::size_t Head = 0;
    std::uint32_t Errors = 0;
    bool IsLost = false;
    QString LostText;
};
