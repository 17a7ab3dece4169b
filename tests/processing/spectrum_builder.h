#pragma once

#include "spectrum/point_slot.h"
#include "spectrum/point_store.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

// Hand-made spectra for the processing tests.

inline std::unique_ptr<TPointTable> EmptyStore() {
    auto store = std::make_unique<TPointTable>();
    ClearPoints(*store);
    return store;
}

// Data points with the given ordinates from slot first on (65535 leaves the
// slot empty).
inline void PutPoints(TPointTable& store, int first, const std::vector<int>& ordinates) {
    int k = first;
    for (int y : ordinates) {
        store[k] = TPointSlot{static_cast<std::uint16_t>(y == EmptyY ? 0 : k),
                              static_cast<std::uint16_t>(y)};
        ++k;
    }
}

// Two derivative lines for slots 1000..1031: with noise 20 and window 4 the
// pairs have amplitudes 500 (left) and 240 (right).
inline const std::vector<int> TwoLines = {
    2048, 2048, 2048, 2048, 2100, 2200, 2300, 2200, 2048, 1900, 1800, 1900, 2048, 2048, 2048, 2048,
    2048, 2070, 2120, 2170, 2120, 2048, 1980, 1930, 1980, 2048, 2048, 2048, 2048, 2048, 2048, 2048};

// Slots first..last that do not hold a data point of their own field code
// (X equal to the slot), as the plot draws and a save writes them.
inline std::vector<int> MisplacedSlots(const TPointTable& store, int first, int last) {
    std::vector<int> out;
    for (int k = first; k <= last; ++k) {
        if (store[k].Y > MaxValidY || store[k].X != k)
            out.push_back(k);
    }
    return out;
}

inline std::vector<int> Ordinates(const TPointTable& store, int first, int count) {
    std::vector<int> out;
    for (int k = first; k < first + count; ++k)
        out.push_back(store[k].Y);
    return out;
}

// First derivative of a Lorentzian absorption line of area pi * a * w,
// centred at x0 with half-width w: the usual shape of a field-modulated line.
inline double LorentzDerivative(double x, double x0, double w, double a) {
    const double u = (x - x0) / w;
    return -2.0 * a * u / (w * (1 + u * u) * (1 + u * u));
}

// The absorption line itself.
inline double Lorentz(double x, double x0, double w, double a) {
    const double u = (x - x0) / w;
    return a / (1 + u * u);
}
