// Data points per second through the frame handler, with the real-time filter
// and the summation on, each point drawn into a 1920 x 1000 pixel canvas with
// the plot's transforms (a plain buffer: the core has no image type).

#include "acquisition/acquisition_engine.h"
#include "config/settings_store.h"
#include "link/memory_serial_device.h"
#include "link/protocol.h"
#include "session/headless_session.h"
#include "spectrum/point_store.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>
#include <time.h>
#include <vector>

namespace {

// Draws like the plot does: one pixel per slot at (x(X), min(y(Y), H - 2))
// and the field marker as an exclusive-or triangle.
class TCanvasView final : public TAcquisitionView, public TControlsView, public TProcessingView {
public:
    static constexpr int W = 1920;
    static constexpr int H = 1000;
    TCanvasView(const TPointTable& store) : Store(store), Pixels(W * H, 0xFFFFFF) {}

    int X(long code) const { return static_cast<int>(std::nearbyint((code - ViewMin) * Kx)); }
    int Y(long ordinate) const {
        const int y = MidY - static_cast<int>(std::nearbyint((ordinate - 2048) * Ky));
        return std::min(y, H - 2);
    }
    void Put(int x, int y, std::uint32_t c) {
        if (x >= 0 && x < W && y >= 0 && y < H)
            Pixels[static_cast<std::size_t>(y) * W + x] = c;
    }
    void XorMarker(int x) {
        for (int i = 0; i <= 5; ++i)
            for (int k = x - i; k <= x + i; ++k)
                if (k >= 0 && k < W)
                    Pixels[static_cast<std::size_t>(H - 8 + i) * W + k] ^= 0x0000FF;
    }

    void SetStatusPanel(int, const QString&) override {}
    void AddMessage(const QString&) override {}
    void ClearMessages() override {}
    void ShowError(const QString&) override {}
    void PlotSlot(std::uint16_t slot) override {
        const TPointSlot& s = Store[slot];
        Put(X(s.X), Y(s.Y), 0x000000);
    }
    void PlotPoint(long code, long ordinate, TColorValue colour) override {
        Put(X(code), Y(ordinate), colour);
    }
    void MoveFieldMarker(long code) override {
        const int x = X(code);
        if (x == MarkerX)
            return;
        if (MarkerX >= 0)
            XorMarker(MarkerX);
        XorMarker(x);
        MarkerX = x;
    }
    void Repaint() override { std::fill(Pixels.begin(), Pixels.end(), 0xFFFFFF); }
    void SetVisirOrdinate(int, const QString&) override {}
    void SetAdcWindowShown(bool) override {}
    void SetAdcReading(const QString&) override {}
    void ShowControls(const TControlsState&) override {}
    void SetMinView(int) override {}
    void SetMaxView(int) override {}
    void RepaintPlot() override {}
    void ShowWarning(const QString&) override {}
    void ShowInformation(const QString&) override {}
    void SetBackUpEnabled(bool) override {}
    bool IsBackUpEnabled() const override { return false; }
    void SetGFactorShown(bool) override {}
    bool IsGFactorShown() const override { return false; }

private:
    const TPointTable& Store;
    std::vector<std::uint32_t> Pixels;
    int ViewMin = 0;
    float Kx = static_cast<float>(W) / 65519;
    float Ky = static_cast<float>(H) / 4096;
    int MidY = H / 2;
    int MarkerX = -1;
};

void BM_DataPoints(benchmark::State& state) {
    TKavCfg cfg;
    SetDefaults(cfg, QStringLiteral("/tmp"));
    cfg.EnableRTLPF = true;
    cfg.EnableRTSum = true;
    cfg.ShowFirst = true;
    auto store = std::make_unique<TPointTable>();
    auto undo = std::make_unique<TPointTable>();
    ClearPoints(*store);
    TInstrumentReadings readings;
    TSpectrumResults results;
    TValueFormat format(cfg, u'.');
    TCanvasView view(*store);
    TProcessingActions processing(*store, *undo, cfg, results, view, u'.');
    TKavReceiver receiver([](const QString&) { return std::make_unique<TMemorySerialDevice>(); });
    auto engine = std::make_unique<TAcquisitionEngine>(cfg, receiver, *store, readings, processing,
                                                       format, view, view);

    const std::uint8_t sweepStart[8] = {TmSweepStart, 0xFF, 0xEF, 0, 0, 0, 0};
    engine->HandleFrameBody(sweepStart);
    std::uint8_t body[8] = {TmDataPoint, 0, 0, 0, 0, 0x01, 0x08};
    std::uint32_t field = 0;
    std::uint32_t noise = 12345;
    for (auto _ : state) {
        if (field > MaxDataFieldCode) {
            field = 0;
            engine->HandleFrameBody(sweepStart);
        }
        noise = noise * 1103515245 + 12345;
        const std::uint16_t value = static_cast<std::uint16_t>(1800 + (noise >> 16) % 500);
        body[1] = static_cast<std::uint8_t>(field >> 8);
        body[2] = static_cast<std::uint8_t>(field);
        body[3] = static_cast<std::uint8_t>(value >> 8);
        body[4] = static_cast<std::uint8_t>(value);
        engine->HandleFrameBody(body);
        ++field;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DataPoints);

double ProcessCpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The receive mode as the window runs it, without the window: the engine on
// the simulated spectrometer with the real clock and the event loop, the
// handshake done, sweeps streaming. The figure is the process's processor
// time per wall second with the ADC readout on (a request every ADCFreq =
// 100 ms, each waiting for a CTS pulse); its floor the same receive mode
// with the readout off, run for as long right before.
void BM_ReceiveModeCpu(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "bench_acquisition";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    const int seconds = static_cast<int>(state.range(0));
    TKavCfg cfg;
    SetDefaults(cfg, QStringLiteral("/tmp"));
    cfg.Port.PortName = QStringLiteral("SIM");
    cfg.ADCFreq = 100;
    cfg.AutoSave = false;
    QStringList errors;
    int noCts = 0;
    THeadlessSession session(
        cfg, u'.', [&](const QString& text) { noCts += text.contains(QStringLiteral("CTS")); },
        [&](const QString& text) { errors << text; });
    TAcquisitionEngine& engine = session.Engine();
    auto run = [&](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        const double c0 = ProcessCpuSeconds();
        QElapsedTimer wall;
        wall.start();
        loop.exec();
        return (ProcessCpuSeconds() - c0) / (static_cast<double>(wall.nsecsElapsed()) * 1e-9);
    };
    double adcShare = 0;
    double floorShare = 0;
    for (auto _ : state) {
        engine.SetReceiveMode(true);
        run(2000); // the handshake and the first sweep
        engine.SetAdcView(false);
        floorShare = run(seconds * 1000);
        engine.SetAdcView(true);
        adcShare = run(seconds * 1000);
        engine.SetAdcView(false);
        engine.SetReceiveMode(false);
        state.SetIterationTime(seconds);
    }
    if (!session.Receiver().Opened() && errors.size() > 0)
        state.SkipWithError(errors.front().toStdString().c_str());
    state.counters["cpu_percent_adc"] = adcShare * 100;
    state.counters["cpu_percent_floor"] = floorShare * 100;
    state.counters["ratio"] = floorShare > 0 ? adcShare / floorShare : 0;
    state.counters["no_cts"] = noCts;
}
BENCHMARK(BM_ReceiveModeCpu)
    ->Arg(5)
    ->ArgName("seconds")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

} // namespace
