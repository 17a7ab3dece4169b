#pragma once

#include "config/kav_cfg.h"

// The shown part of the store (ViewMin..ViewMax) and the ordinate scale.

inline constexpr int MinViewLow = 0;
inline constexpr int MinViewHigh = 65007;
inline constexpr int MaxViewLow = 512;
inline constexpr int MaxViewHigh = 65519;
inline constexpr int OrdScaleMax = 6;

// A new lower bound, held to 0..65007. An upper bound at or below it moves
// to one code above it, so the view never collapses or crosses.
void SetViewMin(TKavCfg& cfg, int value);
// A new upper bound, held to 512..65519. A lower bound at or above it moves
// to one code below it.
void SetViewMax(TKavCfg& cfg, int value);
// Both bounds at once (a mouse selection, "show all"): the upper one is set
// first when it grows past the old one, so a new range is taken as given
// whenever it is valid.
void SetViewBounds(TKavCfg& cfg, int minValue, int maxValue);

// AIncScale / ADecScale: one scale step, false when already at the end.
bool IncOrdScale(TKavCfg& cfg);
bool DecOrdScale(TKavCfg& cfg);
