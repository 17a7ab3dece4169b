#include "tools/kavtool.h"

#include "config/settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <cstdio>

TParsedArgs ParseArgs(const QStringList& args, const QStringList& valueOptions) {
    TParsedArgs parsed;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (valueOptions.contains(a)) {
            if (i + 1 >= args.size()) {
                parsed.Error = QStringLiteral("%1 needs a value").arg(a);
                return parsed;
            }
            parsed.Options[a] = args[++i];
        } else if (a.startsWith(u"--") || (a.size() > 1 && a[0] == u'-' && a[1].isLetter())) {
            parsed.Error = QStringLiteral("unknown option %1").arg(a);
            return parsed;
        } else {
            parsed.Positional << a;
        }
    }
    return parsed;
}

void PrintLine(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fputc('\n', stdout);
}

void PrintError(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fputc('\n', stderr);
}

int Fail(const QString& message) {
    PrintError(QStringLiteral("kavtool: ") + message);
    return ExitBadInput;
}

int UsageError(const char* command, const QString& message) {
    PrintError(QStringLiteral("kavtool %1: %2").arg(QString::fromUtf8(command), message));
    PrintError(QStringLiteral("usage: kavtool ") + QString::fromUtf8(CommandUsage(command)));
    return ExitUsage;
}

namespace {

bool LanguageOnCommandLine = false;

} // namespace

void ChooseToolLanguage(TLanguage language) {
    LanguageOnCommandLine = true;
    InstallProgramLanguage(language);
}

int RunPartCommand(std::initializer_list<TPartCommand> commands, const QString& refusal) {
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    // The messages in the language kavtool was asked for.
    if (!TakeLanguageOption(args))
        return ExitUsage;
    const QString name = args.isEmpty() ? QString() : args.takeFirst();
    for (const TPartCommand& command : commands) {
        if (name == QLatin1StringView(command.Name))
            return command.Run(args);
    }
    PrintError(refusal);
    return ExitUsage;
}

bool TakeLanguageOption(QStringList& args) {
    const qsizetype at = args.indexOf(QStringLiteral("--lang"));
    if (at < 0)
        return true;
    const std::optional<TLanguage> language =
        at + 1 < args.size() ? ParseLanguage(args[at + 1]) : std::nullopt;
    if (!language) {
        PrintError(QStringLiteral("kavtool: --lang takes ru or en"));
        return false;
    }
    args.remove(at, 2);
    ChooseToolLanguage(*language);
    return true;
}

bool LoadToolSettings(TKavCfg& cfg, const QString& iniPath, QString* error) {
    cfg = TKavCfg{};
    SetDefaults(cfg, QDir::currentPath());
    if (iniPath.isEmpty())
        return true;
    if (!QFileInfo::exists(iniPath)) {
        *error = QStringLiteral("settings file \"%1\" not found").arg(iniPath);
        return false;
    }
    TRecentFiles recent;
    QString reason;
    if (!LoadSettings(cfg, recent, iniPath, SystemDecimalSep(), &reason)) {
        *error = QStringLiteral("cannot read the settings file %1").arg(reason);
        return false;
    }
    if (!LanguageOnCommandLine)
        InstallProgramLanguage(cfg.Language);
    return true;
}

namespace {

struct TUnitKey {
    const char* Key;
    std::uint8_t TKavCfg::*Field;
    int Count;
    const char* Group;
};

const TUnitKey UnitKeys[] = {
    {"RazvUnit", &TKavCfg::RazvUnit, RazvUnitCount, "sweep"},
    {"AmpUnit", &TKavCfg::AmpUnit, AmpUnitCount, "amplitude"},
    {"CorrUnit", &TKavCfg::CorrUnit, CorrUnitCount, "correction"},
    {"ADCUnit", &TKavCfg::ADCUnit, ADCUnitCount, "ADC"},
};

} // namespace

bool CheckUnitSelection(const TKavCfg& cfg, const QString& iniPath, const QStringList& keys,
                        QString* error) {
    for (const TUnitKey& u : UnitKeys) {
        const int index = cfg.*u.Field;
        if (!keys.contains(QLatin1String(u.Key)) || index < u.Count)
            continue;
        *error = QStringLiteral("settings file \"%1\": %2=%3 selects no %4 unit (0..%5)")
                     .arg(iniPath, QLatin1String(u.Key))
                     .arg(index)
                     .arg(QLatin1String(u.Group))
                     .arg(u.Count - 1);
        return false;
    }
    return true;
}

QChar SystemDecimalSep() {
    const QString sep = QLocale::system().decimalPoint();
    return sep.isEmpty() ? QChar(u'.') : sep.at(0);
}
