#include "print/pdf_file_check.h"

#include "base/atomic_file.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The end of a PDF's trailer; only blank characters may follow it.
bool EndsWithEofMarker(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 tail = 64;
    if (file.size() > tail && !file.seek(file.size() - tail))
        return false;
    return file.readAll().trimmed().endsWith("%%EOF");
}

// The error the file's next byte meets: the reason the writer stopped.
QString CutReason(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    int err = fd < 0 ? errno : 0;
    if (fd >= 0) {
        if (::write(fd, "\n", 1) != 1)
            err = errno;
        ::close(fd);
    }
    if (err != 0)
        return SystemErrorText(err);
    return QCoreApplication::translate("PdfFileCheck", "файл PDF записан не полностью");
}

} // namespace

bool IsWholePdf(const QString& path, QString* reason) {
    if (EndsWithEofMarker(path))
        return true;
    if (reason)
        *reason = CutReason(path);
    return false;
}
