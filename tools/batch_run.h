#pragma once

// The batch form of process, export and print: several input files in one
// run, each written into the folder that -o names under its own name with
// the command's extension ("a.kav" becomes "DIR/a.pdf"). One file's failure
// is one line on stderr and the others go on; the exit status is 1 when any
// failed.

#include "base/atomic_file.h"

#include <QString>
#include <QStringList>
#include <functional>

struct TBatch {
    QStringList Inputs;
    // One per input: where its result is written; empty when the command
    // writes nothing for it (process without -o) or to stdout.
    QStringList Outputs;
    QString Folder; // the folder -o names, else empty
    bool Several() const { return Inputs.size() > 1; }
};

// Whether -o names a folder: it ends in "/" or is one.
bool NamesFolder(const QString& out);

// The name of `input` in `folder`, its extension replaced by `extension`
// (".pdf"; "a.b.kav" becomes "a.b.pdf").
QString OutputInFolder(const QString& folder, const QString& input, const QString& extension);

// The batch of `inputs` with -o `out` (empty: not given): a folder gives
// each input its own name there, a file name is the output of the one
// input. False, with the usage error, for several inputs and an -o that is
// no folder.
bool PlanBatch(const QStringList& inputs, const QString& out, const QString& extension,
               TBatch& batch, QString* error);

// Creates the batch's folder (and the folders above it) when it does not
// exist yet. False, with a line naming it and the system's reason.
bool MakeBatchFolder(const TBatch& batch, QString* error);

// Runs `one` on each input in turn with its output. An output that is an
// input of the batch, or the output of an earlier input, is refused without
// running, so no input and no result of the run is written over. A failure
// is one line on stderr: "kavtool: INPUT: reason" when there are several
// inputs, "kavtool: reason" for one. Returns ExitOk, or ExitBadInput after a
// last line that counts the failures when any failed.
int RunBatch(
    const TBatch& batch,
    const std::function<bool(const QString& input, const QString& output, QString* error)>& one);

// The results of a batch saved together (process IN... -o DIR/): each step
// writes its result into Files and returns its report, which is printed once
// the result is committed. The results are committed every
// BatchCommitFiles files and at the end, so that the files reach the disk
// together instead of one flush after another. A result that fails at the
// commit is reported as FailureText(path, reason) and its report is not
// printed; a step that saved nothing has its report printed in its turn.
struct TBatchSaves {
    TAtomicBatch Files;
    std::function<QString(const QString& path, const QString& reason)> FailureText;
};

inline constexpr qsizetype BatchCommitFiles = 64;

int RunBatch(const TBatch& batch, TBatchSaves& saves,
             const std::function<bool(const QString& input, const QString& output, QString* report,
                                      QString* error)>& one);
