#include "config/ini_file.h"

#include "base/number_style.h"
#include "config/ini_text.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool IsComment(const QString& trimmed) {
    return trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#'));
}

// "[Name]" -> Name; nothing for any other line.
std::optional<QString> HeaderName(const QString& trimmed) {
    if (!trimmed.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

QString KeyOf(const QString& line) {
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || IsComment(trimmed))
        return {};
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return {};
    return line.left(eq).trimmed();
}

QString ValueOf(const QString& line) {
    QString v = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
        v = v.mid(1, v.size() - 2);
    return v;
}

// The text that ValueOf reads back as value: escaped, and quoted when its
// ends would be trimmed or its quotes taken off.
QString EncodeValue(const QString& plain) {
    const QString value = EscapeIniValue(plain);
    if (value.isEmpty())
        return value;
    const bool blankEnds = value.front().isSpace() || value.back().isSpace();
    const bool quoted =
        value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"'));
    if (blankEnds || quoted)
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

} // namespace

std::optional<std::int32_t> ParseIniInteger(const QString& input) {
    const QString text = input.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == QLatin1Char('0') &&
               (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return std::nullopt;
    // Decimal: the magnitude may reach 2^31 for a negative value; hexadecimal:
    // up to FFFFFFFF, the 32 bits as they stand.
    const std::int64_t limit = base == 16 ? 0xFFFFFFFFLL : (negative ? 0x80000000LL : 0x7FFFFFFFLL);
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int d = HexDigit(text[i]);
        if (d < 0 || d >= base)
            return std::nullopt;
        magnitude = magnitude * base + d;
        if (magnitude > limit)
            return std::nullopt;
    }
    const std::uint32_t bits = static_cast<std::uint32_t>(negative ? -magnitude : magnitude);
    return static_cast<std::int32_t>(bits);
}

std::optional<double> ParseIniFloat(const QString& input, QChar sep) {
    const QString text = input.trimmed();
    std::string ascii;
    ascii.reserve(text.size());
    qsizetype i = 0;
    auto digits = [&] {
        const std::size_t before = ascii.size();
        while (i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
            ascii += static_cast<char>(text[i++].unicode());
        return ascii.size() - before;
    };
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        if (text[i] == QLatin1Char('-'))
            ascii += '-';
        ++i;
    }
    std::size_t mantissa = digits();
    if (i < text.size() &&
        (text[i] == sep || text[i] == QLatin1Char('.') || text[i] == QLatin1Char(','))) {
        ascii += '.';
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        ascii += 'e';
        ++i;
        if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
            ascii += static_cast<char>(text[i++].unicode());
        if (digits() == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    double value = 0;
    const auto res = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (res.ec != std::errc() || res.ptr != ascii.data() + ascii.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString FormatIniFloat(double value, QChar sep) {
    QString text = FormatGeneral(value, 15, 0, sep);
    if (!std::isfinite(value) || ParseIniFloat(text, sep).has_value())
        return text;
    // Rounded to 15 digits the value passes the largest double (only within
    // 5E-15 of it): the shortest digits that read back instead.
    char digits[64];
    const auto end =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::scientific).ptr;
    text = QString::fromLatin1(digits, end - digits);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    QString exponent = text.mid(e + 1);
    if (exponent.startsWith(QLatin1Char('+')))
        exponent.remove(0, 1);
    return text.left(e).replace(QLatin1Char('.'), sep) + QLatin1Char('E') + exponent;
}

TIniFile TIniFile::FromBytes(const QByteArray& bytes) {
    const QString text = DecodeIniBytes(bytes);

    TIniFile ini;
    ini.Sections.push_back(TSection{});
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast(); // the break after the last line starts no line
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (const auto name = HeaderName(line.trimmed())) {
            ini.Sections.push_back(TSection{*name, true, {{line, {}}}});
            continue;
        }
        ini.Sections.back().Lines.push_back(TLine{line, KeyOf(line)});
    }
    return ini;
}

QByteArray TIniFile::ToBytes() const {
    QString text;
    for (const TSection& section : Sections) {
        for (const TLine& line : section.Lines) {
            text += line.Text;
            text += QLatin1String("\r\n");
        }
    }
    return EncodeIniBytes(text);
}

int TIniFile::SectionIndex(const QString& name) const {
    for (std::size_t i = 0; i < Sections.size(); ++i) {
        if (Sections[i].HasHeader && SameName(Sections[i].Name, name))
            return static_cast<int>(i);
    }
    return -1;
}

int TIniFile::KeyIndex(const TSection& section, const QString& key) {
    for (std::size_t i = 0; i < section.Lines.size(); ++i) {
        if (!section.Lines[i].Key.isEmpty() && SameName(section.Lines[i].Key, key))
            return static_cast<int>(i);
    }
    return -1;
}

bool TIniFile::HasKey(const QString& section, const QString& key) const {
    return Value(section, key).has_value();
}

std::optional<QString> TIniFile::Value(const QString& section, const QString& key) const {
    const int s = SectionIndex(section);
    if (s < 0)
        return std::nullopt;
    const int k = KeyIndex(Sections[s], key);
    if (k < 0)
        return std::nullopt;
    return UnescapeIniValue(ValueOf(Sections[s].Lines[k].Text));
}

void TIniFile::SetValue(const QString& section, const QString& key, const QString& value) {
    int index = SectionIndex(section);
    if (index < 0) {
        Sections.push_back(
            TSection{section, true, {{QLatin1Char('[') + section + QLatin1Char(']'), {}}}});
        index = static_cast<int>(Sections.size()) - 1;
    }
    TSection* s = &Sections[index];
    if (const int k = KeyIndex(*s, key); k >= 0) {
        // Keep the key as the file spells it.
        TLine& line = s->Lines[k];
        line.Text = line.Key + QLatin1Char('=') + EncodeValue(value);
        return;
    }
    // After the section's last key; in a section without keys after its
    // last non-blank line, so blank lines before the next section stay there.
    std::size_t at = 1;
    for (std::size_t i = 1; i < s->Lines.size(); ++i) {
        if (!s->Lines[i].Key.isEmpty())
            at = i + 1;
    }
    if (at == 1) {
        for (std::size_t i = 1; i < s->Lines.size(); ++i) {
            if (!s->Lines[i].Text.trimmed().isEmpty())
                at = i + 1;
        }
    }
    s->Lines.insert(s->Lines.begin() + static_cast<std::ptrdiff_t>(at),
                    TLine{key + QLatin1Char('=') + EncodeValue(value), key});
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    return Value(section, key).value_or(def);
}

std::int32_t TIniFile::ReadInteger(const QString& section, const QString& key,
                                   std::int32_t def) const {
    const auto text = Value(section, key);
    if (!text)
        return def;
    return ParseIniInteger(*text).value_or(def);
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const QString& section, const QString& key, double def,
                           QChar sep) const {
    const auto text = Value(section, key);
    if (!text)
        return def;
    return ParseIniFloat(*text, sep).value_or(def);
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    SetValue(section, key, value);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, std::int64_t value) {
    SetValue(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    SetValue(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::WriteFloat(const QString& section, const QString& key, double value, QChar sep) {
    SetValue(section, key, FormatIniFloat(value, sep));
}
