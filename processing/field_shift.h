#pragma once

#include <vector>

// The shift that lays one trace over another: the lag L, in steps of their
// common equidistant grid, for which s[i] best matches r[i - L], found at
// the maximum of the cross-correlation of the two traces (each less its
// mean) within |L| <= maxLag and refined to a fraction of a step by the
// parabola through the maximum and its two neighbours. Both traces have the
// same length; an empty or flat trace gives 0.
double CrossCorrelationLag(const std::vector<double>& s, const std::vector<double>& r, int maxLag);
