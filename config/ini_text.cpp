#include "config/ini_text.h"

#include "config/cp1251.h"

#include <QStringView>
#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr char32_t MaxCodePoint = 0x10FFFF;
constexpr int MaxEscapeDigits = 6;

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

struct TEscape {
    char32_t Code = 0;
    qsizetype Length = 0;
};

// "&#x", one to six hexadecimal digits and ";" at text[i], naming a code
// point of Unicode.
std::optional<TEscape> MatchEscape(QStringView text, qsizetype i) {
    if (i + 4 > text.size() || text[i] != u'&' || text[i + 1] != u'#' || text[i + 2] != u'x')
        return std::nullopt;
    char32_t code = 0;
    qsizetype j = i + 3;
    int digits = 0;
    for (; j < text.size() && digits < MaxEscapeDigits; ++j, ++digits) {
        const int d = HexDigit(text[j].unicode());
        if (d < 0)
            break;
        code = code * 16 + static_cast<char32_t>(d);
    }
    if (digits == 0 || j >= text.size() || text[j] != u';' || code > MaxCodePoint)
        return std::nullopt;
    return TEscape{code, j + 1 - i};
}

void AppendEscape(QString& out, char32_t code) {
    out += QStringLiteral("&#x");
    out += QString::number(code, 16).toUpper();
    out += u';';
}

// The code point at text[i] (a whole surrogate pair counts as one) and the
// number of units it takes; a lone surrogate stands for itself.
char32_t CodePointAt(QStringView text, qsizetype i, qsizetype& units) {
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        units = 2;
        return QChar::surrogateToUcs4(c, text[i + 1]);
    }
    units = 1;
    return c.unicode();
}

void AppendCodePoint(QString& out, char32_t code) {
    if (code > 0xFFFF) {
        out += QChar(QChar::highSurrogate(code));
        out += QChar(QChar::lowSurrogate(code));
    } else {
        out += QChar(static_cast<char16_t>(code));
    }
}

// Valid UTF-8 (no overlong form, no surrogate, nothing above U+10FFFF) with
// at least one character of more than one byte.
bool IsMultiByteUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    bool multi = false;
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        int more = 0;
        char32_t code = 0;
        char32_t least = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            more = 1;
            code = b & 0x1F;
            least = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            more = 2;
            code = b & 0x0F;
            least = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            more = 3;
            code = b & 0x07;
            least = 0x10000;
        } else {
            return false;
        }
        if (i + more >= n)
            return false;
        for (int k = 1; k <= more; ++k) {
            const unsigned char c = p[i + k];
            if ((c & 0xC0) != 0x80)
                return false;
            code = code << 6 | (c & 0x3F);
        }
        if (code < least || code > MaxCodePoint || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        multi = true;
        i += 1 + more;
    }
    return multi;
}

char16_t Utf16Unit(const QByteArray& bytes, qsizetype at, bool littleEndian) {
    const auto lo = static_cast<unsigned char>(bytes[littleEndian ? at : at + 1]);
    const auto hi = static_cast<unsigned char>(bytes[littleEndian ? at + 1 : at]);
    return static_cast<char16_t>(hi << 8 | lo);
}

// Units from `from` on, two bytes each; an odd last byte is dropped.
QString DecodeUtf16(const QByteArray& bytes, qsizetype from, bool littleEndian) {
    QString text;
    text.reserve((bytes.size() - from) / 2);
    for (qsizetype i = from; i + 1 < bytes.size(); i += 2)
        text += QChar(Utf16Unit(bytes, i, littleEndian));
    return text;
}

// Without a byte-order mark: text in UTF-16 of mostly Latin characters has a
// zero in half of its bytes, always on the same side, and its surrogates pair.
bool LooksLikeUtf16(const QByteArray& bytes, bool littleEndian) {
    if (bytes.size() < 2 || bytes.size() % 2 != 0)
        return false;
    qsizetype zeroHigh = 0;
    const qsizetype units = bytes.size() / 2;
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        const char low = bytes[littleEndian ? i : i + 1];
        const char high = bytes[littleEndian ? i + 1 : i];
        if (low == 0)
            return false;
        zeroHigh += high == 0;
    }
    if (zeroHigh * 2 < units)
        return false;
    const QString text = DecodeUtf16(bytes, 0, littleEndian);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isLowSurrogate())
            return false;
        if (text[i].isHighSurrogate()) {
            if (i + 1 >= text.size() || !text[i + 1].isLowSurrogate())
                return false;
            ++i;
        }
    }
    return true;
}

