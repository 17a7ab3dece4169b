#include "link/memory_serial_device.h"

#include <algorithm>
#include <cstring>

bool TMemorySerialDevice::Open(const QString& name) {
    IsOpen = OpenResult;
    if (IsOpen)
        OpenedName = name;
    return IsOpen;
}

void TMemorySerialDevice::Close() {
    IsOpen = false;
}

bool TMemorySerialDevice::ApplyLine(const TLineSettings& line, QStringList& notes) {
    LastLine = line;
    ++ApplyCount;
    notes << ApplyNotes;
    return ApplyResult;
}

int TMemorySerialDevice::InQueueCount() {
    return static_cast<int>(In.size() - Head);
}

std::uint32_t TMemorySerialDevice::TakeLineErrors() {
    const std::uint32_t flags = Errors;
    Errors = 0;
    return flags;
}

int TMemorySerialDevice::Read(std::uint8_t* buffer, int count) {
    ++ReadCalls;
    const int waiting = InQueueCount();
    if (count > waiting)
        ++OverReads;
    const int n = std::clamp(count, 0, waiting);
    if (n > 0)
        std::memcpy(buffer, In.data() + Head, static_cast<std::size_t>(n));
    Head += static_cast<std::size_t>(n);
    if (Head == In.size()) {
        In.clear();
        Head = 0;
    }
    return n;
}

bool TMemorySerialDevice::Write(const std::uint8_t* buffer, int count) {
    ++WriteCalls;
    if (IsLost)
        return false;
    Written.append(reinterpret_cast<const char*>(buffer), count);
    return true;
}

std::optional<bool> TMemorySerialDevice::ClearToSend() {
    if (CtsSource)
        return CtsSource();
    return false;
}

void TMemorySerialDevice::Feed(const std::uint8_t* bytes, int count) {
    if (Head > 0 && Head >= In.size() / 2) {
        In.erase(In.begin(), In.begin() + static_cast<std::ptrdiff_t>(Head));
        Head = 0;
    }
    In.insert(In.end(), bytes, bytes + count);
}

void TMemorySerialDevice::Feed(const QByteArray& bytes) {
    Feed(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<int>(bytes.size()));
}

void TMemorySerialDevice::Feed(std::initializer_list<std::uint8_t> bytes) {
    Feed(bytes.begin(), static_cast<int>(bytes.size()));
}
