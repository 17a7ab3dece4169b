#include "acquisition/instrument_controls.h"

#include "base/instrument_tables.h"
#include "link/protocol.h"
#include "link/telemetry.h"

#include <algorithm>

namespace {

int GainRowOrNone(int row) {
    return row >= 0 && row < GainRowCount ? row : -1;
}
int SpeedRowOrNone(int row) {
    return row >= 0 && row < SpeedRowCount ? row : -1;
}

std::uint16_t FieldCode(std::int32_t value) {
    return static_cast<std::uint16_t>(std::clamp(value, 0, 65535));
}

} // namespace

TInstrumentControls::TInstrumentControls(TKavCfg& cfg, TAcquisitionState& acq,
                                         const TValueFormat& format, TControlsView& view)
    : Cfg(cfg), Acq(acq), Format(format), View(view) {}

void TInstrumentControls::Init() {
    S = TControlsState{};
    S.Gain.Selection = GainRowOrNone(Cfg.Amplifying);
    S.Speed.Selection = SpeedRowOrNone(Cfg.Rapid);
    SavedRapid = Cfg.Rapid;
    S.Bounds.Bottom = std::clamp(Cfg.PoleMin, BotFieldMin, BotFieldMax);
    S.Bounds.Top = std::clamp(Cfg.PoleMax, TopFieldMin, TopFieldMax);
    ShowBoundTexts();
    S.Correction.Value = std::clamp(Cfg.Correction, CorrEditMin, CorrEditMax);
    S.Correction.BarPosition = CorrBarPosition(S.Correction.Value);
    S.Correction.ValueText = Format.CorrToStr(S.Correction.Value);

    S.Action(TAcqAction::Stop).Enabled = true;
    S.Action(TAcqAction::Start).Enabled = false;
    S.Action(TAcqAction::RealTimeLpf) = {true, Cfg.EnableRTLPF, LpfImage};
    S.Action(TAcqAction::RealTimeSum) = {true, Cfg.EnableRTSum, SumImage};
    S.Action(TAcqAction::AdcInput) = {true, false, -1};
    S.Action(TAcqAction::Analysis) = {true, false, -1};
    S.Action(TAcqAction::Receive) = {true, false, -1};
    S.Action(TAcqAction::WidenRange) = {false, false, -1};
    S.Action(TAcqAction::SaveAs) = {false, false, -1};
    HasShown = false;
    Publish();
}

void TInstrumentControls::SetReceiveMode(bool on) {
    // Each mode action is checked while its mode is on and enabled only
    // while it is not checked.
    S.Action(TAcqAction::Analysis) = {on, !on, -1};
    S.Action(TAcqAction::Receive) = {!on, on, -1};
    S.Action(TAcqAction::WidenRange).Enabled = on;
    S.Action(TAcqAction::Stop).Enabled = on && !SpeedManual();
    S.Bounds.Enabled = on;
    S.Gain.LabelEnabled = S.Speed.LabelEnabled = S.Correction.LabelEnabled = on;
    S.Bounds.LabelsEnabled = on;
    S.Action(TAcqAction::RealTimeLpf).Enabled = on;
    S.Action(TAcqAction::RealTimeSum).Enabled = on;
    if (!on) {
        S.Correction.Enabled = S.Correction.BarEnabled = false;
        S.Gain.Enabled = false;
        S.Speed.Enabled = false;
        ShowBlink(false);
    }
    Publish();
}

// ---- Gain ------------------------------------------------------------------

void TInstrumentControls::GainListChanged() {
    if (S.Gain.Selection >= 0 && S.Gain.Selection != Cfg.Amplifying) {
        Cfg.Amplifying = static_cast<std::uint8_t>(S.Gain.Selection);
        // Amplitudes are shown divided by the gain factor.
        View.RepaintPlot();
    }
    Acq.GainSpeedAck = false;
}

void TInstrumentControls::AmpBoxChange(int row) {
    if (GainRowOrNone(row) < 0)
        return;
    S.Gain.Selection = row;
    GainListChanged();
    Publish();
}

void TInstrumentControls::UpDnAmpClick(bool up) {
    const int row = S.Gain.Selection;
    if (up && row < GainRowCount - 1)
        AmpBoxChange(row + 1);
    else if (!up && row > 0)
        AmpBoxChange(row - 1);
}

// ---- Speed -----------------------------------------------------------------

bool TInstrumentControls::SpeedManual() const {
    return LastSpeedState >= 0 &&
           DecodeSpeedState(static_cast<std::uint8_t>(LastSpeedState)).ManualSpeed;
}

