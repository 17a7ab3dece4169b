#pragma once

// A session over the simulated spectrometer and recorders of what it shows:
// shared by the tests of the receive mode.
#include "acquisition/acquire_run.h"
#include "acquisition/acquisition_engine.h"
#include "config/settings_store.h"
#include "link/clock.h"
#include "link/receiver.h"
#include "link/test_app.h"
#include "processing/processing_actions.h"
#include "session/kav_session.h"
#include "sim/sim_device.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_view.h"

#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

// Records what the receive mode shows outside the control groups.
class TRecordingAcqView : public TAcquisitionView {
public:
    std::map<int, QString> Panels;
    QStringList Messages;
    QStringList Errors;
    QStringList LinkLosses;
    QStringList AutoSaveFailures;
    int Plotted = 0;
    std::vector<long> Markers;
    int Repaints = 0;
    std::map<int, QString> VisirOrdinates;
    bool AdcShown = false;
    QString AdcText;
    struct TPoint {
        long Code, Ordinate;
        TColorValue Colour;
    };
    std::vector<TPoint> Points;

    void SetStatusPanel(int index, const QString& text) override { Panels[index] = text; }
    void AddMessage(const QString& text) override { Messages << text; }
    void ClearMessages() override { Messages.clear(); }
    void ShowError(const QString& text) override { Errors << text; }
    void ShowLinkLost(const QString& text) override { LinkLosses << text; }
    void ShowAutoSaveFailure(const QString& text) override { AutoSaveFailures << text; }
    void PlotSlot(std::uint16_t) override { ++Plotted; }
    void PlotPoint(long code, long ordinate, TColorValue colour) override {
        Points.push_back({code, ordinate, colour});
    }
    void MoveFieldMarker(long code) override { Markers.push_back(code); }
    void Repaint() override { ++Repaints; }
    void SetVisirOrdinate(int n, const QString& text) override { VisirOrdinates[n] = text; }
    void SetAdcWindowShown(bool shown) override { AdcShown = shown; }
    void SetAdcReading(const QString& text) override { AdcText = text; }
};

class TRecordingControlsView : public TControlsView {
public:
    TControlsState Last;
    int Shows = 0;
    int MinView = -1;
    int MaxView = -1;
    int PlotRepaints = 0;

    void ShowControls(const TControlsState& state) override {
        Last = state;
        ++Shows;
    }
    void SetMinView(int code) override { MinView = code; }
    void SetMaxView(int code) override { MaxView = code; }
    void RepaintPlot() override { ++PlotRepaints; }
};

class TRecordingProcessingView : public TProcessingView {
public:
    QStringList Warnings;
    int Repaints = 0;
    void ShowWarning(const QString& text) override { Warnings << text; }
    void ShowInformation(const QString&) override {}
    void Repaint() override { ++Repaints; }
    void SetBackUpEnabled(bool enabled) override { BackUp = enabled; }
    bool IsBackUpEnabled() const override { return BackUp; }
    void SetGFactorShown(bool shown) override { GShow = shown; }
    bool IsGFactorShown() const override { return GShow; }
    bool BackUp = false;
    bool GShow = false;
};

// The simulated spectrometer behind "SIM", with every command code it was
// sent recorded in order.
class TRecordingSimDevice final : public SerialDevice {
public:
    TRecordingSimDevice(const TClock& clock, std::vector<int>& commands)
        : Sim(clock), Commands(commands) {}
    bool Open(const QString& name) override { return Sim.Open(name); }
    void Close() override { Sim.Close(); }
    bool ApplyLine(const TLineSettings& line, QStringList& notes) override {
        return Sim.ApplyLine(line, notes);
    }
    int InQueueCount() override { return Sim.InQueueCount(); }
    int OutQueueCount() override { return Sim.OutQueueCount(); }
    std::uint32_t TakeLineErrors() override { return Sim.TakeLineErrors(); }
    int Read(std::uint8_t* buffer, int count) override { return Sim.Read(buffer, count); }
    bool Write(const std::uint8_t* buffer, int count) override {
        if (count >= 3)
            Commands.push_back(buffer[2]);
        return Sim.Write(buffer, count);
    }
    std::optional<bool> ClearToSend() override { return Sim.ClearToSend(); }
    bool Lost() const override { return IsLost; }
    QString LostReason() const override { return LostText; }

