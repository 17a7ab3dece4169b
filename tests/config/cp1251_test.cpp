#include "config/cp1251.h"
#include "qstring_printer.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

TEST(Cp1251, CyrillicTextHasItsSingleBytes) {
    EXPECT_EQ(EncodeCp1251(QStringLiteral("Спектр")), QByteArray("\xD1\xEF\xE5\xEA\xF2\xF0"));
    EXPECT_EQ(EncodeCp1251(QStringLiteral("Э")), QByteArray("\xDD"));
    EXPECT_EQ(EncodeCp1251(QStringLiteral("АЯая")), QByteArray("\xC0\xDF\xE0\xFF"));
    EXPECT_EQ(EncodeCp1251(QStringLiteral("Ёё№€мВ")), QByteArray("\xA8\xB8\xB9\x88\xEC\xC2"));
    EXPECT_EQ(DecodeCp1251(QByteArray("\xD1\xEF\xE5\xEA\xF2\xF0")), QStringLiteral("Спектр"));
    EXPECT_EQ(DecodeCp1251(QByteArray("C:\\\xC4\xE0\xED\xED\xFB\xE5")),
              QStringLiteral("C:\\Данные"));
}

TEST(Cp1251, EveryByteComesBackAsItWas) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const QString text = DecodeCp1251(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(EncodeCp1251(text), all);
    // No two bytes share a character.
    for (int a = 0; a < 256; ++a)
        for (int b = a + 1; b < 256; ++b)
            ASSERT_NE(text[a], text[b]) << a << " " << b;
}

TEST(Cp1251, CharactersOutsideTheCodePageBecomeOneQuestionMark) {
    EXPECT_EQ(EncodeCp1251(QStringLiteral("a中b")), QByteArray("a?b"));
    EXPECT_EQ(EncodeCp1251(QString::fromUtf8("x\xF0\x9F\x98\x80y")), QByteArray("x?y"));
    EXPECT_EQ(EncodeCp1251(QStringLiteral("é")), QByteArray("?"));
    // A lone half of a surrogate pair is one character too.
    EXPECT_EQ(EncodeCp1251(QString(QChar(0xD800))), QByteArray("?"));
}

} // namespace
