#include "config/auto_save_texts.h"
#include "config/auto_save_name.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStorageInfo>

QString AutoSaveExampleName(const QString& mask, std::int32_t number) {
    return AutoSaveName(mask, number) + QStringLiteral(".kav");
}

QString FreeSpaceText(const QString& directory) {
    if (directory.trimmed().isEmpty())
        return QCoreApplication::translate("AutoSaveTexts", "Каталог не задан");
    if (!QFileInfo(directory).isDir())
        return QCoreApplication::translate("AutoSaveTexts", "Каталог не найден");
    const QStorageInfo storage(directory);
    if (!storage.isValid() || !storage.isReady() || storage.bytesAvailable() < 0)
        return QCoreApplication::translate("AutoSaveTexts", "Свободное место на диске неизвестно");
    return FreeSpaceText(storage.rootPath(), storage.bytesAvailable());
}

QString FreeSpaceText(const QString& mountPoint, std::int64_t freeBytes) {
    const std::int64_t mebibytes = freeBytes > 0 ? freeBytes / 1048576 : 0;
    return QCoreApplication::translate("AutoSaveTexts", "На диске %1 осталось %2 Мбайт")
        .arg(mountPoint, QString::number(mebibytes));
}
