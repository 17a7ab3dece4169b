#pragma once

#include "config/language.h"

#include "config/kav_cfg.h"

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <map>

// Exit statuses of every kavtool command.
inline constexpr int ExitOk = 0;
inline constexpr int ExitBadInput = 1; // a missing or damaged input, one line on stderr
inline constexpr int ExitUsage = 2;    // bad usage, the command's usage text on stderr

// One subcommand: its name and its usage line (kavtool_commands.cpp). A
// command that draws (a page, a picture) says so for its arguments in
// Paints, one that talks to the spectrometer in OpensPort: kavtool then runs
// its painting part, kavtool-paint, or its serial-line part, kavtool-port,
// in its place (part_program.h), so that the other commands start with Qt
// Core alone.
struct TKavtoolCommand {
    const char* Name;
    const char* Usage;
    bool (*Paints)(const QStringList& args) = nullptr;
    bool OpensPort = false;
};

// The command of that name, or null.
const TKavtoolCommand* FindCommand(const QString& name);
// The usage line of a command of the table.
const char* CommandUsage(const char* name);
// "usage: kavtool COMMAND ARGS..." and every command's usage line.
QString UsageText();

// The entry points of the commands kavtool runs itself; each gets the
// arguments after the command name.
int RunInfo(const QStringList& args);
int RunExport(const QStringList& args);     // tsv, csv and bes3t
bool ExportPaints(const QStringList& args); // export to png or svg draws
int RunFormat(const QStringList& args);
int RunImport(const QStringList& args);
int RunProcess(const QStringList& args);
int RunAcquire(const QStringList& args);
int RunListen(const QStringList& args);
bool PrintPaints(const QStringList& args);
int RunFit(const QStringList& args);
int RunCompare(const QStringList& args);

// The arguments of a command split into positional ones and options; every
// option of valueOptions takes the next argument as its value. A word that
// starts with "-" and a letter, or with "--", and is not a known option is
// an error; "-5" is a positional value.
struct TParsedArgs {
    QStringList Positional;
    std::map<QString, QString> Options;
    QString Error; // empty when the arguments parsed
};
TParsedArgs ParseArgs(const QStringList& args, const QStringList& valueOptions);

// Writes a line to stdout or stderr, UTF-8.
void PrintLine(const QString& text);
void PrintError(const QString& text);

// "kavtool: <message>" on stderr; returns ExitBadInput.
int Fail(const QString& message);
// The message and the command's usage on stderr; returns ExitUsage.
int UsageError(const char* command, const QString& message);

// The settings the program would run with: the defaults, then the ini file
// when one is named. A named ini file that does not exist, or cannot be read
// (a directory), is an error.
bool LoadToolSettings(TKavCfg& cfg, const QString& iniPath, QString* error);
// --lang: the language of the program's messages whatever the settings
// file read says (without it, the file's Language, Russian by default).
void ChooseToolLanguage(TLanguage language);
// Takes "--lang ru|en" out of the arguments, wherever it stands, and
// chooses that language. A missing or unknown value is printed as a usage
// error and returns false. kavtool and its parts (kavtool-paint,
// kavtool-port) all see the option: kavtool passes its whole command line
// on to a part.
bool TakeLanguageOption(QStringList& args);

// One command a part program (kavtool-paint, kavtool-port) runs.
struct TPartCommand {
    const char* Name;
    int (*Run)(const QStringList& args);
};
// A part program's run once its application exists: "--lang" taken, then
// the command named first; any other name prints `refusal` (exit 2).
int RunPartCommand(std::initializer_list<TPartCommand> commands, const QString& refusal);

// The selected units of the keys named ("RazvUnit", "AmpUnit", "CorrUnit",
// "ADCUnit") exist; else an error naming the file, the key and its value.
bool CheckUnitSelection(const TKavCfg& cfg, const QString& iniPath, const QStringList& keys,
                        QString* error);

// From here on Qt's own notes stay off stderr, so that a run's messages are
// kavtool's lines alone (unless QT_LOGGING_RULES, QT_DEBUG_PLUGINS or
// QT_MESSAGE_PATTERN asks for Qt's); Qt's errors become one kavtool line.
void KeepQtNotesOffTheTerminal();

// The user's decimal separator, as the program shows numbers.
QChar SystemDecimalSep();
