#include "config/cp1251.h"
#include "qstring_printer.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

QByteArray Encode(const QString& text) {
    QByteArray bytes;
    for (QChar c : text)
        bytes += static_cast<char>(Cp1251Byte(c.unicode()));
    return bytes;
}

TEST(Cp1251, CyrillicTextHasItsSingleBytes) {
    EXPECT_EQ(Encode(QStringLiteral("Спектр")), QByteArray("\xD1\xEF\xE5\xEA\xF2\xF0"));
    EXPECT_EQ(Encode(QStringLiteral("АЯая")), QByteArray("\xC0\xDF\xE0\xFF"));
    EXPECT_EQ(Encode(QStringLiteral("Ёё№€мВ")), QByteArray("\xA8\xB8\xB9\x88\xEC\xC2"));
    EXPECT_EQ(DecodeCp1251(QByteArray("C:\\\xC4\xE0\xED\xED\xFB\xE5")),
              QStringLiteral("C:\\Данные"));
    for (char16_t c : {u'é', u'中', u'Ω', char16_t(0xD800), char16_t(0xFFFD)})
        EXPECT_EQ(Cp1251Byte(c), -1) << int(c);
}

TEST(Cp1251, EveryByteComesBackAsItWas) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const QString text = DecodeCp1251(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(Encode(text), all);
    // No two bytes share a character.
    for (int a = 0; a < 256; ++a)
        for (int b = a + 1; b < 256; ++b)
            ASSERT_NE(text[a], text[b]) << a << " " << b;
}

} // namespace
