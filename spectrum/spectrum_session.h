#pragma once

#include "config/kav_cfg.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/parameter_block.h"
#include "spectrum/point_slot.h"
#include "spectrum/spectrum_file.h"
#include "spectrum/spectrum_results.h"

#include <QChar>
#include <QString>

class TSpectrumView;

// The state a spectrum's open, save and close sequences work on; every
// member is the application's one instance, held by reference.
struct TSpectrumSession {
    TPointTable& PointStore;
    TPointTable& UndoStore;
    TKavCfg& Cfg;
    TInstrumentReadings& Readings;
    TSpectrumResults& Results;
    TSpectrumView& View;
    QChar DecimalSep;
    // The name of the spectrum shown, as the caption shows it: the file
    // opened or imported, without its folder; empty when none is shown.
    // The printout's header and the proposed PDF name take it.
    QString ShownName = {};
    // The panels the shown file's records filled with a translated text.
    std::vector<TTranslatedPanel> FilePanels = {};
};

struct TOpenResult {
    TLoadOutcome Outcome = TLoadOutcome::Loaded;
    QString Error; // file name and reason when Outcome is Failed
};

// The main window's caption and application title with no spectrum open.
QString NoSpectrumCaption();

// Opens a spectrum file. The file is read first: when it cannot be read (or
// is refused as too long) nothing at all changes and the error is returned.
// Otherwise: panels 5..11 blanked, ABackUp disabled, the results reset, the
// unit snapshot taken (only when no spectrum is shown: the snapshot is the
// instrument's calibration, never a shown file's), the records placed, the
// file's parameters applied, caption "Kavis - <name>" and ShownName <name>,
// LastOpen := path, ASaveFileAs enabled. A name that does not exist runs the
// same sequence without touching the points and reports NotFound.
TOpenResult OpenSpectrum(TSpectrumSession& s, const QString& path);

// The same for a session whose tables hold nothing to keep (kavtool's, made
// for one file): the file is read straight into the undo table, with no
// buffer of its own (LoadSpectrumFileInPlace). A file refused once its
// reading began may leave part of itself in the undo table; everything else
// is as above.
TOpenResult OpenSpectrumInPlace(TSpectrumSession& s, const QString& path);

// The open sequence on records already read (a file's bytes, or those of a
// spectrum imported from another program's file): panels 5..11 blanked,
// ABackUp disabled, the results reset, the unit snapshot taken (as above),
// the records placed (none: the points stay), the parameters applied, caption
// "Kavis - <name>" and ShownName <name>, ASaveFileAs enabled. LastOpen is
// not changed.
void ShowSpectrum(TSpectrumSession& s, const QByteArray* records, const QString& name);

// Writes the panels the shown file's records filled again, in the language
// now in force; a panel written since by anything else keeps its text.
void RetranslateFilePanels(TSpectrumSession& s, const std::function<QString(int index)>& shownNow);

// Removes the shown spectrum: ABackUp disabled, results reset, ASaveFileAs
// disabled, caption "КАВ", ShownName and LastOpen emptied, points cleared,
// unit snapshot put back. The status panels keep their texts.
void CloseSpectrum(TSpectrumSession& s);

// The save action on a chosen path: ABackUp disabled, the parameter block
// written, the file saved; on success WorkDir := the path's directory with a
// trailing separator. On failure the previous file stays whole and the error
// (file name and reason) is returned in *error. With a batch, the file is
// written into it and takes its name when the batch commits.
bool SaveSpectrumAs(TSpectrumSession& s, const QString& path, QString* error = nullptr,
                    TAtomicBatch* batch = nullptr);

// The directory part of a path with its trailing separator ("/a/b/" for
// "/a/b/c.kav").
QString DirectoryWithSeparator(const QString& path);
