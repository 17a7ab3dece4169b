#pragma once

#include "base/translated_text.h"

#include <QString>
#include <array>
#include <cstdint>

// What the four instrument control groups and the receive-mode actions show.
// The window renders it as it stands; the core alone changes it.

// Label texts of the three groups that the instrument may take over.
inline constexpr TTrText DesignLabelText{"ControlsState",
                                         QT_TRANSLATE_NOOP("ControlsState", "РУЧН.УПР.")};
inline constexpr TTrText ManualLabelText{"ControlsState",
                                         QT_TRANSLATE_NOOP("ControlsState", "РУЧН. УПР.")};
inline constexpr TTrText ComputerLabelText{"ControlsState",
                                           QT_TRANSLATE_NOOP("ControlsState", "ПЭВМ")};

// Row 2 of SpeedTable stops the sweep.
// The correction track bar runs the other way from the correction: its
// position for a value, and the value for a position.
constexpr int CorrBarPosition(int value) {
    return 32767 - value;
}

inline constexpr int StopSpeedRow = 2;

// Spin box ranges.
inline constexpr int BotFieldMin = 0;
inline constexpr int BotFieldMax = 65007;
inline constexpr int TopFieldMin = 512;
inline constexpr int TopFieldMax = 65519;
inline constexpr int FieldStep = 10;
inline constexpr int CorrEditMin = -32767;
inline constexpr int CorrEditMax = 32767;
inline constexpr int CorrEditStep = 32;
inline constexpr int CorrBarMax = 65535;

// Images of the main image list for the two blinking tool buttons.
inline constexpr int LpfImage = 16;
inline constexpr int SumImage = 17;
inline constexpr int LpfBlinkImage = 23;
inline constexpr int SumBlinkImage = 24;

struct TGainGroup {
    bool Enabled = false;
    bool LabelEnabled = false;
    QString Label = DesignLabelText;
    int Selection = -1; // GainTable row shown, -1 none

    bool operator==(const TGainGroup&) const = default;
};

struct TSpeedGroup {
    bool Enabled = false;
    bool LabelEnabled = false;
    QString Label = DesignLabelText;
    int Selection = -1; // SpeedTable row shown, -1 none

    bool operator==(const TSpeedGroup&) const = default;
};

struct TBoundsGroup {
    bool Enabled = false;
    bool LabelsEnabled = false; // "Нижняя" and "Верхняя"
    int Bottom = 0;             // BotField
    int Top = TopFieldMax;      // TopField
    QString BottomText;         // BotFieldExt: FieldToStr of PoleMin
    QString TopText;            // TopFieldExt: FieldToStr of PoleMax

    bool operator==(const TBoundsGroup&) const = default;
};

struct TCorrectionGroup {
    bool Enabled = false;
    bool LabelEnabled = false;
    QString Label = DesignLabelText;
    bool BarEnabled = false;
    int Value = 0;           // CorrEdit
    int BarPosition = 32767; // CorrBar: CorrBarPosition(Value)
    QString ValueText;       // CorrEditExt: CorrToStr of Value
    // Under manual correction both boxes are written in the window's
    // background colour, so their numbers disappear.
    bool NumbersHidden = false;

    bool operator==(const TCorrectionGroup&) const = default;
};

// Actions whose state the receive mode and the controls set.
enum class TAcqAction : std::uint8_t {
    Analysis,    // "Анализ"
    Receive,     // "Прием"
    WidenRange,  // "Расширить диапазон перестройки"
    Stop,        // "СТОП"
    Start,       // "ПУСК"
    RealTimeLpf, // "ФНЧ(р)"
    RealTimeSum, // "Сумма"
    AdcInput,    // "ВХОД  АЦП"
    SaveAs,      // "Сохранить..."
};
inline constexpr int AcqActionCount = 9;

struct TActionState {
    bool Enabled = false;
    bool Checked = false;
    int Image = -1; // image-list index, -1 the action's own

    bool operator==(const TActionState&) const = default;
};

struct TControlsState {
    TGainGroup Gain;
    TSpeedGroup Speed;
    TBoundsGroup Bounds;
    TCorrectionGroup Correction;
    std::array<TActionState, AcqActionCount> Actions{};

    TActionState& Action(TAcqAction a) { return Actions[static_cast<std::size_t>(a)]; }
    const TActionState& Action(TAcqAction a) const { return Actions[static_cast<std::size_t>(a)]; }

    bool operator==(const TControlsState&) const = default;
};

// Where the controls show themselves and reach the rest of the window.
class TControlsView {
public:
    virtual ~TControlsView() = default;

    // Render every group and action from the state (called after each change).
    virtual void ShowControls(const TControlsState& state) = 0;
    // MinView := code, MaxView := code: the display bounds follow the sweep
    // bounds; their change handlers set the view and repaint.
    virtual void SetMinView(int code) = 0;
    virtual void SetMaxView(int code) = 0;
    // The full repaint of the plot (ScreenBoxPaint), after a gain change.
    virtual void RepaintPlot() = 0;
    // The selectors were set past the controls (a shown file's gain and
    // speed): the next ShowControls renders every group and action, not only
    // what changed since the last.
    virtual void ForgetShown() {}
};
