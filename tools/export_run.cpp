#include "tools/export_run.h"

#include "config/settings_store.h"
#include "spectrum/parameter_block.h"
#include "spectrum/spectrum_file.h"
#include "spectrum/spectrum_view.h"
#include "tools/batch_run.h"
#include "tools/kavtool.h"
#include "view/picture_size.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

constexpr const char* Command = "export";

const QStringList ValueOptions = {QStringLiteral("--ini"), QStringLiteral("--format"),
                                  QStringLiteral("-o"), QStringLiteral("--size")};

TExchangeFormat FormatOfName(const QString& name) {
    if (name == u"tsv")
        return TExchangeFormat::Tsv;
    if (name == u"csv")
        return TExchangeFormat::Csv;
    if (name == u"bes3t")
        return TExchangeFormat::Bes3t;
    if (name == u"png")
        return TExchangeFormat::Png;
    if (name == u"svg")
        return TExchangeFormat::Svg;
    return TExchangeFormat::Unknown;
}

QString Option(const TParsedArgs& parsed, const char* name) {
    const auto it = parsed.Options.find(QString::fromLatin1(name));
    return it == parsed.Options.end() ? QString() : it->second;
}

// The format asked for: --format, else the extension of an -o that names a
// file of a format, else tsv.
TExchangeFormat RequestedFormat(const TParsedArgs& parsed) {
    if (parsed.Options.count(QStringLiteral("--format")))
        return FormatOfName(Option(parsed, "--format"));
    const QString out = Option(parsed, "-o");
    if (!out.isEmpty() && !NamesFolder(out)) {
        const TExchangeFormat byName = ExchangeFormatOfPath(out);
        if (byName != TExchangeFormat::Unknown && byName != TExchangeFormat::Text)
            return byName;
    }
    return TExchangeFormat::Tsv;
}

// The extension of the file a format writes (for BES3T, its descriptor).
QString ExtensionOf(TExchangeFormat format) {
    switch (format) {
    case TExchangeFormat::Csv:
        return QStringLiteral(".csv");
    case TExchangeFormat::Bes3t:
        return QStringLiteral(".DSC");
    case TExchangeFormat::Png:
        return QStringLiteral(".png");
    case TExchangeFormat::Svg:
        return QStringLiteral(".svg");
    default:
        return QStringLiteral(".tsv");
    }
}

bool ParseSize(const QString& text, QSize& size) {
    static const QRegularExpression form(QStringLiteral("^(\\d{1,5})[xX×](\\d{1,5})$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return false;
    size = QSize(m.captured(1).toInt(), m.captured(2).toInt());
    return IsPictureSize(size);
}

// The input's name with another extension, beside it.
QString BesideInput(const QString& input, const QString& extension) {
    const QFileInfo info(input);
    return info.dir().filePath(info.completeBaseName() + extension);
}

// Opens a spectrum file as the program opens it, with `settings`.
bool OpenForExport(const QString& path, const TKavCfg& settings, TExportSpectrum& s,
                   QString* error) {
    s.Cfg = settings;
    // The undo table is made for this file: it is read into it directly.
    auto undo = std::make_unique<TPointTable>();
    const TLoadOutcome outcome = LoadSpectrumFileInPlace(path, *s.Store, *undo, error);
    if (outcome == TLoadOutcome::NotFound) {
        *error = QStringLiteral("file \"%1\" not found").arg(path);
        return false;
    }
    if (outcome == TLoadOutcome::Failed)
        return false;
    SaveUnitSnapshot(s.Cfg);
    TNullSpectrumView view;
    ApplyFileParameters(*s.Store, s.Cfg, s.Readings, view, SystemDecimalSep());
    return true;
}

} // namespace

bool ExportPaints(const QStringList& args) {
    const TParsedArgs parsed = ParseArgs(args, ValueOptions);
    const TExchangeFormat format = RequestedFormat(parsed);
    return parsed.Error.isEmpty() &&
           (format == TExchangeFormat::Png || format == TExchangeFormat::Svg);
}

int RunExportWith(const QStringList& args, const TExportWriter& writer) {
    const TParsedArgs parsed = ParseArgs(args, ValueOptions);
    if (!parsed.Error.isEmpty())
        return UsageError(Command, parsed.Error);
    const QStringList& inputs = parsed.Positional;
    if (inputs.isEmpty())
        return UsageError(Command, QStringLiteral("a spectrum file expected"));
    TExportJob job;
    job.Format = RequestedFormat(parsed);
    if (job.Format == TExchangeFormat::Unknown)
        return UsageError(Command,
                          QStringLiteral("unknown format \"%1\"").arg(Option(parsed, "--format")));
    const QString out = Option(parsed, "-o");
    if (!out.isEmpty() && !NamesFolder(out)) {
        const TExchangeFormat outFormat = ExchangeFormatOfPath(out);
        if (outFormat != TExchangeFormat::Unknown && outFormat != TExchangeFormat::Text &&
            outFormat != job.Format)
            return UsageError(
                Command,
                QStringLiteral("the name \"%1\" names another format than asked").arg(out));
    }
    job.Size = DefaultPictureSize;
    const QString sizeText = Option(parsed, "--size");
    if (!sizeText.isEmpty() && !ParseSize(sizeText, job.Size))
        return UsageError(Command, QStringLiteral("--size must be WxH, each %1..%2, not \"%3\"")
                                       .arg(MinPictureSide)
                                       .arg(MaxPictureSide)
                                       .arg(sizeText));
    if (inputs.size() > 1 && out.isEmpty())
        return UsageError(Command,
                          QStringLiteral("several files are written into a folder: -o DIR/"));
    TBatch batch;
    QString error;
    if (!PlanBatch(inputs, out, ExtensionOf(job.Format), batch, &error))
        return UsageError(Command, error);
    // One file without -o: text to stdout, the others beside it.
    const bool toStdout = job.Format == TExchangeFormat::Tsv || job.Format == TExchangeFormat::Csv;
    if (out.isEmpty() && !toStdout)
        batch.Outputs[0] = BesideInput(inputs[0], ExtensionOf(job.Format));

    TKavCfg settings;
    const QString iniPath = Option(parsed, "--ini");
    if (!LoadToolSettings(settings, iniPath, &error) ||
        !CheckUnitSelection(settings, iniPath, {"RazvUnit", "AmpUnit"}, &error) ||
        !MakeBatchFolder(batch, &error))
        return Fail(error);

    return RunBatch(batch, [&](const QString& input, const QString& output, QString* error) {
        TExportSpectrum spectrum;
        if (!OpenForExport(input, settings, spectrum, error))
            return false;
        QStringList notes;
        job.Input = input;
        job.Output = output;
        if (!writer(job, spectrum, notes, error))
            return false;
        for (const QString& note : notes)
            PrintError(batch.Several() ? QStringLiteral("kavtool: %1: note: %2").arg(input, note)
                                       : QStringLiteral("kavtool: note: ") + note);
        return true;
    });
}
