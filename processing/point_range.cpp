#include "processing/point_range.h"

#include "spectrum/point_store.h"

#include <algorithm>

TPointRange RangeBetween(const TPointTable& store, std::uint16_t a, std::uint16_t b) {
    a = std::min(a, MaxFieldCode);
    b = std::min(b, MaxFieldCode);
    TPointRange range;
    range.First = FirstValidPoint(store, a, b);
    range.Last = LastValidPoint(store, a, b);
    range.Empty = range.First > range.Last || !IsValidSlot(store[range.First]);
    return range;
}

TPointRange WholeSpectrum(const TPointTable& store) {
    return RangeBetween(store, 0, MaxFieldCode);
}
