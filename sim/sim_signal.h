#pragma once

#include <cstdint>

// A small deterministic random source (splitmix64), the same on every
// platform for a given seed.
class TSimRandom {
public:
    explicit TSimRandom(std::uint64_t seed) : State(seed) {}
    std::uint64_t Next();
    double Uniform(); // [0, 1)
    double Gauss();   // mean 0, deviation 1

private:
    std::uint64_t State;
    bool HasSpare = false;
    double Spare = 0;
};

// The sample in the simulated resonator: a cw-EPR first-derivative spectrum of
// a DPPH reference line and the six hyperfine lines of Mn2+, over a field
// span of 3150..3850 G mapped onto the field codes 0..65519.
class TSimSpectrum {
public:
    // The derivative signal at a field code, in amplitude codes at gain 1.
    double Signal(double fieldCode) const;
    static double FieldGauss(double fieldCode);

    static constexpr double SpanLowGauss = 3150;
    static constexpr double SpanHighGauss = 3850;
    static constexpr double DpphGauss = 3494.7; // g = 2.0036 at 9.8 GHz
    static constexpr double DpphWidthGauss = 4; // peak to peak
    static constexpr double DpphAmplitude = 18;
    static constexpr double MnCentreGauss = 3499.2; // g = 2.0010
    static constexpr double MnSplittingGauss = 86.9;
    static constexpr double MnWidthGauss = 9;
    static constexpr double MnAmplitude = 9;
};
