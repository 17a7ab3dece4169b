#pragma once

#include <QString>
#include <ostream>

// GoogleTest shows QString values as readable text in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
