#pragma once

#include "acquisition/acquisition_engine.h"
#include "config/kav_cfg.h"
#include "spectrum/point_slot.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// A run of the receive mode without a window that takes a given number of
// forward sweeps (kavtool acquire). The link takes the instrument's speed
// when it comes up, so once the handshake has ended the run chooses the
// settings' speed again; under manual speed control at the instrument it
// takes the instrument's speed and says so. Then each complete forward sweep
// is saved under the automatic-save name, and the run ends after the last
// one, or when the handshake is abandoned or saves keep failing.
class TAcquireRun {
public:
    struct TCallbacks {
        std::function<void(const QString&)> Note; // a line for the operator
        // A sweep saved: how many so far, its points, the file.
        std::function<void(int saved, int points, const QString& path)> Saved;
        // The run is over: true after the last sweep, else false with the
        // reason.
        std::function<void(bool complete, const QString& reason)> Finished;
    };

    // Binds the engine's handshake and sweep observers for the run's life.
    TAcquireRun(TAcquisitionEngine& engine, TKavCfg& cfg, const TPointTable& store, int sweeps,
                TCallbacks callbacks);
    ~TAcquireRun();
    TAcquireRun(const TAcquireRun&) = delete;
    TAcquireRun& operator=(const TAcquireRun&) = delete;

    // Why the settings cannot run: a Rapid outside the speed table would be
    // chosen again and again without effect. Nothing when they can.
    static std::optional<QString> SettingsProblem(const TKavCfg& cfg);

    bool Ready() const { return IsReady; }
    bool Done() const { return IsDone; }
    int SavedSweeps() const { return Saved; }

    // Saves that may fail one after another before the run gives up.
    static constexpr int MaxFailedSaves = 3;

private:
    void HandshakeEnded(bool acknowledged);
    void SweepPhase(std::uint8_t phase);
    // Decides on the speed once the handshake has ended and the instrument
    // has said who controls it.
    void ChooseSpeed();
    void SaveSweep();
    void Finish(bool complete, const QString& reason);

    TAcquisitionEngine& Engine;
    TKavCfg& Cfg;
    const TPointTable& Store;
    const int Sweeps;
    TCallbacks Callbacks;
    const std::uint8_t WantedRapid;
    bool HandshakeDone = false;
    bool SpeedSent = false;
    bool IsReady = false;
    bool Counting = false;
    bool IsDone = false;
    int Saved = 0;
    int FailedSaves = 0;
};
