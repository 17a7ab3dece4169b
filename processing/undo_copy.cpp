#include "processing/undo_copy.h"

void StoreUndo(const TPointTable& store, TPointTable& undo) {
    undo = store;
}

void RestoreUndo(TPointTable& store, const TPointTable& undo) {
    store = undo;
}
