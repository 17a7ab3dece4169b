#include "link/port_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

// Entries of dir whose names begin with prefix followed by a number only,
// sorted by that number.
QStringList NumberedEntries(const QDir& dir, const QString& prefix) {
    QList<std::pair<int, QString>> found;
    const QStringList names = dir.entryList({prefix + QLatin1Char('*')},
                                            QDir::Files | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        const QString digits = name.mid(prefix.size());
        const bool numbered = !digits.isEmpty() && digits.size() <= 6 &&
                              std::all_of(digits.begin(), digits.end(),
                                          [](QChar c) { return c.isDigit() && c.unicode() < 128; });
        if (numbered)
            found.append({digits.toInt(), name});
    }
    std::sort(found.begin(), found.end());
    QStringList paths;
    for (const auto& entry : found)
        paths << dir.filePath(entry.second);
    return paths;
}

bool UartMissing(const QString& sysTtyRoot, const QString& name) {
    QFile type(sysTtyRoot + QLatin1Char('/') + name + QStringLiteral("/type"));
    if (!type.open(QIODevice::ReadOnly))
        return false; // nothing known: keep it
    return type.readAll().trimmed() == "0";
}

} // namespace

QString PortDevicePath(const QString& name) {
    if (name.startsWith(QLatin1Char('/')))
        return name;
    if (name.size() > 3 && name.left(3).compare(QLatin1String("COM"), Qt::CaseInsensitive) == 0) {
        bool ok = false;
        const int number = name.mid(3).toInt(&ok);
        if (ok && number >= 1)
            return QStringLiteral("/dev/ttyS%1").arg(number - 1);
    }
    return QStringLiteral("/dev/") + name;
}

QStringList SerialDevicePaths(const QString& devRoot, const QString& sysTtyRoot) {
    const QDir dev(devRoot);
    QStringList paths;
    paths << NumberedEntries(dev, QStringLiteral("ttyUSB"));
    paths << NumberedEntries(dev, QStringLiteral("ttyACM"));
    for (const QString& path : NumberedEntries(dev, QStringLiteral("ttyS")))
        if (!UartMissing(sysTtyRoot, QFileInfo(path).fileName()))
            paths << path;
    const QDir byId(dev.filePath(QStringLiteral("serial/by-id")));
    if (byId.exists()) {
        QStringList names = byId.entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot);
        names.sort();
        for (const QString& name : names)
            paths << byId.filePath(name);
    }
    return paths;
}
