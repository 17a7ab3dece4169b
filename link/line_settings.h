#pragma once

#include "config/kav_cfg.h"
#include "link/serial_device.h"

#include <QStringList>

// Turns a port settings record into line settings the platform can apply.
// Where Linux has no equivalent (one and a half stop bits, RTS toggle, DTR
// hand-shake, DSR output flow control) the nearest setting is taken and a
// line is appended to notes; so is a value outside its range from a
// hand-edited settings file, which is held at its default.
TLineSettings ResolveLineSettings(const TComSettings& settings, QStringList& notes);

// The BaudRate index actually in force: an index outside BaudTable is held at
// 9600 baud (index 5).
int EffectiveBaudIndex(int index);
inline constexpr int DefaultBaudIndex = 5;
