#pragma once

#include <QString>

// A port name as the settings and the port hold it. Short serial names
// ("COM3", "ttyUSB0", "SIM") are cut to PortNameMaxLength characters; a
// device path (a name beginning with '/', such as "/dev/ttyUSB0" or a stable
// name under /dev/serial/by-id/) is kept whole, since a cut path names no
// device at all.
QString HeldPortName(const QString& name);

// True for a name that is a device path.
bool IsDevicePathName(const QString& name);
