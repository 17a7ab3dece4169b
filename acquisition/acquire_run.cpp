#include "acquisition/acquire_run.h"

#include "link/instrument_tables.h"
#include "spectrum/spectrum_file.h"

namespace {

QString SpeedName(int row) {
    return QString::fromUtf8(SpeedTable[static_cast<std::size_t>(row)].Name);
}

int PointCount(const TPointTable& store) {
    int n = 0;
    for (int code = 0; code <= MaxFieldCode; ++code)
        n += store[code].Y <= MaxAmplitudeCode;
    return n;
}

} // namespace

TAcquireRun::TAcquireRun(TAcquisitionEngine& engine, TKavCfg& cfg, const TPointTable& store,
                         int sweeps, TCallbacks callbacks)
    : Engine(engine), Cfg(cfg), Store(store), Sweeps(sweeps), Callbacks(std::move(callbacks)),
      WantedRapid(cfg.Rapid) {
    Engine.OnHandshakeEnd = [this](bool acknowledged) { HandshakeEnded(acknowledged); };
    Engine.OnSweepPhase = [this](std::uint8_t phase) { SweepPhase(phase); };
}

TAcquireRun::~TAcquireRun() {
    Engine.OnHandshakeEnd = nullptr;
    Engine.OnSweepPhase = nullptr;
}

std::optional<QString> TAcquireRun::SettingsProblem(const TKavCfg& cfg) {
    if (cfg.Rapid < SpeedRowCount)
        return std::nullopt;
    return QStringLiteral("Rapid=%1 selects no sweep speed (0..%2)")
        .arg(cfg.Rapid)
        .arg(SpeedRowCount - 1);
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
