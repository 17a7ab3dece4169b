#include "processing/result_texts.h"

#include "base/number_style.h"

#include <algorithm>

QString ExtremumLabel(const TValueFormat& format, std::uint16_t ordinate) {
    return format.AmplToStr(static_cast<std::int32_t>(ordinate) - ZeroLine);
}

QString PairAmplitudeText(const TValueFormat& format, std::uint16_t amplitude) {
    return QStringLiteral("A=") + format.AmplToStr(amplitude);
}

std::vector<TPairPlace> PairPlaces(const TPointTable& store, const TSpectrumResults& results) {
    const std::size_t count =
        std::min({static_cast<std::size_t>(results.PairCount), results.PairAmplitudes.size(),
                  results.MinPositions.size(), results.MaxPositions.size()});
    std::vector<TPairPlace> places;
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint16_t minSlot = results.MinPositions[k];
        const std::uint16_t maxSlot = results.MaxPositions[k];
        if (!IsValidSlot(store[minSlot]) || !IsValidSlot(store[maxSlot]))
            continue;
        places.push_back(
            {results.PairAmplitudes[k],
             (static_cast<std::uint32_t>(store[minSlot].X) + store[maxSlot].X) / 2,
             static_cast<std::uint16_t>((static_cast<std::uint32_t>(minSlot) + maxSlot) / 2)});
    }
    return places;
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
