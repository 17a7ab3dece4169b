#include "tools/run_tables.h"

#include <cstdint>
#include <mutex>
#include <new>
#include <sys/mman.h>

namespace {

constexpr std::size_t HugePage = std::size_t(2) << 20;
static_assert(sizeof(TRunTables::TBlock) <= HugePage);

std::mutex KeptLock;
TRunTables::TBlock* Kept = nullptr; // the run's block, while no spectrum uses it

// A block of HugePage bytes aligned to HugePage, advised for a huge page,
// with two empty tables in it.
TRunTables::TBlock* MapBlock() {
    // Twice the size, so that an aligned block lies inside; the rest goes.
    void* mapped =
        ::mmap(nullptr, 2 * HugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + HugePage - 1) & ~(HugePage - 1);
    if (aligned > start)
        ::munmap(mapped, aligned - start);
    ::munmap(reinterpret_cast<void*>(aligned + HugePage), start + HugePage - aligned);
    void* block = reinterpret_cast<void*>(aligned);
    // Advice only: without it (huge pages off) the tables are ordinary pages.
    ::madvise(block, HugePage, MADV_HUGEPAGE);
    return new (block) TRunTables::TBlock;
}

} // namespace

TRunTables::TRunTables() {
    {
        const std::lock_guard lock(KeptLock);
        Block = Kept;
        Kept = nullptr;
    }
    if (!Block)
        Block = MapBlock();
}

TRunTables::~TRunTables() {
    {
        const std::lock_guard lock(KeptLock);
        if (!Kept) {
            Kept = Block;
            return;
        }
    }
    ::munmap(Block, HugePage);
}