void TInstrumentControls::SpeedListChanged() {
    if (S.Speed.Selection >= 0)
        Cfg.Rapid = static_cast<std::uint8_t>(S.Speed.Selection);
    // While the operator holds the speed at the instrument, "СТОП" and
    // "ПУСК" would change only the list: nothing is sent and the instrument
    // sweeps on, so both are disabled.
    const bool stopped = S.Speed.Selection == StopSpeedRow;
    S.Action(TAcqAction::Stop).Enabled = !stopped && !SpeedManual();
    S.Action(TAcqAction::Start).Enabled = stopped && !SpeedManual();
    if (S.Speed.Enabled)
        Acq.GainSpeedAck = false;
}

void TInstrumentControls::SpeedBoxChange(int row) {
    if (SpeedRowOrNone(row) < 0)
        return;
    S.Speed.Selection = row;
    SpeedListChanged();
    Publish();
}

void TInstrumentControls::UpDnRazvClick(bool up) {
    const int row = S.Speed.Selection;
    if (up && row < SpeedRowCount - 1)
        SpeedBoxChange(row + 1);
    else if (!up && row > 0)
        SpeedBoxChange(row - 1);
}

void TInstrumentControls::AStopExecute() {
    if (SpeedManual())
        return;
    if (S.Speed.Selection >= 0)
        SavedRapid = static_cast<std::uint8_t>(S.Speed.Selection);
    SpeedBoxChange(StopSpeedRow);
}

void TInstrumentControls::AStartExecute() {
    if (SpeedManual())
        return;
    SpeedBoxChange(SavedRapid);
}

// ---- Sweep bounds ----------------------------------------------------------

void TInstrumentControls::ShowBoundTexts() {
    S.Bounds.BottomText = Format.FieldToStr(FieldCode(Cfg.PoleMin));
    S.Bounds.TopText = Format.FieldToStr(FieldCode(Cfg.PoleMax));
}

void TInstrumentControls::RefreshUnitTexts() {
    ShowBoundTexts();
    S.Correction.ValueText = Format.CorrToStr(S.Correction.Value);
    Publish();
}

void TInstrumentControls::BotFieldChange(int value) {
    S.Bounds.Bottom = std::clamp(value, BotFieldMin, BotFieldMax);
    if (S.Bounds.Enabled) {
        Cfg.PoleMin = S.Bounds.Bottom;
        View.SetMinView(S.Bounds.Bottom);
        Acq.BoundsAck = false;
    }
    ShowBoundTexts();
    Publish();
}

void TInstrumentControls::TopFieldChange(int value) {
    S.Bounds.Top = std::clamp(value, TopFieldMin, TopFieldMax);
    if (S.Bounds.Enabled) {
        Cfg.PoleMax = S.Bounds.Top;
        View.SetMaxView(S.Bounds.Top);
        Acq.BoundsAck = false;
    }
    ShowBoundTexts();
    Publish();
}

void TInstrumentControls::SelectSweepBounds(int bottom, int top) {
    BotFieldChange(bottom);
    TopFieldChange(top);
    Acq.BoundsAck = false;
}

// ---- Correction ------------------------------------------------------------

void TInstrumentControls::SetCorrectionBox(int value) {
    value = std::clamp(value, CorrEditMin, CorrEditMax);
    if (value == S.Correction.Value)
        return; // the box did not change, so its change handler does not run
    CorrEditChange(value);
}

void TInstrumentControls::CorrEditChange(int value) {
    TCorrectionGroup& c = S.Correction;
    c.Value = std::clamp(value, CorrEditMin, CorrEditMax);
    c.ValueText = Format.CorrToStr(c.Value);
    c.BarPosition = CorrBarPosition(c.Value);
    if (c.Enabled) {
        Cfg.Correction = c.Value;
        Acq.CorrAck = false;
    }
    Publish();
}

void TInstrumentControls::CorrBarChange(int position) {
    position = std::clamp(position, 0, CorrBarMax);
    S.Correction.BarPosition = position;
    // The top of the bar is +32767; 65535 would give -32768, which the box
    // holds at -32767.
    SetCorrectionBox(CorrBarPosition(position));
    Publish();
}

// ---- Actions ---------------------------------------------------------------

void TInstrumentControls::ARealTimeLpfExecute(bool checked) {
    Cfg.EnableRTLPF = checked;
    S.Action(TAcqAction::RealTimeLpf).Checked = checked;
    if (!checked)
        S.Action(TAcqAction::RealTimeLpf).Image = LpfImage;
    Publish();
}

