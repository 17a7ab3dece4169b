#include "link/instrument_tables.h"

#include <gtest/gtest.h>

TEST(InstrumentTables, GainFactorsFollowTheRows) {
    const int factors[] = {1, 2, 5, 10, 20, 50, 100, 200};
    for (int row = 0; row < GainRowCount; ++row)
        EXPECT_EQ(GainFactor(row), factors[row]) << row;
}

TEST(InstrumentTables, GainFactorOutsideTheTableIsOne) {
    EXPECT_EQ(GainFactor(-1), 1);
    EXPECT_EQ(GainFactor(GainRowCount), 1);
    EXPECT_EQ(GainFactor(255), 1);
}

TEST(InstrumentTables, BaudOrderKeeps256000Before230400) {
    EXPECT_EQ(BaudTable[5], 9600);
    EXPECT_EQ(BaudTable[13], 256000);
    EXPECT_EQ(BaudTable[14], 230400);
    EXPECT_EQ(BaudTable[18], 1024000);
}
