#include "spectrum/point_store.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

std::unique_ptr<TPointTable> ClearedTable() {
    auto table = std::make_unique<TPointTable>();
    ClearPoints(*table);
    return table;
}

} // namespace

TEST(PointStore, ClearPointsEmptiesEverySlotReservedOnesIncluded) {
    auto table = std::make_unique<TPointTable>();
    for (int i = 0; i < PointSlotCount; ++i)
        (*table)[i] = TPointSlot{static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(i % 7)};
    (*table)[65535] = TPointSlot{3, 65534};
    ClearPoints(*table);
    for (int i = 0; i < PointSlotCount; ++i)
        ASSERT_EQ((*table)[i], (TPointSlot{0, 65535})) << i;
}

TEST(PointStore, EmptyTableSearchesStopAtTheEndsOnInvalidSlots) {
    auto table = ClearedTable();
    EXPECT_EQ(FirstValidPoint(*table, 0, 65535), 65535);
    EXPECT_EQ(LastValidPoint(*table, 0, 65535), 0);
    EXPECT_FALSE(IsValidSlot((*table)[65535]));
    EXPECT_FALSE(IsValidSlot((*table)[0]));
}

TEST(PointStore, SearchesFindTheOuterPointsOfARangeInEitherArgumentOrder) {
    auto table = ClearedTable();
    (*table)[100] = TPointSlot{100, 2048};
    (*table)[200] = TPointSlot{200, 0};
    (*table)[300] = TPointSlot{300, 4095};
    EXPECT_EQ(FirstValidPoint(*table, 50, 250), 100);
    EXPECT_EQ(FirstValidPoint(*table, 250, 50), 100);
    EXPECT_EQ(LastValidPoint(*table, 50, 250), 200);
    EXPECT_EQ(LastValidPoint(*table, 250, 50), 200);
    // A start on a point stays there.
    EXPECT_EQ(FirstValidPoint(*table, 300, 200), 200);
    EXPECT_EQ(LastValidPoint(*table, 100, 300), 300);
    // Past the last point the upward search runs to the top, the downward
    // search from below the first point runs to slot 0.
    EXPECT_EQ(FirstValidPoint(*table, 301, 400), 65535);
    EXPECT_EQ(LastValidPoint(*table, 99, 10), 0);
}

TEST(PointStore, ValidityBoundaryIs65519AndParameterRecordsAreSkipped) {
    auto table = ClearedTable();
    (*table)[65535] = TPointSlot{3, 65534}; // a parameter record
    (*table)[65530] = TPointSlot{30000, 65530};
    (*table)[1000] = TPointSlot{1000, 65520};
    (*table)[2000] = TPointSlot{2000, 65519};
    EXPECT_EQ(LastValidPoint(*table, 0, 65535), 2000);
    EXPECT_EQ(FirstValidPoint(*table, 0, 65535), 2000);
    EXPECT_EQ(FirstValidPoint(*table, 2001, 65535), 65535);
    EXPECT_TRUE(IsValidSlot(TPointSlot{0, 65519}));
    EXPECT_FALSE(IsValidSlot(TPointSlot{0, 65520}));
}
