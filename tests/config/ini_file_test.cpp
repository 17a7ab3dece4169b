#include "config/ini_file.h"
#include "qstring_printer.h"

#include <gtest/gtest.h>

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

TEST(IniFile, WrittenValuesReadBackAsTheyWere) {
    TIniFile ini;
    const QStringList values = {"",   " lead", "trail ", "\"quoted\"",
                                "\"", "a=b",   "x;y",    QStringLiteral("Спектр")};
    for (int i = 0; i < values.size(); ++i)
        ini.SetValue("S", QString::number(i), values[i]);
    const TIniFile back = TIniFile::FromBytes(ini.ToBytes());
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(back.Value("S", QString::number(i)), values[i]) << i;

    // A line break would start a new line of the file: it becomes a blank.
    ini.SetValue("S", "Path", "a\r\nb\nc");
    EXPECT_EQ(TIniFile::FromBytes(ini.ToBytes()).Value("S", "Path"), QString("a  b c"));
}

TEST(IniFile, EndingsAndEncodings) {
    const TIniFile lf = Ini("[S]\nA=1\r\nB=2");
    EXPECT_EQ(lf.Value("S", "A"), QString("1"));
    EXPECT_EQ(lf.Value("S", "B"), QString("2"));
    EXPECT_EQ(lf.ToBytes(), QByteArray("[S]\r\nA=1\r\nB=2\r\n"));

    const TIniFile cyr = Ini("[S]\r\nName=\xDD\r\n");
    EXPECT_EQ(cyr.Value("S", "Name"), QStringLiteral("Э"));
    // A file a text editor saved as UTF-8 with a byte-order mark.
    const TIniFile utf8 = TIniFile::FromBytes(QByteArray("\xEF\xBB\xBF[S]\nName=") +
                                              QStringLiteral("Спектр").toUtf8());
    EXPECT_EQ(utf8.Value("S", "Name"), QStringLiteral("Спектр"));
    EXPECT_EQ(utf8.ToBytes(), QByteArray("[S]\r\nName=\xD1\xEF\xE5\xEA\xF2\xF0\r\n"));

    EXPECT_EQ(Ini("").ToBytes(), QByteArray());
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
