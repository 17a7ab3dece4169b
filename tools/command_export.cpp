// kavtool export FILE.kav [--format tsv|csv|bes3t|png|svg] [-o OUT] [--ini Kav.ini]
// [--size WxH]: the points of a spectrum as tab-separated numbers in the units
// the program would show them (the default), as CSV or BES3T for other
// programs, or a picture of the plot.

#include "tools/kavtool.h"

#include "base/atomic_file.h"
#include "base/instrument_tables.h"
#include "base/measure_unit.h"
#include "config/settings_store.h"
#include "exchange/spectrum_export.h"
#include "exchange/text_spectrum.h"
#include "spectrum/parameter_block.h"
#include "spectrum/spectrum_file.h"
#include "spectrum/spectrum_view.h"
#include "view/plot_picture_painter.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <cstdio>
#include <memory>

namespace {

const QStringList ValueOptions = {QStringLiteral("--ini"), QStringLiteral("--format"),
                                  QStringLiteral("-o"), QStringLiteral("--size")};

QString Number(double v) {
    return QString::number(v, 'g', 12);
}

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

// The format asked for: --format, else the extension of -o when it names
// one, else tsv.
TExchangeFormat RequestedFormat(const TParsedArgs& parsed) {
    const auto format = parsed.Options.find(QStringLiteral("--format"));
    if (format != parsed.Options.end())
        return FormatOfName(format->second);
    const auto out = parsed.Options.find(QStringLiteral("-o"));
    if (out != parsed.Options.end()) {
        const TExchangeFormat byName = ExchangeFormatOfPath(out->second);
        if (byName != TExchangeFormat::Unknown && byName != TExchangeFormat::Text)
            return byName;
    }
    return TExchangeFormat::Tsv;
}

QString Option(const TParsedArgs& parsed, const char* name) {
    const auto it = parsed.Options.find(QString::fromLatin1(name));
    return it == parsed.Options.end() ? QString() : it->second;
}

bool ParseSize(const QString& text, QSize& size) {
    static const QRegularExpression form(QStringLiteral("^(\\d{1,5})[xX×](\\d{1,5})$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return false;
    size = QSize(m.captured(1).toInt(), m.captured(2).toInt());
    return IsPictureSize(size);
}

// The tab-separated lines: code, amplitude code, field and amplitude in the
// selected units.
QByteArray TsvText(const TPointTable& store, const TKavCfg& cfg) {
    const TMeasureUnit& field = cfg.RazvUnits[cfg.RazvUnit];
    const TMeasureUnit& ampl = cfg.AmpUnits[cfg.AmpUnit];
    const double gain = GainFactor(cfg.Amplifying);
    QString text;
    for (int code = 0; code < PointSlotCount; ++code) {
        const TPointSlot& s = store[code];
        if (!IsValidSlot(s))
            continue;
        // Sweep unit 0 is the code itself, whatever its record says.
        const double fieldValue = cfg.RazvUnit == 0 ? code : UnitValue(field, code);
        const double amplValue = UnitValue(ampl, int(s.Y) - ZeroLine) / gain;
        text += QStringLiteral("%1\t%2\t%3\t%4\n")
                    .arg(code)
                    .arg(s.Y)
                    .arg(Number(fieldValue), Number(amplValue));
    }
    return text.toUtf8();
}

// Text to stdout, or to the file -o names.
int WriteText(const QByteArray& bytes, const QString& out) {
    if (out.isEmpty()) {
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
        return ExitOk;
    }
    QString reason;
    if (!WriteFileAtomically(out, bytes, &reason))
        return Fail(QStringLiteral("Не удалось записать файл \"%1\": %2").arg(out, reason));
    return ExitOk;
}

// The input's name with another extension, beside it.
QString BesideInput(const QString& input, const QString& extension) {
    const QFileInfo info(input);
    return info.dir().filePath(info.completeBaseName() + extension);
}

void PrintNotes(const QStringList& notes) {
    for (const QString& note : notes)
        PrintError(QStringLiteral("kavtool: note: ") + note);
}

} // namespace

bool ExportPaints(const QStringList& args) {
    const TParsedArgs parsed = ParseArgs(args, ValueOptions);
    const TExchangeFormat format = RequestedFormat(parsed);
    return parsed.Error.isEmpty() &&
           (format == TExchangeFormat::Png || format == TExchangeFormat::Svg);
}

int RunExport(const QStringList& args) {
    const TParsedArgs parsed = ParseArgs(args, ValueOptions);
    if (!parsed.Error.isEmpty())
        return UsageError("export", parsed.Error);
    if (parsed.Positional.size() != 1)
        return UsageError("export", QStringLiteral("one spectrum file expected"));
    const QString path = parsed.Positional[0];
    const TExchangeFormat format = RequestedFormat(parsed);
    if (format == TExchangeFormat::Unknown)
        return UsageError("export",
                          QStringLiteral("unknown format \"%1\"").arg(Option(parsed, "--format")));
    QString out = Option(parsed, "-o");
    const TExchangeFormat outFormat = ExchangeFormatOfPath(out);
    if (!out.isEmpty() && outFormat != TExchangeFormat::Unknown &&
        outFormat != TExchangeFormat::Text && outFormat != format)
        return UsageError(
            "export", QStringLiteral("the name \"%1\" names another format than asked").arg(out));
    QSize size = DefaultPictureSize;
    const QString sizeText = Option(parsed, "--size");
    if (!sizeText.isEmpty() && !ParseSize(sizeText, size))
        return UsageError("export", QStringLiteral("--size must be WxH, each %1..%2, not \"%3\"")
                                        .arg(MinPictureSide)
                                        .arg(MaxPictureSide)
                                        .arg(sizeText));

    TKavCfg cfg;
    QString error;
    const QString iniPath = Option(parsed, "--ini");
    if (!LoadToolSettings(cfg, iniPath, &error) ||
        !CheckUnitSelection(cfg, iniPath, {"RazvUnit", "AmpUnit"}, &error))
        return Fail(error);

    auto store = std::make_unique<TPointTable>();
    auto undo = std::make_unique<TPointTable>();
    const TLoadOutcome outcome = LoadSpectrumFile(path, *store, *undo, &error);
    if (outcome == TLoadOutcome::NotFound)
        return Fail(QStringLiteral("file \"%1\" not found").arg(path));
    if (outcome == TLoadOutcome::Failed)
        return Fail(error);

    // As the program opens a file: its bounds recalibrate sweep units 2 and
    // 3, its gain record sets the gain that divides the amplitude.
    SaveUnitSnapshot(cfg);
    TInstrumentReadings readings;
    TNullSpectrumView view;
    ApplyFileParameters(*store, cfg, readings, view, SystemDecimalSep());

    QStringList notes;
    switch (format) {
    case TExchangeFormat::Tsv:
        return WriteText(TsvText(*store, cfg), out);
    case TExchangeFormat::Csv: {
        TExchangeSpectrum spectrum;
        if (!CollectViewSpectrum(*store, cfg, spectrum, notes, &error))
            return Fail(error);
        PrintNotes(notes);
        return WriteText(CsvText(spectrum), out);
    }
    case TExchangeFormat::Bes3t: {
        if (out.isEmpty())
            out = BesideInput(path, QStringLiteral(".DSC"));
        if (!ExportSpectrum(out, format, *store, cfg, QFileInfo(path).completeBaseName(), notes,
                            &error))
            return Fail(error);
        PrintNotes(notes);
        return ExitOk;
    }
    case TExchangeFormat::Png:
    case TExchangeFormat::Svg: {
        const bool svg = format == TExchangeFormat::Svg;
        if (out.isEmpty())
            out = BesideInput(path, svg ? QStringLiteral(".svg") : QStringLiteral(".png"));
        const TSpectrumResults results;
        const TValueFormat valueFormat(cfg, SystemDecimalSep());
        const TGFactorDisplay gfactor;
        const TPlotSource source{cfg, *store, results, readings, valueFormat, gfactor};
        QFont font = QGuiApplication::font();
        font.setPointSize(10);
        if (!WritePlotPicture(out, svg ? TPictureFormat::Svg : TPictureFormat::Png, source, font,
                              size, &error))
            return Fail(error);
        return ExitOk;
    }
    default:
        return UsageError("export", QStringLiteral("a spectrum is exported as tsv, csv, bes3t, "
                                                   "png or svg"));
    }
}
