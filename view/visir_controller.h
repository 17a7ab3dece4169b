#pragma once

#include "config/kav_cfg.h"
#include "processing/gfactor_display.h"
#include "spectrum/point_slot.h"
#include "spectrum/value_format.h"
#include "view/visir_view.h"

#include <cstdint>

// The two visirs and the mouse on the plot: placing, toggling and dragging
// the visirs, their readouts, the pointer readouts, and the two range
// selections (the view range armed by ScaleBtn, the sweep bounds armed by
// AMouseSelect). Visir n is 1 or 2 in every call.
class TVisirController {
public:
    enum TMouseMode : std::uint8_t {
        Idle = 0,
        DragVisir1 = 1,
        DragVisir2 = 2,
        SelectView = 3,
        SelectSweep = 4,
    };

    // Selection bands: sky blue for the view range, fuchsia for the sweep
    // bounds (stored colour values: red + 256 * green + 65536 * blue).
    static constexpr TColorValue ViewBandColour = 0xA6 + 0xCA * 256 + 0xF0 * 65536;
    static constexpr TColorValue SweepBandColour = 0xFF + 0x00 * 256 + 0xFF * 65536;
    // Narrowest range a mouse selection yields, in codes.
    static constexpr int MinSelectionSpan = 512;

    TVisirController(TKavCfg& cfg, const TPointTable& store, const TValueFormat& format,
                     const TGFactorDisplay& gfactor, TVisirView& view);

    // The plot the lines and bands go to; none means nothing is drawn.
    void SetSurface(TPlotSurface* surface) { Surface = surface; }

    // Start-up: panels and check marks from the stored Visir1/Visir2.
    void ApplyStoredVisirs();

    // Places visir n at a code: readouts, up-down, "dH=", and its line.
    void SetVisir(int n, std::uint16_t code);
    void SetVisir1(std::uint16_t code) { SetVisir(1, code); }
    void SetVisir2(std::uint16_t code) { SetVisir(2, code); }
    // "dH=" in status panel 7 when both visirs are shown.
    void ShowVisirDistance();
    // The full paint wiped the plot: no line is on it any more.
    void ForgetDrawnLines();
    // The last step of the full paint: each shown visir at its stored code.
    void PlaceShownVisirs();

    // AVisir1 / AVisir2: toggle; AStandVisir: both shown.
    void ToggleVisir(int n);
    void AVisir1Execute() { ToggleVisir(1); }
    void AVisir2Execute() { ToggleVisir(2); }
    void AStandVisirExecute();
    // The operator clicked LRVisN; position is its new value.
    void UpDownClicked(int n, int position);

    // ScaleBtn clicked (down is its new state); AMouseSelect run.
    void ScaleButtonClicked(bool down);
    void AMouseSelectExecute();
    // AResetDiap: the widest sweep bounds, to be sent.
    void AResetDiapExecute();

    // The plot's mouse handlers; x is the pointer's column, any button.
    void MouseDown(int x);
    void MouseMove(int x);
    void MouseUp(int x);

    bool VisirShown(int n) const { return n == 1 ? Cfg.Visir1 : Cfg.Visir2; }
    std::uint16_t VisirCode(int n) const { return Vis(n).Code; }
    int VisirX(int n) const { return Vis(n).X; }
    int VisirDrawn(int n) const { return Vis(n).Drawn; }
    TMouseMode MouseMode() const { return Mode; }
    bool ScaleArmed() const { return ScaleDown; }
    bool MouseSelectArmed() const { return MouseSelectOn; }
    TPointerShape Pointer() const { return PointerShape; }
    int CursorCode() const { return Cursor; }
    int DownCode() const { return Down; }
    int UpCode() const { return Up; }

private:
    struct TVisir {
        std::uint16_t Code = 0; // Visir1Code / Visir2Code
        int X = -1;             // column as last computed; -1 outside the view
        int Drawn = -1;         // column where the line is on the plot; -1 none
    };

    TVisir& Vis(int n) { return n == 1 ? Visir1 : Visir2; }
    const TVisir& Vis(int n) const { return n == 1 ? Visir1 : Visir2; }
    TColorValue Colour(int n) const;
    std::uint16_t& StoredCode(int n) { return n == 1 ? Cfg.VisKoord1 : Cfg.VisKoord2; }
    bool& ShownFlag(int n) { return n == 1 ? Cfg.Visir1 : Cfg.Visir2; }
    void DrawLine(int x, int n);
    void SetPointer(TPointerShape shape);
    QString OrdinateText(std::uint16_t code) const;
    TPlotGeometry CurrentGeometry() const;

    TKavCfg& Cfg;
    const TPointTable& Store;
    const TValueFormat& Format;
    const TGFactorDisplay& GFactor;
    TVisirView& View;
    TPlotSurface* Surface = nullptr;

    TVisir Visir1;
    TVisir Visir2;
    TMouseMode Mode = Idle;
    bool ScaleDown = false;
    bool MouseSelectOn = false;
    TPointerShape PointerShape = TPointerShape::Default;
    int Cursor = 0;
    int Down = 0;
    int Up = 0;
    int BandX = 0;
};
