#pragma once

// The common start of the kavtool commands that talk to the spectrometer
// (acquire, listen): the port, the settings and the simulator speed-up.

#include "tools/kavtool.h"

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
};

// Parses --port (required), --ini and --sim-speed; the settings get the port
// name and automatic saving off. Returns the exit status when the command
// cannot go on.
std::optional<int> PrepareLinkCommand(const char* command, const TParsedArgs& parsed,
                                      TLinkCommandSetup& setup);

// Switches the engine to receive mode. Returns the exit status when the port
// did not open (failure: the first error line the session reported).
std::optional<int> StartLink(THeadlessSession& session, const TLinkCommandSetup& setup,
                             const QString& failure);
