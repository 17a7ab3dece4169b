// The five exported routines of libtdx. Only the C library is used (malloc,
// free, memcpy): no exceptions, no C++ runtime.
#include "tdx.h"

#include <stdlib.h>
#include <string.h>

namespace {

constexpr int32_t MaxPositionIndex = 65535;
constexpr uint16_t FullScale = 4095;

// Writes positions into a caller's list, never past its last index.
struct TPositionWriter {
    uint16_t* List;
    int32_t Capacity;
    int32_t Written;

    bool Add(uint16_t position) {
        if (Written >= Capacity)
            return false;
        List[Written++] = position;
        return Written < Capacity;
    }
};

// Keeps only the two rightmost positions reported and how many there were.
struct TRightmostTwo {
    uint16_t Rightmost = 0;
    uint16_t Second = 0;
    uint32_t Count = 0;

    bool Add(uint16_t position) {
        Second = Rightmost;
        Rightmost = position;
        ++Count;
        return true;
    }
};

bool SearchArgumentsValid(uint16_t step, const uint16_t* data, int32_t last) {
    return data != nullptr && last >= 0 && last <= MaxPositionIndex && step >= 2;
}

// The sliding-window maxima search; each reported position goes to
// sink.Add(), which returns false when it takes no more. The caller has
// checked the arguments, so last <= 65535 and step >= 2.
template <typename TSink>
void ScanMaxima(uint16_t noise, uint16_t step, const uint16_t* data, int32_t last, TSink& sink) {
    const int32_t advance = step / 2;
    bool rising = false;
    uint16_t maxValue = 0;
    uint16_t maxPos = 0;
    // Samples up to scannedTo were already compared with the running
    // maximum since it was last reset; comparing them again changes nothing.
    int32_t scannedTo = -1;
    for (int32_t a = 0; a + step < last; a += advance) {
        const int32_t b = a + step;
        const uint32_t first = data[a];
        const uint32_t end = data[b];
        if (end > first + noise) {
            rising = true;
            maxValue = 0;
            scannedTo = a - 1;
        }
        if (!rising)
            continue;
        for (int32_t k = scannedTo + 1 > a ? scannedTo + 1 : a; k <= b; ++k) {
            if (data[k] > maxValue) {
                maxValue = data[k];
                maxPos = static_cast<uint16_t>(k);
            }
        }
        scannedTo = b;
        if (first > end + noise) {
            rising = false;
            if (!sink.Add(maxPos))
                return;
        }
    }
}

void SetNoRatio(uint16_t* tibaAmp, uint16_t* titanAmp, uint16_t* tibaMinPos, uint16_t* tibaMaxPos,
                uint16_t* titanMinPos, uint16_t* titanMaxPos) {
    uint16_t* zeros[] = {tibaAmp, tibaMinPos, tibaMaxPos, titanMinPos, titanMaxPos};
    for (uint16_t* out : zeros) {
        if (out != nullptr)
            *out = 0;
    }
    if (titanAmp != nullptr)
        *titanAmp = 1;
}

void SetIfPresent(uint16_t* out, uint16_t value) {
    if (out != nullptr)
        *out = value;
}

bool AllOnScale(const uint16_t* data, int32_t last) {
    for (int32_t k = 0; k <= last; ++k) {
        if (data[k] > FullScale)
            return false;
    }
    return true;
}

uint16_t AbsDifference(uint16_t a, uint16_t b) {
    return static_cast<uint16_t>(a > b ? a - b : b - a);
}

void Reverse(uint16_t* list, int32_t count) {
    for (int32_t i = 0, j = count - 1; i < j; ++i, --j) {
        const uint16_t t = list[i];
        list[i] = list[j];
        list[j] = t;
    }
}

bool PositionsInside(const uint16_t* positions, int32_t count, int32_t last) {
    for (int32_t k = 0; k < count; ++k) {
        if (positions[k] > last)
            return false;
    }
    return true;
}

// The window sums: 32 bits hold every window of up to 65535 samples of
// 16 bits, wider windows take 64 bits.
template <typename TSum>
void SmoothInto(uint16_t half, const uint16_t* data, int32_t last, uint16_t* out) {
    const TSum width = 2 * static_cast<TSum>(half) + 1;
    TSum sum = 0;
    for (int32_t k = 0; k <= 2 * static_cast<int32_t>(half); ++k)
        sum += data[k];
    const int32_t innerLast = last - half;
    for (int32_t i = half;; ++i) {
        out[i] = static_cast<uint16_t>(sum / width);
        if (i == innerLast)
            break;
        sum = sum + data[i + half + 1] - data[i - half];
    }
    for (int32_t i = 0; i < half; ++i)
        out[i] = out[half];
    for (int32_t i = innerLast + 1; i <= last; ++i)
        out[i] = out[innerLast];
}

} // namespace

