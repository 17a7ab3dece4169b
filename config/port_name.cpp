#include "config/port_name.h"

#include "config/kav_cfg.h"

bool IsDevicePathName(const QString& name) {
    return name.startsWith(QLatin1Char('/'));
}

QString HeldPortName(const QString& name) {
    return IsDevicePathName(name) ? name : name.left(PortNameMaxLength);
}
