#pragma once

#include "config/language.h"

class QString;

// Puts Qt's own texts (the buttons of message boxes, the colour, print and
// file dialogs) into the language `language` ("ru") whatever the system
// locale, replacing the catalog an earlier call installed. Qt's catalog
// qtbase_<language>.qm is read from Qt's translations folder. Returns false
// when that catalog is missing or unreadable: Qt's texts then stay as they
// were (English at start).
bool InstallQtTranslation(const QString& language);

// The program's texts and Qt's own in the language: the program's English
// translation or none, Qt's catalog of the same language.
bool InstallLanguage(TLanguage language);
