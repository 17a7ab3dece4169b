#pragma once

#include "spectrum/point_slot.h"

#include <cstdint>
#include <memory>

// Every one of the 65536 slots, reserved ones included, becomes X 0, Y 65535.
void ClearPoints(TPointTable& table);

// From the smaller of a and b, steps up past slots that hold no data point
// (stops at 65535). Callers test the returned slot before use.
std::uint16_t FirstValidPoint(const TPointTable& table, std::uint16_t a, std::uint16_t b);

// From the larger of a and b, steps down past slots that hold no data point
// (stops at 0). Callers test the returned slot before use.
std::uint16_t LastValidPoint(const TPointTable& table, std::uint16_t a, std::uint16_t b);

// The program's two tables, the spectrum (PointStore) and the undo copy and
// read buffer (UndoStore), made once, both cleared. They are one allocation:
// each table starts on a 4096-byte page boundary, so a copy from one to the
// other (the undo copy, either way) loads and stores at the same place within
// a page, never at a small distance that would make a load wait on an
// unrelated earlier store ("4K aliasing"). Every page is written when the
// tables are made, so no copy meets a page that is not yet mapped.
class TPointTables {
public:
    TPointTables();

    TPointTable& Store() { return Pair->Store; }
    TPointTable& Undo() { return Pair->Undo; }
    const TPointTable& Store() const { return Pair->Store; }
    const TPointTable& Undo() const { return Pair->Undo; }

private:
    struct alignas(4096) TPair {
        TPointTable Store;
        TPointTable Undo;
    };
    static_assert(sizeof(TPointTable) % 4096 == 0);
    std::unique_ptr<TPair> Pair;
};
