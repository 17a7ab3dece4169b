#pragma once

// kavtool's two parts that load what most of its commands need not:
// kavtool-paint (Qt Gui, fonts, the PDF writer) for print and pictures, and
// kavtool-port (Qt Serial Port, libudev) for acquire and listen. kavtool
// runs a part in its own place with the same arguments, so the part's exit
// status and streams are the command's. Both lie at a fixed place relative
// to kavtool: in the build tree as in an installed one (/usr/bin/kavtool,
// /usr/libexec/kav7/kavtool-paint and kavtool-port).

#include <QString>

enum class TKavtoolPart { Paint, Port };

// Where the part is, found from the path of the running kavtool.
QString PartProgramPath(TKavtoolPart part);

// Replaces this process by the part with the same arguments. Returns only
// when it cannot be started: ExitBadInput, after one line naming it and the
// system's reason.
int RunPartProgram(TKavtoolPart part, char** argv);
