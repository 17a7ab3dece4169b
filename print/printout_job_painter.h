#pragma once

#include "print/printout_painter.h"

#include <QPageLayout>
#include <QString>
#include <functional>

class QPrinter;

// Resolution of a PDF page: a laser printer's. Points, arrows and lines have
// their sizes in device pixels, so a PDF looks as the page does on paper.
inline constexpr int PdfResolution = 300;

// The page of a PDF when nothing else is chosen: A4 with margins of 10
// points, the unprintable strip a PDF printer reports.
QPageLayout PdfPageLayout();

// Turns a printer into a PDF writer on the PDF page at PdfResolution: the
// program's printer on a machine without one.
void UsePdfOutput(QPrinter& printer);

// Prints the printout as one page on a printer with its settings: the job is
// titled "Спектр КАВ" and the orientation comes from Orientation of the
// settings. False, with the reason in *reason, when the page cannot go on
// the printer or the printer does not take the job.
bool PrintSpectrum(QPrinter& printer, const TPrintout& page, QString* reason = nullptr);

// Writes a PDF at `path` through a printer in PDF mode with the given page
// layout, on which `print` puts its page(s) (false with a reason when it
// cannot). The file is committed whole or not at all: on failure any
// previous file at `path` stays as it was and *error names the file and the
// system's reason (or the one `print` gave).
bool WritePdfAtomically(const QString& path, const QPageLayout& layout,
                        const std::function<bool(QPrinter& printer, QString* reason)>& print,
                        QString* error = nullptr);

// The same page as a one-page PDF at `path`, through a printer in PDF mode
// with the given page layout. The file is committed whole or not at all: on
// failure any previous file at `path` stays as it was and *error names the
// file and the system's reason.
bool WritePrintoutPdf(const QString& path, const QPageLayout& layout, const TPrintout& page,
                      QString* error = nullptr);
