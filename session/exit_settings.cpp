#include "session/exit_settings.h"

#include "acquisition/controls_state.h"
#include "config/settings_store.h"

void StoreWindowPlace(TWindowPlace& stored, const TWindowPlace& now) {
    stored.State = now.State;
    if (now.State != TWindowState::Normal)
        return;
    stored.Left = now.Left;
    stored.Top = now.Top;
    stored.Width = now.Width;
    stored.Height = now.Height;
}

TKavCfg SettingsAtExit(const TKavCfg& cfg, const TWindowFacts& facts, std::uint8_t rapidBeforeStop,
                       bool adcShown) {
    TKavCfg out = cfg;
    RestoreUnitSnapshot(out);
    if (out.Rapid == StopSpeedRow)
        out.Rapid = rapidBeforeStop;
    StoreWindowPlace(out.Position, facts.Main);
    StoreWindowPlace(out.MsgWindow, facts.Messages);
    out.MsgWindow.Style = facts.Messages.Style;
    out.MsgWindow.Visible = facts.Messages.Visible;
    out.ADCWindow.Left = facts.AdcLeft;
    out.ADCWindow.Top = facts.AdcTop;
    out.ADCEnable = adcShown;
    out.ToolBar = facts.ToolBarShown;
    return out;
}
