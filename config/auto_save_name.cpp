#include "config/auto_save_name.h"

QString AutoSaveName(const QString& mask, std::int32_t number) {
    QString name = mask + QString::asprintf("%8.8d", number);
    for (QChar& c : name) {
        if (c == u' ' || c == u'.' || c == u',' || c == u'\\' || c == u'/' || c == u'*')
            c = u'_';
    }
    return name;
}

QString AutoSavePath(const QString& workDir, const QString& name) {
    QString path = workDir;
    if (!path.isEmpty() && !path.endsWith(u'/'))
        path += u'/';
    return path + name + QStringLiteral(".kav");
}
