// The block kavtool keeps its two point tables in: whole tables that do not
// overlap, one block reused from file to file, a second one while two
// spectra are open, and the advice for a huge page on an aligned block.
#include "spectrum/point_store.h"
#include "tools/run_tables.h"

#include <QFile>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>

namespace {

// The VmFlags of the mapping that holds `address` (/proc/self/smaps).
QByteArray FlagsOfMappingAt(const void* address) {
    QFile smaps("/proc/self/smaps");
    if (!smaps.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    bool inside = false;
    for (QByteArray line = smaps.readLine(); !line.isEmpty(); line = smaps.readLine()) {
        const qsizetype dash = line.indexOf('-');
        const qsizetype space = line.indexOf(' ');
        // A mapping's line starts with its range in lower-case hex; the
        // lines of its fields with a capitalised name.
        const char first = line[0];
        const bool range = (first >= '0' && first <= '9') || (first >= 'a' && first <= 'f');
        if (range && dash > 0 && space > dash) {
            bool ok1 = false, ok2 = false;
            const auto from = line.left(dash).toULongLong(&ok1, 16);
            const auto to = line.mid(dash + 1, space - dash - 1).toULongLong(&ok2, 16);
            inside = ok1 && ok2 && from <= at && at < to;
        } else if (inside && line.startsWith("VmFlags:")) {
            return line.mid(8).trimmed();
        }
    }
    return {};
}

void Fill(TPointTable& t, std::uint16_t y) {
    for (int i = 0; i < PointSlotCount; ++i)
        t[i] = TPointSlot{static_cast<std::uint16_t>(i), y};
}

bool Holds(const TPointTable& t, std::uint16_t y) {
    for (int i = 0; i < PointSlotCount; ++i) {
        if (t[i] != TPointSlot{static_cast<std::uint16_t>(i), y})
            return false;
    }
    return true;
}

} // namespace

TEST(RunTables, OneBlockServesFileAfterFileAndTwoSpectraGetTwo) {
    const TPointTable* store = nullptr;
    {
        TRunTables first;
        store = &first.Store();
        Fill(first.Store(), 100);
        Fill(first.Undo(), 200);
        // Whole tables that do not overlap.
        EXPECT_TRUE(Holds(first.Store(), 100));
        EXPECT_TRUE(Holds(first.Undo(), 200));
    }
    TRunTables next;
    EXPECT_EQ(&next.Store(), store); // the run's block again, as the last file left it
    EXPECT_TRUE(Holds(next.Undo(), 200));
    {
        auto second = std::make_unique<TRunTables>();
        EXPECT_NE(&second->Store(), store);
        // A new block holds empty tables; writing it leaves the other alone.
        auto empty = std::make_unique<TPointTable>();
        ClearPoints(*empty);
        EXPECT_TRUE(second->Store() == *empty);
        EXPECT_TRUE(second->Undo() == *empty);
        Fill(second->Store(), 300);
        Fill(second->Undo(), 400);
        EXPECT_TRUE(Holds(next.Store(), 100));
        EXPECT_TRUE(Holds(next.Undo(), 200));
    }
}

TEST(RunTables, TheBlockIsAlignedAndAdvisedForAHugePage) {
    TRunTables tables;
    const auto block = reinterpret_cast<std::uintptr_t>(&tables.Store());
    EXPECT_EQ(block % (std::uintptr_t(2) << 20), 0u);
    EXPECT_LT(reinterpret_cast<std::uintptr_t>(&tables.Undo()) + sizeof(TPointTable) - block,
              std::uintptr_t(2) << 20);
    if (!QFile::exists(QStringLiteral("/sys/kernel/mm/transparent_hugepage/enabled")))
        GTEST_SKIP() << "this kernel has no transparent huge pages to advise";
    const QByteArray flags = FlagsOfMappingAt(&tables.Store());
    ASSERT_FALSE(flags.isEmpty()) << "no mapping found in /proc/self/smaps";
    EXPECT_TRUE(flags.split(' ').contains("hg")) << flags.toStdString();
}
