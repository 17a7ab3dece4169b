#pragma once

#include <QIcon>

// The program's icon, drawn like resources/kav7.svg (a derivative line on
// the plot's black), so the window needs no image plugin.
QIcon KavIcon();
