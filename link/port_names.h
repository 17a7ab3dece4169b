#pragma once

#include <QString>

// The device path of a port name: "COMn" is /dev/ttyS(n-1), an absolute path
// stays as it is, any other name is a device under /dev ("ttyUSB0").
QString PortDevicePath(const QString& name);
