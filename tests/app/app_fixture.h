#pragma once

#include "acquisition/acquisition_engine.h"
#include "acquisition/message_window.h"
#include "app/instrument_groups_widget.h"
#include "app/main_window.h"
#include "app/receive_view.h"
#include "config/message_port.h"
#include "config/settings_store.h"
#include "link/memory_serial_device.h"
#include "link/protocol.h"
#include "link/receiver.h"
#include "qstring_printer.h"
#include "scripted_port.h"
#include "session/kav_session.h"
#include "sim/sim_device.h"
#include "spectrum/parameter_block.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"
#include "view/display_color_painter.h"
#include "view/plot_widget.h"
#include "view/qt_app.h"
#include "view/status_bar_widget.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <tuple>
#include <utility>
#include <vector>

// A temporary directory that is the process's current directory meanwhile,
// so Kav.ini is read and written there.
struct TAppDir {
    QTemporaryDir Dir;
    QString Previous = QDir::currentPath();

    TAppDir() { QDir::setCurrent(Dir.path()); }
    ~TAppDir() { QDir::setCurrent(Previous); }

    QString Path(const QString& name) const { return Dir.filePath(name); }
    // A file of the folder by name or by its absolute path, written or read
    // whole (nothing when it cannot be read).
    void Write(const QString& name, const QByteArray& bytes) const {
        QFile f(QDir(Dir.path()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << name.toStdString();
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    QByteArray Read(const QString& name) const {
        QFile f(QDir(Dir.path()).filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void WriteIni(const QByteArray& text) const { Write(QStringLiteral("Kav.ini"), text); }
    QByteArray IniText() const { return Read(QStringLiteral("Kav.ini")); }
    TKavCfg ReadBack(TRecentFiles* recent = nullptr) const {
        TKavCfg cfg{};
        SetDefaults(cfg, Dir.path());
        TRecentFiles r;
        LoadSettings(cfg, recent ? *recent : r, Path(QStringLiteral("Kav.ini")), QChar('.'));
        return cfg;
    }
};

// What a test spectrum carries in its parameter records.
struct TSpectrumRecords {
    std::uint8_t Rapid = 5;
    double FieldLow = 3100; // sweep unit 3 at code 0, Э
    double FieldHigh = 3400;
    std::uint8_t Serial = 7;
    std::uint8_t Program = 3;
    std::int32_t SumCount = 4;
};

// Three first-derivative lines of different height on a flat base, a point
// every 4 codes from 1000 to 64000, with its parameter records.
inline void WriteTestSpectrum(const QString& path, const TSpectrumRecords& rec = {}) {
    auto store = std::make_unique<TPointTable>();
    ClearPoints(*store);
    const double centres[] = {20000, 35000, 50000};
    const double heights[] = {700, 900, 450};
    for (int code = 1000; code <= 64000; code += 4) {
        double y = 2048;
        for (int k = 0; k < 3; ++k) {
            const double x = (code - centres[k]) / 900.0;
            y -= heights[k] * 2.6 * x / std::pow(1 + x * x, 2);
        }
        (*store)[code] = TPointSlot{static_cast<std::uint16_t>(code),
                                    static_cast<std::uint16_t>(std::lround(y))};
    }
    TKavCfg cfg{};
    SetDefaults(cfg, QDir::currentPath());
    cfg.Rapid = rec.Rapid;
    cfg.RazvUnits[3].X1 = rec.FieldLow;
    cfg.RazvUnits[3].X2 = rec.FieldHigh;
    TInstrumentReadings readings;
    readings.InstrumentSerial = rec.Serial;
    readings.InstrumentProgram = rec.Program;
    readings.SumCount = rec.SumCount;
    WriteParameterBlock(*store, cfg, readings);
    ASSERT_TRUE(SaveSpectrumFile(path, *store));
}

// A caption as the user reads it: without the "&" that marks its mnemonic.
inline QString Caption(const QString& text) {
    return QString(text).remove(u'&');
}

// The action of a menu of the menu bar by the menu's title and the item's
// caption; null when there is none.
inline QAction* MenuItem(QMainWindow& w, const QString& menu, const QString& item) {
    for (QAction* top : w.menuBar()->actions()) {
        if (Caption(top->text()) != menu || !top->menu())
            continue;
        for (QAction* a : top->menu()->actions())
            if (Caption(a->text()) == item)
                return a;
    }
    return nullptr;
}

// The lines a test window opens: "SIM" is the simulated spectrometer, any
// other name a quiet line that takes every command (its CTS pulses at each
// look) and never answers. No test touches the machine's serial ports.
inline TDeviceFactory TestDevices() {
    return [](const QString& name) -> std::unique_ptr<SerialDevice> {
        if (IsSimPortName(name))
            return std::make_unique<TSimDevice>();
        auto quiet = std::make_unique<TMemorySerialDevice>();
        quiet->CtsSource = [high = false]() mutable -> std::optional<bool> {
            high = !high;
            return high;
        };
        return quiet;
    };
}

// A window on a session: the session outlives the window, as in the program.
struct TShownWindow {
    std::unique_ptr<TKavSession> Session;
    std::unique_ptr<TKavMainForm> Window;

    TShownWindow() = default;
    TShownWindow(TShownWindow&&) = default;
    // The window goes before the session it shows.
    TShownWindow& operator=(TShownWindow&& other) {
        Window.reset();
        Session = std::move(other.Session);
        Window = std::move(other.Window);
        return *this;
    }
    ~TShownWindow() { Window.reset(); }

    TKavMainForm* operator->() const { return Window.get(); }
    TKavMainForm& operator*() const { return *Window; }
    TKavMainForm* get() const { return Window.get(); }
};

// A window on a fresh Kav.ini of the current directory, shown.
inline TShownWindow ShowWindow(TMessagePort& port, TDeviceFactory devices = TestDevices()) {
    TShownWindow w;
    w.Session = std::make_unique<TKavSession>(std::move(devices), QChar('.'));
    w.Window = std::make_unique<TKavMainForm>(*w.Session, port);
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    return w;
}

// A child of a window by type and object name, as the operator meets it.
template <class T> T* Find(const QObject& window, const char* name) {
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_TRUE(child) << name;
    return child;
}
// With $KAV7_SCREENSHOT_DIR set, a picture of `w` for the eye goes there.
inline void SavePicture(QWidget& w, const QString& name) {
    const QString dir = qEnvironmentVariable("KAV7_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        EXPECT_TRUE(w.grab().save(QDir(dir).filePath(name), "PNG"));
    }
}

inline QAction* Act(const QObject& window, const char* name) {
    return Find<QAction>(window, name);
}

// The window's status bar and plot.
inline TKavStatusBar* Bar(const QObject& window) {
    return Find<TKavStatusBar>(window, "KavStatusBar");
}
inline TPlotWidget* Plot(const QObject& window) {
    return Find<TPlotWidget>(window, "ScreenBox");
}

// The texts of some status panels, in the order asked.
inline QStringList Panels(const QObject& window, std::initializer_list<int> panels) {
    QStringList texts;
    for (int k : panels)
        texts << Bar(window)->Panel(k);
    return texts;
}

// Pixels of a colour on the plot's canvas.
inline int PixelsOf(const QObject& window, TColorValue colour) {
    const QImage& canvas = Plot(window)->Canvas();
    const QRgb wanted = ToRgb(colour) & 0xFFFFFF;
    int n = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            n += (canvas.pixel(x, y) & 0xFFFFFF) == wanted;
    return n;
}

// A widget's rectangle in its window's coordinates.
inline QRect InWindow(const QWidget* w, const QWidget* window) {
    return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
}

// A shown window on a fresh Kav.ini; OpenTestSpectrum opens lines.kav in it
// as the operator does.
struct TWindowTest : ::testing::Test {
    TAppDir Dir;
    TScriptedPort Port;
    QString File = Dir.Path(QStringLiteral("lines.kav"));
    TShownWindow W = ShowWindow(Port);

    QAction* Item(const char* menu, const char* item) const {
        return MenuItem(*W, QString::fromUtf8(menu), QString::fromUtf8(item));
    }
    void OpenTestSpectrum() {
        WriteTestSpectrum(File);
        Port.OpenAnswers << File;
        Item("Спектр", "Открыть...")->trigger();
        ASSERT_EQ(W->windowTitle(), QStringLiteral("Kavis - lines.kav"));
    }
};

// The option dialogs of the menus, shown while the user's part is played in
// them.
struct TDialogWindowTest : TWindowTest {
    QStringList Opened; // the dialogs shown, by class

    // Runs a menu item; `play` is the user's part in its dialog.
    void Run(const char* menu, const char* item, const std::function<void(QDialog&)>& play) {
        Port.OnDialog = [&](QDialog& d) {
            Opened << QString::fromLatin1(d.metaObject()->className());
            d.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
            play(d);
            d.hide();
        };
        QAction* action = Item(menu, item);
        ASSERT_TRUE(action && action->isEnabled()) << item;
        action->trigger();
        Port.OnDialog = nullptr;
    }
    template <class T> static T* Child(QDialog& d, const char* name) {
        T* w = d.findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    static void Ok(QDialog& d) {
        QTest::mouseClick(Child<QPushButton>(d, "OKBtn"), Qt::LeftButton);
    }
    static void Cancel(QDialog& d) {
        QTest::mouseClick(Child<QPushButton>(d, "CancelBtn"), Qt::LeftButton);
    }
    static void Tick(QDialog& d, const char* name) {
        auto* box = Child<QAbstractButton>(d, name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
    static std::function<void(QDialog&)> TickAndOk(const char* name) {
        return [name](QDialog& d) {
            Tick(d, name);
            Ok(d);
        };
    }
};

// A Kav.ini of receive mode on `port`, polled every 20 ms, with further lines
// of [Main].
inline void WriteReceiveIni(const TAppDir& dir, const QString& port, const QByteArray& main = {}) {
    dir.WriteIni("[Port]\r\nPortName=" + port.toUtf8() + "\r\nTimeOut=20\r\n[Main]\r\nMode=1\r\n" +
                 main);
}

// One telemetry frame: markers, type, six payload bytes, checksum.
inline QByteArray Frame(std::uint8_t type, std::initializer_list<int> payload = {}) {
    std::uint8_t body[7] = {type};
    int k = 1;
    for (int b : payload)
        body[k++] = static_cast<std::uint8_t>(b);
    QByteArray frame("\x7F\xAA", 2);
    frame.append(reinterpret_cast<const char*>(body), 7);
    frame.append(static_cast<char>(ByteSum(body, 7)));
    return frame;
}

// A data point: field code, amplitude code, gain and speed state bytes
// (computer control, KodAmpl 1 and KodRapid 8 unless given).
inline QByteArray Point(int code, int value, int gain = 0x01, int speed = 0x08) {
    return Frame(TmDataPoint, {code >> 8, code & 0xFF, value >> 8, value & 0xFF, gain, speed});
}

// A forward sweep begins over the whole range.
inline QByteArray SweepStart() {
    return Frame(TmSweepStart, {0xFF, 0xEF, 0, 0, 0, 0});
}

// An ignored frame: the poll takes a frame only when more bytes follow it.
inline QByteArray Filler() {
    return Frame(5);
}

// Feeds frames into a quiet line (TestDevices) and runs one poll.
inline void Deliver(TKavSession& session, const QByteArray& frames) {
    auto* line = dynamic_cast<TMemorySerialDevice*>(session.Receiver().Device());
    ASSERT_NE(line, nullptr);
    line->Feed(frames + Filler());
    session.Receiver().PollTick();
}