    // The line goes away (an adapter pulled out), with the system's reason.
    void Unplug(const QString& reason) {
        IsLost = true;
        LostText = reason;
    }

    TSimDevice Sim;
    bool IsLost = false;
    QString LostText;

private:
    std::vector<int>& Commands;
};

// A session with recorders for its views, over the simulated spectrometer.
// Time moves only through Run: the instrument, the clock, the receive poll
// and the handshake tick together.
struct TAcqRig {
    // The application's timers before anything that starts one.
    QCoreApplication& App = TestApp();
    TManualClock Clock;
    std::vector<int> Commands;
    TRecordingAcqView View;
    TRecordingControlsView ControlsView;
    TRecordingProcessingView ProcessingView;
    TNullSpectrumView SpectrumView;
    int ElapsedMs = 0;
    bool DeviceMissing = false; // no device answers to the port's name

    // The line behind every port name: the recording simulator unless given.
    using TLineMaker = std::function<std::unique_ptr<SerialDevice>()>;

    TKavSession Session;
    TKavCfg& Cfg = Session.Settings();
    TPointTable* const Store = &Session.Points();
    TInstrumentReadings& Readings = Session.Readings();
    TSpectrumResults& Results = Session.Results();
    const TValueFormat& Format = Session.Format();
    TKavReceiver* const Receiver = &Session.Receiver();
    TAcquisitionEngine* Engine = nullptr;

    explicit TAcqRig(TLineMaker line = {})
        : Session(
              [this, line](const QString&) -> std::unique_ptr<SerialDevice> {
                  if (DeviceMissing)
                      return nullptr;
                  if (line)
                      return line();
                  return std::make_unique<TRecordingSimDevice>(Clock, Commands);
              },
              u'.', Clock) {
        Clock.StepMicros = 200;
        SetDefaults(Cfg, QStringLiteral("/nonexistent"));
        Cfg.Port.PortName = QStringLiteral("SIM");
        Cfg.Port.TimeOut = 10;
        // The views attached once the settings are in force, as a window does.
        Session.Attach({SpectrumView, ProcessingView, View, ControlsView});
        Engine = &Session.Engine();
    }

    TRecordingSimDevice& Line() { return *static_cast<TRecordingSimDevice*>(Receiver->Device()); }
    TSimInstrument& Sim() { return Line().Sim.Instrument(); }
    TAcquisitionState& State() { return Engine->State(); }
    const TControlsState& Controls() { return Engine->Controls().State(); }
    // The handshake done: every stage acknowledged and nothing being sent.
    bool Linked() { return State().AllAcknowledged() && State().SendCount == 0; }
    bool RunUntilLinked(int limitMs = 3000) {
        return RunUntil([this] { return Linked(); }, limitMs);
    }

    // Moves time on in 10 ms steps: the instrument sends, the poll reads, and
    // every 200 ms the handshake tick runs while its timer runs.
    void Run(int ms) {
        for (int t = 0; t < ms; t += 10) {
            if (Receiver->Device())
                Sim().Advance(10);
            Clock.AdvanceMs(10);
            ElapsedMs += 10;
            Receiver->PollTick();
            if (ElapsedMs % KavTimerMs == 0 && Engine->KavTimer().isActive())
                Engine->KavTimerTimer();
        }
    }
    // Runs until the condition holds or the limit passes; true when it held.
    template <class F> bool RunUntil(F done, int limitMs) {
        for (int t = 0; t < limitMs; t += 10) {
            if (done())
                return true;
            Run(10);
        }
        return done();
    }
};

// What a run of sweeps told its caller.
struct TRunRecord {
    QStringList Notes;
    QStringList Files;
    std::optional<bool> Complete;
    QString Reason;

    TAcquireRun::TCallbacks Callbacks() {
        return {[this](const QString& t) { Notes << t; },
                [this](int, int, const QString& path) { Files << path; },
                [this](bool complete, const QString& reason) {
                    Complete = complete;
                    Reason = reason;
                }};
    }
};
