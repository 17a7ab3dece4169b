// The receive mode end to end over the simulated spectrometer: the port
// dialog's choices, handshake, re-sent parameters, sweeps into the store,
// manual control, a silent or missing instrument, a run of sweeps.

#include "acquisition/acquire_run.h"
#include "acquisition/acquisition_rig.h"
#include "acquisition/com_port_setup.h"

#include "link/instrument_tables.h"
#include "link/protocol.h"
#include "spectrum/parameter_block.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"

#include <QTemporaryDir>
#include <optional>

#include <gtest/gtest.h>

namespace {

struct LinkSession : ::testing::Test {
    TAcqRig Rig;
    bool Linked() { return Rig.State().AllAcknowledged() && Rig.State().SendCount == 0; }
    bool Relinked() {
        return Rig.RunUntil([&] { return Linked(); }, 2000);
    }
    // The receive mode on, until the handshake is done.
    void Link() {
        Rig.Engine->SetReceiveMode(true);
        ASSERT_TRUE(Rig.RunUntil([&] { return Linked(); }, 3000));
    }
};
using AcquireRun = LinkSession;

} // namespace

TEST(ComPortSetup, ListsRateIndexAndHeldName) {
    EXPECT_EQ(ComPortChoices({"/dev/ttyUSB0"}).mid(15),
              (QStringList{"COM16", "/dev/ttyUSB0", "SIM"}));
    EXPECT_EQ(BaudRateChoices().mid(12, 3), (QStringList{"128000", "256000", "230400"}));
    const struct {
        const char* Text;
        int Current, Index;
    } cases[] = {{"19200", 5, 7},   {"10000", 5, 5}, {" 1024000 ", 0, 18},
                 {"230400", 0, 14}, {"", 11, 11},    {"019200", 3, 3}};
    for (const auto& c : cases)
        EXPECT_EQ(BaudIndexOfText(c.Text, static_cast<std::uint8_t>(c.Current)), c.Index) << c.Text;
    EXPECT_EQ(BaudRateText(25), "9600"); // a hand-edited index: what the port uses

    TComSettings port;
    port.Parity = 2;
    ApplyComChoice(port, " ABCDEFGHIJKL ", 7);
    EXPECT_EQ(port.PortName, "ABCDEFGHIJ");
    EXPECT_EQ(port.BaudRate, 7);
    EXPECT_EQ(port.Parity, 2); // the rest of the record stays
}

TEST_F(LinkSession, HandshakeRunsInStageOrderAndChangesAreSentAgain) {
    Rig.Engine->SetReceiveMode(true);
    ASSERT_TRUE(Rig.Receiver->Opened());
    EXPECT_EQ(Rig.View.Panels[PanelPort], QStringLiteral("SIM"));
    EXPECT_EQ(Rig.View.Panels[PanelBaud], QStringLiteral("9600 бод"));
    EXPECT_TRUE(Rig.View.Errors.isEmpty());

    ASSERT_TRUE(Rig.RunUntil([&] { return Linked(); }, 3000));
    EXPECT_EQ(Rig.Commands, (std::vector<int>{150, 111, 122, 133}));
    EXPECT_EQ(Rig.View.Panels[PanelProgram], QStringLiteral("PR: 7"));
    EXPECT_EQ(Rig.View.Panels[PanelSerial], QStringLiteral("S/N: 42"));
    EXPECT_TRUE(Rig.View.Messages.contains(QStringLiteral("Tm01. PROGRAMMA=7")));
    EXPECT_TRUE(Rig.View.Messages.contains(QStringLiteral("Tm33. Ukorr=32768")));
    // Nothing more goes out once the stages are acknowledged.
    Rig.Run(1000);
    EXPECT_EQ(Rig.Commands.size(), 4u);
    EXPECT_FALSE(Rig.View.Messages.contains(HandshakeFailedText));

    // Changed parameters are sent again and acknowledged.
    TInstrumentControls& c = Rig.Engine->Controls();

    c.BotFieldChange(1000);
    EXPECT_FALSE(Rig.State().BoundsAck);
    EXPECT_EQ(Rig.ControlsView.MinView, 1000);
    ASSERT_TRUE(Relinked());
    EXPECT_EQ(Rig.Commands.back(), CmdSweepBounds);
    EXPECT_EQ(Rig.Sim().PoleMin(), 1000);

    c.AmpBoxChange(3); // "10", KodAmpl 4
    ASSERT_TRUE(Relinked());
    EXPECT_EQ(Rig.Sim().KodAmpl(), 4);
    EXPECT_EQ(Rig.ControlsView.PlotRepaints, 1);

    c.SpeedBoxChange(9); // " 2 мин", KodRapid 7
    ASSERT_TRUE(Rig.RunUntil([&] { return Linked() && Rig.Sim().KodRapid() == 7; }, 2000));
    EXPECT_EQ(Rig.Cfg.Rapid, 9);

    c.CorrEditChange(3200);
    EXPECT_EQ(Rig.Cfg.Correction, 3200);
    ASSERT_TRUE(Relinked());
    EXPECT_EQ(Rig.Commands.back(), CmdCorrection);
    EXPECT_EQ(Rig.Sim().Ukorr(), 32768 + 3200);
}

