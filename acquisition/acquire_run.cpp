#include "acquisition/acquire_run.h"
#include "config/auto_save_name.h"

#include "base/instrument_tables.h"
#include "spectrum/spectrum_file.h"

namespace {

int PointCount(const TPointTable& store) {
    int n = 0;
    for (int code = 0; code <= MaxFieldCode; ++code)
        n += store[code].Y <= MaxAmplitudeCode;
    return n;
}

} // namespace

TAcquireRun::TAcquireRun(TAcquisitionEngine& engine, TKavCfg& cfg, const TPointTable& store,
                         int sweeps, TCallbacks callbacks, TAcquirePatience patience)
    : Engine(engine), Cfg(cfg), Store(store), Sweeps(sweeps), Callbacks(std::move(callbacks)),
      WantedRapid(cfg.Rapid), Patience(patience) {
    Engine.OnHandshakeEnd = [this](bool acknowledged) { HandshakeEnded(acknowledged); };
    Engine.OnSweepPhase = [this](std::uint8_t phase) { SweepPhase(phase); };
    Engine.OnLinkLost = [this](const QString& text) { LineDropped(text); };
}

TAcquireRun::~TAcquireRun() {
    Engine.OnHandshakeEnd = nullptr;
    Engine.OnSweepPhase = nullptr;
    Engine.OnLinkLost = nullptr;
}

void TAcquireRun::LineDropped(const QString& text) {
    if (IsDone)
        return;
    // The sweep under way is not complete: it is not saved.
    Counting = false;
    if (Patience.ReconnectMs <= 0)
        return Finish(false, QStringLiteral("the line to the spectrometer dropped: ") + text);
    LossPending = true;
    LostText = text;
    Callbacks.Note(QStringLiteral("the line to the spectrometer dropped: %1; opening %2 again "
                                  "every %3 s for up to %4 s")
                       .arg(text, Cfg.Port.PortName)
                       .arg(ReopenPeriodMs / 1000.0)
                       .arg(Patience.ReconnectMs / 1000.0));
}

void TAcquireRun::Tick(std::int64_t nowMs) {
    if (IsDone)
        return;
    const std::uint64_t frames = Engine.State().FramesHandled;
    if (!Watching || frames != FramesSeen) {
        Watching = true;
        FramesSeen = frames;
        LastFrameAt = nowMs;
    }
    if (LossPending) {
        LossPending = false;
        LostAt = nowMs;
        NextTryAt = nowMs + ReopenPeriodMs;
    }
    if (LostAt) {
        if (nowMs >= NextTryAt) {
            NextTryAt = nowMs + ReopenPeriodMs;
            if (Engine.TryReopenLink()) {
                LostAt.reset();
                LastFrameAt = nowMs;
                Callbacks.Note(QStringLiteral("%1 is open again").arg(Cfg.Port.PortName));
                return;
            }
        }
        if (nowMs - *LostAt >= Patience.ReconnectMs)
            Finish(false, QStringLiteral("%1 did not come back within %2 s (%3)")
                              .arg(Cfg.Port.PortName)
                              .arg(Patience.ReconnectMs / 1000.0)
                              .arg(LostText));
        return;
    }
    if (nowMs - LastFrameAt >= Patience.SilenceMs)
        Finish(false, QStringLiteral("no frame from the spectrometer for %1 s")
                          .arg(Patience.SilenceMs / 1000.0));
}

std::optional<QString> TAcquireRun::SettingsProblem(const TKavCfg& cfg) {
    if (cfg.Rapid >= SpeedRowCount)
        return QStringLiteral("Rapid=%1 selects no sweep speed (0..%2)")
            .arg(cfg.Rapid)
            .arg(SpeedRowCount - 1);
    if (!AutoSaveNumberLeft(cfg.NumbMask))
        return NumberEndText(cfg.NumbMask);
    return std::nullopt;
}

QString TAcquireRun::NumberEndText(std::int32_t numbMask) {
    return QStringLiteral("NumbMask=%1 is the last number of an automatic-save name: no sweep is "
                          "saved under a name used before")
        .arg(numbMask);
}

void TAcquireRun::HandshakeEnded(bool acknowledged) {
    if (IsDone)
        return;
    if (!acknowledged)
        return Finish(false, QStringLiteral("the spectrometer did not take the parameters"));
    HandshakeDone = true;
    ChooseSpeed();
}

void TAcquireRun::ChooseSpeed() {
    if (IsReady || !HandshakeDone)
        return;
    if (Cfg.Rapid == WantedRapid) {
        IsReady = true;
        return;
    }
    const TInstrumentControls& controls = Engine.Controls();
    if (controls.LastSpeedState < 0)
        return; // who controls the speed is not known yet: a later frame tells
    if (!controls.State().Speed.Enabled) {
        // The operator holds the speed at the instrument: choosing another
        // would change nothing there.
        Callbacks.Note(QStringLiteral("the sweep speed is under manual control at the "
                                      "spectrometer: sweeps are taken at its speed %1 \"%2\", "
                                      "not at Rapid=%3 \"%4\"")
                           .arg(Cfg.Rapid)
                           .arg(SpeedName(Cfg.Rapid))
                           .arg(WantedRapid)
                           .arg(SpeedName(WantedRapid)));
        IsReady = true;
        return;
    }
    if (!SpeedSent) {
        // The handshake sends it and ends again.
        SpeedSent = true;
        Engine.Controls().SpeedBoxChange(WantedRapid);
        return;
    }
    Callbacks.Note(QStringLiteral("the spectrometer keeps its speed %1 \"%2\", not Rapid=%3 \"%4\"")
                       .arg(Cfg.Rapid)
                       .arg(SpeedName(Cfg.Rapid))
                       .arg(WantedRapid)
                       .arg(SpeedName(WantedRapid)));
    IsReady = true;
}

void TAcquireRun::SweepPhase(std::uint8_t phase) {
    if (IsDone)
        return;
    if (phase == 1) {
        ChooseSpeed();
        Counting = IsReady;
        return;
    }
    if (!Counting) {
        // The sweep began before the run was ready; its points told the
        // instrument's control state, so the speed can be decided now.
        ChooseSpeed();
        return;
    }
    Counting = false;
    SaveSweep();
}

void TAcquireRun::SaveSweep() {
    const int points = PointCount(Store);
    const QString path = AutoSavePath(Cfg.WorkDir, AutoSaveName(Cfg.NameMask, Cfg.NumbMask));
    if (!Engine.AutoSaveNow()) {
        if (!AutoSaveNumberLeft(Cfg.NumbMask))
            return Finish(false, NumberEndText(Cfg.NumbMask));
        if (++FailedSaves >= MaxFailedSaves)
            Finish(false, QStringLiteral("%1 saves failed in a row").arg(FailedSaves));
        return;
    }
    FailedSaves = 0;
    ++Saved;
    Callbacks.Saved(Saved, points, path);
    if (Saved >= Sweeps)
        Finish(true, QString());
}

void TAcquireRun::Finish(bool complete, const QString& reason) {
    IsDone = true;
    Callbacks.Finished(complete, reason);
}
