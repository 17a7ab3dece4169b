#pragma once

// kavtool --version and kavtool COMMAND --help: the program's version, and
// each command's usage with its options and operations, one line each.

#include <QString>

// The help of a command: its usage line, what it does, then its options and
// operations one a line; empty for a name that is no command.
QString CommandHelp(const QString& name);

// Answers "kavtool --version", "kavtool COMMAND --help" (or -h anywhere
// after the command) and "kavtool help COMMAND" on stdout and returns the
// exit status (0); returns -1 for every other command line, which the
// command itself then runs. Needs no Qt application.
int HelpOrVersion(int argc, char** argv);
