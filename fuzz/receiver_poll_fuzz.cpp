// Any byte stream, cut into any ticks, through the receive poll. Besides the
// sanitizers, each run checks the poll against a plain model of the framing
// rule: the same frames and the same checksum reports, in the same order,
// never a read past what was waiting.
#include "link/memory_serial_device.h"
#include "link/protocol.h"
#include "link/receiver.h"
#include "link/telemetry.h"

#include <QByteArray>
#include <QString>
#include <cstdlib>
#include <deque>
#include <vector>

namespace {

struct TModel {
    std::deque<std::uint8_t> Queue;
    std::vector<QByteArray> Events; // "F" + body, or "S" + computed + received

    void Tick() {
        if (Queue.size() <= 10)
            return;
        for (;;) {
            if (Queue.size() < 10)
                return;
            const std::uint8_t a = Pop();
            if (a != 0x7F)
                return;
            const std::uint8_t b = Pop();
            if (b != 0xAA)
                return;
            QByteArray body;
            for (int i = 0; i < 8; ++i)
                body.append(static_cast<char>(Pop()));
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(body.constData());
            if (ByteSum(bytes, 7) == bytes[7])
                Events.push_back("F" + body);
            else
                Events.push_back("S" + QByteArray::number(ByteSum(bytes, 7)) + "<>" +
                                 QByteArray::number(bytes[7]));
            if (Queue.size() <= 10)
                return;
        }
    }
    std::uint8_t Pop() {
        const std::uint8_t b = Queue.front();
        Queue.pop_front();
        return b;
    }
};

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TMemorySerialDevice* line = nullptr;
    TManualClock clock;
    TKavReceiver receiver(
        [&](const QString&) {
            auto device = std::make_unique<TMemorySerialDevice>();
            line = device.get();
            return device;
        },
        clock);
    std::vector<QByteArray> events;
    receiver.OnFrame = [&] {
        Check(ByteSum(receiver.RxBuffer.data(), 7) == receiver.RxBuffer[7]);
        const TTelemetry t = DecodeTelemetry(receiver.RxBuffer.data());
        (void)TelemetryLines(t);
        events.push_back("F" +
                         QByteArray(reinterpret_cast<const char*>(receiver.RxBuffer.data()), 8));
    };
    receiver.OnMessage = [&](const QString& text) {
        if (text.startsWith(QStringLiteral("Ошибка контрольной суммы (")))
            events.push_back("S" + text.mid(26, text.size() - 27).toLatin1());
    };
    TComSettings settings;
    settings.PortName = QStringLiteral("FUZZ");
    receiver.SetSettings(settings);
    Check(receiver.Opened() && line != nullptr);

    TModel model;
    // Each chunk: a length byte (its low 6 bits), then that many stream bytes;
    // a tick follows each chunk. A length byte with its top bit set also
    // raises a line error before the tick.
    std::size_t i = 0;
    while (i < size) {
        const std::uint8_t head = data[i++];
        const std::size_t length = std::min<std::size_t>(head & 0x3F, size - i);
        line->Feed(data + i, static_cast<int>(length));
        model.Queue.insert(model.Queue.end(), data + i, data + i + length);
        i += length;
        if (head & 0x80)
            line->AddLineErrors(LineErrorFraming);
        receiver.PollTick();
        model.Tick();
        Check(line->OverReads == 0);
        Check(line->InQueueCount() == static_cast<int>(model.Queue.size()));
    }
    Check(events == model.Events);
    return 0;
}
