// The receive mode end to end over the simulated spectrometer: handshake,
// re-sent parameters, sweeps into the store, manual control, a silent or
// missing instrument.

#include "acquisition/acquire_run.h"
#include "acquisition/acquisition_rig.h"

#include "link/instrument_tables.h"
#include "link/protocol.h"
#include "spectrum/parameter_block.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"

#include <QTemporaryDir>
#include <optional>

#include <gtest/gtest.h>

namespace {

bool Linked(TAcqRig& rig) {
    return rig.State().AllAcknowledged() && rig.State().SendCount == 0;
}

// Until a forward sweep has begun after the handshake and then ended.
bool RunOneSweep(TAcqRig& rig, int limitMs) {
    if (!rig.RunUntil([&] { return rig.State().SweepPhase == 1; }, limitMs))
        return false;
    return rig.RunUntil([&] { return rig.State().SweepPhase == 2; }, limitMs);
}

} // namespace

TEST(LinkSession, HandshakeRunsInStageOrderAndCompletes) {
    TAcqRig rig;
    rig.Engine->SetReceiveMode(true);
    ASSERT_TRUE(rig.Receiver->Opened());
    EXPECT_EQ(rig.View.Panels[PanelPort], QStringLiteral("SIM"));
    EXPECT_EQ(rig.View.Panels[PanelBaud], QStringLiteral("9600 бод"));
    EXPECT_TRUE(rig.View.Errors.isEmpty());

    ASSERT_TRUE(rig.RunUntil([&] { return Linked(rig); }, 3000));
    EXPECT_EQ(rig.Commands, (std::vector<int>{150, 111, 122, 133}));
    EXPECT_EQ(rig.View.Panels[PanelProgram], QStringLiteral("PR: 7"));
    EXPECT_EQ(rig.View.Panels[PanelSerial], QStringLiteral("S/N: 42"));
    EXPECT_TRUE(rig.View.Messages.contains(QStringLiteral("Tm01. PROGRAMMA=7")));
    EXPECT_TRUE(rig.View.Messages.contains(QStringLiteral("Tm33. Ukorr=32768")));
    // Nothing more goes out once the stages are acknowledged.
    rig.Run(1000);
    EXPECT_EQ(rig.Commands.size(), 4u);
    EXPECT_FALSE(rig.View.Messages.contains(HandshakeFailedText));
}

TEST(LinkSession, ChangedParametersAreSentAgainAndAcknowledged) {
    TAcqRig rig;
    rig.Engine->SetReceiveMode(true);
    ASSERT_TRUE(rig.RunUntil([&] { return Linked(rig); }, 3000));
    TInstrumentControls& c = rig.Engine->Controls();

    c.BotFieldChange(1000);
    EXPECT_FALSE(rig.State().BoundsAck);
    EXPECT_EQ(rig.ControlsView.MinView, 1000);
    ASSERT_TRUE(rig.RunUntil([&] { return Linked(rig); }, 2000));
    EXPECT_EQ(rig.Commands.back(), CmdSweepBounds);
    EXPECT_EQ(rig.Sim().PoleMin(), 1000);

    c.AmpBoxChange(3); // "10", KodAmpl 4
    ASSERT_TRUE(rig.RunUntil([&] { return Linked(rig); }, 2000));
    EXPECT_EQ(rig.Sim().KodAmpl(), 4);
    EXPECT_EQ(rig.ControlsView.PlotRepaints, 1);

    c.SpeedBoxChange(9); // " 2 мин", KodRapid 7
    ASSERT_TRUE(rig.RunUntil([&] { return Linked(rig) && rig.Sim().KodRapid() == 7; }, 2000));
    EXPECT_EQ(rig.Cfg.Rapid, 9);

    c.CorrEditChange(3200);
    EXPECT_EQ(rig.Cfg.Correction, 3200);
    ASSERT_TRUE(rig.RunUntil([&] { return Linked(rig); }, 2000));
    EXPECT_EQ(rig.Commands.back(), CmdCorrection);
    EXPECT_EQ(rig.Sim().Ukorr(), 32768 + 3200);
}

