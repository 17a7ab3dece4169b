// The four control groups as a model: operator changes, telemetry states,
// what each group shows and which handshake flag each change clears.

#include "acquisition/acquisition_rig.h"

#include <gtest/gtest.h>

namespace {

struct ControlsFixture : ::testing::Test {
    TAcqRig Rig;
    TInstrumentControls& C = Rig.Engine->Controls();
    const TControlsState& S() { return Rig.ControlsView.Last; }
    void Receiving() {
        C.SetReceiveMode(true);
        C.SetGainState(0x01);
        C.SetSpeedState(0x08);
        Rig.State().SetHandshake();
    }
};

} // namespace

TEST_F(ControlsFixture, InitialStateFollowsTheSettings) {
    Rig.Cfg.Amplifying = 3;
    Rig.Cfg.Rapid = 7;
    Rig.Cfg.PoleMin = 100;
    Rig.Cfg.PoleMax = 70000; // held by the box
    Rig.Cfg.Correction = -320;
    Rig.Cfg.EnableRTLPF = true;
    C.Init();
    EXPECT_EQ(S().Gain.Selection, 3);
    EXPECT_EQ(S().Speed.Selection, 7);
    EXPECT_EQ(C.SavedRapid, 7);
    EXPECT_EQ(S().Bounds.Bottom, 100);
    EXPECT_EQ(S().Bounds.Top, TopFieldMax);
    EXPECT_EQ(S().Bounds.BottomText, Rig.Format.FieldToStr(100));
    EXPECT_EQ(S().Correction.Value, -320);
    EXPECT_EQ(S().Correction.BarPosition, 32767 + 320);
    EXPECT_EQ(S().Correction.ValueText, Rig.Format.CorrToStr(-320));
    EXPECT_EQ(S().Gain.Label, DesignLabelText);
    EXPECT_FALSE(S().Gain.Enabled || S().Speed.Enabled || S().Bounds.Enabled ||
                 S().Correction.Enabled);
    EXPECT_FALSE(S().Action(TAcqAction::Start).Enabled);
    EXPECT_TRUE(S().Action(TAcqAction::RealTimeLpf).Checked);
    EXPECT_FALSE(S().Action(TAcqAction::RealTimeSum).Checked);
}

TEST_F(ControlsFixture, ManualGainSelectsTheInstrumentsRowComputerKeepsTheOperators) {
    Rig.Cfg.Amplifying = 4;
    C.Init();
    C.SetReceiveMode(true);
    Rig.State().GainSpeedAck = true;
    C.SetGainState(0x81);
    EXPECT_FALSE(S().Gain.Enabled);
    EXPECT_EQ(S().Gain.Label, ManualLabelText);
    EXPECT_EQ(S().Gain.Selection, 0);
    EXPECT_EQ(Rig.Cfg.Amplifying, 0);
    EXPECT_EQ(Rig.ControlsView.PlotRepaints, 1);
    EXPECT_FALSE(Rig.State().GainSpeedAck);

    C.SetGainState(0x01);
    EXPECT_TRUE(S().Gain.Enabled);
    EXPECT_EQ(S().Gain.Label, ComputerLabelText);
    EXPECT_EQ(S().Gain.Selection, 0);

    // The same byte again changes nothing, even after the operator's choice.
    C.AmpBoxChange(5);
    EXPECT_EQ(Rig.ControlsView.PlotRepaints, 2);
    Rig.State().GainSpeedAck = true;
    C.SetGainState(0x01);
    EXPECT_EQ(S().Gain.Selection, 5);
    EXPECT_TRUE(Rig.State().GainSpeedAck);

    // A code with no row leaves the list as it is.
    C.SetGainState(0x87);
    EXPECT_EQ(S().Gain.Selection, 5);
    EXPECT_EQ(Rig.Cfg.Amplifying, 5);
}

TEST_F(ControlsFixture, GainListRepaintsOnlyWhenTheRowChanges) {
    Receiving();
    C.AmpBoxChange(Rig.Cfg.Amplifying);
    EXPECT_EQ(Rig.ControlsView.PlotRepaints, 0);
    EXPECT_FALSE(Rig.State().GainSpeedAck);
    C.UpDnAmpClick(false); // at row 0 already
    EXPECT_EQ(S().Gain.Selection, 0);
    for (int i = 0; i < 9; ++i)
        C.UpDnAmpClick(true);
    EXPECT_EQ(S().Gain.Selection, 7);
    EXPECT_EQ(Rig.Cfg.Amplifying, 7);
    EXPECT_EQ(Rig.ControlsView.PlotRepaints, 7);
}

