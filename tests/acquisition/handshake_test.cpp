// The parameter handshake when the operator changes a value while the
// instrument's answer to the previous command for it is on its way: that
// answer echoes the old value, must not acknowledge the new one, and the
// instrument ends at the value shown. On the simulated spectrometer and on a
// real pseudo-terminal where the test plays the instrument.
#include "acq_rig.h"
#include "base/instrument_tables.h"
#include "link/handshake_echo.h"
#include "link/protocol.h"
#include "pty_instrument.h"
#include "qstring_printer.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

// One value the handshake keeps equal on both sides: how the operator
// changes it, the value in flight and the one then chosen, the instrument's
// word for what the settings hold (PoleMin, KodAmpl, KodRapid, Ukorr), the
// setting the operator's choice lands in, what the group's box shows, and
// what the simulated and the test's own instrument hold. The speed list
// follows the speed the instrument reports whoever controls it, so a second
// choice of speed may give way to the first once the instrument reports
// running it; the other values keep the second choice.
struct TChange {
    const char* Name;
    std::function<void(TInstrumentControls&, int)> Change;
    int First;
    int Second;
    std::function<int(const TKavCfg&)> Shown;
    std::function<int(const TKavCfg&)> Setting;
    bool KeepsSecond;
    std::function<int(const TControlsState&)> InBox;
    std::function<int(TSimInstrument&)> HeldBySim;
    std::function<int(const TPtyInstrument&)> HeldByPty;
};

const std::vector<TChange>& Changes() {
    static const std::vector<TChange> changes = {
        {"lower bound", [](TInstrumentControls& c, int v) { c.BotFieldChange(v); }, 130, 140,
         [](const TKavCfg& cfg) { return cfg.PoleMin; },
         [](const TKavCfg& cfg) { return cfg.PoleMin; }, true,
         [](const TControlsState& s) { return s.Bounds.Bottom; },
         [](TSimInstrument& i) { return i.PoleMin(); },
         [](const TPtyInstrument& i) { return i.PoleMin; }},
        {"gain", [](TInstrumentControls& c, int v) { c.AmpBoxChange(v); }, 3, 5,
         [](const TKavCfg& cfg) { return int(GainTable[cfg.Amplifying].KodAmpl); },
         [](const TKavCfg& cfg) { return int(cfg.Amplifying); }, true,
         [](const TControlsState& s) { return s.Gain.Selection; },
         [](TSimInstrument& i) { return i.KodAmpl(); },
         [](const TPtyInstrument& i) { return i.KodAmpl; }},
        {"speed", [](TInstrumentControls& c, int v) { c.SpeedBoxChange(v); }, 9, 7,
         [](const TKavCfg& cfg) { return int(SpeedTable[cfg.Rapid].KodRapid); },
         [](const TKavCfg& cfg) { return int(cfg.Rapid); }, false,
         [](const TControlsState& s) { return s.Speed.Selection; },
         [](TSimInstrument& i) { return i.KodRapid(); },
         [](const TPtyInstrument& i) { return i.KodRapid; }},
        {"correction", [](TInstrumentControls& c, int v) { c.CorrEditChange(v); }, -256, 0,
         [](const TKavCfg& cfg) { return cfg.Correction + CorrectionOffset; },
         [](const TKavCfg& cfg) { return cfg.Correction; }, true,
         [](const TControlsState& s) { return s.Correction.Value; },
         [](TSimInstrument& i) { return i.Ukorr(); },
         [](const TPtyInstrument& i) { return i.Ukorr; }},
    };
    return changes;
}

// The instrument ends at what the settings hold and the group shows, and
// that is the operator's last choice where the settings keep it.
void ExpectShownIsRun(const TChange& change, const TKavCfg& cfg, const TControlsState& shown,
                      int held) {
    EXPECT_EQ(held, change.Shown(cfg));
    if (change.KeepsSecond) {
        EXPECT_EQ(change.Setting(cfg), change.Second);
    }
    EXPECT_EQ(change.InBox(shown), change.Setting(cfg));
}

} // namespace

