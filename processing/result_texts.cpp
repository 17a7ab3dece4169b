#include "processing/result_texts.h"

#include "spectrum/number_style.h"
#include "spectrum/point_slot.h"

QString ExtremumLabel(const TValueFormat& format, std::uint16_t ordinate) {
    return format.AmplToStr(static_cast<std::int32_t>(ordinate) - ZeroLine);
}

QString PairAmplitudeText(const TValueFormat& format, std::uint16_t amplitude) {
    return QStringLiteral("A=") + format.AmplToStr(amplitude);
}

QString AreaText(const TValueFormat& format, double area) {
    if (!(area >= 0))
        return QString();
    return QStringLiteral("S=") + format.AreaToStr(area);
}

bool PeakRatio(const TSpectrumResults& results, double& ratio) {
    if (results.TibaAmp == 0 || results.TitanAmp == 0)
        return false;
    ratio = static_cast<double>(static_cast<long double>(results.TibaAmp) / results.TitanAmp);
    return true;
}

QString PeakRatioText(const TValueFormat& format, const TSpectrumResults& results) {
    double ratio = 0;
    if (!PeakRatio(results, ratio))
        return QString();
    return QStringLiteral("Tiba/Titan=") + format.AmplToStr(results.TibaAmp) + QStringLiteral("/") +
           format.AmplToStr(results.TitanAmp) + QStringLiteral("=") +
           FormatFixed(ratio, 4, 2, format.DecimalSep());
}