TEST_F(ControlsFixture, ManualCorrectionHidesTheNumbersAndComputerControlRestoresThem) {
    Rig.Cfg.Correction = 640;
    C.SetReceiveMode(true);
    C.SetGainState(0x01);
    EXPECT_EQ(S().Correction.Value, 640);
    EXPECT_FALSE(Rig.State().CorrAck); // the box took the setting
    Rig.State().CorrAck = true;

    C.SetGainState(0x41);
    EXPECT_FALSE(S().Correction.Enabled);
    EXPECT_FALSE(S().Correction.BarEnabled);
    EXPECT_TRUE(S().Correction.NumbersHidden);
    EXPECT_EQ(S().Correction.Label, ManualLabelText);
    EXPECT_TRUE(S().Gain.Enabled);
    // A change while disabled shows in the box but leaves the setting.
    C.CorrEditChange(-64);
    EXPECT_EQ(Rig.Cfg.Correction, 640);
    EXPECT_TRUE(Rig.State().CorrAck);

    C.SetGainState(0x01);
    EXPECT_TRUE(S().Correction.Enabled);
    EXPECT_FALSE(S().Correction.NumbersHidden);
    EXPECT_EQ(S().Correction.Value, 640);
    EXPECT_EQ(S().Correction.ValueText, Rig.Format.CorrToStr(640));
    EXPECT_FALSE(Rig.State().CorrAck);
}

TEST_F(ControlsFixture, TrackBarAndCorrectionBoxFollowEachOther) {
    Receiving();
    C.CorrBarChange(0);
    EXPECT_EQ(Rig.Cfg.Correction, 32767);
    EXPECT_EQ(S().Correction.Value, 32767);
    C.CorrBarChange(32767);
    EXPECT_EQ(Rig.Cfg.Correction, 0);
    C.CorrBarChange(65535);
    EXPECT_EQ(Rig.Cfg.Correction, -32767);
    EXPECT_FALSE(Rig.State().CorrAck);
    C.CorrEditChange(1000);
    EXPECT_EQ(S().Correction.BarPosition, 31767);
    C.CorrEditChange(40000);
    EXPECT_EQ(S().Correction.Value, CorrEditMax);
}

TEST_F(ControlsFixture, StopAndStartReturnToTheSpeedBefore) {
    Receiving();
    C.SpeedBoxChange(5);
    C.AStopExecute();
    EXPECT_EQ(S().Speed.Selection, StopSpeedRow);
    EXPECT_EQ(Rig.Cfg.Rapid, StopSpeedRow);
    EXPECT_FALSE(S().Action(TAcqAction::Stop).Enabled);
    EXPECT_TRUE(S().Action(TAcqAction::Start).Enabled);
    C.PrepareForClose();
    EXPECT_EQ(Rig.Cfg.Rapid, 5); // never starts with the sweep stopped
    Rig.Cfg.Rapid = StopSpeedRow;

    C.AStartExecute();
    EXPECT_EQ(S().Speed.Selection, 5);
    EXPECT_EQ(Rig.Cfg.Rapid, 5);
    EXPECT_TRUE(S().Action(TAcqAction::Stop).Enabled);
    EXPECT_FALSE(S().Action(TAcqAction::Start).Enabled);

    C.AStopExecute();
    C.UpDnRazvClick(true);
    EXPECT_EQ(S().Speed.Selection, 3);
    EXPECT_TRUE(S().Action(TAcqAction::Stop).Enabled);
}

TEST_F(ControlsFixture, SpeedStateSelectsTheLastRowOfItsCodeAndSetsTheFill) {
    Receiving();
    Rig.State().GainSpeedAck = true;
    C.SetSpeedState(0x0F);
    EXPECT_EQ(S().Speed.Selection, 11);
    EXPECT_EQ(Rig.Cfg.Rapid, 11);
    EXPECT_EQ(Rig.State().FillCount, 4);
    EXPECT_FALSE(Rig.State().GainSpeedAck);

    C.SetSpeedState(0x84); // manual, "32 мин"
    EXPECT_FALSE(S().Speed.Enabled);
    EXPECT_EQ(S().Speed.Label, ManualLabelText);
    EXPECT_EQ(S().Speed.Selection, 5);
    EXPECT_EQ(Rig.State().FillCount, 1);
    // Under manual control a speed change does not ask for a send.
    Rig.State().GainSpeedAck = true;
    C.SpeedBoxChange(6);
    EXPECT_TRUE(Rig.State().GainSpeedAck);

    // A code without a row keeps the selection and the fill.
    C.SetSpeedState(0x0A);
    EXPECT_EQ(S().Speed.Selection, 6);
    EXPECT_EQ(Rig.State().FillCount, 1);
    EXPECT_TRUE(S().Speed.Enabled);
}

