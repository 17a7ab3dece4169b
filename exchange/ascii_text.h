#pragma once

#include <QString>
#include <QStringView>

// A text for a file whose readers take ASCII only (a BES3T descriptor):
// Cyrillic letters are transliterated ("Спектр №1" becomes "Spektr No1",
// "Щ" "Shch"), letters with diacritics lose them ("é" becomes "e"), the micro
// sign becomes "u", control characters become blanks, and any other
// character that has no ASCII form becomes "?". Every character of the
// result is printable ASCII.
QString AsciiText(QStringView text);
