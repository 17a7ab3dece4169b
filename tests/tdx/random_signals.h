// Reproducible random sample lists of the shapes that the routines meet:
// white noise, random walks, and first-derivative lines on the zero line.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

using TSamples = std::vector<std::uint16_t>;

inline TSamples WhiteNoise(std::mt19937& rng, int count, int lo, int hi) {
    std::uniform_int_distribution<int> value(lo, hi);
    TSamples s(count);
    for (auto& v : s)
        v = static_cast<std::uint16_t>(value(rng));
    return s;
}

inline TSamples RandomWalk(std::mt19937& rng, int count, int stride) {
    std::uniform_int_distribution<int> move(-stride, stride);
    TSamples s(count);
    int v = 2048;
    for (auto& x : s) {
        v = std::clamp(v + move(rng), 0, 4095);
        x = static_cast<std::uint16_t>(v);
    }
    return s;
}

// A few derivative-of-Lorentzian lines of random width and height around
// 2048, with a little noise; always within 0..4095.
inline TSamples DerivativeLines(std::mt19937& rng, int count, int lines, int noise) {
    std::uniform_real_distribution<double> centre(0, count);
    std::uniform_real_distribution<double> width(2, 40);
    std::uniform_real_distribution<double> height(50, 900);
    std::uniform_int_distribution<int> jitter(-noise, noise);
    std::vector<double> y(count, 2048.0);
    for (int l = 0; l < lines; ++l) {
        const double c = centre(rng);
        const double w = width(rng);
        const double h = height(rng);
        for (int i = 0; i < count; ++i) {
            const double x = (i - c) / w;
            y[i] -= h * 2.6 * x / ((1 + x * x) * (1 + x * x));
        }
    }
    TSamples s(count);
    for (int i = 0; i < count; ++i)
        s[i] =
            static_cast<std::uint16_t>(std::clamp(static_cast<int>(y[i]) + jitter(rng), 0, 4095));
    return s;
}

// One of the three shapes, chosen by the round number.
inline TSamples AnySignal(std::mt19937& rng, int round, int count) {
    switch (round % 3) {
    case 0:
        return WhiteNoise(rng, count, 0, 4095);
    case 1:
        return RandomWalk(rng, count, 1 + round % 60);
    default:
        return DerivativeLines(rng, count, 1 + round % 5, round % 30);
    }
}