TEST_F(ControlsFixture, BoundsInReceiveModeSetTheSettingsTheViewAndTheFlag) {
    Rig.Cfg.PoleMin = 100;
    C.Init();
    Receiving();
    C.BotFieldChange(110);
    EXPECT_EQ(Rig.Cfg.PoleMin, 110);
    EXPECT_EQ(S().Bounds.BottomText, Rig.Format.FieldToStr(110));
    EXPECT_EQ(Rig.ControlsView.MinView, 110);
    EXPECT_FALSE(Rig.State().BoundsAck);
    C.TopFieldChange(100); // below the box's range
    EXPECT_EQ(Rig.Cfg.PoleMax, TopFieldMin);
    EXPECT_EQ(Rig.ControlsView.MaxView, TopFieldMin);

    Rig.State().BoundsAck = true;
    C.SelectSweepBounds(2000, 3000);
    EXPECT_EQ(Rig.Cfg.PoleMin, 2000);
    EXPECT_EQ(Rig.Cfg.PoleMax, 3000);
    EXPECT_FALSE(Rig.State().BoundsAck);
}

TEST_F(ControlsFixture, BoundsInAnalysisModeLeaveTheSettings) {
    Rig.Cfg.PoleMin = 100;
    Rig.Cfg.PoleMax = 60000;
    C.Init();
    C.SetReceiveMode(false);
    Rig.State().BoundsAck = true;
    C.BotFieldChange(500);
    C.TopFieldChange(50000);
    EXPECT_EQ(S().Bounds.Bottom, 500);
    EXPECT_EQ(Rig.Cfg.PoleMin, 100);
    EXPECT_EQ(Rig.Cfg.PoleMax, 60000);
    EXPECT_EQ(S().Bounds.BottomText, Rig.Format.FieldToStr(100));
    EXPECT_EQ(S().Bounds.TopText, Rig.Format.FieldToStr(60000));
    EXPECT_TRUE(Rig.State().BoundsAck);
    EXPECT_EQ(Rig.ControlsView.MinView, -1);
}

TEST_F(ControlsFixture, RealTimeButtonsSetTheSettingsAndBlinkWhileChecked) {
    C.SetReceiveMode(true);
    C.ARealTimeLpfExecute(true);
    EXPECT_TRUE(Rig.Cfg.EnableRTLPF);
    Rig.Engine->LPFTimerTimer();
    EXPECT_EQ(S().Action(TAcqAction::RealTimeLpf).Image, LpfBlinkImage);
    EXPECT_EQ(S().Action(TAcqAction::RealTimeSum).Image, SumImage);
    Rig.Engine->LPFTimerTimer();
    EXPECT_EQ(S().Action(TAcqAction::RealTimeLpf).Image, LpfImage);
    C.ARealTimeSumExecute(true);
    Rig.Engine->LPFTimerTimer();
    EXPECT_EQ(S().Action(TAcqAction::RealTimeSum).Image, SumBlinkImage);
    // Leaving the receive mode puts the plain images back.
    C.SetReceiveMode(false);
    EXPECT_EQ(S().Action(TAcqAction::RealTimeLpf).Image, LpfImage);
    EXPECT_EQ(S().Action(TAcqAction::RealTimeSum).Image, SumImage);
    EXPECT_FALSE(S().Action(TAcqAction::RealTimeSum).Enabled);
    C.ARealTimeSumExecute(false);
    EXPECT_FALSE(Rig.Cfg.EnableRTSum);
}

TEST_F(ControlsFixture, UnchangedStateIsNotShownAgain) {
    Receiving();
    const int shows = Rig.ControlsView.Shows;
    C.SetGainState(0x01);
    C.SetSpeedState(0x08);
    C.CorrBarChange(S().Correction.BarPosition);
    EXPECT_EQ(Rig.ControlsView.Shows, shows);
}
