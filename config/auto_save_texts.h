#pragma once

#include <QString>
#include <cstdint>

// The two texts of the automatic-save dialog that follow the operator's
// choices.

// The name the next automatic save gives its file: the automatic-save name
// of mask and number, "." and "kav" (with the defaults Спектр00000001.kav).
QString AutoSaveExampleName(const QString& mask, std::int32_t number);

// "На диске /home осталось 5120 Мбайт": the mount point of the file system
// that holds the directory, and the space left on it for the user in whole
// mebibytes. An empty directory text gives "Каталог не задан", a directory
// that does not exist "Каталог не найден", a file system that reports no
// size "Свободное место на диске неизвестно".
QString FreeSpaceText(const QString& directory);

// The text for a known mount point and count of free bytes.
QString FreeSpaceText(const QString& mountPoint, std::int64_t freeBytes);
