// The main window's frame handling with live drawing at the line's top rate:
// 1 024 000 baud carries 102 400 bytes a second (8 data bits, start and stop
// bit), 10 240 telemetry frames. One iteration is one second of line time:
// the frames go through the receiver's poll (every 10 ms, as a short TimeOut
// would run it) into the engine, the store and the plot's canvas, and the
// plot reaches the (offscreen) screen once per display frame, 60 times. One
// forward sweep starts in that second (its full repaint counted) and one
// status message arrives. Reported: CPU time of the process per second of
// line time, as a share of one core.

#include "acquisition/acquisition_engine.h"
#include "app/main_window.h"
#include "bench/app/quiet_port.h"
#include "bench/bench_qt_app.h"
#include "config/message_port.h"
#include "link/memory_serial_device.h"
#include "link/protocol.h"
#include "link/receiver.h"
#include "session/kav_session.h"
#include "view/plot_widget.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>
#include <ctime>
#include <memory>

namespace {

constexpr int FramesPerSecond = 1024000 / 10 / 10;
constexpr int PollsPerSecond = 100;
constexpr int DisplayFramesPerSecond = 60;

void AddFrame(QByteArray& out, std::uint8_t type, std::initializer_list<int> payload) {
    std::uint8_t body[7] = {type};
    int k = 1;
    for (int b : payload)
        body[k++] = static_cast<std::uint8_t>(b);
    out.append("\x7F\xAA", 2);
    out.append(reinterpret_cast<const char*>(body), 7);
    out.append(static_cast<char>(ByteSum(body, 7)));
}

// One second of the line: a sweep start, a status message and data points
// across the whole field range with a derivative line and noise.
QByteArray LineSecond() {
    QByteArray bytes;
    AddFrame(bytes, TmSweepStart, {0xFF, 0xEF, 0, 0, 0, 0});
    AddFrame(bytes, TmStatus, {0x80, 0, 6, 0, 0x01, 0x0F});
    std::uint32_t noise = 12345;
    for (int k = 0; k < FramesPerSecond - 2; ++k) {
        const int code = k * 65519 / FramesPerSecond;
        const double u = (code - 32760) / 2500.0;
        noise = noise * 1103515245 + 12345;
        const int value = static_cast<int>(2048 - 1200 * 2.6 * u / ((1 + u * u) * (1 + u * u)) +
                                           static_cast<int>((noise >> 16) % 41) - 20);
        AddFrame(bytes, TmDataPoint,
                 {code >> 8, code & 0xFF, value >> 8, value & 0xFF, 0x01, 0x0F});
    }
    return bytes;
}

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_WindowFrameHandlingAtTopRate(benchmark::State& state) {
    BenchApp();
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    TMemorySerialDevice* line = nullptr;
    TQuietPort port;
    TKavSession session(
        [&line](const QString&) {
            auto device = std::make_unique<TMemorySerialDevice>();
            line = device.get();
            return device;
        },
        QChar('.'));
    auto window = std::make_unique<TKavMainForm>(session, port);
    auto* plot = window->findChild<TPlotWidget*>();
    window->show();
    QApplication::processEvents();
    // Only the frames are measured: the handshake timer and the poll timer
    // stand still, the poll is run here.
    session.Engine().KavTimer().stop();
    session.Receiver().PollTimer().stop();
    const QByteArray second = LineSecond();
    const qsizetype perPoll = second.size() / PollsPerSecond;

    double cpu = 0;
    for (auto _ : state) {
        const double start = ProcessCpuSeconds();
        int shownFrames = 0;
        for (int poll = 0; poll < PollsPerSecond; ++poll) {
            const qsizetype from = poll * perPoll;
            const qsizetype count = poll + 1 == PollsPerSecond ? second.size() - from : perPoll;
            line->Feed(second.mid(from, count));
            session.Receiver().PollTick();
            // The display frames that ended during this poll period.
            while (shownFrames * PollsPerSecond < (poll + 1) * DisplayFramesPerSecond) {
                plot->FlushLiveDrawing();
                QApplication::processEvents();
                ++shownFrames;
            }
        }
        cpu += ProcessCpuSeconds() - start;
    }
    state.counters["cpu_share_of_one_core_pct"] =
        benchmark::Counter(100 * cpu / static_cast<double>(state.iterations()));
    state.counters["frames_per_line_second"] = FramesPerSecond;
    window.reset();
    QDir::setCurrent(previous);
}
BENCHMARK(BM_WindowFrameHandlingAtTopRate)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