TEST(LinkSession, ASweepFillsTheStoreBetweenTheBounds) {
    TAcqRig rig;
    rig.Engine->SetReceiveMode(true);
    rig.Engine->Controls().BotFieldChange(20000);
    rig.Engine->Controls().TopFieldChange(30000);
    ASSERT_TRUE(rig.RunUntil([&] { return Linked(rig); }, 3000));
    // Start from a sweep that begins after the handshake.
    rig.State().SweepPhase = 0;
    ASSERT_TRUE(RunOneSweep(rig, 10000));

    const TPointTable& store = *rig.Store;
    const int fill = rig.State().FillCount;
    EXPECT_EQ(fill, rig.Sim().DPole());
    EXPECT_GT(fill, 1);
    EXPECT_EQ(FirstValidPoint(store, 0, MaxFieldCode), 20000);
    const int last = LastValidPoint(store, 0, MaxFieldCode);
    EXPECT_GE(last, 30000 - fill);
    EXPECT_LE(last, 30000 + fill - 1);
    for (int code = 20000; code <= last; ++code) {
        ASSERT_TRUE(IsValidSlot(store[code])) << code;
        ASSERT_EQ(store[code].X, code);
    }
    EXPECT_EQ(rig.View.Panels[PanelDirection], BackwardSweepText);
    EXPECT_GT(rig.View.Plotted, 100);
}

TEST(LinkSession, SpeedReportSetsTheFillUntilTheNextStatus) {
    TAcqRig rig;
    rig.Engine->SetReceiveMode(true);
    ASSERT_TRUE(rig.RunUntil([&] { return Linked(rig); }, 3000));
    rig.Engine->Controls().SpeedBoxChange(6); // "16 мин": 2 points per step
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Sim().KodRapid() == 5; }, 2000));
    // The first data point at the new speed applies the table's fill; the
    // next status message the instrument's own step.
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Engine->Controls().LastSpeedState == 5; }, 2000));
    const std::uint8_t step = rig.Sim().DPole();
    ASSERT_NE(step, 2);
    ASSERT_TRUE(rig.RunUntil([&] { return rig.State().FillCount == step; }, 2000));
}

TEST(LinkSession, ManualControlDisablesTheGroupsAndShowsTheInstrumentsSettings) {
    TAcqRig rig;
    rig.Engine->SetReceiveMode(true);
    ASSERT_TRUE(rig.RunUntil([&] { return Linked(rig); }, 3000));
    EXPECT_TRUE(rig.Controls().Gain.Enabled);
    EXPECT_EQ(rig.Controls().Gain.Label, ComputerLabelText);

    rig.Sim().SetManualGain(3);  // row 2, "5"
    rig.Sim().SetManualSpeed(5); // row 6, "16 мин"
    rig.Sim().SetManualCorrection(40000);
    rig.Run(300);

    const TControlsState& s = rig.ControlsView.Last;
    EXPECT_FALSE(s.Gain.Enabled);
    EXPECT_EQ(s.Gain.Label, ManualLabelText);
    EXPECT_EQ(s.Gain.Selection, 2);
    EXPECT_EQ(rig.Cfg.Amplifying, 2);
    EXPECT_FALSE(s.Speed.Enabled);
    EXPECT_EQ(s.Speed.Label, ManualLabelText);
    EXPECT_EQ(s.Speed.Selection, 6);
    EXPECT_EQ(rig.Cfg.Rapid, 6);
    EXPECT_FALSE(s.Correction.Enabled);
    EXPECT_FALSE(s.Correction.BarEnabled);
    EXPECT_TRUE(s.Correction.NumbersHidden);

    // Back under the computer: the correction reappears with the setting.
    rig.Sim().SetManualCorrection(std::nullopt);
    rig.Run(300);
    EXPECT_TRUE(rig.ControlsView.Last.Correction.Enabled);
    EXPECT_FALSE(rig.ControlsView.Last.Correction.NumbersHidden);
    EXPECT_EQ(rig.ControlsView.Last.Correction.Value, rig.Cfg.Correction);
}

