#pragma once

#include <cstdint>
#include <vector>

// What the processing left for the plot and the printout to show. Opening or
// closing a spectrum, the receive action and a new sweep clear it.
struct TSpectrumResults {
    std::uint16_t MaxCount = 0;
    std::uint16_t MinCount = 0;
    std::uint16_t PairCount = 0;
    std::vector<std::uint16_t> MaxPositions;   // slot indexes, rightmost first
    std::vector<std::uint16_t> MinPositions;   // slot indexes, rightmost first
    std::vector<std::uint16_t> PairAmplitudes; // peak-to-peak of pair k
    std::uint16_t TibaAmp = 0;                 // 0 means no ratio
    std::uint16_t TitanAmp = 0;
    double Area = -1; // double integral between the visirs; -1 means none

    // The counts, the peak ratio and the area go; the lists keep their last
    // contents until the next extremum search replaces them.
    void Clear() {
        MaxCount = MinCount = PairCount = 0;
        TibaAmp = 0;
        Area = -1;
    }
};