TEST_F(LinkSession, ASweepFillsTheStoreBetweenTheBounds) {
    Rig.Engine->SetReceiveMode(true);
    Rig.Engine->Controls().BotFieldChange(20000);
    Rig.Engine->Controls().TopFieldChange(30000);
    ASSERT_TRUE(Rig.RunUntil([&] { return Linked(); }, 3000));
    // Start from a sweep that begins after the handshake.
    Rig.State().SweepPhase = 0;
    ASSERT_TRUE(Rig.RunUntil([&] { return Rig.State().SweepPhase == 1; }, 10000));
    ASSERT_TRUE(Rig.RunUntil([&] { return Rig.State().SweepPhase == 2; }, 10000));

    const TPointTable& store = *Rig.Store;
    const int fill = Rig.State().FillCount;
    EXPECT_EQ(fill, Rig.Sim().DPole());
    EXPECT_GT(fill, 1);
    EXPECT_EQ(FirstValidPoint(store, 0, MaxFieldCode), 20000);
    const int last = LastValidPoint(store, 0, MaxFieldCode);
    EXPECT_GE(last, 30000 - fill);
    EXPECT_LE(last, 30000 + fill - 1);
    for (int code = 20000; code <= last; ++code) {
        ASSERT_TRUE(IsValidSlot(store[code])) << code;
        ASSERT_EQ(store[code].X, code);
    }
    EXPECT_EQ(Rig.View.Panels[PanelDirection], BackwardSweepText);
    EXPECT_GT(Rig.View.Plotted, 100);
}

TEST_F(LinkSession, SpeedReportSetsTheFillUntilTheNextStatus) {
    Link();
    Rig.Engine->Controls().SpeedBoxChange(6); // "16 мин": 2 points per step
    ASSERT_TRUE(Rig.RunUntil([&] { return Rig.Sim().KodRapid() == 5; }, 2000));
    // The first data point at the new speed applies the table's fill; the
    // next status message the instrument's own step.
    ASSERT_TRUE(Rig.RunUntil([&] { return Rig.Engine->Controls().LastSpeedState == 5; }, 2000));
    const std::uint8_t step = Rig.Sim().DPole();
    ASSERT_NE(step, 2);
    ASSERT_TRUE(Rig.RunUntil([&] { return Rig.State().FillCount == step; }, 2000));
}

