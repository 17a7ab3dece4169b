#pragma once

// The two point tables (the spectrum and its undo copy) of a file kavtool
// opens, in one block of memory the kernel may back with a single huge page,
// kept for the next file of the run.
//
// Each new 4 KiB page a process touches costs a page fault, and the two
// tables are 128 of them: more than a short run like `kavtool process` spends
// on its whole own work. One 2 MiB block advised for a huge page faults once
// (where the system allows transparent huge pages on advice, the default),
// and a batch reuses it for every file.

#include "spectrum/point_slot.h"

class TRunTables {
public:
    // Takes the block the run keeps, or maps one when it is in use (two
    // spectra at once) or not made yet. The tables hold what the last file
    // left, or are empty: the file's load writes every slot of both.
    TRunTables();
    // Gives the block back for the next file, or unmaps it when the run
    // keeps one already.
    ~TRunTables();
    TRunTables(const TRunTables&) = delete;
    TRunTables& operator=(const TRunTables&) = delete;

    TPointTable& Store() { return Block->Store; }
    TPointTable& Undo() { return Block->Undo; }

    struct TBlock {
        TPointTable Store;
        TPointTable Undo;
    };

private:
    TBlock* Block;
};
