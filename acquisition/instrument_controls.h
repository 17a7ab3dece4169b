#pragma once

#include "acquisition/acquisition_state.h"
#include "acquisition/controls_state.h"
#include "config/kav_cfg.h"
#include "link/handshake_echo.h"
#include "spectrum/value_format.h"

#include <cstdint>

// The four groups along the bottom of the main window (correction, gain,
// sweep speed, sweep bounds) and the receive-mode actions, as a model: each
// operation changes the settings, clears the handshake flag of what changed
// and then shows the new state through the view. The window only renders the
// state and forwards its controls' events here.
class TInstrumentControls {
public:
    TInstrumentControls(TKavCfg& cfg, TAcquisitionState& acq, const TValueFormat& format,
                        TControlsView& view);

    // Window creation: selections from Amplifying and Rapid, the bound boxes
    // from PoleMin and PoleMax, the correction box from Correction, the
    // checks of "ФНЧ(р)" and "Сумма" from the settings; every group disabled.
    void Init();
    const TControlsState& State() const { return S; }

    // The receive mode switched (the controls' share of SetReceiveMode).
    void SetReceiveMode(bool on);

    // Operator actions.
    void AmpBoxChange(int row); // the gain list took a row
    void UpDnAmpClick(bool up);
    void SpeedBoxChange(int row); // the speed list took a row
    void UpDnRazvClick(bool up);
    void AStopExecute();
    void AStartExecute();
    // The bound boxes took a value (typed, stepped or set by the program);
    // a value outside the box's range is held at its end.
    void BotFieldChange(int value);
    void TopFieldChange(int value);
    // Both bounds chosen with the mouse: the boxes take them and the bounds
    // are marked as not yet sent.
    void SelectSweepBounds(int bottom, int top);
    // The correction box took a value; the track bar moved.
    void CorrEditChange(int value);
    void CorrBarChange(int position);
    void ARealTimeLpfExecute(bool checked);
    void ARealTimeSumExecute(bool checked);

    // The calibration changed: the bound and correction boxes show their
    // values in the new units. Nothing is sent to the instrument.
    void RefreshUnitTexts();

    // What the engine sets.
    void SetAdcChecked(bool checked);
    void SetSaveAsEnabled(bool enabled);
    // One tick of the blinking: image 23 or 16 for "ФНЧ(р)", 24 or 17 for
    // "Сумма", each while checked; plain images when blink is false.
    void ShowBlink(bool blink);

    // The state bytes of a data point or a Tm04 message.
    void SetGainState(std::uint8_t b);
    void SetSpeedState(std::uint8_t b);
    // The line went away in the receive mode ("Прием" enabled and unchecked,
    // to open the port again), or the port is open again.
    void ShowLinkLost(bool lost);
    // OpenLink: the next state bytes are applied whatever they are.
    void ForgetStates();
    // What the instrument's own controls hold, from the last state bytes
    // applied (nothing before the first).
    TManualParts ManualParts() const;
    // After a switch of language: the three group labels again, in the
    // language now in force.
    void RetranslateLabels();

    std::int32_t LastGainState = -1;
    std::int32_t LastSpeedState = -1;
    std::uint8_t SavedRapid = 0;

private:
    // The label texts the groups show, kept untranslated for a switch of
    // language.
    TTrText GainLabel = DesignLabelText;
    TTrText CorrectionLabel = DesignLabelText;
    TTrText SpeedLabel = DesignLabelText;

    // The last speed state said the operator holds the speed at the instrument.
    bool SpeedManual() const;
    void GainListChanged();
    void SpeedListChanged();
    void SetCorrectionBox(int value);
    void ShowBoundTexts();
    void Publish();

    TKavCfg& Cfg;
    TAcquisitionState& Acq;
    const TValueFormat& Format;
    TControlsView& View;
    TControlsState S;
    TControlsState Shown;
    bool HasShown = false;
};
