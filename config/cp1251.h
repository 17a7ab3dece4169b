#pragma once

#include <QByteArray>
#include <QString>

// The Cyrillic single-byte code page cp1251 in which the settings file is
// kept. Every byte decodes to one character (the one unassigned byte, 0x98,
// to U+0098), so a decode followed by an encode gives the same bytes back.
// A character that cp1251 cannot hold is encoded as "?".
QString DecodeCp1251(const QByteArray& bytes);
QByteArray EncodeCp1251(const QString& text);
