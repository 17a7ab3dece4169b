#include "spectrum/point_store.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

void ClearPoints(TPointTable& table) {
    table.fill(TPointSlot{0, EmptyY});
}

TPointTables::TPointTables() : Pair(std::make_unique<TPair>()) {
    ClearPoints(Pair->Store);
    ClearPoints(Pair->Undo);
}

namespace {

// The searches skip a block of slots at a time when none of them holds a
// data point: a fixed-length test without a branch per slot. A spectrum of
// a narrow sweep leaves tens of thousands of empty slots on either side.
constexpr int Block = 16;

// A slot is empty or a parameter record when its Y is 65520 or more, that
// is when the top twelve bits of Y are all set; so every slot of the block
// is when they are all set in the AND of the block's Ys. The block is read
// as 64-bit words of two slots each, ANDed word by word (which the compiler
// turns into a few vector ANDs), and the Ys' bits of both halves tested.
bool AnyValid(const TPointSlot* slots) {
    constexpr std::uint16_t NotData = MaxValidY + 1;
    static_assert(NotData == 0xFFF0);
    static_assert(sizeof(TPointSlot) == 4 && offsetof(TPointSlot, Y) == 2);
    constexpr int Words = Block / 2;
    std::uint64_t words[Words];
    std::memcpy(words, slots, sizeof words);
    std::uint64_t all = ~std::uint64_t{0};
    for (int j = 0; j < Words; ++j)
        all &= words[j];
    // Y is the high half of each 32-bit slot on a little-endian machine,
    // the low half on a big-endian one.
    constexpr std::uint64_t YMask =
        std::endian::native == std::endian::little
            ? (std::uint64_t{NotData} << 16 | std::uint64_t{NotData} << 48)
            : (std::uint64_t{NotData} | std::uint64_t{NotData} << 32);
    return (all & YMask) != YMask;
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
