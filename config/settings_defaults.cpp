#include "config/settings_store.h"

#include <algorithm>

namespace {

// Colours as red + 256 * green + 65536 * blue.
constexpr TColorValue Black = 0;
constexpr TColorValue White = 16777215;
constexpr TColorValue Blue = 16711680;
constexpr TColorValue Red = 255;
constexpr TColorValue Lime = 65280;
constexpr TColorValue Yellow = 65535;
constexpr TColorValue Grey = 8421504;
constexpr TColorValue Aqua = 16776960;
constexpr TColorValue Fuchsia = 16711935;
constexpr TColorValue Silver = 12632256;
constexpr TColorValue Navy = 8388608;
constexpr TColorValue Purple = 8388736;
constexpr TColorValue Green = 32768;
constexpr TColorValue Teal = 8421376;

TMeasureUnit Unit(double x1, double x2, const char* name, float p1, float p2) {
    TMeasureUnit u;
    u.X1 = x1;
    u.X2 = x2;
    u.Name = QString::fromUtf8(name);
    CalcUnitKoeff(u, p1, p2);
    return u;
}

// The group's further units are stated against unit 0's two reference codes.
TMeasureUnit Derived(const TMeasureUnit& unit0, double x1, double x2, const char* name) {
    return Unit(x1, x2, name, static_cast<float>(unit0.X1), static_cast<float>(unit0.X2));
}

} // namespace

void SetDefaults(TKavCfg& cfg, const QString& workDir) {
    cfg.Position = TWindowPlace{10, 10, 500, 760, true, TWindowState::Normal, 0};
    cfg.MsgWindow = TWindowPlace{160, 60, 360, 290, false, TWindowState::Normal, StaysOnTopStyle};
    cfg.ADCWindow = TWindowPlace{};

    cfg.Port = DefaultComSettings();

    cfg.PoleMin = 0;
    cfg.PoleMax = 65519;
    cfg.ViewMin = 0;
    cfg.ViewMax = 65519;
    cfg.OrdScale = 0;
    cfg.Rapid = 10;
    cfg.Amplifying = 0;
    cfg.Correction = 0;
    cfg.WorkDir = workDir;
    cfg.LastOpen.clear();
    cfg.ToolBar = true;
    cfg.Visir1 = false;
    cfg.Visir2 = false;
    cfg.VisKoord1 = 50;
    cfg.VisKoord2 = 65400;
    cfg.Mode = true;
    cfg.ADCEnable = false;
    cfg.ADCFreq = 100;
    cfg.RazvUnit = 0;
    cfg.AmpUnit = 0;
    cfg.CorrUnit = 0;
    cfg.ADCUnit = 0;

    auto& razv = cfg.RazvUnits;
    razv[0] = Unit(0, 65519, "", 0, 65519);
    razv[1] = Derived(razv[0], 0, 5, "А");
    razv[2] = Derived(razv[0], 0, 300, "Э");
    razv[3] = Derived(razv[0], 3000, 3300, "Э");

    auto& amp = cfg.AmpUnits;
    amp[0] = Unit(-2047, 2047, "", -2047, 2047);
    amp[1] = Derived(amp[0], -10, 10, "В");

    auto& corr = cfg.CorrUnits;
    corr[0] = Unit(-32767, 32767, "", -32767, 32767);
    corr[1] = Derived(corr[0], -1000, 1000, "мВ");

    auto& adc = cfg.ADCUnits;
    adc[0] = Unit(0, 4095, "", 0, 4095);
    adc[1] = Derived(adc[0], 0, 10, "В");
    adc[2] = Derived(adc[0], 0, 6, "А");
    adc[3] = Derived(adc[0], 0, 10, "Э");
    adc[4] = Derived(adc[0], 0, 9000, "Э");

    // The saved copies start equal to the live units, so restoring before
    // any snapshot was taken never brings in all-zero lines.
    SaveUnitSnapshot(cfg);

    cfg.ResonatorFreq = 0;
    cfg.AutoSave = false;
    cfg.SaveStep = 1;
    cfg.NameMask = QStringLiteral("Спектр");
    cfg.NumbMask = 1;
    cfg.Language = TLanguage::Ru;
    cfg.LPFConst = 10;
    cfg.FindMaxNoise = 20;
    cfg.FindMaxStep = 100;
    cfg.GlissConst = 10;
    cfg.AutoGliss = false;
    cfg.AutoMinMax = false;
    cfg.AutoTibaTitan = false;
    cfg.EnableRTLPF = false;
    cfg.EnableRTSum = false;
    cfg.RTLPFConst = 25;
    cfg.RTNumb = 9;
    cfg.ShowFirst = false;

    // Then the fitted curve, the residual, the reference and the difference.
    cfg.BMPColors =
        TColorSet{White, Blue, Black, Blue, Red, Lime, Grey, Lime, Blue, Red, Purple, Green, Teal};
    cfg.DisplayColors = TColorSet{Black, Blue, Yellow, Lime,    Red,   Lime,  Grey,
                                  Lime,  Blue, Aqua,   Fuchsia, White, Silver};
    cfg.PrinterColors =
        TColorSet{White, Blue, Red, Blue, Red, Lime, Grey, Lime, Blue, Navy, Purple, Green, Teal};

    cfg.Orientation = 1;
    cfg.PrnL = 15;
    cfg.PrnT = 15;
    cfg.PrnR = 15;
    cfg.PrnB = 15;

    cfg.Fit = TFitSettings{};
}

TComSettings DefaultComSettings() {
    TComSettings port;
    port.PortName = QStringLiteral("COM1");
    port.BaudRate = 5; // 9600 baud
    port.Parity = 0;
    port.StopBits = 0;
    port.RTSControl = 0;
    port.DTRControl = 0;
    port.CTSControl = false;
    port.DSRControl = false;
    port.DSRSensitivity = false;
    port.TimeOut = 1000;
    port.SlaveAddress = 1;
    return port;
}

void SaveUnitSnapshot(TKavCfg& cfg) {
    std::copy_n(cfg.RazvUnits.begin(), RazvUnitCount, cfg.RazvUnits.begin() + RazvUnitCount);
    std::copy_n(cfg.ADCUnits.begin(), ADCUnitCount, cfg.ADCUnits.begin() + ADCUnitCount);
}

void RestoreUnitSnapshot(TKavCfg& cfg) {
    std::copy_n(cfg.RazvUnits.begin() + RazvUnitCount, RazvUnitCount, cfg.RazvUnits.begin());
    std::copy_n(cfg.ADCUnits.begin() + ADCUnitCount, ADCUnitCount, cfg.ADCUnits.begin());
}
