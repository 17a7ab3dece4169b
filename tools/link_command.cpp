#include "tools/link_command.h"

#include "acquisition/acquisition_engine.h"
#include "config/port_name.h"
#include "session/headless_session.h"

#include <cstdio>

void PrintNow(const QString& text) {
    PrintLine(text);
    std::fflush(stdout);
}

bool PositiveOption(const std::map<QString, QString>& options, const QString& key, int fallback,
                    int& value) {
    value = fallback;
    const auto it = options.find(key);
    if (it == options.end())
        return true;
    bool ok = false;
    value = it->second.toInt(&ok);
    return ok && value > 0;
}

std::optional<int> PrepareLinkCommand(const char* command, const TParsedArgs& parsed,
                                      TLinkCommandSetup& setup) {
    if (!parsed.Error.isEmpty())
        return UsageError(command, parsed.Error);
    if (!parsed.Positional.isEmpty())
        return UsageError(command,
                          QStringLiteral("unexpected argument %1").arg(parsed.Positional[0]));
    const auto port = parsed.Options.find(QStringLiteral("--port"));
    if (port == parsed.Options.end() || port->second.isEmpty())
        return UsageError(command, QStringLiteral("--port is required"));
    if (!PositiveOption(parsed.Options, QStringLiteral("--sim-speed"), 1, setup.SpeedUp))
        return UsageError(command, QStringLiteral("--sim-speed needs a positive number"));

    QString error;
    const auto ini = parsed.Options.find(QStringLiteral("--ini"));
    if (!LoadToolSettings(setup.Cfg, ini == parsed.Options.end() ? QString() : ini->second, &error))
        return Fail(error);
    setup.Cfg.Port.PortName = HeldPortName(port->second);
    setup.Cfg.AutoSave = false;
    return std::nullopt;
}

std::function<void(const QString&)> TLinkCommandSetup::MessageSink() {
    return [this](const QString& text) {
        if (Started)
            PrintNow(text);
    };
}

std::function<void(const QString&)> TLinkCommandSetup::ErrorSink() {
    return [this](const QString& text) {
        if (Started)
            PrintError(text);
        else if (Failure.isEmpty())
            Failure = text;
    };
}

std::optional<int> StartLink(THeadlessSession& session, TLinkCommandSetup& setup) {
    session.Engine().SetReceiveMode(true);
    if (!session.Receiver().Opened())
        return Fail(setup.Failure.isEmpty()
                        ? PortFailureLine(setup.Cfg.Port.PortName, session.Receiver().OpenFailure())
                        : setup.Failure);
    setup.Started = true;
    if (setup.SpeedUp > 1 && !session.SpeedUpSimulator(setup.SpeedUp))
        PrintError(QStringLiteral("kavtool: --sim-speed applies only to the port SIM"));
    return std::nullopt;
}
