#pragma once

#include "spectrum/point_slot.h"
#include "spectrum/spectrum_results.h"
#include "spectrum/value_format.h"

#include <QString>
#include <cstdint>
#include <vector>

// The texts the plot and the printout show for the processing results.

// The label of an extremum: its ordinate relative to the zero line.
QString ExtremumLabel(const TValueFormat& format, std::uint16_t ordinate);

// "A=" and the peak-to-peak amplitude of a pair.
QString PairAmplitudeText(const TValueFormat& format, std::uint16_t amplitude);

// Where a pair's texts stand: the field code midway between its minimum and
// maximum, and the slot midway between them (where its g-factor is read).
struct TPairPlace {
    std::uint16_t Amplitude;
    std::uint32_t MiddleCode;
    std::uint16_t MiddleSlot;
};

// The pairs that get texts, in order: those counted by PairCount that have
// an amplitude and both extrema, with both extremum slots holding points.
std::vector<TPairPlace> PairPlaces(const TPointTable& store, const TSpectrumResults& results);

// "S=" and the double integral; empty when there is none (negative area).
QString AreaText(const TValueFormat& format, double area);

// "Tiba/Titan=" with both amplitudes and their quotient in fixed (4, 2).
// Empty when there is no ratio: TibaAmp 0, or TitanAmp 0 (no quotient).
QString PeakRatioText(const TValueFormat& format, const TSpectrumResults& results);

// The quotient TibaAmp / TitanAmp; false when there is no ratio.
bool PeakRatio(const TSpectrumResults& results, double& ratio);
