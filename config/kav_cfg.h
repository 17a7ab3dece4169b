#pragma once

#include "base/measure_unit.h"
#include "config/compare_settings.h"
#include "config/fit_settings.h"
#include "config/language.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// The stored state of a window (TWindowPlace::State).
enum class TWindowState : std::uint8_t { Normal = 0, Minimized = 1, Maximized = 2 };
// The stored style of the message window (TWindowPlace::Style).
inline constexpr std::uint8_t StaysOnTopStyle = 3;

// Placement of one window.
struct TWindowPlace {
    std::int32_t Top = 0;
    std::int32_t Left = 0;
    std::int32_t Height = 0;
    std::int32_t Width = 0;
    bool Visible = false;
    TWindowState State = TWindowState::Normal;
    std::uint8_t Style = 0; // 0 normal window, StaysOnTopStyle

    bool operator==(const TWindowPlace&) const = default;
};

// A colour as stored: red + 256 * green + 65536 * blue, top byte 0.
using TColorValue = std::uint32_t;

// The colours of one colour set, in the stored order: the nine of the
// plot, then those of the line fit and the comparison.
struct TColorSet {
    TColorValue BackGround = 0;
    TColorValue Border = 0;
    TColorValue Graph = 0;
    TColorValue AddGraph = 0;
    TColorValue Text = 0;
    TColorValue ADC2 = 0;
    TColorValue Grid = 0;
    TColorValue Visir1 = 0;
    TColorValue Visir2 = 0;
    TColorValue FitGraph = 0;    // the fitted curve
    TColorValue FitResidual = 0; // the spectrum less the fitted curve
    TColorValue RefGraph = 0;    // the reference spectrum as placed
    TColorValue DiffGraph = 0;   // the spectrum less the reference

    bool operator==(const TColorSet&) const = default;
};

// Serial-port settings (section "Port").
struct TComSettings {
    QString PortName;            // as HeldPortName holds it
    std::uint8_t BaudRate = 0;   // index into BaudTable, not a rate
    std::uint8_t Parity = 0;     // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint8_t StopBits = 0;   // 0 one, 1 one and a half, 2 two
    std::uint8_t RTSControl = 0; // 0 off, 1 on, 2 hand-shake, 3 toggle
    std::uint8_t DTRControl = 0; // 0 off, 1 on, 2 hand-shake
    bool CTSControl = false;     // output flow control by CTS
    bool DSRControl = false;     // output flow control by DSR
    bool DSRSensitivity = false; // ignore received bytes while DSR is low
    std::uint16_t TimeOut = 0;   // receive poll period, ms
    std::uint8_t SlaveAddress = 0;

    bool operator==(const TComSettings&) const = default;
};

inline constexpr int PortNameMaxLength = 10;
inline constexpr int UnitNameMaxLength = 5;
inline constexpr int RazvUnitCount = 4; // live sweep units; 4..7 are the snapshot
inline constexpr int AmpUnitCount = 2;
inline constexpr int CorrUnitCount = 2;
inline constexpr int ADCUnitCount = 5; // live ADC units; 5..9 are the snapshot

// The program's settings record. One instance lives for the whole run; a
// value-initialised record is all zero, SetDefaults gives it the defaults.
struct TKavCfg {
    TWindowPlace Position;
    TWindowPlace MsgWindow;
    TWindowPlace ADCWindow;
    TComSettings Port;
    std::int32_t PoleMin = 0;
    std::int32_t PoleMax = 0;
    std::int32_t ViewMin = 0;
    std::int32_t ViewMax = 0;
    std::uint8_t OrdScale = 0; // not stored
    std::uint8_t Rapid = 0;
    std::uint8_t Amplifying = 0;
    std::int32_t Correction = 0;
    QString WorkDir;
    QString LastOpen;
    bool ToolBar = false;
    bool Visir1 = false;
    bool Visir2 = false;
    std::uint16_t VisKoord1 = 0;
    std::uint16_t VisKoord2 = 0;
    bool Mode = false; // true: receive mode
    bool ADCEnable = false;
    std::uint16_t ADCFreq = 0;
    std::uint8_t RazvUnit = 0;
    std::uint8_t AmpUnit = 0;
    std::uint8_t CorrUnit = 0;
    std::uint8_t ADCUnit = 0;
    std::array<TMeasureUnit, 2 * RazvUnitCount> RazvUnits;
    std::array<TMeasureUnit, AmpUnitCount> AmpUnits;
    std::array<TMeasureUnit, CorrUnitCount> CorrUnits;
    std::array<TMeasureUnit, 2 * ADCUnitCount> ADCUnits;
    std::int32_t ResonatorFreq = 0; // kHz, not stored; 0 = not computed
    bool AutoSave = false;
    std::int32_t SaveStep = 0;
    QString NameMask;
    std::int32_t NumbMask = 0;
    std::int32_t LPFConst = 0;
    std::uint16_t FindMaxNoise = 0;
    std::uint16_t FindMaxStep = 0;
    std::int32_t GlissConst = 0;
    bool AutoGliss = false;
    bool AutoMinMax = false;
    bool AutoTibaTitan = false;
    bool EnableRTLPF = false;
    bool EnableRTSum = false;
    std::int32_t RTLPFConst = 0;
    std::int32_t RTNumb = 0;
    bool ShowFirst = false;
    TColorSet BMPColors;
    TColorSet DisplayColors;
    TColorSet PrinterColors;
    std::uint8_t Orientation = 0; // 0 portrait, 1 landscape
    std::int32_t PrnL = 0;
    std::int32_t PrnT = 0;
    std::int32_t PrnR = 0;
    std::int32_t PrnB = 0;
    TFitSettings Fit;                   // section "LineFit"
    TCompareSettings Compare;           // section "Compare"
    TLanguage Language = TLanguage::Ru; // [Main] Language=ru|en

    bool operator==(const TKavCfg&) const = default;
};

// The recent spectrum files, newest first, at most 20.
using TRecentFiles = QStringList;
inline constexpr int RecentFilesMax = 20;
