#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

// The language of the program's texts. Russian is the source language of
// every text and the default whatever the system's locale is; English is
// the one translation.
enum class TLanguage : std::uint8_t { Ru = 0, En = 1 };

// "ru" or "en" as stored in Kav.ini and given to kavtool --lang (any
// letter case, surrounding blanks ignored); anything else has no value.
std::optional<TLanguage> ParseLanguage(QStringView text);
QString LanguageCode(TLanguage language);

// Puts the program's own translation for the language into the running
// application, replacing the one installed before; Russian needs none.
// False when the English translation cannot be loaded (the texts stay
// Russian). Installing sends QEvent::LanguageChange to every widget.
bool InstallProgramLanguage(TLanguage language);

// The language whose translation InstallProgramLanguage put in last.
TLanguage InstalledProgramLanguage();
