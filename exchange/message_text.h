#pragma once

#include <QString>
#include <QStringView>

// Text taken from a file (a line, a key's value, a file name) as it may be
// quoted in a message: control characters and invisible format characters
// (a terminal's escape sequences, line breaks, direction overrides) are shown
// escaped as \xHH or \uHHHH, so a file can neither break a one-line message
// nor drive the terminal it is printed on. Longer texts are cut after
// maxChars characters with "…".
QString ShownText(QStringView text, qsizetype maxChars = 60);

// A file name as messages quote it: ShownText without the cut.
QString ShownPath(const QString& path);
