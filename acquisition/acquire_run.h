#pragma once

#include "acquisition/acquisition_engine.h"
#include "config/kav_cfg.h"
#include "spectrum/point_slot.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// How long a run waits, in milliseconds of the clock its Tick reads.
struct TAcquirePatience {
    static constexpr std::int64_t DefaultSilenceMs = 10000;
    // No frame for this long ends the run.
    std::int64_t SilenceMs = DefaultSilenceMs;
    // After the line went away, how long the port is tried again (every
    // TAcquireRun::ReopenPeriodMs); 0 ends the run at once.
    std::int64_t ReconnectMs = 0;
};

// A run of the receive mode without a window that takes a given number of
// forward sweeps (kavtool acquire). The link takes the instrument's speed
// when it comes up, so once the handshake has ended the run chooses the
// settings' speed again; under manual speed control at the instrument it
// takes the instrument's speed and says so. Then each complete forward sweep
// is saved under the automatic-save name, and the run ends after the last
// one, or when the handshake is abandoned or saves keep failing. Nor does it
// wait for ever: it ends when no frame has come for a stated time, and when
// the line goes away, unless asked to wait for the port to come back.
class TAcquireRun {
public:
    static constexpr std::int64_t DefaultSilenceMs = TAcquirePatience::DefaultSilenceMs;
    static constexpr std::int64_t ReopenPeriodMs = 2000;

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
                TCallbacks callbacks, TAcquirePatience patience = {});
    ~TAcquireRun();
    TAcquireRun(const TAcquireRun&) = delete;
    TAcquireRun& operator=(const TAcquireRun&) = delete;

    // Why the settings cannot run: a Rapid outside the speed table would be
    // chosen again and again without effect, and a NumbMask at the end of its
    // range could name no sweep. Nothing when they can.
    static std::optional<QString> SettingsProblem(const TKavCfg& cfg);

    // The run's clock moved on (kavtool calls it a few times a second; tests
    // with the times they choose): silence is measured and the port tried
    // again here.
    void Tick(std::int64_t nowMs);

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
    static QString NumberEndText(std::int32_t numbMask);
    void LineDropped(const QString& text);
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
    TAcquirePatience Patience;
    // Silence: the frame count and the time it last changed.
    bool Watching = false;
    std::uint64_t FramesSeen = 0;
    std::int64_t LastFrameAt = 0;
    // The line went away: when (once a tick has seen it), why, next try.
    bool LossPending = false;
    std::optional<std::int64_t> LostAt;
    QString LostText;
    std::int64_t NextTryAt = 0;
};
