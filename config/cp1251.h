#pragma once

#include <QByteArray>
#include <QString>

// The Cyrillic single-byte code page cp1251 in which the settings file is
// kept. Every byte decodes to one character (the one unassigned byte, 0x98,
// to U+0098), so a decode followed by an encode gives the same bytes back.
QString DecodeCp1251(const QByteArray& bytes);

// The byte of a character in cp1251; -1 for a character it does not hold.
int Cp1251Byte(char16_t c);
