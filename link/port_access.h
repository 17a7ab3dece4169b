#pragma once

#include <QString>
#include <cstdint>

// Why a serial device cannot be opened, found before it is tried, so that the
// operator reads the system's own reason beside "Невозможно инициализировать
// порт": the path leads nowhere ("No such file or directory"), to something
// that is not a character device ("Inappropriate ioctl for device"), or to a
// device this process may not read and write ("Permission denied", with what
// to do about it). Empty when nothing stands in the way.
QString PortAccessProblem(const QString& devicePath);

// Where the user stands with the group that may read and write a device.
enum class TGroupMembership : std::uint8_t {
    Active,          // the process has the group: the group is not the obstacle
    ListedNotActive, // listed in the group, but the session started before
    NotListed,
};

// "Permission denied" on a device whose group may read and write it, with
// what the user can do: join the group, or log in again to take it up.
QString PermissionDeniedText(const QString& group, TGroupMembership membership);
