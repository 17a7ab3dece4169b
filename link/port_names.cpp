#include "link/port_names.h"

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
