// kavtool export FILE.kav... [--format tsv|csv|bes3t|png|svg] [-o OUT|DIR/]
// [--ini Kav.ini] [--size WxH]: the points of a spectrum as tab-separated
// numbers in the units the program would show them (the default), or as CSV
// or BES3T for other programs. Pictures (png, svg) are drawn by kavtool-paint
// (picture_export_painter.cpp), which kavtool runs for them.

#include "tools/kavtool.h"

#include "base/atomic_file.h"
#include "base/instrument_tables.h"
#include "base/measure_unit.h"
#include "exchange/text_spectrum.h"
#include "spectrum/point_store.h"
#include "tools/export_run.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

QString Number(double v) {
    return QString::number(v, 'g', 12);
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

// Text to stdout, or to the file `out` names.
bool WriteText(const QByteArray& bytes, const QString& out, QString* error) {
    if (out.isEmpty()) {
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
        return true;
    }
    QString reason;
    if (WriteFileAtomically(out, bytes, &reason))
        return true;
    *error = QCoreApplication::translate("CommandExport", "Не удалось записать файл \"%1\": %2")
                 .arg(out, reason);
    return false;
}

bool WriteExport(const TExportJob& job, const TExportSpectrum& s, QStringList& notes,
                 QString* error) {
    switch (job.Format) {
    case TExchangeFormat::Tsv:
        return WriteText(TsvText(*s.Store, s.Cfg), job.Output, error);
    case TExchangeFormat::Csv: {
        TExchangeSpectrum spectrum;
        return CollectViewSpectrum(*s.Store, s.Cfg, spectrum, notes, error) &&
               WriteText(CsvText(spectrum), job.Output, error);
    }
    case TExchangeFormat::Bes3t:
        return ExportSpectrum(job.Output, job.Format, *s.Store, s.Cfg,
                              QFileInfo(job.Input).completeBaseName(), notes, error);
    default:
        *error = QStringLiteral("a spectrum is exported as tsv, csv or bes3t here; pictures are "
                                "drawn by kavtool-paint");
        return false;
    }
}

} // namespace

int RunExport(const QStringList& args) {
    return RunExportWith(args, WriteExport);
}
