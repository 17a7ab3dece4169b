#pragma once

#include "config/kav_cfg.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/point_slot.h"
#include "spectrum/spectrum_results.h"
#include "spectrum/spectrum_session.h"
#include "spectrum/spectrum_view.h"
#include "tools/batch_run.h"
#include "tools/kavtool.h"
#include "tools/run_tables.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// What kavtool process and kavtool print share: a spectrum file opened as
// the program opens it, the settings of an ini file, the visirs and the gain
// of the command line, and processing operations run as the window's
// actions run them.

enum class TOpKind { Filter, Gliss, Equalize, Integrate, MinMax, Ratio, Dpph };

// One operation of the command line.
struct TOp {
    TOpKind Kind;
    QString Text; // as given, for the report
    std::int32_t Value = 0;
    std::uint16_t Noise = 0;
    std::uint16_t Step = 0;
};

// IN.kav... [--ini Kav.ini] [--visirs A B] [--gain INDEX] [-o OUT] OP... and
// the command's own flags.
struct TProcessingArgs {
    QStringList Inputs;
    QString Ini;
    QString Output;
    bool HasVisirs = false;
    std::uint16_t Visir1 = 0;
    std::uint16_t Visir2 = 0;
    int Gain = -1; // -1: as the file and the settings say
    std::vector<TOp> Ops;
    QStringList Flags; // those of the command's flags that were given
    QString Error;     // empty when the arguments parsed
};

// Parses the arguments; `flags` are the command's own options without a
// value (such as "--json"). The words before the first operation's name are
// the input files (a file named like an operation is given as "./dpph"); no
// input file is an error; the commands decide whether operations are
// required.
TProcessingArgs ParseProcessingArgs(const QStringList& args, const QStringList& flags);

// The gain and speed selectors as the window's: the rows a loaded file sets,
// no text where the file holds none.
class TSelectorView : public TNullSpectrumView {
public:
    int GainRow = -1;
    int SpeedRow = -1;
    void SetGainIndex(int index) override { GainRow = index; }
    void SetSpeedIndex(int index) override { SpeedRow = index; }
    void BlankSelectorTexts() override { GainRow = SpeedRow = -1; }
    QString GainText() const;
    QString SpeedText() const;
};

// The state a command works on, as the program holds it.
struct TProcessedSpectrum {
    QChar DecimalSep = SystemDecimalSep();
    TKavCfg Cfg{};
    TRunTables Tables;
    TPointTable* const Store = &Tables.Store();
    TPointTable* const Undo = &Tables.Undo();
    TInstrumentReadings Readings;
    TSpectrumResults Results;
    TSelectorView Selectors;
    TSpectrumSession Session{*Store, *Undo, Cfg, Readings, Results, Selectors, DecimalSep};
};

// The settings of --ini, the program's defaults without it. False, with the
// reason, when the file cannot be read or selects a unit that does not exist.
bool LoadProcessingSettings(const TProcessingArgs& args, TKavCfg& settings, QString* error);

// Opens `input` with `settings` as the program opens a file, applies --gain
// and --visirs and runs the operations in order. False, with the reason: a
// missing or damaged input, or an operation refused for a missing visir
// (with the action's warning).
bool OpenAndProcess(const TProcessingArgs& args, const QString& input, const TKavCfg& settings,
                    TProcessedSpectrum& spectrum, QString* error);

// For a command on one file (fit, compare): the settings, then the file, as
// above. ExitOk, or ExitBadInput after the one-line message.
int LoadAndProcess(const TProcessingArgs& args, const QString& input, TProcessedSpectrum& spectrum);

// What process and print do before their first file: the arguments parsed
// with the command's `flags`, checked by `check` (a usage error, empty when
// they are fine), the batch planned with the results' `extension`, the
// settings of --ini read and the results' folder created. ExitOk when all
// is ready; else the exit status after the command's usage text or the
// one-line message.
struct TProcessingStart {
    TProcessingArgs Args;
    TBatch Batch;
    TKavCfg Settings;
};
int StartProcessing(const char* command, const QStringList& args, const QStringList& flags,
                    const QString& extension,
                    const std::function<QString(const TProcessingArgs&)>& check,
                    TProcessingStart& start);
