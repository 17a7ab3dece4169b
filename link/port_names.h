#pragma once

#include <QString>
#include <QStringList>

// The device path of a port name: "COMn" is /dev/ttyS(n-1), an absolute path
// stays as it is, any other name is a device under /dev ("ttyUSB0").
QString PortDevicePath(const QString& name);

// The serial devices present on this machine, as device paths: USB adapters
// (ttyUSB*), modems and boards (ttyACM*), the built-in ports (ttyS*) and the
// stable names under serial/by-id/, each group in its order (numbers counted
// as numbers). A ttyS port whose UART the kernel did not find (its
// "type" under sysTtyRoot reads 0) is left out: such ports exist on every PC
// whether or not a connector is there.
QStringList SerialDevicePaths(const QString& devRoot = QStringLiteral("/dev"),
                              const QString& sysTtyRoot = QStringLiteral("/sys/class/tty"));
