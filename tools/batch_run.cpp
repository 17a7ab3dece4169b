#include "tools/batch_run.h"

#include "tools/kavtool.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <filesystem>
#include <system_error>

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
    QHash<QString, QString> inputs; // by FileKey
    for (const QString& input : batch.Inputs)
        inputs.insert(FileKey(input), input);
    QHash<QString, QString> written; // the input each output is written for
    int failed = 0;
    for (qsizetype i = 0; i < batch.Inputs.size(); ++i) {
        const QString& input = batch.Inputs[i];
        const QString output = batch.Outputs.value(i);
        const QString key = output.isEmpty() ? QString() : FileKey(output);
        QString error;
        bool ok = false;
        if (!batch.Folder.isEmpty() && inputs.contains(key)) {
            error = QStringLiteral("the result \"%1\" would replace the input \"%2\"")
                        .arg(output, inputs.value(key));
        } else if (!batch.Folder.isEmpty() && written.contains(key)) {
            error = QStringLiteral("the result \"%1\" is that of \"%2\" as well")
                        .arg(output, written.value(key));
        } else {
            if (!key.isEmpty())
                written.insert(key, input);
            ok = one(input, output, &error);
        }
        if (ok)
            continue;
        ++failed;
        PrintError(batch.Several() ? QStringLiteral("kavtool: %1: %2").arg(input, error)
                                   : QStringLiteral("kavtool: ") + error);
    }
    if (failed == 0)
        return ExitOk;
    if (batch.Several())
        PrintError(
            QStringLiteral("kavtool: %1 of %2 files failed").arg(failed).arg(batch.Inputs.size()));
    return ExitBadInput;
}
