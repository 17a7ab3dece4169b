#include "exchange/ascii_text.h"

#include <array>

namespace {

// Russian, Ukrainian and Belarusian letters, lower case, in the practical
// transliteration of passports and maps: а..я (U+0430..U+044F), then ё, є,
// і, ї, ў and ґ.
constexpr std::array<const char*, 32> BasicLower = {
    "a", "b", "v", "g", "d", "e",  "zh", "z",  "i",  "y",    "k", "l", "m", "n", "o",  "p",
    "r", "s", "t", "u", "f", "kh", "ts", "ch", "sh", "shch", "",  "y", "",  "e", "yu", "ya"};

const char* ExtraLower(char16_t c) {
    switch (c) {
    case u'ё':
        return "e";
    case u'є':
        return "ye";
    case u'і':
        return "i";
    case u'ї':
        return "yi";
    case u'ў':
        return "u";
    case u'ґ':
        return "g";
    default:
        return nullptr;
    }
}

// The Latin letters of a Cyrillic letter, or nullptr when c is none.
const char* CyrillicLatin(QChar c, bool& upper) {
    upper = c.isUpper();
    const char16_t lower = c.toLower().unicode();
    if (lower >= u'а' && lower <= u'я')
        return BasicLower[lower - u'а'];
    return ExtraLower(lower);
}

QString Capitalised(const char* latin, bool wholeWordUpper) {
    QString s = QString::fromLatin1(latin);
    if (s.isEmpty())
        return s;
    if (wholeWordUpper)
        return s.toUpper();
    s[0] = s[0].toUpper();
    return s;
}

// The ASCII letters of a character with diacritics ("é" gives "e"); empty
// when its decomposition holds no ASCII letter.
QString WithoutDiacritics(QChar c) {
    QString ascii;
    for (const QChar part : QString(c).normalized(QString::NormalizationForm_KD)) {
        if (part.unicode() >= 0x20 && part.unicode() < 0x7F)
            ascii += part;
    }
    return ascii;
}

} // namespace

QString AsciiText(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text[k];
        const ushort u = c.unicode();
        if (u >= 0x20 && u < 0x7F) {
            out += c;
            continue;
        }
        if (u < 0x20 || (u >= 0x7F && u < 0xA0) || c.category() == QChar::Other_Format ||
            c.isSpace()) {
            out += u' ';
            continue;
        }
        if (c.isHighSurrogate()) { // a character beyond the first plane
            out += u'?';
            k += k + 1 < text.size() && text[k + 1].isLowSurrogate() ? 1 : 0;
            continue;
        }
        bool upper = false;
        if (const char* latin = CyrillicLatin(c, upper)) {
            // "ЩИ" and "БОРЩ" are "SHCHI" and "BORSHCH", "Щи" is "Shchi": a
            // capital within capitals is spelled in capitals.
            const bool nextUpper = k + 1 < text.size() && text[k + 1].isUpper();
            const bool nextLower = k + 1 < text.size() && text[k + 1].isLower();
            const bool prevUpper = k > 0 && text[k - 1].isUpper();
            out += upper ? Capitalised(latin, nextUpper || (prevUpper && !nextLower))
                         : QString::fromLatin1(latin);
            continue;
        }
        if (u == 0x2116) { // №
            out += QStringLiteral("No");
            continue;
        }
        if (u == 0xB5 || u == 0x3BC) { // micro sign, Greek mu
            out += u'u';
            continue;
        }
        const QString plain = WithoutDiacritics(c);
        out += plain.isEmpty() ? QStringLiteral("?") : plain;
    }
    return out;
}
