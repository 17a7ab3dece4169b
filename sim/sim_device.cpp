#include "sim/sim_device.h"

#include <algorithm>

TSimDevice::TSimDevice(const TClock& clock, std::uint64_t seed) : Clock(clock), Model(seed) {
    Ticker.setInterval(TickMs);
    QObject::connect(&Ticker, &QTimer::timeout, [this] { Model.Advance(TickMs); });
}

bool IsSimPortName(const QString& name) {
    return name.compare(QLatin1String("SIM"), Qt::CaseInsensitive) == 0;
}

bool TSimDevice::Open(const QString& name) {
    if (!IsSimPortName(name))
        return false;
    IsOpen = true;
    Ticker.start();
    return true;
}

void TSimDevice::Close() {
    IsOpen = false;
    Ticker.stop();
}

bool TSimDevice::ApplyLine(const TLineSettings& line, QStringList& notes) {
    Model.SetBaudRate(line.BaudRate);
    return IsOpen;
}

bool TSimDevice::Write(const std::uint8_t* buffer, int count) {
    if (!IsOpen)
        return false;
    Model.Receive(buffer, count);
    return true;
}

std::optional<bool> TSimDevice::ClearToSend() {
    if (!IsOpen)
        return std::nullopt;
    return Model.ClearToSend(Clock.NowMicros());
}

bool TSimDevice::WaitClearToSendChange(std::int64_t timeoutMicros) {
    if (!IsOpen)
        return false;
    const std::int64_t now = Clock.NowMicros();
    const std::int64_t limit = now + std::max<std::int64_t>(timeoutMicros, 0);
    const std::optional<std::int64_t> change = Model.NextCtsChange(now);
    Clock.SleepUntil(change ? std::min(*change, limit) : limit);
    return true;
}
