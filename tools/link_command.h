#pragma once

// The common start of the kavtool commands that talk to the spectrometer
// (acquire, listen): the port, the settings and the simulator speed-up.

#include "tools/kavtool.h"

#include <functional>
#include <optional>

class THeadlessSession;

// Writes a line to stdout at once, also into a pipe.
void PrintNow(const QString& text);

// The value of a whole-number option of at least 1, or fallback when the
// option is not given; false when it is given but not such a number.
bool PositiveOption(const std::map<QString, QString>& options, const QString& key, int fallback,
                    int& value);

// What the link commands run with.
struct TLinkCommandSetup {
    TKavCfg Cfg;
    int SpeedUp = 1; // --sim-speed
    // Until the port is open the session's lines are held back: a port that
    // does not open is reported once, as kavtool's own line.
    bool Started = false;
    QString Failure; // the first error line before the start

    // Sinks for the session: message-window lines to stdout, error lines to
    // stderr, from the start on.
    std::function<void(const QString&)> MessageSink();
    std::function<void(const QString&)> ErrorSink();
};

// Parses --port (required), --ini and --sim-speed; the settings get the port
// name and automatic saving off. Returns the exit status when the command
// cannot go on.
std::optional<int> PrepareLinkCommand(const char* command, const TParsedArgs& parsed,
                                      TLinkCommandSetup& setup);

// Switches the engine to receive mode. Returns the exit status when the port
// did not open, after one line with the reason.
std::optional<int> StartLink(THeadlessSession& session, TLinkCommandSetup& setup);
