// kavtool print IN.kav -o OUT.pdf [--ini Kav.ini] [--visirs A B] [--gain INDEX] [OP...]: the
// one-page printout of a spectrum as a PDF, after the processing operations
// of kavtool process, so that a day's spectra print from a script.

#include "tools/kavtool.h"

#include "print/printout_job_painter.h"
#include "print/printout_texts.h"
#include "processing/gfactor_display.h"
#include "processing/resonance.h"
#include "spectrum/value_format.h"
#include "tools/processing_run.h"

namespace {

constexpr const char* Command = "print";

} // namespace

bool PrintPaints(const QStringList&) {
    return true;
}

int RunPrint(const QStringList& args) {
    TProcessingArgs p = ParseProcessingArgs(args, {});
    if (p.Error.isEmpty() && p.Output.isEmpty())
        p.Error = QStringLiteral("-o OUT.pdf expected");
    if (!p.Error.isEmpty())
        return UsageError(Command, p.Error);

    TProcessedSpectrum s;
    if (const int status = OpenAndProcess(p, s); status != ExitOk)
        return status;

    // Once the frequency is known (dpph), the pairs carry their g-factors, as
    // the process report gives them.
    const TValueFormat format(s.Cfg, s.DecimalSep);
    TGFactorDisplay gfactor;
    gfactor.Shown = s.Cfg.ResonatorFreq != 0;
    gfactor.Text = [&s](std::uint16_t code) { return GFactorText(s.Cfg, code, s.DecimalSep); };
    const TPrintout page{
        {s.Cfg, *s.Store, s.Results, s.Readings, format, gfactor},
        PrintoutHeader(false, p.Input, s.Selectors.GainText(), s.Selectors.SpeedText())};
    QString error;
    if (!WritePrintoutPdf(p.Output, PdfPageLayout(), page, &error))
        return Fail(error);
    return ExitOk;
}
