#include "print/window_image_painter.h"

#include "print/printout_job_painter.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>

bool PrintWindowImage(QPrinter& printer, const QImage& image, QString* reason) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (reason)
            *reason =
                QCoreApplication::translate("WindowImagePainter", "принтер не принял задание");
        return false;
    }
    const QRect page = painter.viewport();
    QSize size = image.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), size.width(), size.height());
    painter.setWindow(image.rect());
    painter.drawImage(0, 0, image);
    if (!painter.end()) {
        if (reason)
            *reason =
                QCoreApplication::translate("WindowImagePainter", "принтер не принял задание");
        return false;
    }
    return true;
}

bool WriteWindowImagePdf(const QString& path, const QPageLayout& layout, const QImage& image,
                         QString* error) {
    return WritePdfAtomically(
        path, layout,
        [&image](QPrinter& printer, QString* reason) {
            printer.setDocName(
                QCoreApplication::translate("WindowImagePainter", "Главное окно КАВ"));
            return PrintWindowImage(printer, image, reason);
        },
        error);
}