// The echo decides, part by part; a part under the instrument's own control
// is not compared.
TEST(AnswerEchoes, OnlyTheValuesNowShownAcknowledge) {
    TCommandValues v;
    v.PoleMax = 60000;
    v.PoleMin = 140;
    v.Amplifying = 5; // KodAmpl 6
    v.Rapid = 11;     // KodRapid 15, like row 0
    v.Correction = -1;
    auto answer = [](TTelemetryKind kind, int a, int b) {
        TTelemetry t;
        t.Kind = kind;
        t.PoleMax = static_cast<std::uint16_t>(a);
        t.PoleMin = static_cast<std::uint16_t>(b);
        t.KodAmpl = static_cast<std::uint8_t>(a);
        t.KodRapid = static_cast<std::uint8_t>(b);
        t.Ukorr = static_cast<std::uint16_t>(a);
        return t;
    };
    const TManualParts none;
    const struct {
        TTelemetryKind Kind;
        int A, B;
        TManualParts Manual;
        bool Echoes;
    } cases[] = {
        {TTelemetryKind::BoundsAccepted, 60000, 140, none, true},
        {TTelemetryKind::BoundsAccepted, 60000, 130, none, false},
        {TTelemetryKind::BoundsAccepted, 140, 60000, none, false},
        {TTelemetryKind::GainSpeedAccepted, 6, 15, none, true},
        {TTelemetryKind::GainSpeedAccepted, 4, 15, none, false},
        {TTelemetryKind::GainSpeedAccepted, 6, 8, none, false},
        {TTelemetryKind::GainSpeedAccepted, 4, 15, {true, false, false}, true},
        {TTelemetryKind::GainSpeedAccepted, 6, 8, {false, true, false}, true},
        {TTelemetryKind::GainSpeedAccepted, 4, 8, {true, false, false}, false},
        {TTelemetryKind::CorrectionAccepted, 32767, 0, none, true},
        {TTelemetryKind::CorrectionAccepted, 32768, 0, none, false},
        {TTelemetryKind::CorrectionAccepted, 32512, 0, {false, false, true}, true},
        {TTelemetryKind::LinkReady, 0, 0, none, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnswerEchoes(answer(c.Kind, c.A, c.B), v, c.Manual), c.Echoes)
            << static_cast<int>(c.Kind) << " " << c.A << " " << c.B;
}

// ---- On the simulated spectrometer ------------------------------------------

TEST(HandshakeOnTheSimulator, AnAnswerToAnEarlierValueLeavesTheValueShownToBeSent) {
    for (const TChange& change : Changes()) {
        SCOPED_TRACE(change.Name);
        TAcqRig rig;
        auto linked = [&] { return rig.State().AllAcknowledged() && rig.State().SendCount == 0; };
        rig.Engine->SetReceiveMode(true);
        ASSERT_TRUE(rig.RunUntil(linked, 3000));
        TInstrumentControls& c = rig.Engine->Controls();

        // The command for the first value goes out, and the instrument's
        // answer waits in the line while the operator moves on.
        change.Change(c, change.First);
        rig.Engine->KavTimerTimer();
        change.Change(c, change.Second);
        // The answer echoing the first value is handled now.
        rig.Run(10);
        ASSERT_TRUE(rig.RunUntil(linked, 3000));
        rig.Run(1000);
        ExpectShownIsRun(change, rig.Cfg, rig.Engine->Controls().State(),
                         change.HeldBySim(rig.Sim()));
        EXPECT_TRUE(rig.State().AllAcknowledged());
    }
}

// ---- On a pseudo-terminal, the test playing the instrument -----------------

TEST(HandshakeOnAPseudoTerminal, AnAnswerToAnEarlierValueLeavesTheValueShownToBeSent) {
    for (const TChange& change : Changes()) {
        SCOPED_TRACE(change.Name);
        TPtyLine line(6);
        ASSERT_TRUE(line.Ok());
        TAcqRig rig([] { return std::make_unique<TPulsedPtyDevice>(); });
        rig.Cfg.Port.PortName = line.Link;
        rig.Cfg.Port.BaudRate = 11;
        TPtyInstrument instrument{line, {}};

        rig.Engine->SetReceiveMode(true);
        ASSERT_TRUE(rig.Receiver->Opened()) << rig.View.Errors.join('\n').toStdString();
        // The test moves the handshake and the poll itself.
        rig.Engine->KavTimer().stop();
        rig.Receiver->PollTimer().stop();
        // One handshake tick: a command out, taken and answered by the
        // instrument, the answer in the port's buffer.
        auto tick = [&](int waitMs = 3000) {
            const int before = rig.Receiver->InQueueCount();
            rig.Engine->KavTimerTimer();
            int taken = 0;
            PumpUntil([&] { return (taken += instrument.TakeCommands()) > 0; }, waitMs);
            PumpUntil([&] { return rig.Receiver->InQueueCount() >= before + 30 * taken; });
            return taken;
        };
        auto link = [&] {
            for (int k = 0; k < 20 && !rig.State().AllAcknowledged(); ++k) {
                tick();
                rig.Receiver->PollTick();
            }
            return rig.State().AllAcknowledged();
        };
        ASSERT_TRUE(link());
        TInstrumentControls& c = rig.Engine->Controls();

        change.Change(c, change.First);
        ASSERT_EQ(tick(), 1);
        // The answer echoing the first value is still in the line when the
        // operator chooses the second; then it is handled.
        change.Change(c, change.Second);
        rig.Receiver->PollTick();
        ASSERT_TRUE(link());
        ExpectShownIsRun(change, rig.Cfg, rig.Engine->Controls().State(),
                         change.HeldByPty(instrument));
        // Nothing more goes out once the instrument holds what is shown.
        EXPECT_EQ(tick(300), 0);
    }
}