// The instrument's knobs reach the groups through the frames (the groups'
// own rules are the engine's tests).
TEST_F(LinkSession, ManualControlDisablesTheGroupsAndShowsTheInstrumentsSettings) {
    Link();
    EXPECT_TRUE(Rig.Controls().Gain.Enabled);
    Rig.Sim().SetManualGain(3);  // row 2, "5"
    Rig.Sim().SetManualSpeed(5); // row 6, "16 мин"
    Rig.Sim().SetManualCorrection(40000);
    Rig.Run(300);
    const TControlsState& s = Rig.ControlsView.Last;
    EXPECT_FALSE(s.Gain.Enabled || s.Speed.Enabled || s.Correction.Enabled);
    EXPECT_EQ(Rig.Cfg.Amplifying, 2);
    EXPECT_EQ(Rig.Cfg.Rapid, 6);
    EXPECT_TRUE(s.Correction.NumbersHidden);
    Rig.Sim().SetManualCorrection(std::nullopt);
    Rig.Run(300);
    EXPECT_TRUE(Rig.ControlsView.Last.Correction.Enabled);
    EXPECT_EQ(Rig.ControlsView.Last.Correction.Value, Rig.Cfg.Correction);
}

TEST_F(LinkSession, SilentInstrumentEndsTheHandshakeAfterTwentyOneCommands) {
    Rig.Engine->SetReceiveMode(true);
    Rig.Sim().SetAnswering(false);
    Rig.Run(21 * KavTimerMs);
    EXPECT_EQ(Rig.Commands, std::vector<int>(21, CmdLinkRequest));
    EXPECT_EQ(Rig.View.Messages.count(HandshakeFailedText), 1);
    Rig.Run(2000);
    EXPECT_EQ(Rig.Commands.size(), 21u);
    EXPECT_EQ(Rig.View.Messages.count(HandshakeFailedText), 1);
    EXPECT_EQ(Rig.State().SendCount, 0);

    // A handshake reset starts it again.
    const std::uint8_t reset[8] = {TmHandshakeReset};
    Rig.Engine->HandleFrameBody(reset);
    Rig.Run(KavTimerMs);
    EXPECT_EQ(Rig.Commands.size(), 22u);
}

TEST_F(LinkSession, PortThatCannotOpenIsReportedAndTheHandshakeGivesUp) {
    Rig.Cfg.Port.PortName = QStringLiteral("COM9");
    bool ended = true;
    Rig.Engine->OnHandshakeEnd = [&](bool ok) { ended = ok; };
    Rig.Engine->SetReceiveMode(true);
    EXPECT_FALSE(Rig.Receiver->Opened());
    ASSERT_EQ(Rig.View.Errors.size(), 1);
    EXPECT_EQ(Rig.View.Errors[0], QStringLiteral("Невозможно инициализировать порт COM9"));
    EXPECT_EQ(Rig.View.Panels[PanelPort], QString());
    EXPECT_TRUE(Rig.Engine->ReceiveMode());
    Rig.Run(21 * KavTimerMs);
    EXPECT_EQ(Rig.View.Messages.count(HandshakeFailedText), 1);
    EXPECT_FALSE(ended);
}

TEST_F(LinkSession, AnalysisModeClosesTheLinkAndDisablesTheGroups) {
    Rig.Cfg.AutoSave = true;
    Rig.Cfg.WorkDir = QStringLiteral("/nonexistent");
    Link();
    EXPECT_TRUE(Rig.Controls().Action(TAcqAction::Receive).Checked);
    EXPECT_FALSE(Rig.Controls().Action(TAcqAction::Receive).Enabled);
    EXPECT_TRUE(Rig.Controls().Action(TAcqAction::RealTimeLpf).Enabled);

    Rig.Engine->SetReceiveMode(false);
    EXPECT_FALSE(Rig.Receiver->Opened());
    EXPECT_FALSE(Rig.Engine->KavTimer().isActive());
    EXPECT_FALSE(Rig.Engine->LPFTimer().isActive());
    EXPECT_EQ(Rig.View.Panels[PanelPort], QStringLiteral("SIM"));
    EXPECT_EQ(Rig.View.Panels[PanelBaud], ClosedPortText);
    EXPECT_EQ(Rig.View.Panels[PanelAutoSave], QString());
    const TControlsState& s = Rig.ControlsView.Last;
    EXPECT_FALSE(s.Gain.Enabled || s.Speed.Enabled || s.Correction.Enabled || s.Bounds.Enabled);
    EXPECT_FALSE(s.Gain.LabelEnabled || s.Bounds.LabelsEnabled);
    EXPECT_FALSE(s.Action(TAcqAction::RealTimeLpf).Enabled);
    EXPECT_TRUE(s.Action(TAcqAction::Analysis).Checked);
    EXPECT_FALSE(s.Action(TAcqAction::Analysis).Enabled);
    EXPECT_TRUE(s.Action(TAcqAction::Receive).Enabled);
    EXPECT_FALSE(Rig.Cfg.Mode);
}

