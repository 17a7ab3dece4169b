#include "app/print_actions.h"

#include "config/message_port.h"
#include "print/print_setup_dialog.h"
#include "print/printout_job_painter.h"
#include "print/printout_painter.h"
#include "print/printout_texts.h"
#include "print/window_image_painter.h"

#include <QCoreApplication>
#include <QImage>
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
                      s.RawTrace ? s.RawTrace() : nullptr, s.Analysis ? s.Analysis() : nullptr},
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
        Port.Error(QCoreApplication::translate(
                       "PrintActions", "Не удалось напечатать спектр на принтере \"%1\": %2")
                       .arg(printer.printerName(), reason));
}

QString TPrintActions::AskPdfName(const QString& title, const QString& proposed) {
    TFileDialogRequest request;
    request.Title = title;
    request.Directory = Sources.Cfg.WorkDir;
    request.FileName = proposed;
    request.Filter = QCoreApplication::translate("PrintActions", "Файлы PDF (*.pdf)");
    request.DefaultSuffix = QStringLiteral("pdf");
    request.ConfirmOverwrite = true;
    return Port.SaveFileName(request);
}

void TPrintActions::WritePdf(const TPrintout& page) {
    const QString path =
        AskPdfName(QCoreApplication::translate("PrintActions", "Печать спектра в файл PDF"),
                   ProposedPdfName(Sources.ShownName()));
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

void TPrintActions::APrintFormExecute(const QImage& window) {
    QPrinter& printer = Printer();
    printer.setPageOrientation(Sources.Cfg.Orientation != 0 ? QPageLayout::Landscape
                                                            : QPageLayout::Portrait);
    QString error;
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        const QString path = AskPdfName(
            QCoreApplication::translate("PrintActions", "Печать главного окна в файл PDF"),
            ProposedWindowPdfName());
        if (!path.isEmpty() && !WriteWindowImagePdf(path, printer.pageLayout(), window, &error))
            Port.Error(error);
        return;
    }
    if (!PrintWindowImage(printer, window, &error))
        Port.Error(QCoreApplication::translate(
                       "PrintActions", "Не удалось напечатать главное окно на принтере \"%1\": %2")
                       .arg(printer.printerName(), error));
}
