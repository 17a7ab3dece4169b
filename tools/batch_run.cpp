#include "tools/batch_run.h"

#include "tools/kavtool.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

// One name for one file, whether it exists yet or not: the path with links
// resolved, of the file or else of its folder; else the absolute path,
// cleaned.
QString FileKey(const QString& path) {
    const QFileInfo info(path);
    if (const QString file = info.canonicalFilePath(); !file.isEmpty())
        return file;
    if (const QString dir = info.dir().canonicalPath(); !dir.isEmpty())
        return QDir(dir).filePath(info.fileName());
    return QDir::cleanPath(info.absoluteFilePath());
}

// Refuses an output that is an input of the batch, or the output of an
// earlier input, so no input and no result of the run is written over.
class TOutputGuard {
public:
    explicit TOutputGuard(const TBatch& batch) : Batch(batch) {
        for (const QString& input : batch.Inputs)
            Inputs.insert(FileKey(input), input);
    }

    bool Allows(const QString& input, const QString& output, QString* error) {
        const QString key = output.isEmpty() ? QString() : FileKey(output);
        if (!Batch.Folder.isEmpty() && Inputs.contains(key)) {
            *error = QStringLiteral("the result \"%1\" would replace the input \"%2\"")
                         .arg(output, Inputs.value(key));
            return false;
        }
        if (!Batch.Folder.isEmpty() && Written.contains(key)) {
            *error = QStringLiteral("the result \"%1\" is that of \"%2\" as well")
                         .arg(output, Written.value(key));
            return false;
        }
        if (!key.isEmpty())
            Written.insert(key, input);
        return true;
    }

private:
    const TBatch& Batch;
    QHash<QString, QString> Inputs;  // by FileKey
    QHash<QString, QString> Written; // the input each output is written for
};

// Counts the failures, each one line on stderr.
class TFailures {
public:
    explicit TFailures(const TBatch& batch) : Batch(batch) {}

    void Add(const QString& input, const QString& error) {
        ++Count;
        PrintError(Batch.Several() ? QStringLiteral("kavtool: %1: %2").arg(input, error)
                                   : QStringLiteral("kavtool: ") + error);
    }

    int ExitStatus() const {
        if (Count == 0)
            return ExitOk;
        if (Batch.Several())
            PrintError(QStringLiteral("kavtool: %1 of %2 files failed")
                           .arg(Count)
                           .arg(Batch.Inputs.size()));
        return ExitBadInput;
    }

private:
    const TBatch& Batch;
    int Count = 0;
};

} // namespace

bool NamesFolder(const QString& out) {
    return out.endsWith(u'/') || QFileInfo(out).isDir();
}

QString OutputInFolder(const QString& folder, const QString& input, const QString& extension) {
    return QDir(folder).filePath(QFileInfo(input).completeBaseName() + extension);
}

bool PlanBatch(const QStringList& inputs, const QString& out, const QString& extension,
               TBatch& batch, QString* error) {
    batch = TBatch{inputs, {}, {}};
    const bool folder = !out.isEmpty() && NamesFolder(out);
    if (inputs.size() > 1 && !out.isEmpty() && !folder) {
        *error =
            QStringLiteral("several files are written into a folder: -o DIR/, not \"%1\"").arg(out);
        return false;
    }
    if (folder)
        batch.Folder = out;
    for (const QString& input : inputs)
        batch.Outputs << (folder ? OutputInFolder(out, input, extension) : out);
    return true;
}

bool MakeBatchFolder(const TBatch& batch, QString* error) {
    if (batch.Folder.isEmpty() || QFileInfo(batch.Folder).isDir())
        return true;
    std::error_code ec;
    std::filesystem::create_directories(QFile::encodeName(batch.Folder).toStdString(), ec);
    if (!ec)
        return true;
    *error = QStringLiteral("cannot create the folder \"%1\": %2")
                 .arg(batch.Folder, QString::fromLocal8Bit(ec.message()));
    return false;
}

int RunBatch(
    const TBatch& batch,
    const std::function<bool(const QString& input, const QString& output, QString* error)>& one) {
    TOutputGuard guard(batch);
    TFailures failures(batch);
    for (qsizetype i = 0; i < batch.Inputs.size(); ++i) {
        const QString& input = batch.Inputs[i];
        const QString output = batch.Outputs.value(i);
        QString error;
        if (!guard.Allows(input, output, &error) || !one(input, output, &error))
            failures.Add(input, error);
    }
    return failures.ExitStatus();
}

int RunBatch(const TBatch& batch, TBatchSaves& saves,
             const std::function<bool(const QString& input, const QString& output, QString* report,
                                      QString* error)>& one) {
    TOutputGuard guard(batch);
    TFailures failures(batch);
    struct TWaiting {
        QString Input;
        QString Output; // empty when the step saved nothing
        QString Report;
    };
    std::vector<TWaiting> waiting; // in the order of the inputs
    auto commit = [&] {
        QHash<QString, QString> failed; // the reason by output
        for (const TAtomicBatch::TFailure& f : saves.Files.Commit())
            failed.insert(f.Path, f.Reason);
        for (const TWaiting& w : waiting) {
            if (!w.Output.isEmpty() && failed.contains(w.Output))
                failures.Add(w.Input, saves.FailureText(w.Output, failed.value(w.Output)));
            else
                PrintLine(w.Report);
        }
        waiting.clear();
    };
    for (qsizetype i = 0; i < batch.Inputs.size(); ++i) {
        const QString& input = batch.Inputs[i];
        const QString output = batch.Outputs.value(i);
        const qsizetype pending = saves.Files.Pending();
        QString report;
        QString error;
        if (!guard.Allows(input, output, &error) || !one(input, output, &report, &error)) {
            failures.Add(input, error);
            continue;
        }
        const bool saved = saves.Files.Pending() > pending;
        if (!saved && waiting.empty()) {
            PrintLine(report);
            continue;
        }
        waiting.push_back({input, saved ? output : QString(), report});
        if (saves.Files.Pending() >= BatchCommitFiles)
            commit();
    }
    commit();
    return failures.ExitStatus();
}