extern "C" {

void Gliss(uint16_t Half, uint16_t* Data, int32_t Last) {
    if (Data == nullptr || Last < 0 || Half == 0)
        return;
    if (Last < 2 * static_cast<int64_t>(Half))
        return;
    const size_t count = static_cast<size_t>(Last) + 1;
    uint16_t* work = static_cast<uint16_t*>(malloc(count * sizeof(uint16_t)));
    if (work == nullptr)
        return;
    if (Half < 32768)
        SmoothInto<uint32_t>(Half, Data, Last, work);
    else
        SmoothInto<uint64_t>(Half, Data, Last, work);
    memcpy(Data, work, count * sizeof(uint16_t));
    free(work);
}

void FindMaximums(uint16_t Noise, uint16_t Step, const uint16_t* Data, int32_t Last,
                  uint16_t* Maxima, int32_t MaximaLast, uint16_t* Count) {
    TPositionWriter writer{Maxima, 0, 0};
    if (Maxima != nullptr && MaximaLast >= 0)
        writer.Capacity = MaximaLast < 65534 ? MaximaLast + 1 : 65535;
    if (SearchArgumentsValid(Step, Data, Last) && writer.Capacity > 0)
        ScanMaxima(Noise, Step, Data, Last, writer);
    SetIfPresent(Count, static_cast<uint16_t>(writer.Written));
}

uint16_t CalcAmp(uint16_t MinCount, uint16_t MaxCount, const uint16_t* Data, int32_t Last,
                 uint16_t* MinPos, int32_t MinPosLast, uint16_t* MaxPos, int32_t MaxPosLast,
                 uint16_t* Amp, int32_t AmpLast) {
    const uint16_t pairs = MinCount < MaxCount ? MinCount : MaxCount;
    if (Data == nullptr || Last < 0)
        return 0;
    if (MinCount > 0 && (MinPos == nullptr || MinCount - 1 > MinPosLast))
        return 0;
    if (MaxCount > 0 && (MaxPos == nullptr || MaxCount - 1 > MaxPosLast))
        return 0;
    if (pairs > 0 && (Amp == nullptr || pairs - 1 > AmpLast))
        return 0;
    if (!PositionsInside(MinPos, MinCount, Last) || !PositionsInside(MaxPos, MaxCount, Last))
        return 0;
    Reverse(MaxPos, MaxCount);
    Reverse(MinPos, MinCount);
    for (int32_t k = 0; k < pairs; ++k)
        Amp[k] = AbsDifference(Data[MinPos[k]], Data[MaxPos[k]]);
    return pairs;
}

void CalcTibaTitan(uint16_t Noise, uint16_t Step, uint16_t* Data, int32_t Last, uint16_t* TibaAmp,
                   uint16_t* TitanAmp, uint16_t* TibaMinPos, uint16_t* TibaMaxPos,
                   uint16_t* TitanMinPos, uint16_t* TitanMaxPos) {
    SetNoRatio(TibaAmp, TitanAmp, TibaMinPos, TibaMaxPos, TitanMinPos, TitanMaxPos);
    if (!SearchArgumentsValid(Step, Data, Last) || !AllOnScale(Data, Last))
        return;
    // Only the two rightmost pairs are ever used, so no position lists are
    // needed: the search keeps the last two positions it reports.
    TRightmostTwo maxima;
    ScanMaxima(Noise, Step, Data, Last, maxima);
    for (int32_t k = 0; k <= Last; ++k)
        Data[k] = static_cast<uint16_t>(FullScale - Data[k]);
    TRightmostTwo minima;
    ScanMaxima(Noise, Step, Data, Last, minima);
    const uint32_t pairs = maxima.Count < minima.Count ? maxima.Count : minima.Count;
    if (pairs >= 1) {
        SetIfPresent(TitanAmp, AbsDifference(Data[minima.Rightmost], Data[maxima.Rightmost]));
        SetIfPresent(TitanMinPos, minima.Rightmost);
        SetIfPresent(TitanMaxPos, maxima.Rightmost);
    }
    if (pairs >= 2) {
        SetIfPresent(TibaAmp, AbsDifference(Data[minima.Second], Data[maxima.Second]));
        SetIfPresent(TibaMinPos, minima.Second);
        SetIfPresent(TibaMaxPos, maxima.Second);
    }
}

void TibaTitan(uint16_t Method, uint16_t Noise, uint16_t Step, uint16_t* Data, int32_t Last,
               uint16_t* TibaAmp, uint16_t* TitanAmp, uint16_t* TibaMinPos, uint16_t* TibaMaxPos,
               uint16_t* TitanMinPos, uint16_t* TitanMaxPos) {
    if (!SearchArgumentsValid(Step, Data, Last) || !AllOnScale(Data, Last)) {
        SetNoRatio(TibaAmp, TitanAmp, TibaMinPos, TibaMaxPos, TitanMinPos, TitanMaxPos);
        return;
    }
    if (Method == 1 || Method == 3)
        Gliss(static_cast<uint16_t>(Step / 10), Data, Last);
    uint16_t noise = Noise;
    if (Method == 2 || Method == 3) {
        uint16_t largest = Data[0];
        uint16_t smallest = Data[0];
        for (int32_t k = 1; k <= Last; ++k) {
            if (Data[k] > largest)
                largest = Data[k];
            if (Data[k] < smallest)
                smallest = Data[k];
        }
        noise = static_cast<uint16_t>((largest - smallest) / 10);
    }
    CalcTibaTitan(noise, Step, Data, Last, TibaAmp, TitanAmp, TibaMinPos, TibaMaxPos, TitanMinPos,
                  TitanMaxPos);
}

} // extern "C"
