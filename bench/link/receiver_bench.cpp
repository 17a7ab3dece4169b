// Frames per second through the receive poll and the telemetry decoding, on
// an in-memory line; the processor time that a send spends waiting for the
// CTS pulse of the simulated spectrometer.
#include "link/memory_serial_device.h"
#include "link/protocol.h"
#include "link/receiver.h"
#include "link/telemetry.h"
#include "sim/device_factory.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <time.h>

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

double Seconds(clockid_t clock) {
    timespec t{};
    ::clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// One ADC request after another to the simulated spectrometer on the real
// clock: each send waits for the next CTS pulse (a 4 ms pulse every 20 ms)
// and writes after its fall. The figure is the processor time of a send; its
// floor is the processor time of sleeping through the same wait, measured
// right after each send.
void SendWaitingForCts(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "bench_link_receiver";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    TKavReceiver receiver(DefaultDeviceFactory());
    int failures = 0;
    receiver.OnMessage = [&](const QString&) { ++failures; };
    TComSettings settings;
    settings.PortName = QStringLiteral("SIM");
    receiver.SetSettings(settings);
    if (!receiver.Opened()) {
        state.SkipWithError("SIM did not open");
        return;
    }
    const std::uint8_t request[] = {0x81, 0x58, CmdAdcRequest};
    double wall = 0, cpu = 0, floorCpu = 0;
    for (auto _ : state) {
        const double w0 = Seconds(CLOCK_MONOTONIC);
        const double c0 = Seconds(CLOCK_THREAD_CPUTIME_ID);
        receiver.Send(request, 3);
        const double c1 = Seconds(CLOCK_THREAD_CPUTIME_ID);
        const double w1 = Seconds(CLOCK_MONOTONIC);
        const double waited = w1 - w0;
        timespec pause{static_cast<time_t>(waited),
                       static_cast<long>((waited - static_cast<long>(waited)) * 1e9)};
        ::clock_nanosleep(CLOCK_MONOTONIC, 0, &pause, nullptr);
        const double c2 = Seconds(CLOCK_THREAD_CPUTIME_ID);
        wall += waited;
        cpu += c1 - c0;
        floorCpu += c2 - c1;
        state.SetIterationTime(c1 - c0);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["wait_ms"] = wall * 1e3 / n;
    state.counters["cpu_us"] = cpu * 1e6 / n;
    state.counters["floor_cpu_us"] = floorCpu * 1e6 / n;
    state.counters["ratio"] = floorCpu > 0 ? cpu / floorCpu : 0;
    state.counters["cpu_share"] = wall > 0 ? cpu / wall : 0;
    state.counters["no_cts"] = failures;
}

} // namespace

BENCHMARK(PollAndDecode)->Arg(1000)->Arg(100000);
BENCHMARK(SendWaitingForCts)->Iterations(100)->UseManualTime()->Unit(benchmark::kMicrosecond);
