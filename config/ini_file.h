#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

// An INI text held line by line: section header lines "[Name]" and key
// lines "Key=Value". Section and key names match without regard to letter
// case; the first of two equal sections or keys is the one used. Writing a
// key changes only its own line (or adds one), so every other line of the
// file, comments and unknown keys included, comes back unchanged and in its
// place. The text on disk is cp1251 with CRLF line endings, and what cp1251
// cannot hold is escaped (ini_text.h); reading also takes LF endings and a
// file saved as UTF-8 or UTF-16 (ini_text.h tells how they are recognised).
class TIniFile {
public:
    static TIniFile FromBytes(const QByteArray& bytes);
    QByteArray ToBytes() const;

    bool HasKey(const QString& section, const QString& key) const;
    // The value of a key, trimmed, one pair of enclosing double quotes
    // removed, escapes read; nothing when the key is missing.
    std::optional<QString> Value(const QString& section, const QString& key) const;
    // Sets a key, adding the section (at the end) or the key (after the last
    // key of its section) when missing. The value reads back exactly: it is
    // escaped, and quoted when its ends would be trimmed.
    void SetValue(const QString& section, const QString& key, const QString& value);

    // Typed access. A missing key, or a value that does not parse, gives the
    // default.
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    std::int32_t ReadInteger(const QString& section, const QString& key, std::int32_t def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    double ReadFloat(const QString& section, const QString& key, double def, QChar sep) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, std::int64_t value);
    void WriteBool(const QString& section, const QString& key, bool value);
    void WriteFloat(const QString& section, const QString& key, double value, QChar sep);

private:
    struct TLine {
        QString Text;
        QString Key; // trimmed key name; empty when the line holds no key
    };
    struct TSection {
        QString Name;
        bool HasHeader = false; // false only for the lines before the first header
        std::vector<TLine> Lines;
    };

    // Indexes of the first matching section or key line; -1 when missing.
    int SectionIndex(const QString& name) const;
    static int KeyIndex(const TSection& section, const QString& key);

    std::vector<TSection> Sections;
};

// Integers: decimal, or hexadecimal after "$", "0x" or "0X", with an
// optional sign, in the 32-bit range (hexadecimal up to FFFFFFFF, taken as
// the same 32 bits).
std::optional<std::int32_t> ParseIniInteger(const QString& text);

// Floats: an optional sign, digits with one decimal separator (sep, or "."
// or ",", so a file written under another locale still reads), an optional
// exponent after "E" or "e". Values that overflow are rejected.
std::optional<double> ParseIniFloat(const QString& text, QChar sep);

// The general style with 15 significant digits: "0,0000763137410522139",
// "7,63137410522139E-11", "1E15". A value within 5E-15 of the largest
// double, which 15 digits would round past it, gets the shortest digits
// that read back ("1,7976931348623157E308").
QString FormatIniFloat(double value, QChar sep);