TEST(LinkSession, SilentInstrumentEndsTheHandshakeAfterTwentyOneCommands) {
    TAcqRig rig;
    rig.Engine->SetReceiveMode(true);
    rig.Sim().SetAnswering(false);
    rig.Run(21 * KavTimerMs);
    EXPECT_EQ(rig.Commands, std::vector<int>(21, CmdLinkRequest));
    EXPECT_EQ(rig.View.Messages.count(HandshakeFailedText), 1);
    rig.Run(2000);
    EXPECT_EQ(rig.Commands.size(), 21u);
    EXPECT_EQ(rig.View.Messages.count(HandshakeFailedText), 1);
    EXPECT_EQ(rig.State().SendCount, 0);

    // A handshake reset starts it again.
    const std::uint8_t reset[8] = {TmHandshakeReset};
    rig.Engine->HandleFrameBody(reset);
    rig.Run(KavTimerMs);
    EXPECT_EQ(rig.Commands.size(), 22u);
}

TEST(LinkSession, PortThatCannotOpenIsReportedAndTheHandshakeGivesUp) {
    TAcqRig rig;
    rig.Cfg.Port.PortName = QStringLiteral("COM9");
    bool ended = true;
    rig.Engine->OnHandshakeEnd = [&](bool ok) { ended = ok; };
    rig.Engine->SetReceiveMode(true);
    EXPECT_FALSE(rig.Receiver->Opened());
    ASSERT_EQ(rig.View.Errors.size(), 1);
    EXPECT_EQ(rig.View.Errors[0], QStringLiteral("Невозможно инициализировать порт COM9"));
    EXPECT_EQ(rig.View.Panels[PanelPort], QString());
    EXPECT_TRUE(rig.Engine->ReceiveMode());
    rig.Run(21 * KavTimerMs);
    EXPECT_EQ(rig.View.Messages.count(HandshakeFailedText), 1);
    EXPECT_FALSE(ended);
}

TEST(LinkSession, AnalysisModeClosesTheLinkAndDisablesTheGroups) {
    TAcqRig rig;
    rig.Cfg.AutoSave = true;
    rig.Cfg.WorkDir = QStringLiteral("/nonexistent");
    rig.Engine->SetReceiveMode(true);
    ASSERT_TRUE(rig.RunUntil([&] { return Linked(rig); }, 3000));
    EXPECT_TRUE(rig.Controls().Action(TAcqAction::Receive).Checked);
    EXPECT_FALSE(rig.Controls().Action(TAcqAction::Receive).Enabled);
    EXPECT_TRUE(rig.Controls().Action(TAcqAction::RealTimeLpf).Enabled);

    rig.Engine->SetReceiveMode(false);
    EXPECT_FALSE(rig.Receiver->Opened());
    EXPECT_FALSE(rig.Engine->KavTimer().isActive());
    EXPECT_FALSE(rig.Engine->LPFTimer().isActive());
    EXPECT_EQ(rig.View.Panels[PanelPort], QStringLiteral("SIM"));
    EXPECT_EQ(rig.View.Panels[PanelBaud], ClosedPortText);
    EXPECT_EQ(rig.View.Panels[PanelAutoSave], QString());
    const TControlsState& s = rig.ControlsView.Last;
    EXPECT_FALSE(s.Gain.Enabled || s.Speed.Enabled || s.Correction.Enabled || s.Bounds.Enabled);
    EXPECT_FALSE(s.Gain.LabelEnabled || s.Bounds.LabelsEnabled);
    EXPECT_FALSE(s.Action(TAcqAction::RealTimeLpf).Enabled);
    EXPECT_TRUE(s.Action(TAcqAction::Analysis).Checked);
    EXPECT_FALSE(s.Action(TAcqAction::Analysis).Enabled);
    EXPECT_TRUE(s.Action(TAcqAction::Receive).Enabled);
    EXPECT_FALSE(rig.Cfg.Mode);
}

