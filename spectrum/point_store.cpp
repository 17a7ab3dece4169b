#include "spectrum/point_store.h"

#include <algorithm>

void ClearPoints(TPointTable& table) {
    table.fill(TPointSlot{0, EmptyY});
}

TPointTables::TPointTables() : Pair(std::make_unique<TPair>()) {
    ClearPoints(Pair->Store);
    ClearPoints(Pair->Undo);
}

namespace {

// The searches skip a block of slots at a time when none of them holds a
// data point: a fixed-length test without a branch per slot, which the
// compiler turns into a few vector compares. A spectrum of a narrow sweep
// leaves tens of thousands of empty slots on either side.
constexpr int Block = 16;

// A slot is empty or a parameter record when its Y is 65520 or more, that
// is when the top twelve bits of Y are all set; so every slot of the block
// is when they are all set in the AND of the block's Ys.
bool AnyValid(const TPointSlot* slots) {
    constexpr std::uint16_t NotData = MaxValidY + 1;
    static_assert(NotData == 0xFFF0);
    std::uint16_t all = 0xFFFF;
    for (int j = 0; j < Block; ++j)
        all &= slots[j].Y;
    return (all & NotData) != NotData;
}

} // namespace

std::uint16_t FirstValidPoint(const TPointTable& table, std::uint16_t a, std::uint16_t b) {
    int i = std::min(a, b);
    while (i + Block < PointSlotCount && !AnyValid(&table[i]))
        i += Block;
    while (table[i].Y > MaxValidY && i < PointSlotCount - 1)
        ++i;
    return static_cast<std::uint16_t>(i);
}

std::uint16_t LastValidPoint(const TPointTable& table, std::uint16_t a, std::uint16_t b) {
    int i = std::max(a, b);
    while (i >= Block && !AnyValid(&table[i - Block + 1]))
        i -= Block;
    while (table[i].Y > MaxValidY && i > 0)
        --i;
    return static_cast<std::uint16_t>(i);
}
