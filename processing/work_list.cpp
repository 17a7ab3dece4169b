#include "processing/work_list.h"

void CopyOrdinates(const TPointTable& store, const TPointRange& range, TWorkList& list) {
    list.resize(range.Count());
    std::uint16_t carried = range.Empty ? 0 : store[range.First].Y;
    for (int j = 0; j < range.Count(); ++j) {
        const TPointSlot& slot = store[range.First + j];
        if (IsValidSlot(slot))
            carried = slot.Y;
        list[j] = carried;
    }
}

void WriteOrdinates(TPointTable& store, const TPointRange& range, const TWorkList& list) {
    for (int j = 0; j < range.Count(); ++j) {
        TPointSlot& slot = store[range.First + j];
        if (IsValidSlot(slot))
            slot.Y = list[j];
    }
}
