#pragma once

#include "config/kav_cfg.h"

// What the windows are when the program closes, as the window side reads
// them: each window's state and, for the main and message windows, its
// place; the message window's visibility and whether it stays on top.
struct TWindowFacts {
    TWindowPlace Main;     // State, Left, Top, Width, Height
    TWindowPlace Messages; // the same, Visible, Style
    std::int32_t AdcLeft = 0;
    std::int32_t AdcTop = 0;
    bool ToolBarShown = true;
};

// A window's state and place into its stored record: the place only when the
// window is neither minimised nor maximised, so that a maximised window
// opens again over the place it had before.
void StoreWindowPlace(TWindowPlace& stored, const TWindowPlace& now);

// The settings the exit writes, from those in force: the program's own
// units back (a shown file's calibration is not stored), a sweep left at
// " СТОП" replaced by the speed before it (`rapidBeforeStop`), the windows'
// places, the tool bar and whether the ADC readout is on.
TKavCfg SettingsAtExit(const TKavCfg& cfg, const TWindowFacts& facts, std::uint8_t rapidBeforeStop,
                       bool adcShown);