TEST(LinkSession, AdcRequestsAreAnsweredAndDrawnAtTheLastField) {
    TAcqRig rig;
    rig.Engine->SetReceiveMode(true);
    ASSERT_TRUE(rig.RunUntil([&] { return Linked(rig) && rig.State().LastField >= 0; }, 3000));
    rig.Engine->SetAdcView(true);
    EXPECT_TRUE(rig.View.AdcShown);
    EXPECT_TRUE(rig.Engine->ADCTimer().isActive());
    EXPECT_TRUE(rig.Controls().Action(TAcqAction::AdcInput).Checked);
    rig.Engine->ADCTimerTimer();
    EXPECT_EQ(rig.Commands.back(), CmdAdcRequest);
    ASSERT_TRUE(rig.RunUntil([&] { return !rig.View.Points.empty(); }, 1000));
    const auto& p = rig.View.Points.back();
    EXPECT_EQ(p.Ordinate, rig.Engine->AdcValue() / 2 + 2048);
    EXPECT_EQ(p.Colour, rig.Cfg.DisplayColors.ADC2);
    EXPECT_GT(rig.Engine->AdcValue(), 0);
    EXPECT_EQ(rig.Readings.AdcValue, rig.Engine->AdcValue());
    EXPECT_EQ(rig.View.AdcText, rig.Format.ADCToStr(rig.Engine->AdcValue()));

    rig.Engine->AAdcInputExecute();
    EXPECT_FALSE(rig.View.AdcShown);
    EXPECT_FALSE(rig.Engine->ADCTimer().isActive());
    rig.Engine->PrepareForClose();
    EXPECT_FALSE(rig.Cfg.ADCEnable);
}

// ---- A run of a number of sweeps (kavtool acquire) ----------------------------

namespace {

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

} // namespace

// The operator holds the speed at the instrument and it differs from the
// settings: the run takes the instrument's speed, says so once and saves.
TEST(AcquireRun, ManualSpeedIsTakenSaidAndTheSweepsSaved) {
    TAcqRig rig;
    QTemporaryDir dir;
    rig.Cfg.WorkDir = dir.path();
    rig.Cfg.Rapid = 10; // " 1 мин"
    TRunRecord record;
    TAcquireRun run(*rig.Engine, rig.Cfg, *rig.Store, 2, record.Callbacks());
    rig.Engine->SetReceiveMode(true);
    rig.Sim().SetManualSpeed(15); // "30 сек", row 11
    ASSERT_TRUE(rig.RunUntil([&] { return run.Done(); }, 30000)) << run.Ready();
    EXPECT_EQ(record.Complete, true) << record.Reason.toStdString();
    EXPECT_EQ(record.Notes, QStringList{QStringLiteral(
                                "the sweep speed is under manual control at the spectrometer: "
                                "sweeps are taken at its speed 11 \"30 сек\", not at Rapid=10 "
                                "\" 1 мин\"")});
    ASSERT_EQ(record.Files.size(), 2);
    auto store = std::make_unique<TPointTable>();
    auto raw = std::make_unique<TPointTable>();
    ASSERT_EQ(LoadSpectrumFile(record.Files[1], *store, *raw), TLoadOutcome::Loaded);
    EXPECT_EQ((*store)[ParSpeed].X, 11);
    EXPECT_GT(LastValidPoint(*store, 0, MaxFieldCode), 60000);
}

TEST(AcquireRun, AbandonedHandshakeEndsTheRunWithTheReason) {
    TAcqRig rig;
    TRunRecord record;
    TAcquireRun run(*rig.Engine, rig.Cfg, *rig.Store, 1, record.Callbacks());
    rig.Engine->SetReceiveMode(true);
    rig.Sim().SetAnswering(false);
    ASSERT_TRUE(rig.RunUntil([&] { return run.Done(); }, 30 * KavTimerMs));
    EXPECT_EQ(record.Complete, false);
    EXPECT_EQ(record.Reason, QStringLiteral("the spectrometer did not take the parameters"));
}
