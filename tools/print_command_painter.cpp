// kavtool print IN.kav... -o OUT.pdf|DIR/ [--ini Kav.ini] [--visirs A B] [--gain INDEX]
// [OP...]: the one-page printout of a spectrum as a PDF, after the
// processing operations of kavtool process, so that a day's spectra print
// from a script: one run for all of them with -o DIR/ (DIR/IN.pdf each).

#include "tools/paint_commands_painter.h"

#include "print/printout_job_painter.h"
#include "print/printout_texts.h"
#include "processing/gfactor_display.h"
#include "processing/resonance.h"
#include "spectrum/value_format.h"
#include "tools/batch_run.h"
#include "tools/kavtool.h"
#include "tools/processing_run.h"

namespace {

constexpr const char* Command = "print";

} // namespace

int RunPrint(const QStringList& args) {
    TProcessingStart start;
    if (const int status = StartProcessing(
            Command, args, {}, QStringLiteral(".pdf"),
            [](const TProcessingArgs& p) {
                return p.Output.isEmpty() ? QStringLiteral("-o OUT.pdf expected") : QString();
            },
            start);
        status != ExitOk)
        return status;
    const TProcessingArgs& p = start.Args;
    const TKavCfg& settings = start.Settings;

    return RunBatch(start.Batch, [&](const QString& input, const QString& output, QString* error) {
        TProcessedSpectrum s;
        if (!OpenAndProcess(p, input, settings, s, error))
            return false;
        // Once the frequency is known (dpph), the pairs carry their
        // g-factors, as the process report gives them.
        const TValueFormat format(s.Cfg, s.DecimalSep);
        TGFactorDisplay gfactor;
        gfactor.Shown = s.Cfg.ResonatorFreq != 0;
        gfactor.Text = [&s](std::uint16_t code) { return GFactorText(s.Cfg, code, s.DecimalSep); };
        const TPrintout page{
            {s.Cfg, *s.Store, s.Results, s.Readings, format, gfactor},
            PrintoutHeader(false, input, s.Selectors.GainText(), s.Selectors.SpeedText())};
        return WritePrintoutPdf(output, PdfPageLayout(), page, error);
    });
}
