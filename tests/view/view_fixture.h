#pragma once

#include "config/kav_cfg.h"
#include "config/settings_store.h"
#include "processing/gfactor_display.h"
#include "qstring_printer.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_results.h"
#include "spectrum/value_format.h"

#include <QString>
#include <memory>
#include <ostream>

// What the plot and the visirs read: settings with their defaults, an empty
// store, no results, a comma as the decimal separator.
struct TViewFixture {
    TKavCfg Cfg{};
    std::unique_ptr<TPointTable> Store = std::make_unique<TPointTable>();
    TSpectrumResults Results;
    TInstrumentReadings Readings;
    TGFactorDisplay GFactor;
    TValueFormat Format{Cfg, QChar(',')};

    TViewFixture() {
        SetDefaults(Cfg, QStringLiteral("/tmp"));
        ClearPoints(*Store);
    }

    void Put(int slot, int ordinate) {
        (*Store)[slot] =
            TPointSlot{static_cast<std::uint16_t>(slot), static_cast<std::uint16_t>(ordinate)};
    }
};
