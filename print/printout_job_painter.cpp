#include "print/printout_job_painter.h"

#include "base/atomic_file.h"
#include "print/pdf_file_check.h"
#include "print/printout_texts.h"

#include <QCoreApplication>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace {

bool Fail(QString* out, const QString& text) {
    if (out)
        *out = text;
    return false;
}

QString WriteError(const QString& path, const QString& reason) {
    return QCoreApplication::translate("PrintoutJobPainter", "Не удалось записать файл \"%1\": %2")
        .arg(path, reason);
}

} // namespace

QPageLayout PdfPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Point);
}

void UsePdfOutput(QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(PdfResolution);
    printer.setPageLayout(PdfPageLayout());
}

bool PrintSpectrum(QPrinter& printer, const TPrintout& page, QString* reason) {
    printer.setDocName(PrintJobTitle());
    printer.setPageOrientation(page.Cfg.Orientation != 0 ? QPageLayout::Landscape
                                                         : QPageLayout::Portrait);
    const QString problem = PrintoutProblem(page, printer);
    if (!problem.isEmpty())
        return Fail(reason, problem);
    QPainter painter;
    if (!painter.begin(&printer))
        return Fail(reason,
                    QCoreApplication::translate("PrintoutJobPainter", "принтер не принял задание"));
    QString why;
    const bool painted = PaintPrintout(painter, page, &why);
    if (!painter.end() && painted)
        return Fail(reason,
                    QCoreApplication::translate("PrintoutJobPainter", "принтер не принял задание"));
    return painted || Fail(reason, why);
}

bool WritePdfAtomically(const QString& path, const QPageLayout& layout,
                        const std::function<bool(QPrinter& printer, QString* reason)>& print,
                        QString* error) {
    TAtomicFileSlot slot(path);
    QString reason;
    if (!slot.Open(&reason))
        return Fail(error, WriteError(path, reason));
    {
        QPrinter printer(QPrinter::HighResolution);
        UsePdfOutput(printer);
        printer.setPageLayout(layout);
        printer.setCreator(QStringLiteral("Kav7"));
        printer.setOutputFileName(slot.TempPath());
        if (!print(printer, &reason))
            return Fail(error, WriteError(path, reason));
    }
    if (!IsWholePdf(slot.TempPath(), &reason) || !slot.Commit(&reason))
        return Fail(error, WriteError(path, reason));
    return true;
}

bool WritePrintoutPdf(const QString& path, const QPageLayout& layout, const TPrintout& page,
                      QString* error) {
    return WritePdfAtomically(
        path, layout,
        [&page](QPrinter& printer, QString* reason) {
            return PrintSpectrum(printer, page, reason);
        },
        error);
}
