/* Compiled as C: the header must declare the routines for a C caller. */
#include "tdx.h"

/* Smooths and searches a fixed list through the C declarations; returns the
 * number of maxima found (1 for this list). */
int TdxFromC(void) {
    uint16_t data[15] = {0, 0, 0, 0, 10, 20, 30, 20, 10, 0, 0, 0, 0, 0, 0};
    uint16_t maxima[4] = {0};
    uint16_t count = 0;
    uint16_t amps[4] = {0};
    uint16_t tiba = 0, titan = 0, p1 = 0, p2 = 0, p3 = 0, p4 = 0;
    Gliss(0, data, 14);
    FindMaximums(5, 4, data, 14, maxima, 3, &count);
    if (count != 1 || maxima[0] != 6)
        return -1;
    if (CalcAmp(1, 1, data, 14, maxima, 3, maxima, 3, amps, 3) != 1 || amps[0] != 0)
        return -2;
    CalcTibaTitan(5, 4, data, 14, &tiba, &titan, &p1, &p2, &p3, &p4);
    TibaTitan(0, 5, 4, data, 14, &tiba, &titan, &p1, &p2, &p3, &p4);
    return count;
}