// The cp1251 bytes of a text with every character that has no byte, NUL,
// and the characters at the indexes of `forced` escaped.
QByteArray EncodeWithEscapes(QStringView text, const std::vector<qsizetype>& forced) {
    QByteArray bytes;
    bytes.reserve(text.size());
    QString escape;
    for (qsizetype i = 0; i < text.size();) {
        qsizetype units = 1;
        const char32_t code = CodePointAt(text, i, units);
        const int byte = units == 1 ? Cp1251Byte(static_cast<char16_t>(code)) : -1;
        const bool force = std::find(forced.begin(), forced.end(), i) != forced.end();
        if (byte <= 0 || force) {
            escape.clear();
            AppendEscape(escape, code);
            bytes += escape.toLatin1();
        } else {
            bytes += static_cast<char>(byte);
        }
        i += units;
    }
    return bytes;
}

} // namespace

TIniEncoding DetectIniEncoding(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return TIniEncoding::Utf8;
    if (bytes.startsWith("\xFF\xFE"))
        return TIniEncoding::Utf16LE;
    if (bytes.startsWith("\xFE\xFF"))
        return TIniEncoding::Utf16BE;
    if (bytes.contains('\0')) {
        if (LooksLikeUtf16(bytes, true))
            return TIniEncoding::Utf16LE;
        if (LooksLikeUtf16(bytes, false))
            return TIniEncoding::Utf16BE;
    }
    if (IsMultiByteUtf8(bytes))
        return TIniEncoding::Utf8;
    return TIniEncoding::Cp1251;
}

QString DecodeIniBytes(const QByteArray& bytes) {
    switch (DetectIniEncoding(bytes)) {
    case TIniEncoding::Utf8:
        return QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
    case TIniEncoding::Utf16LE:
        return DecodeUtf16(bytes, bytes.startsWith("\xFF\xFE") ? 2 : 0, true);
    case TIniEncoding::Utf16BE:
        return DecodeUtf16(bytes, bytes.startsWith("\xFE\xFF") ? 2 : 0, false);
    case TIniEncoding::Cp1251:
        break;
    }
    return DecodeCp1251(bytes);
}

QByteArray EncodeIniBytes(const QString& text) {
    std::vector<qsizetype> forced;
    for (;;) {
        const QByteArray bytes = EncodeWithEscapes(text, forced);
        if (DetectIniEncoding(bytes) == TIniEncoding::Cp1251)
            return bytes;
        // The first character still written as a byte above 0x7F: escaping it
        // breaks a byte-order mark or leaves the next byte of a UTF-8
        // sequence without its lead, so a single step settles it.
        qsizetype next = -1;
        for (qsizetype i = 0; i < text.size() && next < 0; ++i) {
            const char16_t c = text[i].unicode();
            if (c >= 0x80 && Cp1251Byte(c) > 0 &&
                std::find(forced.begin(), forced.end(), i) == forced.end())
                next = i;
        }
        if (next < 0)
            return bytes;
        forced.push_back(next);
    }
}

QString EscapeIniValue(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size();) {
        qsizetype units = 1;
        const char32_t code = CodePointAt(value, i, units);
        const bool lineBreak = code == u'\r' || code == u'\n';
        const bool noByte = units == 2 || Cp1251Byte(static_cast<char16_t>(code)) <= 0;
        if (code == u'&' && MatchEscape(value, i))
            AppendEscape(out, code);
        else if (lineBreak || noByte)
            AppendEscape(out, code);
        else
            out += value[i];
        i += units;
    }
    return out;
}

QString UnescapeIniValue(const QString& text) {
    if (!text.contains(u'&'))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (const auto escape = MatchEscape(text, i)) {
            AppendCodePoint(out, escape->Code);
            i += escape->Length;
        } else {
            out += text[i++];
        }
    }
    return out;
}
