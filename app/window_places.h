#pragma once

#include "config/kav_cfg.h"

class QWidget;

// A window's state and place as the settings store them.
TWindowPlace PlaceOf(const QWidget& window);

// A stored state shown: minimised or maximised added to the window's state;
// a normal state leaves it as it is.
void ShowWindowState(QWidget& window, TWindowState state);
