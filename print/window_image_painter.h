#pragma once

#include <QPageLayout>
#include <QString>

class QImage;
class QPrinter;

// "Печать главного окна": an image of the main window on one page, scaled in
// proportion to the printable area and placed at its top left corner.

// Prints the image as one page on a printer with its settings. False, with
// the reason, when the printer does not take the job.
bool PrintWindowImage(QPrinter& printer, const QImage& image, QString* reason = nullptr);

// The same page as a one-page PDF at `path` with the given page layout,
// committed whole or not at all (WritePdfAtomically): on failure any
// previous file stays as it was and *error names the file and the reason.
bool WriteWindowImagePdf(const QString& path, const QPageLayout& layout, const QImage& image,
                         QString* error = nullptr);
