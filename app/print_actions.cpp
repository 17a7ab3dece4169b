#include "app/print_actions.h"

#include "app/message_port.h"
#include "print/print_setup_dialog.h"
#include "print/printout_job_painter.h"
#include "print/printout_painter.h"
#include "print/printout_texts.h"

#include <QPrinter>
#include <QPrinterInfo>

TPrintActions::TPrintActions(TSources sources, TMessagePort& port, QWidget* dialogParent)
    : Sources(std::move(sources)), Port(port), DialogParent(dialogParent) {}

TPrintActions::~TPrintActions() = default;

// The default printer of the system; a machine without one (CUPS lists
// none) gets a PDF writer on A4 in its place.
QPrinter& TPrintActions::Printer() {
    if (!CurrentPrinter) {
        CurrentPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (QPrinterInfo::availablePrinterNames().isEmpty())
            UsePdfOutput(*CurrentPrinter);
    }
    return *CurrentPrinter;
}

TPrintout TPrintActions::Page() const {
    const TSources& s = Sources;
    return TPrintout{{s.Cfg, s.Store, s.Results, s.Readings, s.Format, s.GFactor,
                      s.RawTrace ? s.RawTrace() : nullptr},
                     PrintoutHeader(s.Receiving(), s.ShownName(), s.GainText(), s.SpeedText())};
}

void TPrintActions::APrintExecute() {
    QPrinter& printer = Printer();
    const TPrintout page = Page();
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        WritePdf(page);
        return;
    }
    QString reason;
    if (!PrintSpectrum(printer, page, &reason))
        Port.Error(QStringLiteral("Не удалось напечатать спектр на принтере \"%1\": %2")
                       .arg(printer.printerName(), reason));
}

void TPrintActions::WritePdf(const TPrintout& page) {
    TFileDialogRequest request;
    request.Title = QStringLiteral("Печать спектра в файл PDF");
    request.Directory = Sources.Cfg.WorkDir;
    request.FileName = ProposedPdfName(Sources.ShownName());
    request.Filter = QStringLiteral("Файлы PDF (*.pdf)");
    request.DefaultSuffix = QStringLiteral("pdf");
    request.ConfirmOverwrite = true;
    const QString path = Port.SaveFileName(request);
    if (path.isEmpty())
        return;
    QString error;
    if (!WritePrintoutPdf(path, Printer().pageLayout(), page, &error))
        Port.Error(error);
}

void TPrintActions::APrintSetupExecute() {
    TPrintSetupForm form(
        Sources.Cfg, Printer(), [this](QPrinter& printer) { return Port.PrinterSetup(printer); },
        [this](const QString& text) { Port.Warning(text); }, DialogParent);
    Port.RunDialog(form);
    if (form.result() == QDialog::Accepted)
        APrintExecute();
}
