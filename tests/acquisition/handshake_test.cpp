// The parameter handshake when the operator changes a value while the
// instrument's answer to the previous command for it is on its way: that
// answer must not acknowledge the new value, and the instrument ends at the
// value shown.
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
// changes it, the two values chosen, the instrument's word for the setting,
// the setting, the group's box and what the instrument holds. The speed list
// follows the speed the instrument reports, so a second choice of speed may
// give way to the first; the other values keep the second choice.
struct TChange {
    const char* Name;
    std::function<void(TInstrumentControls&, int)> Change;
    int First;
    int Second;
    std::function<int(const TKavCfg&)> Shown;
    std::function<int(const TKavCfg&)> Setting;
    bool KeepsSecond;
    std::function<int(const TControlsState&)> InBox;
    std::function<int(const TPtyInstrument&)> Held;
};

const std::vector<TChange>& Changes() {
    static const std::vector<TChange> changes = {
        {"lower bound", [](TInstrumentControls& c, int v) { c.BotFieldChange(v); }, 130, 140,
         [](const TKavCfg& cfg) { return cfg.PoleMin; },
         [](const TKavCfg& cfg) { return cfg.PoleMin; }, true,
         [](const TControlsState& s) { return s.Bounds.Bottom; },
         [](const TPtyInstrument& i) { return i.PoleMin; }},
        {"gain", [](TInstrumentControls& c, int v) { c.AmpBoxChange(v); }, 3, 5,
         [](const TKavCfg& cfg) { return int(GainTable[cfg.Amplifying].KodAmpl); },
         [](const TKavCfg& cfg) { return int(cfg.Amplifying); }, true,
         [](const TControlsState& s) { return s.Gain.Selection; },
         [](const TPtyInstrument& i) { return i.KodAmpl; }},
        {"speed", [](TInstrumentControls& c, int v) { c.SpeedBoxChange(v); }, 9, 7,
         [](const TKavCfg& cfg) { return int(SpeedTable[cfg.Rapid].KodRapid); },
         [](const TKavCfg& cfg) { return int(cfg.Rapid); }, false,
         [](const TControlsState& s) { return s.Speed.Selection; },
         [](const TPtyInstrument& i) { return i.KodRapid; }},
        {"correction", [](TInstrumentControls& c, int v) { c.CorrEditChange(v); }, -256, 0,
         [](const TKavCfg& cfg) { return cfg.Correction + CorrectionOffset; },
         [](const TKavCfg& cfg) { return cfg.Correction; }, true,
         [](const TControlsState& s) { return s.Correction.Value; },
         [](const TPtyInstrument& i) { return i.Ukorr; }},
    };
    return changes;
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

// On a real pseudo-terminal, the test playing the instrument.
TEST(HandshakeOnAPseudoTerminal, AnAnswerToAnEarlierValueLeavesTheValueShownToBeSent) {
    for (const TChange& change : Changes()) {
        SCOPED_TRACE(change.Name);
        TPtyRig pty(6);
        TAcqRig& rig = pty.Rig;
        ASSERT_TRUE(pty.Open()) << rig.View.Errors.join('\n').toStdString();
        auto linked = [&] { return rig.State().AllAcknowledged(); };
        ASSERT_TRUE(pty.TickUntil(linked));
        TInstrumentControls& c = rig.Engine->Controls();

        change.Change(c, change.First);
        ASSERT_EQ(pty.Tick(), 1);
        // The answer echoing the first value is still in the line when the
        // operator chooses the second; then it is handled.
        change.Change(c, change.Second);
        rig.Receiver->PollTick();
        ASSERT_TRUE(pty.TickUntil(linked));
        EXPECT_EQ(change.Held(pty.Instrument), change.Shown(rig.Cfg));
        if (change.KeepsSecond) {
            EXPECT_EQ(change.Setting(rig.Cfg), change.Second);
        }
        EXPECT_EQ(change.InBox(c.State()), change.Setting(rig.Cfg));
        // Nothing more goes out once the instrument holds what is shown.
        EXPECT_EQ(pty.Tick(300), 0);
    }
}
