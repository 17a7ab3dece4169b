#pragma once

#include "spectrum/point_slot.h"

// The one-level undo: all 65536 slots, both words, copied each way.
void StoreUndo(const TPointTable& store, TPointTable& undo);
void RestoreUndo(TPointTable& store, const TPointTable& undo);
