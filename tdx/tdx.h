/*
 * libtdx: numeric routines over lists of unsigned 16-bit samples (the
 * amplitude codes of a spectrum, normally 0 to 4095).
 *
 * Every list is passed as a pointer to its entry 0 followed by the index of
 * its last entry (int32_t), so a list of n entries has the last index n - 1.
 * Counts, thresholds and single results are uint16_t. The routines keep no
 * state between calls, report no errors and never keep a pointer; every list
 * belongs to the caller. They may run on any thread.
 *
 * Arguments the routines refuse. A refused call reads nothing past a list's
 * last index, writes nothing into a list, leaves the samples unchanged and
 * reports nothing found (a count of 0; for the two-line routines the "no
 * ratio" outputs TibaAmp 0, TitanAmp 1, all four positions 0):
 *   - a null list pointer, or a last index below 0;
 *   - Step below 2 (the search window would never advance);
 *   - for FindMaximums, CalcTibaTitan and TibaTitan, a sample list of more
 *     than 65536 samples (Last above 65535): positions are 16-bit;
 *   - for CalcTibaTitan and TibaTitan, any sample above 4095: the inversion
 *     4095 - v has no meaning for it on the 12-bit scale;
 *   - for Gliss, a list shorter than the window (Last below 2 * Half);
 *   - for CalcAmp, a count larger than its position list, a counted
 *     position past Last, or an amplitude list shorter than the number of
 *     pairs.
 * A null single out-parameter is skipped; the others are still written.
 * Gliss also leaves the samples unchanged if its work list cannot be
 * allocated.
 */
#ifndef TDX_TDX_H
#define TDX_TDX_H

#include <stdint.h>

#if defined(__GNUC__)
#define TDX_API __attribute__((visibility("default")))
#else
#define TDX_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Moving average over 2 * Half + 1 samples, in place. Each inner sample i
 * (Half <= i <= Last - Half) becomes the truncated mean of the input samples
 * i - Half .. i + Half; the first Half samples copy the first inner mean and
 * the last Half samples the last one. Half 0 leaves the samples unchanged.
 */
TDX_API void Gliss(uint16_t Half, uint16_t* Data, int32_t Last);

/*
 * Sliding-window search for maxima. A window of Step + 1 samples starts at
 * 0 and moves by Step / 2 while its end lies before the last sample. A
 * window whose end exceeds its start by more than Noise is rising and
 * restarts the running maximum; while rising, the leftmost largest sample
 * seen so far is kept; a later window whose start exceeds its end by more
 * than Noise is falling and reports the kept position. Positions go into
 * Maxima[0..MaximaLast] from entry 0; at most MaximaLast + 1 (and at most
 * 65535) are written, the leftmost ones when there are more. *Count
 * receives the number written. Data is only read.
 */
TDX_API void FindMaximums(uint16_t Noise, uint16_t Step, const uint16_t* Data, int32_t Last,
                          uint16_t* Maxima, int32_t MaximaLast, uint16_t* Count);

/*
 * Pairs extrema from the right. Reverses the first MaxCount entries of MaxPos
 * and the first MinCount entries of MinPos in place, so that both run from
 * the rightmost extremum to the leftmost; then for k below
 * n = min(MinCount, MaxCount): Amp[k] = |Data[MinPos[k]] - Data[MaxPos[k]]|.
 * Returns n. Data is only read.
 */
TDX_API uint16_t CalcAmp(uint16_t MinCount, uint16_t MaxCount, const uint16_t* Data, int32_t Last,
                         uint16_t* MinPos, int32_t MinPosLast, uint16_t* MaxPos, int32_t MaxPosLast,
                         uint16_t* Amp, int32_t AmpLast);

/*
 * Amplitudes of the two rightmost lines. Finds the maxima of Data, inverts
 * the samples in place (v becomes 4095 - v; they stay inverted on return),
 * finds the maxima of the inverted samples (the minima of the input) and
 * pairs them from the right as CalcAmp does. The rightmost pair gives
 * TitanAmp, TitanMinPos, TitanMaxPos; the second from the right gives
 * TibaAmp, TibaMinPos, TibaMaxPos. Outputs of a pair that does not exist keep
 * their "none" values: TibaAmp 0, TitanAmp 1, positions 0.
 */
TDX_API void CalcTibaTitan(uint16_t Noise, uint16_t Step, uint16_t* Data, int32_t Last,
                           uint16_t* TibaAmp, uint16_t* TitanAmp, uint16_t* TibaMinPos,
                           uint16_t* TibaMaxPos, uint16_t* TitanMinPos, uint16_t* TitanMaxPos);

/*
 * CalcTibaTitan with optional preparation, chosen by Method:
 *   1: Gliss(Step / 10) first;
 *   2: the threshold is (largest - smallest sample) / 10 instead of Noise;
 *   3: Gliss(Step / 10) first, then the threshold of 2 from the smoothed
 *      samples;
 *   any other value: CalcTibaTitan(Noise, Step) directly.
 * A refused call (see above) also skips the smoothing, so the samples stay
 * unchanged. A list too short for the smoothing window is not smoothed.
 */
TDX_API void TibaTitan(uint16_t Method, uint16_t Noise, uint16_t Step, uint16_t* Data, int32_t Last,
                       uint16_t* TibaAmp, uint16_t* TitanAmp, uint16_t* TibaMinPos,
                       uint16_t* TibaMaxPos, uint16_t* TitanMinPos, uint16_t* TitanMaxPos);

#ifdef __cplusplus
}
#endif

#endif
