#pragma once

// kavtool-paint, the program that draws for kavtool (print, pictures), lies
// at a fixed place relative to kavtool: in the build tree as in an installed
// one (/usr/bin/kavtool, /usr/libexec/kav7/kavtool-paint).

#include <QString>

// Where kavtool-paint is, found from the path of the running kavtool.
QString PaintProgramPath();

// Replaces this process by kavtool-paint with the same arguments. Returns
// only when it cannot be started: ExitBadInput, after one line naming it
// and the system's reason.
int RunPaintProgram(char** argv);
