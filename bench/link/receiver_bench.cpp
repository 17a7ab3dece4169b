// Frames per second through the receive poll and the telemetry decoding, on
// an in-memory line.
#include "link/memory_serial_device.h"
#include "link/protocol.h"
#include "link/receiver.h"
#include "link/telemetry.h"

#include <benchmark/benchmark.h>

namespace {

QByteArray Stream(int frames) {
    QByteArray stream;
    stream.reserve(frames * 10 + 1);
    for (int i = 0; i < frames; ++i) {
        const std::uint8_t body[7] = {
            TmDataPoint, static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i),
            0x08,        static_cast<std::uint8_t>(i * 7),  0x01,
            0x08};
        stream.append(static_cast<char>(FrameStartMarker));
        stream.append(static_cast<char>(FrameSecondMarker));
        stream.append(reinterpret_cast<const char*>(body), 7);
        stream.append(static_cast<char>(ByteSum(body, 7)));
    }
    stream.append('\0');
    return stream;
}

void PollAndDecode(benchmark::State& state) {
    const int frames = static_cast<int>(state.range(0));
    const QByteArray stream = Stream(frames);
    TMemorySerialDevice* line = nullptr;
    TKavReceiver receiver([&](const QString&) {
        auto device = std::make_unique<TMemorySerialDevice>();
        line = device.get();
        return device;
    });
    std::uint64_t fieldSum = 0;
    receiver.OnFrame = [&] {
        const TTelemetry t = DecodeTelemetry(receiver.RxBuffer.data());
        fieldSum += t.Field + t.Value + t.Gain.KodAmpl;
    };
    TComSettings settings;
    settings.PortName = QStringLiteral("MEM");
    receiver.SetSettings(settings);

    for (auto _ : state) {
        state.PauseTiming();
        line->Read(nullptr, 0);
        while (line->InQueueCount() > 0) {
            std::uint8_t scrap[256];
            line->Read(scrap, 256);
        }
        line->Feed(stream);
        state.ResumeTiming();
        receiver.PollTick();
    }
    benchmark::DoNotOptimize(fieldSum);
    state.SetItemsProcessed(state.iterations() * frames);
    state.counters["frames/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * frames), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(PollAndDecode)->Arg(1000)->Arg(100000);
