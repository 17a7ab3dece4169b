#include "config/ini_file.h"
#include "config/ini_text.h"
#include "qstring_printer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

namespace {

TIniFile Ini(const char* text) {
    return TIniFile::FromBytes(QByteArray(text));
}

TEST(IniFile, NamesMatchWithoutRegardToCaseAndTheFirstWins) {
    const TIniFile ini = Ini("[Main]\nPoleMin=5\npolemin=6\n[MAIN]\nViewMin=7\n");
    EXPECT_EQ(ini.Value("main", "POLEMIN"), QString("5"));
    EXPECT_FALSE(ini.HasKey("Main", "ViewMin")); // the second "[MAIN]" is never read
    EXPECT_FALSE(ini.HasKey("Other", "PoleMin"));
}

TEST(IniFile, ValuesAreTrimmedAndUnquoted) {
    const TIniFile ini =
        Ini("[S]\n  A = 1 2 \nB=\"  x \"\nC=\"\nD=\n; E=3\n#F=4\nno key line\n=5\n");
    EXPECT_EQ(ini.Value("S", "A"), QString("1 2"));
    EXPECT_EQ(ini.Value("S", "B"), QString("  x "));
    EXPECT_EQ(ini.Value("S", "C"), QString("\""));
    EXPECT_EQ(ini.Value("S", "D"), QString(""));
    EXPECT_FALSE(ini.HasKey("S", "; E"));
    EXPECT_FALSE(ini.HasKey("S", "E"));
    EXPECT_FALSE(ini.HasKey("S", "#F"));
    EXPECT_FALSE(ini.HasKey("S", ""));
}

TEST(IniFile, KeysBeforeTheFirstSectionBelongToNone) {
    const TIniFile ini = Ini("A=1\n[S]\nB=2\n");
    EXPECT_FALSE(ini.HasKey("", "A"));
    EXPECT_EQ(ini.ToBytes(), QByteArray("A=1\r\n[S]\r\nB=2\r\n"));
}

TEST(IniFile, WritingChangesOnlyTheKeysLine) {
    TIniFile ini = Ini("; head\r\n[Main]\r\n; note\r\nFoo=bar\r\npolemin=5\r\n\r\n[Extra]\nX=1\n");
    ini.SetValue("Main", "PoleMin", "9"); // in place, the file's spelling kept
    ini.SetValue("Main", "ViewMin", "3"); // after the section's last key
    ini.SetValue("Empty", "K", "v");      // a new section at the end
    ini.SetValue("extra", "Y", "2");
    EXPECT_EQ(ini.ToBytes(), QByteArray("; head\r\n[Main]\r\n; note\r\nFoo=bar\r\npolemin=9\r\n"
                                        "ViewMin=3\r\n\r\n[Extra]\r\nX=1\r\nY=2\r\n"
                                        "[Empty]\r\nK=v\r\n"));
}

TEST(IniFile, KeyIntoASectionWithoutKeysStaysBeforeItsBlankLines) {
    TIniFile ini = Ini("[A]\r\n; only a comment\r\n\r\n[B]\r\n");
    ini.SetValue("A", "K", "1");
    EXPECT_EQ(ini.ToBytes(), QByteArray("[A]\r\n; only a comment\r\nK=1\r\n\r\n[B]\r\n"));
}

// Every value comes back exactly, in a file that stays cp1251 wherever
// cp1251 holds the text: what it cannot hold is escaped in place.
TEST(IniFile, WrittenValuesReadBackAsTheyWere) {
    const QStringList values = {
        "",
        " lead",
        "trail ",
        "\"quoted\"",
        "\"",
        "a=b",
        "x;y",
        QStringLiteral("Спектр"),
        QStringLiteral("/home/josé/данные"),
        QStringLiteral("Ωμέγα 中文 \U0001F600"),
        "a\r\nb\nc",
        "x\ry\r",
        "&#x41; &#xE9; &#x; & &#x110000; &#x41",
        QString(QChar(0xD800)) + "lone",
        QString(QChar(0)) + "nul",
        QStringLiteral("\u2003em space\u2003"),
    };
    TIniFile ini;
    for (int i = 0; i < values.size(); ++i)
        ini.SetValue("S", QString::number(i), values[i]);
    const QByteArray bytes = ini.ToBytes();
    const TIniFile back = TIniFile::FromBytes(bytes);
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(back.Value("S", QString::number(i)), values[i]) << i;
    // One line per key; the readable parts stay as they were.
    EXPECT_EQ(bytes.count("\r\n"), values.size() + 1);
    EXPECT_TRUE(bytes.contains("\r\n8=/home/jos&#xE9;/\xE4\xE0\xED\xED\xFB\xE5\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n10=a&#xD;&#xA;b&#xA;c\r\n"));
    EXPECT_TRUE(bytes.contains("&#x1F600;"));
}

TEST(IniFile, EndingsAndEncodings) {
    const TIniFile lf = Ini("[S]\nA=1\r\nB=2");
    EXPECT_EQ(lf.Value("S", "A"), QString("1"));
    EXPECT_EQ(lf.Value("S", "B"), QString("2"));
    EXPECT_EQ(lf.ToBytes(), QByteArray("[S]\r\nA=1\r\nB=2\r\n"));
    EXPECT_EQ(Ini("").ToBytes(), QByteArray());

    // The same file as a text editor may save it; each is read as it was
    // meant and written back in cp1251.
    const QString text = QStringLiteral("[S]\r\nName=Спектр\r\nPath=/home/josé\r\n");
    const QByteArray cp1251("[S]\r\nName=\xD1\xEF\xE5\xEA\xF2\xF0\r\nPath=/home/jos&#xE9;\r\n");
    auto utf16 = [&](bool little, bool bom) {
        QByteArray b = bom ? QByteArray(little ? "\xFF\xFE" : "\xFE\xFF") : QByteArray();
        for (QChar c : text) {
            const char lo = static_cast<char>(c.unicode() & 0xFF);
            const char hi = static_cast<char>(c.unicode() >> 8);
            b += little ? lo : hi;
            b += little ? hi : lo;
        }
        return b;
    };
    const QByteArray forms[] = {cp1251,
                                "\xEF\xBB\xBF" + text.toUtf8(),
                                text.toUtf8(),
                                utf16(true, true),
                                utf16(false, true),
                                utf16(true, false),
                                utf16(false, false)};
    for (const QByteArray& form : forms) {
        const TIniFile ini = TIniFile::FromBytes(form);
        EXPECT_EQ(ini.Value("S", "Name"), QStringLiteral("Спектр")) << form.toHex().toStdString();
        EXPECT_EQ(ini.Value("S", "Path"), QStringLiteral("/home/josé"));
        EXPECT_EQ(ini.ToBytes(), cp1251);
    }

    // cp1251 text that happens to be valid UTF-8 ("ВЁ" is C2 A8), or that
    // begins like a byte-order mark ("яю" is FF FE), is written so that it
    // is still read as cp1251.
    for (const QString& t : {QStringLiteral("K=ВЁ"), QStringLiteral("яю=1"), QStringLiteral("юя=1"),
                             QStringLiteral("п»ї=1")}) {
        const QByteArray bytes = EncodeIniBytes(t);
        EXPECT_EQ(DetectIniEncoding(bytes), TIniEncoding::Cp1251) << t.toStdString();
        EXPECT_EQ(UnescapeIniValue(DecodeIniBytes(bytes)), t);
    }
}

TEST(IniValues, Integers) {
    EXPECT_EQ(ParseIniInteger("123"), 123);
    EXPECT_EQ(ParseIniInteger(" -136 "), -136);
    EXPECT_EQ(ParseIniInteger("+7"), 7);
    EXPECT_EQ(ParseIniInteger("0x1F"), 31);
    EXPECT_EQ(ParseIniInteger("0XfF"), 255);
    EXPECT_EQ(ParseIniInteger("$ff"), 255);
    EXPECT_EQ(ParseIniInteger("-$10"), -16);
    EXPECT_EQ(ParseIniInteger("$FFFFFFFF"), -1);
    EXPECT_EQ(ParseIniInteger("0x80000000"), INT32_MIN);
    EXPECT_EQ(ParseIniInteger("2147483647"), INT32_MAX);
    EXPECT_EQ(ParseIniInteger("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseIniInteger("007"), 7);
    for (const char* bad : {"", " ", "-", "0x", "$", "2147483648", "-2147483649", "0x100000000",
                            "12abc", "1 2", "1.5", "true", "$-5", "0x-5", "--1", "١٢"})
        EXPECT_FALSE(ParseIniInteger(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(IniValues, FloatsWithEitherSeparator) {
    const QChar comma(',');
    EXPECT_EQ(ParseIniFloat("1,5", comma), 1.5);
    EXPECT_EQ(ParseIniFloat("1.5", comma), 1.5);
    EXPECT_EQ(ParseIniFloat("1,5", QChar('.')), 1.5);
    EXPECT_EQ(ParseIniFloat("-0,001", comma), -0.001);
    EXPECT_EQ(ParseIniFloat("65519", comma), 65519);
    EXPECT_EQ(ParseIniFloat("7,63137410522139E-5", comma), 7.63137410522139e-5);
    EXPECT_EQ(ParseIniFloat("1e3", comma), 1000);
    EXPECT_EQ(ParseIniFloat("1E+3", comma), 1000);
    EXPECT_EQ(ParseIniFloat(",5", comma), 0.5);
    EXPECT_EQ(ParseIniFloat("5,", comma), 5);
    EXPECT_EQ(ParseIniFloat(" 2 ", comma), 2);
    for (const char* bad : {"", ",", "-", "abc", "1,2,3", "1,2.3", "1e", "1e+", "e5", "1e999",
                            "-1e999", "inf", "NAN", "INF", "0x10", "1 2", "1;5"})
        EXPECT_FALSE(ParseIniFloat(QString::fromUtf8(bad), comma).has_value()) << bad;
}

TEST(IniValues, FloatsWriteFifteenDigitsAndReadBack) {
    const QChar comma(',');
    EXPECT_EQ(FormatIniFloat(5.0 / 65519, comma), "0,0000763137410522139");
    EXPECT_EQ(FormatIniFloat(5e-6 / 65519, comma), "7,63137410522139E-11");
    EXPECT_EQ(FormatIniFloat(3000, comma), "3000");
    EXPECT_EQ(FormatIniFloat(-0.5, QChar('.')), "-0.5");
    EXPECT_EQ(FormatIniFloat(1e15, comma), "1E15");
    for (double v : {5.0 / 65519, 20.0 / 4094, 3360.125, -1e-300, 1e300, 0.1, 123456789012345.0}) {
        const auto back = ParseIniFloat(FormatIniFloat(v, comma), comma);
        ASSERT_TRUE(back.has_value()) << v;
        EXPECT_NEAR(*back, v, std::abs(v) * 1e-14) << v;
    }
    // 15 digits would round these past the largest double: they get the
    // digits that read back. Its 15-digit neighbours below keep 15 digits.
    const double max = std::numeric_limits<double>::max();
    EXPECT_EQ(FormatIniFloat(max, comma), "1,7976931348623157E308");
    EXPECT_EQ(FormatIniFloat(-max, QChar('.')), "-1.7976931348623157E308");
    EXPECT_EQ(FormatIniFloat(1.79769313486231e308, comma), "1,79769313486231E308");
    for (double v :
         {max, -max, std::nextafter(max, 0.0), std::numeric_limits<double>::denorm_min()})
        EXPECT_EQ(ParseIniFloat(FormatIniFloat(v, comma), comma), v) << v;
}

TEST(IniFile, TypedReadsFallBackToTheDefault) {
    const TIniFile ini = Ini("[S]\nI=0x10\nB=5\nZ=0\nG=yes\nF=2,5\nBad=1..\n");
    EXPECT_EQ(ini.ReadInteger("S", "I", 3), 16);
    EXPECT_EQ(ini.ReadInteger("S", "G", 3), 3);
    EXPECT_EQ(ini.ReadInteger("S", "Missing", 3), 3);
    EXPECT_TRUE(ini.ReadBool("S", "B", false));
    EXPECT_FALSE(ini.ReadBool("S", "Z", true));
    EXPECT_TRUE(ini.ReadBool("S", "G", true));
    EXPECT_FALSE(ini.ReadBool("S", "G", false));
    EXPECT_EQ(ini.ReadFloat("S", "F", 1, QChar(',')), 2.5);
    EXPECT_EQ(ini.ReadFloat("S", "Bad", 1, QChar(',')), 1);
    EXPECT_EQ(ini.ReadString("S", "Missing", "d"), "d");
}

} // namespace
