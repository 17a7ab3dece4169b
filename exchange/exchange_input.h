#pragma once

#include <QByteArray>
#include <QString>

// An input file of another program (text, CSV, a BES3T descriptor or data
// file) read whole through the bounded, non-blocking reader: anything that is
// not a regular file (a FIFO, /dev/zero, a folder) and anything longer than
// maxBytes is refused at once. On failure returns false with one line naming
// the file and what is wrong; `tooLargeWhy` ends the line of a file that is
// too long ("такого текстового спектра не бывает").
bool ReadExchangeInput(const QString& path, qint64 maxBytes, const QString& tooLargeWhy,
                       QByteArray& bytes, QString* error);