TEST_F(LinkSession, AdcRequestsAreAnsweredAndDrawnAtTheLastField) {
    Rig.Engine->SetReceiveMode(true);
    ASSERT_TRUE(Rig.RunUntil([&] { return Linked() && Rig.State().LastField >= 0; }, 3000));
    Rig.Engine->SetAdcView(true);
    EXPECT_TRUE(Rig.View.AdcShown);
    EXPECT_TRUE(Rig.Engine->ADCTimer().isActive());
    EXPECT_TRUE(Rig.Controls().Action(TAcqAction::AdcInput).Checked);
    Rig.Engine->ADCTimerTimer();
    EXPECT_EQ(Rig.Commands.back(), CmdAdcRequest);
    ASSERT_TRUE(Rig.RunUntil([&] { return !Rig.View.Points.empty(); }, 1000));
    const auto& p = Rig.View.Points.back();
    EXPECT_EQ(p.Ordinate, Rig.Engine->AdcValue() / 2 + 2048);
    EXPECT_EQ(p.Colour, Rig.Cfg.DisplayColors.ADC2);
    EXPECT_GT(Rig.Engine->AdcValue(), 0);
    EXPECT_EQ(Rig.Readings.AdcValue, Rig.Engine->AdcValue());
    EXPECT_EQ(Rig.View.AdcText, Rig.Format.ADCToStr(Rig.Engine->AdcValue()));

    Rig.Engine->AAdcInputExecute();
    EXPECT_FALSE(Rig.View.AdcShown);
    EXPECT_FALSE(Rig.Engine->ADCTimer().isActive());
    Rig.Engine->PrepareForClose();
    EXPECT_FALSE(Rig.Cfg.ADCEnable);
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
TEST_F(AcquireRun, ManualSpeedIsTakenSaidAndTheSweepsSaved) {
    QTemporaryDir dir;
    Rig.Cfg.WorkDir = dir.path();
    Rig.Cfg.Rapid = 10; // " 1 мин"
    TRunRecord record;
    TAcquireRun run(*Rig.Engine, Rig.Cfg, *Rig.Store, 2, record.Callbacks());
    Rig.Engine->SetReceiveMode(true);
    Rig.Sim().SetManualSpeed(15); // "30 сек", row 11
    ASSERT_TRUE(Rig.RunUntil([&] { return run.Done(); }, 30000)) << run.Ready();
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

TEST_F(AcquireRun, AbandonedHandshakeEndsTheRunWithTheReason) {
    TRunRecord record;
    TAcquireRun run(*Rig.Engine, Rig.Cfg, *Rig.Store, 1, record.Callbacks());
    Rig.Engine->SetReceiveMode(true);
    Rig.Sim().SetAnswering(false);
    ASSERT_TRUE(Rig.RunUntil([&] { return run.Done(); }, 30 * KavTimerMs));
    EXPECT_EQ(record.Complete, false);
    EXPECT_EQ(record.Reason, QStringLiteral("the spectrometer did not take the parameters"));
}
