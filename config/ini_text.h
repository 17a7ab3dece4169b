#pragma once

#include <QByteArray>
#include <QString>

// The text of the settings file on disk, and the escape that carries what
// cp1251 cannot.
//
// The file is written in cp1251. A character that cp1251 does not hold (a
// path under /home/josé, a Greek or CJK name), and a line break inside a
// value, is written as "&#x" + its code point in hexadecimal + ";" (é as
// "&#xE9;", a line feed as "&#xA;"), so the rest of the line stays readable
// and the value reads back exactly. A "&" that would itself read as such an
// escape is written as "&#x26;".

// The encodings a settings file is read in.
enum class TIniEncoding {
    Cp1251,
    Utf8,    // with a byte-order mark, or without one when the bytes are
             // valid UTF-8 with at least one multi-byte character
    Utf16LE, // with a byte-order mark, or without one when every character
    Utf16BE, // is whole and at least half of them have a zero byte
};

TIniEncoding DetectIniEncoding(const QByteArray& bytes);

// The text of the file, in the encoding detected; a byte-order mark is
// dropped.
QString DecodeIniBytes(const QByteArray& bytes);

// The file bytes of a text in cp1251. Characters cp1251 lacks, and NUL, are
// escaped; when the bytes would be taken for another encoding when read
// (a cp1251 text can be valid UTF-8, or begin like a byte-order mark), the
// first character that makes them so is escaped too. So a file written here
// is always read back as cp1251.
QByteArray EncodeIniBytes(const QString& text);

// A value as it goes into a line of the file, and back.
QString EscapeIniValue(const QString& value);
QString UnescapeIniValue(const QString& text);