void TInstrumentControls::ARealTimeSumExecute(bool checked) {
    Cfg.EnableRTSum = checked;
    S.Action(TAcqAction::RealTimeSum).Checked = checked;
    if (!checked)
        S.Action(TAcqAction::RealTimeSum).Image = SumImage;
    Publish();
}

void TInstrumentControls::SetAdcChecked(bool checked) {
    S.Action(TAcqAction::AdcInput).Checked = checked;
    Publish();
}

void TInstrumentControls::SetSaveAsEnabled(bool enabled) {
    S.Action(TAcqAction::SaveAs).Enabled = enabled;
    Publish();
}

void TInstrumentControls::ShowBlink(bool blink) {
    TActionState& lpf = S.Action(TAcqAction::RealTimeLpf);
    TActionState& sum = S.Action(TAcqAction::RealTimeSum);
    lpf.Image = blink && lpf.Checked ? LpfBlinkImage : LpfImage;
    sum.Image = blink && sum.Checked ? SumBlinkImage : SumImage;
    Publish();
}

// ---- Telemetry -------------------------------------------------------------

void TInstrumentControls::SetGainState(std::uint8_t b) {
    if (b == LastGainState)
        return;
    const TGainState state = DecodeGainState(b);
    GainLabel = state.ManualGain ? ManualLabelText : ComputerLabelText;
    S.Gain.Label = GainLabel;
    S.Gain.Enabled = !state.ManualGain;

    TCorrectionGroup& c = S.Correction;
    if (!state.ManualCorrection) {
        CorrectionLabel = ComputerLabelText;
        c.Label = CorrectionLabel;
        c.Enabled = c.BarEnabled = true;
        SetCorrectionBox(Cfg.Correction);
        c.NumbersHidden = false;
    } else {
        CorrectionLabel = ManualLabelText;
        c.Label = CorrectionLabel;
        c.Enabled = c.BarEnabled = false;
        c.NumbersHidden = true;
    }

    if (!S.Gain.Enabled) {
        // The instrument's own gain; a code without a row leaves the list.
        const int row = GainRowOfKod(state.KodAmpl);
        if (row >= 0)
            S.Gain.Selection = row;
        GainListChanged();
    }
    LastGainState = b;
    Publish();
}

void TInstrumentControls::SetSpeedState(std::uint8_t b) {
    if (b == LastSpeedState)
        return;
    const TSpeedState state = DecodeSpeedState(b);
    SpeedLabel = state.ManualSpeed ? ManualLabelText : ComputerLabelText;
    S.Speed.Label = SpeedLabel;
    S.Speed.Enabled = !state.ManualSpeed;
    const int row = SpeedRowOfKod(state.KodRapid);
    if (row >= 0) {
        S.Speed.Selection = row;
        Acq.FillCount = SpeedTable[static_cast<std::size_t>(row)].PointsPerStep;
    }
    LastSpeedState = b;
    SpeedListChanged();
    Publish();
}

void TInstrumentControls::ForgetStates() {
    const bool wasManual = SpeedManual();
    LastGainState = -1;
    LastSpeedState = -1;
    if (wasManual) {
        // Who holds the speed is not known until the next report: the two
        // actions are as the list and the mode make them.
        const bool stopped = S.Speed.Selection == StopSpeedRow;
        S.Action(TAcqAction::Stop).Enabled = Cfg.Mode && !stopped;
        S.Action(TAcqAction::Start).Enabled = stopped;
        Publish();
    }
}

void TInstrumentControls::ShowLinkLost(bool lost) {
    const bool on = Cfg.Mode;
    S.Action(TAcqAction::Receive) = {!on || lost, on && !lost, -1};
    Publish();
}

void TInstrumentControls::RetranslateLabels() {
    S.Gain.Label = GainLabel;
    S.Correction.Label = CorrectionLabel;
    S.Speed.Label = SpeedLabel;
    Publish();
}

TManualParts TInstrumentControls::ManualParts() const {
    TManualParts manual;
    if (LastGainState >= 0) {
        const TGainState gain = DecodeGainState(static_cast<std::uint8_t>(LastGainState));
        manual.Gain = gain.ManualGain;
        manual.Correction = gain.ManualCorrection;
    }
    if (LastSpeedState >= 0)
        manual.Speed = DecodeSpeedState(static_cast<std::uint8_t>(LastSpeedState)).ManualSpeed;
    return manual;
}

void TInstrumentControls::Publish() {
    if (HasShown && S == Shown)
        return;
    Shown = S;
    HasShown = true;
    View.ShowControls(S);
}
