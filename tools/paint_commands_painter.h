#pragma once

// The commands kavtool-paint runs for kavtool: those that draw. Each gets
// the arguments after the command name and returns the exit status.

#include <QStringList>

// kavtool print: the one-page printout of each spectrum as a PDF.
int RunPrint(const QStringList& args);

// kavtool export --format png|svg: a picture of the plot of each spectrum.
int RunPictureExport(const QStringList& args);
