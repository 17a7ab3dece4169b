#pragma once

#include "processing/point_range.h"
#include "spectrum/point_slot.h"

#include <cstdint>
#include <vector>

// A temporary list of ordinates: sample j is slot First + j of the range.
using TWorkList = std::vector<std::uint16_t>;

// Copies the ordinates of the range into list (resized to the range). A slot
// inside the range that holds no data point (possible only in a damaged file
// once the gaps are filled) takes the sample before it, so the list never
// carries a reserved code.
void CopyOrdinates(const TPointTable& store, const TPointRange& range, TWorkList& list);

// Writes the list back into the data points of the range; slots that hold no
// data point are left as they are.
void WriteOrdinates(TPointTable& store, const TPointRange& range, const TWorkList& list);
