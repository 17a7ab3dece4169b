#include "view/visir_controller.h"

#include "base/translated_text.h"

#include <algorithm>
#include <cstdlib>

#include <QCoreApplication>

namespace {

const TTrText NoPointText{"VisirController", QT_TRANSLATE_NOOP("VisirController", "<НЕТ>")};

// The up-down position of a code: code - 32767 as a signed 16-bit value.
int UpDownOf(std::uint16_t code) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(code - 32767));
}

bool Near(int x, int lineX) {
    return lineX >= 0 && std::abs(x - lineX) < 4;
}

} // namespace

TVisirController::TVisirController(TKavCfg& cfg, const TPointTable& store,
                                   const TValueFormat& format, const TGFactorDisplay& gfactor,
                                   TVisirView& view)
    : Cfg(cfg), Store(store), Format(format), GFactor(gfactor), View(view) {
    Visir1.Code = cfg.VisKoord1;
    Visir2.Code = cfg.VisKoord2;
}

void TVisirController::ApplyStoredVisirs() {
    View.SetVisirShown(1, Cfg.Visir1);
    View.SetVisirShown(2, Cfg.Visir2);
}

TColorValue TVisirController::Colour(int n) const {
    return n == 1 ? Cfg.DisplayColors.Visir1 : Cfg.DisplayColors.Visir2;
}

TPlotGeometry TVisirController::CurrentGeometry() const {
    if (Surface)
        return Surface->Geometry();
    return TPlotGeometry::Compute(0, 0, Cfg.ViewMin, Cfg.ViewMax, Cfg.OrdScale);
}

void TVisirController::DrawLine(int x, int n) {
    if (Surface)
        Surface->DrawVisirLine(x, Colour(n));
}

void TVisirController::SetPointer(TPointerShape shape) {
    PointerShape = shape;
    if (Surface)
        Surface->SetPointerShape(shape);
}

QString TVisirController::OrdinateText(std::uint16_t code) const {
    const TPointSlot& slot = Store[code];
    if (!IsValidSlot(slot))
        return NoPointText;
    return Format.AmplToStr(static_cast<std::int32_t>(slot.Y) - ZeroLine);
}

void TVisirController::SetVisir(int n, std::uint16_t code) {
    TVisir& v = Vis(n);
    v.Code = code;
    StoredCode(n) = code;
    View.SetVisirUpDown(n, UpDownOf(code));

    const QString abscissa = GFactor.Shown ? GFactor.TextAt(code) : Format.FieldToStr(code);
    View.SetVisirReadout(n, abscissa, OrdinateText(code));
    ShowVisirDistance();

    const TPlotGeometry g = CurrentGeometry();
    if (code < g.ViewMin || code > g.ViewMax) {
        if (v.Drawn >= 0)
            DrawLine(v.Drawn, n);
        v.Drawn = -1;
        v.X = -1;
        return;
    }
    v.X = g.XOfCode(code);
    if (v.Drawn != v.X) {
        if (v.Drawn >= 0)
            DrawLine(v.Drawn, n);
        DrawLine(v.X, n);
    }
    v.Drawn = v.X;
}

void TVisirController::ShowVisirDistance() {
    if (!(Cfg.Visir1 && Cfg.Visir2))
        return;
    // The absolute field unit would add its offset to a difference; the
    // distance is shown in the relative field unit instead.
    const std::uint8_t selected = Cfg.RazvUnit;
    if (selected == 3)
        Cfg.RazvUnit = 2;
    const int distance = std::abs(static_cast<int>(Visir1.Code) - static_cast<int>(Visir2.Code));
    const QString text =
        QStringLiteral("dH=") + Format.FieldToStr(static_cast<std::uint16_t>(distance));
    Cfg.RazvUnit = selected;
    View.SetStatusPanel(7, text);
}

void TVisirController::ForgetDrawnLines() {
    Visir1.Drawn = -1;
    Visir2.Drawn = -1;
}

void TVisirController::PlaceShownVisirs() {
    if (Cfg.Visir1)
        SetVisir(1, Cfg.VisKoord1);
    if (Cfg.Visir2)
        SetVisir(2, Cfg.VisKoord2);
}

