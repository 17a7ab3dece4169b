#pragma once

#include <QString>

// Whether a PDF file that a writer has just closed is whole: it ends with the
// end-of-file marker of its trailer. A PDF writer that meets a full disk or
// a file size limit stops writing without saying so; the file is then cut
// short. When it is, false is returned with the system's reason for the cut
// (the error that writing one more byte to the file meets), or a plain
// statement when the system names none.
bool IsWholePdf(const QString& path, QString* reason = nullptr);
