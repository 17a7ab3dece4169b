#pragma once

// What kavtool export (text, CSV, BES3T) and the picture export of
// kavtool-paint (PNG, SVG) share: the arguments, the outputs of a batch and
// each spectrum opened as the program opens a file.

#include "config/kav_cfg.h"
#include "exchange/spectrum_export.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/point_slot.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// A spectrum file opened for export: its points, and the settings and
// readings as its parameter records left them (its field bounds recalibrate
// sweep units 2 and 3, its gain record sets the gain).
struct TExportSpectrum {
    TKavCfg Cfg{};
    std::unique_ptr<TPointTable> Store = std::make_unique<TPointTable>();
    TInstrumentReadings Readings;
};

// One export: the format, the picture size, the input and where it goes
// (empty: stdout).
struct TExportJob {
    TExchangeFormat Format = TExchangeFormat::Tsv;
    QSize Size;
    QString Input;
    QString Output;
};

// Writes one spectrum; false, with the reason, when it cannot. What the
// reader of the result should know goes into `notes`.
using TExportWriter = std::function<bool(const TExportJob& job, const TExportSpectrum& spectrum,
                                         QStringList& notes, QString* error)>;

// kavtool export ARGS: parses them, loads the settings, and writes each
// input file with `writer`, as a batch when there are several. Returns the
// exit status.
int RunExportWith(const QStringList& args, const TExportWriter& writer);
