// Plain reference versions of the libtdx routines, written as the direct
// loops of their definitions (no running sums, no skipped comparisons,
// lists that grow as needed), for comparison with the library on random
// lists.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace ref {

using TList = std::vector<std::uint16_t>;

inline TList Gliss(int half, const TList& data) {
    const int last = static_cast<int>(data.size()) - 1;
    if (half == 0 || last < 2 * half)
        return data;
    TList out(data.size(), 0);
    for (int i = half; i <= last - half; ++i) {
        std::int64_t sum = 0;
        for (int k = i - half; k <= i + half; ++k)
            sum += data[k];
        out[i] = static_cast<std::uint16_t>(sum / (2 * half + 1));
    }
    for (int i = 0; i < half; ++i)
        out[i] = out[half];
    for (int i = last - half + 1; i <= last; ++i)
        out[i] = out[last - half];
    return out;
}

inline TList FindMaximums(int noise, int step, const TList& data) {
    TList found;
    const int last = static_cast<int>(data.size()) - 1;
    bool rising = false;
    int m = 0;
    int p = 0;
    for (int i = 0; i + step < last; i += step / 2) {
        const int a = i;
        const int b = i + step;
        if (data[b] > data[a] + noise) {
            rising = true;
            m = 0;
        }
        if (rising) {
            for (int k = a; k <= b; ++k) {
                if (data[k] > m) {
                    m = data[k];
                    p = k;
                }
            }
        }
        if (rising && data[a] > data[b] + noise) {
            rising = false;
            found.push_back(static_cast<std::uint16_t>(p));
        }
    }
    return found;
}

struct TPairs {
    TList MinPos;
    TList MaxPos;
    TList Amp;
};

inline TPairs CalcAmp(const TList& data, TList minPos, TList maxPos) {
    std::reverse(maxPos.begin(), maxPos.end());
    std::reverse(minPos.begin(), minPos.end());
    TPairs pairs{minPos, maxPos, {}};
    const std::size_t n = std::min(minPos.size(), maxPos.size());
    for (std::size_t k = 0; k < n; ++k)
        pairs.Amp.push_back(
            static_cast<std::uint16_t>(std::abs(int{data[minPos[k]]} - int{data[maxPos[k]]})));
    return pairs;
}

struct TRatio {
    std::uint16_t TibaAmp = 0;
    std::uint16_t TitanAmp = 1;
    std::uint16_t TibaMinPos = 0;
    std::uint16_t TibaMaxPos = 0;
    std::uint16_t TitanMinPos = 0;
    std::uint16_t TitanMaxPos = 0;
    bool operator==(const TRatio&) const = default;
};

// Works in place like the library: the samples end up inverted.
inline TRatio CalcTibaTitan(int noise, int step, TList& data) {
    TRatio r;
    const TList maxima = FindMaximums(noise, step, data);
    for (std::uint16_t& v : data)
        v = static_cast<std::uint16_t>(4095 - v);
    const TList minima = FindMaximums(noise, step, data);
    const TPairs pairs = CalcAmp(data, minima, maxima);
    if (pairs.Amp.size() >= 1) {
        r.TitanAmp = pairs.Amp[0];
        r.TitanMinPos = pairs.MinPos[0];
        r.TitanMaxPos = pairs.MaxPos[0];
    }
    if (pairs.Amp.size() >= 2) {
        r.TibaAmp = pairs.Amp[1];
        r.TibaMinPos = pairs.MinPos[1];
        r.TibaMaxPos = pairs.MaxPos[1];
    }
    return r;
}

inline TRatio TibaTitan(int method, int noise, int step, TList& data) {
    if (data.empty())
        return TRatio{};
    if (method == 1 || method == 3)
        data = Gliss(step / 10, data);
    if (method == 2 || method == 3) {
        const auto [lo, hi] = std::minmax_element(data.begin(), data.end());
        noise = (*hi - *lo) / 10;
    }
    return CalcTibaTitan(noise, step, data);
}

} // namespace ref