void TVisirController::ToggleVisir(int n) {
    bool& shown = ShownFlag(n);
    shown = !shown;
    View.SetVisirShown(n, shown);
    TVisir& v = Vis(n);
    if (!shown) {
        if (v.Drawn >= 0)
            DrawLine(v.Drawn, n);
        v.Drawn = -1;
        v.X = -1;
        return;
    }
    std::uint16_t& stored = StoredCode(n);
    if (!(Cfg.ViewMin < stored && stored < Cfg.ViewMax)) {
        const int centre = (Cfg.ViewMin + Cfg.ViewMax) / 2;
        stored = static_cast<std::uint16_t>(n == 1 ? centre - 120 : centre + 120);
    }
    SetVisir(n, stored);
}

void TVisirController::AStandVisirExecute() {
    Cfg.Visir1 = false;
    Cfg.Visir2 = false;
    ToggleVisir(1);
    ToggleVisir(2);
}

void TVisirController::UpDownClicked(int n, int position) {
    if (UpDownOf(Vis(n).Code) == position)
        return;
    SetVisir(n, static_cast<std::uint16_t>(position + 32767));
}

void TVisirController::ScaleButtonClicked(bool down) {
    ScaleDown = down;
    SetPointer(down ? TPointerShape::Hand : TPointerShape::Default);
}

void TVisirController::AMouseSelectExecute() {
    MouseSelectOn = !MouseSelectOn;
    View.SetMouseSelectChecked(MouseSelectOn);
    SetPointer(MouseSelectOn ? TPointerShape::Hand : TPointerShape::Default);
}

void TVisirController::AResetDiapExecute() {
    View.SelectSweepBounds(0, MaxFieldCode);
}

void TVisirController::MouseDown(int x) {
    Down = CurrentGeometry().FieldCodeOfX(x);
    BandX = x;
    if (Cfg.Visir1 && Near(x, Visir1.X))
        Mode = DragVisir1;
    if (Cfg.Visir2 && Near(x, Visir2.X))
        Mode = DragVisir2;
    if (ScaleDown) {
        Mode = SelectView;
        MouseSelectOn = false;
        View.SetMouseSelectChecked(false);
    }
    if (MouseSelectOn)
        Mode = SelectSweep;
}

void TVisirController::MouseMove(int x) {
    const TPlotGeometry g = CurrentGeometry();
    const std::uint16_t code = g.FieldCodeOfX(x);
    Cursor = code;
    View.SetStatusPanel(3, QCoreApplication::translate("VisirController", "ПОЛЕ: ") +
                               Format.FieldToStr(code));
    const TPointSlot& slot = Store[code];
    View.SetStatusPanel(4, IsValidSlot(slot)
                               ? QCoreApplication::translate("VisirController", "АМПЛ: ") +
                                     Format.AmplToStr(static_cast<std::int32_t>(slot.Y) - ZeroLine)
                               : NoPointText);
    switch (Mode) {
    case Idle:
        if (PointerShape != TPointerShape::Hand) {
            const bool overLine =
                (Cfg.Visir1 && Near(x, Visir1.X)) || (Cfg.Visir2 && Near(x, Visir2.X));
            SetPointer(overLine ? TPointerShape::HorizontalSplit : TPointerShape::Default);
        }
        break;
    case DragVisir1:
        SetVisir(1, code);
        break;
    case DragVisir2:
        SetVisir(2, code);
        break;
    case SelectView:
    case SelectSweep:
        if (Surface)
            Surface->MergeBand(BandX, x, Mode == SelectView ? ViewBandColour : SweepBandColour);
        BandX = x;
        break;
    }
}

void TVisirController::MouseUp(int x) {
    Up = CurrentGeometry().FieldCodeOfX(x);
    if (Down > Up)
        std::swap(Down, Up);
    if (Up - Down < MinSelectionSpan) {
        if (Down + MinSelectionSpan >= 65535)
            Down = Up - MinSelectionSpan;
        else
            Up = Down + MinSelectionSpan;
    }
    if (ScaleDown) {
        ScaleDown = false;
        View.SetScaleButtonDown(false);
        View.SelectView(Down, Up);
    }
    if (MouseSelectOn) {
        View.SelectSweepBounds(Down, Up);
        MouseSelectOn = false;
        View.SetMouseSelectChecked(false);
    }
    Mode = Idle;
    SetPointer(TPointerShape::Default);
}
