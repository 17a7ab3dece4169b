#include "spectrum/point_store.h"

#include <algorithm>

void ClearPoints(TPointTable& table) {
    table.fill(TPointSlot{0, EmptyY});
}

TPointTables::TPointTables() : Pair(std::make_unique<TPair>()) {
    ClearPoints(Pair->Store);
    ClearPoints(Pair->Undo);
}

std::uint16_t FirstValidPoint(const TPointTable& table, std::uint16_t a, std::uint16_t b) {
    std::uint16_t i = std::min(a, b);
    while (table[i].Y > MaxValidY && i < PointSlotCount - 1)
        ++i;
    return i;
}

std::uint16_t LastValidPoint(const TPointTable& table, std::uint16_t a, std::uint16_t b) {
    std::uint16_t i = std::max(a, b);
    while (table[i].Y > MaxValidY && i > 0)
        --i;
    return i;
}
