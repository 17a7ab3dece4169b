#pragma once

// The points a spectrum file loads into, as the program would show them.

#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"

#include <QString>
#include <memory>

// The points of the file at `path`, or nothing when it does not load.
inline std::unique_ptr<TPointTable> LoadedPoints(const QString& path) {
    auto store = std::make_unique<TPointTable>();
    auto undo = std::make_unique<TPointTable>();
    if (LoadSpectrumFile(path, *store, *undo) != TLoadOutcome::Loaded)
        return nullptr;
    return store;
}
