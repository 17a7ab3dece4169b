#pragma once

#include <QString>
#include <cstdint>

// The automatic-save name: mask followed by number in at least 8 digits
// ("%8.8d"), with every " ", ".", ",", "\", "/" and "*" replaced by "_".
QString AutoSaveName(const QString& mask, std::int32_t number);

// The path of an automatic save: workDir, one separator, name, ".kav". A
// separator already at the end of workDir is not doubled; an empty workDir
// gives a name in the current directory.
QString AutoSavePath(const QString& workDir, const QString& name);
