// Start-up to the first paint: the main window created on a Kav.ini in
// analysis mode whose last file holds 65 520 points, shown, until the plot
// has first been painted on the (offscreen) screen. The floor, in the same
// iteration: a minimal Qt window of the same size that reads the same file
// and paints its points into an image in its first paint. Also reported:
// the full paints of the plot on the way to its first paint.

#include "app/main_window.h"
#include "bench/app/quiet_port.h"
#include "bench/bench_qt_app.h"
#include "bench/paired_timing.h"
#include "config/message_port.h"
#include "config/settings_store.h"
#include "link/memory_serial_device.h"
#include "session/kav_session.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/parameter_block.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"
#include "view/plot_widget.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>

namespace {

constexpr int WindowW = 1280;
constexpr int WindowH = 800;

// A working directory whose Kav.ini starts in analysis mode with the last
// file: a derivative line with noise on every field code.
struct TStartDir {
    QTemporaryDir Dir;
    QString Previous = QDir::currentPath();
    QString File = Dir.filePath(QStringLiteral("last.kav"));

    TStartDir() {
        QDir::setCurrent(Dir.path());
        auto store = std::make_unique<TPointTable>();
        ClearPoints(*store);
        for (int k = 0; k <= MaxFieldCode; ++k) {
            const double u = (k - 32760) / 3000.0;
            const double v = -1500 * 2.6 * u / ((1 + u * u) * (1 + u * u)) + 30 * std::sin(k * 0.3);
            (*store)[k] = TPointSlot{static_cast<std::uint16_t>(k),
                                     static_cast<std::uint16_t>(std::lround(2048 + v))};
        }
        TKavCfg cfg{};
        SetDefaults(cfg, Dir.path());
        WriteParameterBlock(*store, cfg, TInstrumentReadings{});
        SaveSpectrumFile(File, *store);
        cfg.Mode = false;
        cfg.LastOpen = File;
        cfg.Position.Left = 40;
        cfg.Position.Top = 30;
        cfg.Position.Width = WindowW;
        cfg.Position.Height = WindowH;
        cfg.Position.State = TWindowState::Normal;
        SaveSettings(cfg, TRecentFiles{File}, SettingsFilePath(), QChar('.'), nullptr);
    }
    ~TStartDir() { QDir::setCurrent(Previous); }
};

// Notes when a widget has been painted.
class TPaintWatch final : public QObject {
public:
    bool Painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        Painted = Painted || event->type() == QEvent::Paint;
        return false;
    }
};

// The floor: a window that reads the file and paints its points.
class TMinimalPlot final : public QWidget {
public:
    bool Painted = false;
    explicit TMinimalPlot(const QString& path) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            Records = f.readAll();
        resize(WindowW, WindowH);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QImage image(size(), QImage::Format_RGB32);
        image.fill(qRgb(0, 0, 0));
        const auto* records = reinterpret_cast<const TPointSlot*>(Records.constData());
        const qsizetype count = Records.size() / qsizetype{sizeof(TPointSlot)};
        const double kx = static_cast<double>(width()) / MaxFieldCode;
        const double ky = static_cast<double>(height()) / 4096;
        for (qsizetype k = 0; k < count; ++k) {
            if (!IsValidSlot(records[k]))
                continue;
            const int x = static_cast<int>(records[k].X * kx);
            const int y = height() / 2 - static_cast<int>((records[k].Y - 2048) * ky);
            if (x >= 0 && x < width() && y >= 0 && y < height())
                reinterpret_cast<QRgb*>(image.scanLine(y))[x] = qRgb(255, 255, 0);
        }
        QPainter(this).drawImage(0, 0, image);
        Painted = true;
    }

private:
    QByteArray Records;
};

void BM_StartUpToFirstPaint(benchmark::State& state) {
    BenchApp();
    TStartDir dir;
    TQuietPort port;
    std::unique_ptr<TKavSession> session;
    std::unique_ptr<TKavMainForm> window;
    std::unique_ptr<TMinimalPlot> minimal;
    double fullPaints = 0;
    RunPaired(
        state,
        [&] {
            window.reset();
            session = std::make_unique<TKavSession>(
                [](const QString&) { return std::make_unique<TMemorySerialDevice>(); }, QChar('.'));
            window = std::make_unique<TKavMainForm>(*session, port);
            auto* plot = window->findChild<TPlotWidget*>();
            TPaintWatch watch;
            plot->installEventFilter(&watch);
            window->show();
            while (!watch.Painted)
                QApplication::processEvents();
            plot->removeEventFilter(&watch);
            fullPaints += plot->FullPaintCount();
        },
        [&] {
            minimal = std::make_unique<TMinimalPlot>(dir.File);
            minimal->show();
            while (!minimal->Painted)
                QApplication::processEvents();
        },
        1,
        [&] {
            window.reset();
            minimal.reset();
            QApplication::processEvents();
        });
    window.reset();
    minimal.reset();
    state.counters["full_paints"] = fullPaints / static_cast<double>(state.iterations());
}
BENCHMARK(BM_StartUpToFirstPaint)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace
