// The settings file Kav.ini: its lines and sections, the typed values, the
// code page cp1251 it is kept in, and every setting saved and loaded.
#include "config/cp1251.h"
#include "config/ini_file.h"
#include "config/ini_text.h"
#include "config/port_name.h"
#include "config/settings_store.h"
#include "disk_limits.h"
#include "qstring_printer.h"
#include "temp_files.h"

#include <QFileInfo>
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TIniFile Ini(const char* text) {
    return TIniFile::FromBytes(QByteArray(text));
}

// Names match without regard to case and the first wins (the second "[MAIN]"
// is never read); values are trimmed and unquoted; comments, lines without a
// name and keys before the first section give no key.
TEST(IniFile, NamesAndValuesAsRead) {
    const TIniFile ini = Ini("A=1\n[Main]\nPoleMin=5\npolemin=6\n[MAIN]\nViewMin=7\n[S]\n  A = 1 2 "
                             "\nB=\"  x \"\nC=\"\nD=\n; E=3\n#F=4\nno key line\n=5\n");
    const struct {
        const char *Section, *Key, *Value; // nullptr: no such key
    } cases[] = {
        {"main", "POLEMIN", "5"}, {"Main", "ViewMin", nullptr}, {"Other", "PoleMin", nullptr},
        {"S", "A", "1 2"},        {"S", "B", "  x "},           {"S", "C", "\""},
        {"S", "D", ""},           {"S", "; E", nullptr},        {"S", "E", nullptr},
        {"S", "#F", nullptr},     {"S", "", nullptr},           {"", "A", nullptr},
    };
    for (const auto& c : cases) {
        if (c.Value)
            EXPECT_EQ(ini.Value(c.Section, c.Key), QString(c.Value)) << c.Key;
        else
            EXPECT_FALSE(ini.HasKey(c.Section, c.Key)) << c.Section << " " << c.Key;
    }
    EXPECT_EQ(Ini("A=1\n[S]\nB=2\n").ToBytes(), QByteArray("A=1\r\n[S]\r\nB=2\r\n"));
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
    // Into a section without keys: before its blank lines.
    ini = Ini("[A]\r\n; only a comment\r\n\r\n[B]\r\n");
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
    const std::pair<const char*, int> good[] = {{"123", 123},
                                                {" -136 ", -136},
                                                {"+7", 7},
                                                {"0x1F", 31},
                                                {"0XfF", 255},
                                                {"$ff", 255},
                                                {"-$10", -16},
                                                {"$FFFFFFFF", -1},
                                                {"0x80000000", INT32_MIN},
                                                {"007", 7},
                                                {"2147483647", INT32_MAX},
                                                {"-2147483648", INT32_MIN}};
    for (const auto& [text, value] : good)
        EXPECT_EQ(ParseIniInteger(text), value) << text;
    for (const char* bad : {"", " ", "-", "0x", "$", "2147483648", "-2147483649", "0x100000000",
                            "12abc", "1 2", "1.5", "true", "$-5", "0x-5", "--1", "١٢"})
        EXPECT_FALSE(ParseIniInteger(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(IniValues, FloatsWithEitherSeparator) {
    const QChar comma(',');
    EXPECT_EQ(ParseIniFloat("1,5", QChar('.')), 1.5);
    const std::pair<const char*, double> good[] = {
        {"1,5", 1.5},       {"1.5", 1.5},
        {"-0,001", -0.001}, {"65519", 65519},
        {"1e3", 1000},      {"1E+3", 1000},
        {",5", 0.5},        {"5,", 5},
        {" 2 ", 2},         {"7,63137410522139E-5", 7.63137410522139e-5}};
    for (const auto& [text, value] : good)
        EXPECT_EQ(ParseIniFloat(text, comma), value) << text;
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

QByteArray Encode(const QString& text) {
    QByteArray bytes;
    for (QChar c : text)
        bytes += static_cast<char>(Cp1251Byte(c.unicode()));
    return bytes;
}

TEST(Cp1251, CyrillicTextHasItsSingleBytesAndEveryByteComesBack) {
    EXPECT_EQ(Encode(QStringLiteral("Спектр")), QByteArray("\xD1\xEF\xE5\xEA\xF2\xF0"));
    EXPECT_EQ(Encode(QStringLiteral("АЯая")), QByteArray("\xC0\xDF\xE0\xFF"));
    EXPECT_EQ(Encode(QStringLiteral("Ёё№€мВ")), QByteArray("\xA8\xB8\xB9\x88\xEC\xC2"));
    EXPECT_EQ(DecodeCp1251(QByteArray("C:\\\xC4\xE0\xED\xED\xFB\xE5")),
              QStringLiteral("C:\\Данные"));
    for (char16_t c : {u'é', u'中', u'Ω', char16_t(0xD800), char16_t(0xFFFD)})
        EXPECT_EQ(Cp1251Byte(c), -1) << int(c);

    // Every byte comes back as it was, so no two bytes share a character.
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const QString text = DecodeCp1251(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(Encode(text), all);
}

const QChar Comma(',');

// The lines of a file written with CRLF endings.
QList<QByteArray> Lines(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    for (QByteArray& l : lines)
        l.chop(l.endsWith('\r') ? 1 : 0);
    return lines;
}

QList<QByteArray> SectionHeaders(const QByteArray& bytes) {
    QList<QByteArray> out;
    for (const QByteArray& l : Lines(bytes))
        if (l.startsWith('['))
            out << l;
    return out;
}

// Key names of one section, in file order.
QList<QByteArray> KeysOf(const QByteArray& bytes, const QByteArray& section) {
    QList<QByteArray> out;
    bool inside = false;
    for (const QByteArray& l : Lines(bytes)) {
        if (l.startsWith('['))
            inside = l == "[" + section + "]";
        else if (inside && l.contains('='))
            out << l.left(l.indexOf('='));
    }
    return out;
}

// Floats go to the file with 15 significant digits: a unit's derived line
// comes back within that precision, everything else exactly.
void ExpectSameSettings(TKavCfg loaded, const TKavCfg& saved) {
    auto near = [](auto& a, const auto& b) {
        for (std::size_t i = 0; i < a.size(); ++i) {
            EXPECT_NEAR(a[i].KoeffK, b[i].KoeffK, std::abs(b[i].KoeffK) * 1e-14) << i;
            EXPECT_NEAR(a[i].KoeffB, b[i].KoeffB, std::abs(b[i].KoeffB) * 1e-14 + 1e-300) << i;
            a[i].KoeffK = b[i].KoeffK;
            a[i].KoeffB = b[i].KoeffB;
        }
    };
    near(loaded.RazvUnits, saved.RazvUnits);
    near(loaded.AmpUnits, saved.AmpUnits);
    near(loaded.CorrUnits, saved.CorrUnits);
    near(loaded.ADCUnits, saved.ADCUnits);
    EXPECT_TRUE(loaded == saved);
}

class SettingsStore : public ::testing::Test {
protected:
    SettingsStore() { SetDefaults(Defaults, "/start"); }

    // A record with its defaults loaded from the test file.
    TKavCfg Load(TRecentFiles* recent = nullptr, QChar sep = Comma) {
        TKavCfg cfg{};
        SetDefaults(cfg, "/start");
        TRecentFiles scratch;
        LoadSettings(cfg, recent ? *recent : scratch, Path, sep);
        return cfg;
    }
    TKavCfg LoadText(const QByteArray& text, TRecentFiles* recent = nullptr) {
        Files.Write(Path, text);
        return Load(recent);
    }
    QByteArray Saved() const { return Files.Read(Path); }
    QList<QByteArray> SavedLines() const { return Lines(Saved()); }

    TTempFiles Files;
    const QString Dir = Files.Dir.path();
    QString Path = Files.Path("Kav.ini");
    TKavCfg Defaults{};
};

TEST_F(SettingsStore, FirstSaveWritesEverySectionInOrderAsCp1251WithCrlf) {
    ASSERT_TRUE(SaveSettings(Defaults, {}, Path, Comma));
    const QByteArray bytes = Saved();
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    EXPECT_TRUE(bytes.endsWith("\r\n"));

    EXPECT_EQ(SectionHeaders(bytes).join(' '),
              "[Position] [MsgWindow] [ADCWindow] [RazvUnit0] [RazvUnit1] [RazvUnit2] [RazvUnit3] "
              "[AmpUnit0] [AmpUnit1] [CorrUnit0] [CorrUnit1] [ADCUnit0] [ADCUnit1] [ADCUnit2] "
              "[ADCUnit3] [ADCUnit4] [DisplayColors] [PrinterColors] [BMPColors] [Port] [Main] "
              "[LineFit] [Compare]");
    const std::pair<const char*, const char*> keys[] = {
        {"MsgWindow", "Top Left Width Height Visible State Style"},
        {"RazvUnit1", "X1 X2 KoeffK KoeffB Name"},
        {"BMPColors", "BackGround Border Graph AddGraph Text ADC2 Grid Visir1 Visir2 FitGraph "
                      "FitResidual RefGraph DiffGraph"},
        {"Port", "PortName BaudRate Parity StopBits RTSControl DTRControl DSRControl CTSControl "
                 "DSRSensitivity TimeOut SlaveAddress"},
        {"Main", "PoleMin PoleMax ViewMin ViewMax Amplifying Rapid Correction WorkDir LastOpen "
                 "Visir1 Visir2 ToolBar VisKoord1 VisKoord2 Mode ADCFreq ADCEnable RazvUnit "
                 "AmpUnit CorrUnit ADCUnit AutoSave SaveStep NameMask NumbMask EnableRTLPF "
                 "EnableRTSum RTLPFConst RTNumb FindMaxNoise FindMaxStep LPFConst GlissConst "
                 "AutoGliss AutoMinMax AutoTibaTitan ShowFirst Orientation PrnL PrnR PrnT PrnB"},
        {"LineFit", "LineCount LineShape FrequencyMHz"},
    };
    for (const auto& [section, names] : keys)
        EXPECT_EQ(KeysOf(bytes, section).join(' '), names) << section;

    const QList<QByteArray> lines = Lines(bytes);
    for (const QByteArray& line :
         QByteArray("NameMask=\xD1\xEF\xE5\xEA\xF2\xF0 Name=\xDD Name=\xEC\xC2 VisKoord2=65400 "
                    "Visible=0 Style=3 PortName=COM1 BaudRate=5 TimeOut=1000 Graph=65535 "
                    "BackGround=16777215 X2=65519 X1=-2047 KoeffK=0,0000763137410522139 KoeffB=0 "
                    "WorkDir=/start LastOpen= Mode=1 Orientation=1 PrnB=15 LineCount=1 "
                    "LineShape=0 FrequencyMHz=0")
             .split(' '))
        EXPECT_TRUE(lines.contains(line)) << line.toStdString();
}

TEST_F(SettingsStore, EveryFieldComesBackThroughTheFile) {
    TKavCfg cfg = Defaults;
    cfg.Position = {-5, 20, 600, 800, false, TWindowState::Maximized, StaysOnTopStyle};
    cfg.ADCWindow = {1, 2, 3, 4, true, TWindowState::Minimized, 0};
    const QString device = "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0";
    cfg.Port = {device, 11, 2, 1, 3, 2, true, false, true, 250, 7}; // a device path kept whole
    cfg.PoleMin = -100;
    cfg.PoleMax = 60000;
    cfg.Rapid = 3;
    cfg.Amplifying = 7;
    cfg.Correction = -1234;
    // Texts cp1251 cannot hold come back too, line breaks included.
    cfg.WorkDir = QStringLiteral("/home/josé/Данные");
    cfg.LastOpen = QStringLiteral("/home/josé/Данные/Спектр 5.kav");
    cfg.ToolBar = false;
    cfg.Visir2 = true;
    cfg.VisKoord1 = 65535;
    cfg.Mode = false;
    cfg.ADCFreq = 250;
    cfg.RazvUnit = 3;
    cfg.ADCUnit = 4;
    cfg.RazvUnits[3].X1 = 3360.125;
    cfg.RazvUnits[3].Name = QStringLiteral("Гс");
    ASSERT_TRUE(CalcUnitKoeff(cfg.RazvUnits[3], 0, 65519));
    cfg.RazvUnits[2].Name = QStringLiteral("µТл");
    cfg.AmpUnits[1].X2 = -1.5e-7;
    cfg.AmpUnits[1].Name = QStringLiteral("Ωμ\r\nV");
    // 15 digits would round the largest doubles past it.
    cfg.CorrUnits[1].X1 = -std::numeric_limits<double>::max();
    cfg.CorrUnits[1].X2 = std::numeric_limits<double>::max();
    cfg.ADCUnits[4].X2 = std::numeric_limits<double>::denorm_min();
    cfg.NameMask = QStringLiteral("Образец № 中\r");
    cfg.NumbMask = 42;
    cfg.FindMaxStep = 65000;
    cfg.AutoTibaTitan = true;
    cfg.DisplayColors.Visir2 = 0x123456;
    cfg.PrinterColors.DiffGraph = 0x654321;
    cfg.BMPColors.FitGraph = 0xABCDEF;
    cfg.DisplayColors.FitResidual = 0x010203;
    cfg.DisplayColors.RefGraph = 0;
    cfg.Orientation = 0;
    cfg.PrnR = -3;
    cfg.Fit = TFitSettings{3, TLineShape::Voigt, 9412.0625};
    const TRecentFiles recent = {"/a/1.kav", QStringLiteral("/б/2.kav"),
                                 QStringLiteral("/home/Σοφία/3.kav")};

    ASSERT_TRUE(SaveSettings(cfg, recent, Path, Comma));
    // The file is cp1251 with the other characters escaped in place.
    EXPECT_TRUE(SavedLines().contains("WorkDir=/home/jos&#xE9;/\xC4\xE0\xED\xED\xFB\xE5"));
    TRecentFiles back;
    const TKavCfg loaded = Load(&back);
    // Not stored: the snapshot copies, the scale step, the resonator frequency.
    TKavCfg expected = cfg;
    std::copy_n(Defaults.RazvUnits.begin() + 4, 4, expected.RazvUnits.begin() + 4);
    std::copy_n(Defaults.ADCUnits.begin() + 5, 5, expected.ADCUnits.begin() + 5);
    ExpectSameSettings(loaded, expected);
    EXPECT_EQ(back, recent);

    // A second save of what was read gives the same bytes.
    const QByteArray first = Saved();
    ASSERT_TRUE(SaveSettings(loaded, back, Path, Comma));
    EXPECT_EQ(Saved(), first);
}

// A file of the nine plot colours (written before the fit and comparison
// colours were) reads them and keeps the defaults of the new four; a save
// keeps the nine in their lines and order and adds the four after them.
TEST_F(SettingsStore, ColourSetsWithoutTheAnalysisColoursReadTheirDefaults) {
    Files.Write(Path, "[PrinterColors]\r\nBackGround=1\r\nBorder=2\r\nGraph=3\r\n"
                      "AddGraph=4\r\nText=5\r\nADC2=6\r\nGrid=7\r\nVisir1=8\r\nVisir2=9\r\n"
                      "[DisplayColors]\r\nFitGraph=77\r\n");
    TKavCfg cfg = Load();
    const TColorSet& d = Defaults.PrinterColors;
    const TColorSet printer{1,          2,          3, 4, 5, 6, 7, 8, 9, d.FitGraph, d.FitResidual,
                            d.RefGraph, d.DiffGraph};
    EXPECT_EQ(cfg.PrinterColors, printer);
    TColorSet display = Defaults.DisplayColors;
    display.FitGraph = 77;
    EXPECT_EQ(cfg.DisplayColors, display);
    EXPECT_EQ(cfg.BMPColors, Defaults.BMPColors);
    // Each set's four new colours differ from its background and from one
    // another, so that every trace can be seen.
    for (const TColorSet& set :
         {Defaults.DisplayColors, Defaults.PrinterColors, Defaults.BMPColors}) {
        const TColorValue added[] = {set.FitGraph, set.FitResidual, set.RefGraph, set.DiffGraph};
        for (std::size_t i = 0; i < std::size(added); ++i) {
            EXPECT_NE(added[i], set.BackGround) << i;
            EXPECT_NE(added[i], set.Graph) << i;
            for (std::size_t j = i + 1; j < std::size(added); ++j)
                EXPECT_NE(added[i], added[j]) << i << ' ' << j;
        }
    }

    ASSERT_TRUE(SaveSettings(cfg, {}, Path, Comma));
    EXPECT_EQ(KeysOf(Saved(), "PrinterColors").join(' '),
              "BackGround Border Graph AddGraph Text ADC2 Grid Visir1 Visir2 FitGraph FitResidual "
              "RefGraph DiffGraph");
    EXPECT_EQ(Load().PrinterColors, printer);
}

TEST_F(SettingsStore, KeysTheSaveDoesNotWriteStayWithTheirLines) {
    Files.Write(Path, "; written by hand\r\n[Main]\r\n; the bounds\r\nFoo=bar\r\nPoleMin=5\r\n"
                      "\r\n[Extra]\r\nX=\xC0\r\n[RecentFiles]\r\n7=/far.kav\r\n");
    TKavCfg cfg = Load();
    EXPECT_EQ(cfg.PoleMin, 5);
    cfg.PoleMin = 6;
    ASSERT_TRUE(SaveSettings(cfg, {"/near.kav"}, Path, Comma));
    const QList<QByteArray> lines = SavedLines();
    const QList<QByteArray> kept = {
        "; written by hand", "[Main]", "; the bounds",  "Foo=bar",    "PoleMin=6",
        "[Extra]",           "X=\xC0", "[RecentFiles]", "7=/far.kav", "0=/near.kav"};
    qsizetype at = 0;
    for (const QByteArray& line : kept) {
        const qsizetype found = lines.indexOf(line, at);
        ASSERT_GE(found, at) << line.toStdString();
        at = found + 1;
    }
}

TEST_F(SettingsStore, HandEditedValuesKeepLowBitsOrTakeTheDefault) {
    const TKavCfg cfg = LoadText("[main]\r\nVISKOORD2=-136\r\nRapid=300\r\nAmplifying=-1\r\n"
                                 "FindMaxNoise=0x10005\r\nPoleMax=$FF\r\nCorrection=0x10\r\n"
                                 "ADCFreq=abc\r\nmode=5\r\nToolBar=0\r\nVisir1=yes\r\n"
                                 "SaveStep=99999999999\r\nRazvUnit=258\r\nOrientation=7\r\n"
                                 "[RazvUnit3]\r\nName=ABCDEFGHIJ\r\nX1=3,5e2\r\nX2=1.2.3\r\n"
                                 "[Port]\r\nPortName=COM12345678901\r\nBaudRate=25\r\n"
                                 "[DisplayColors]\r\nGraph=$FFFFFFFF\r\n");
    EXPECT_EQ(cfg.VisKoord2, 65400);
    EXPECT_EQ(cfg.Rapid, 44);
    EXPECT_EQ(cfg.Amplifying, 255);
    EXPECT_EQ(cfg.FindMaxNoise, 5);
    EXPECT_EQ(cfg.PoleMax, 255);
    EXPECT_EQ(cfg.Correction, 16);
    EXPECT_EQ(cfg.ADCFreq, 100);
    EXPECT_TRUE(cfg.Mode);
    EXPECT_FALSE(cfg.ToolBar);
    EXPECT_FALSE(cfg.Visir1);
    EXPECT_EQ(cfg.SaveStep, 1);
    EXPECT_EQ(cfg.RazvUnit, 2);
    EXPECT_EQ(cfg.RazvUnits[3].Name, "ABCDE");
    EXPECT_EQ(cfg.RazvUnits[3].X1, 350);
    EXPECT_EQ(cfg.RazvUnits[3].X2, 3300);
    EXPECT_EQ(cfg.Port.PortName, "COM1234567"); // a short name is held cut to ten
    EXPECT_EQ(cfg.Orientation, 1);
    EXPECT_EQ(cfg.Port.BaudRate, 25); // kept as read; the port layer copes
    EXPECT_EQ(cfg.DisplayColors.Graph, 0xFFFFFFFFu);

    // Written back as read, and read back the same.
    ASSERT_TRUE(SaveSettings(cfg, {}, Path, Comma));
    const QList<QByteArray> lines = SavedLines();
    EXPECT_TRUE(lines.contains("VISKOORD2=65400"));
    EXPECT_TRUE(lines.contains("Graph=-1"));
    EXPECT_TRUE(lines.contains("Orientation=1"));
    EXPECT_EQ(Load().DisplayColors.Graph, 0xFFFFFFFFu);
    // Orientation is 0 or 1, read only when present.
    EXPECT_EQ(LoadText("[Main]\r\nOrientation=0\r\n").Orientation, 0);
    EXPECT_EQ(LoadText("[Main]\r\nOrientation=x\r\n").Orientation, 0);
    EXPECT_EQ(LoadText("[Main]\r\nPrnL=1\r\n").Orientation, 1);
    EXPECT_EQ(HeldPortName("SIM"), "SIM");
    EXPECT_EQ(HeldPortName(""), "");
}

// The line fit's section: a value outside its range keeps what the record
// held, so a hand edit never asks for five lines or a fourth shape.
TEST_F(SettingsStore, LineFitSectionKeepsItsRanges) {
    const struct {
        const char* Text;
        TFitSettings Expected;
    } cases[] = {
        {"[LineFit]\r\nLineCount=4\r\nLineShape=2\r\nFrequencyMHz=9400,5\r\n",
         {4, TLineShape::Voigt, 9400.5}},
        {"[linefit]\r\nlinecount=2\r\nLineShape=1\r\n", {2, TLineShape::Gauss, 0}},
        {"[LineFit]\r\nLineCount=5\r\nLineShape=3\r\nFrequencyMHz=-1\r\n", {}},
        {"[LineFit]\r\nLineCount=0\r\nLineShape=-1\r\nFrequencyMHz=x\r\n", {}},
        {"[Main]\r\nLineCount=3\r\n", {}},
    };
    for (const auto& c : cases) {
        const TKavCfg cfg = LoadText(c.Text);
        EXPECT_TRUE(cfg.Fit == c.Expected) << c.Text;
    }
}

TEST_F(SettingsStore, PortSectionStartsFromTheBuiltInPort) {
    Files.Write(Path, "[Port]\r\nParity=2\r\n");
    TKavCfg cfg = Defaults;
    cfg.Port.PortName = "COM9";
    cfg.Port.TimeOut = 5;
    TRecentFiles recent;
    LoadSettings(cfg, recent, Path, Comma);
    TComSettings expected = DefaultComSettings();
    expected.Parity = 2;
    EXPECT_EQ(cfg.Port, expected);
}

TEST_F(SettingsStore, RecentFilesWithGapsAreRenumberedAndExtraKeysStay) {
    TRecentFiles recent;
    const TKavCfg cfg = LoadText("[RecentFiles]\r\n0=/a.kav\r\n2=/c.kav\r\n5=/f.kav\r\n", &recent);
    EXPECT_EQ(recent, (TRecentFiles{"/a.kav", "/c.kav", "/f.kav"}));
    ASSERT_TRUE(SaveSettings(cfg, recent, Path, Comma));
    EXPECT_EQ(KeysOf(Saved(), "RecentFiles"), (QList<QByteArray>{"0", "2", "5", "1"}));
    TRecentFiles again;
    Load(&again);
    // Key 2 now holds the third entry; key 5 still holds its own.
    EXPECT_EQ(again, (TRecentFiles{"/a.kav", "/c.kav", "/f.kav", "/f.kav"}));

    QByteArray many = "[RecentFiles]\r\n";
    for (int i = 0; i < 25; ++i)
        many += QByteArray::number(i) + "=/" + QByteArray::number(i) + ".kav\r\n";
    TRecentFiles twenty;
    LoadText(many, &twenty);
    EXPECT_EQ(twenty.size(), RecentFilesMax);
    EXPECT_EQ(twenty.back(), "/19.kav");
}

// A missing file is no error. What cannot be read as a settings file is
// refused at once with its reason, changes nothing and is not replaced by a
// save: reading it would hang or eat memory, replacing it would lose it.
TEST_F(SettingsStore, MissingOrUnreadableFileChangesNothing) {
    TKavCfg cfg = Defaults;
    cfg.Port.PortName = "COM3";
    const TKavCfg before = cfg;
    TRecentFiles recent = {"/x.kav"};
    QString error;
    EXPECT_TRUE(LoadSettings(cfg, recent, Files.Path("absent.ini"), Comma, &error));
    EXPECT_TRUE(error.isEmpty());

    ASSERT_EQ(::mkfifo(QFile::encodeName(Files.Path("fifo.ini")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", Files.Path("zero.ini")));
    const QByteArray head = "[Main]\r\nPoleMin=100\r\n";
    Files.Write("big.ini", head + QByteArray(MaxSettingsFileBytes - head.size() + 1, ';'));
    const QString tooLarge = QStringLiteral("в нём больше 1048576 байт");
    const struct {
        QString Path;
        QString Reason;
    } cases[] = {
        {Dir, SystemReason(EISDIR)},
        {Files.Path("fifo.ini"), "Is a FIFO"},
        {"/dev/zero", "Is a character device"},
        {Files.Path("zero.ini"), "Is a character device"},
        {Files.Path("big.ini"), tooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Path.toStdString());
        EXPECT_FALSE(LoadSettings(cfg, recent, c.Path, Comma, &error));
        EXPECT_EQ(error, c.Path + ": " + c.Reason);
        EXPECT_TRUE(cfg == before);
        EXPECT_EQ(recent, TRecentFiles{"/x.kav"});
        if (c.Path.startsWith(Dir + "/")) {
            EXPECT_FALSE(SaveSettings(cfg, recent, c.Path, Comma, &error));
            EXPECT_EQ(error,
                      QStringLiteral("Ошибка записи файла настроек %1: %2").arg(c.Path, c.Reason));
        }
    }
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(Files.Path("fifo.ini")).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(QFile::symLinkTarget(Files.Path("zero.ini")), QStringLiteral("/dev/zero"));
    EXPECT_EQ(QFileInfo(Files.Path("big.ini")).size(), MaxSettingsFileBytes + 1);
    // Up to the bound a file is read.
    Files.Write("big.ini", head + QByteArray(MaxSettingsFileBytes - head.size(), ';'));
    EXPECT_TRUE(LoadSettings(cfg, recent, Files.Path("big.ini"), Comma, &error));
    EXPECT_EQ(cfg.PoleMin, 100);
}

TEST_F(SettingsStore, FloatsWrittenUnderOneSeparatorReadUnderTheOther) {
    TKavCfg cfg = Defaults;
    cfg.RazvUnits[2].X2 = 312.5;
    ASSERT_TRUE(SaveSettings(cfg, {}, Path, Comma));
    EXPECT_TRUE(SavedLines().contains("X2=312,5"));
    EXPECT_EQ(Load(nullptr, QChar('.')).RazvUnits[2].X2, 312.5);
    ASSERT_TRUE(SaveSettings(cfg, {}, Path, QChar('.')));
    EXPECT_TRUE(SavedLines().contains("X2=312.5"));
    EXPECT_EQ(Load(nullptr, Comma).RazvUnits[2].X2, 312.5);
}

// Load, save, load, save, load: the second and third loads give the same
// values; the third recent list starts with the second (keys a save does
// not write stay).
TEST_F(SettingsStore, GarbledFilesComeBackWithTheValuesTheyLoaded) {
    const char* const pieces[] = {"[Main]",    "[Port]", "[RazvUnit1]", "[RecentFiles]",
                                  "[",         "]",      "=",           "PoleMin=",
                                  "BaudRate=", "X1=",    "Name=",       "WorkDir=",
                                  "1=",        "\r",     "\n",          "\r\n",
                                  "0x",        "$",      "-",           ",",
                                  "\"",        ";",      "E",           "&#x",
                                  "\xC2",      "\xA8",   "\xFF\xFE",    "1.7976931348623157E308"};
    std::mt19937 random(12345);
    for (int round = 0; round < 300; ++round) {
        QByteArray text;
        const int count = static_cast<int>(random() % 200);
        for (int i = 0; i < count; ++i) {
            if (random() % 3 == 0)
                text += static_cast<char>(random() % 256);
            else
                text += pieces[random() % std::size(pieces)];
        }
        TRecentFiles recent;
        const TKavCfg first = LoadText(text, &recent);
        ASSERT_LE(recent.size(), RecentFilesMax);
        ASSERT_TRUE(SaveSettings(first, recent, Path, Comma)) << round;
        TRecentFiles second;
        const TKavCfg loaded2 = Load(&second);
        ASSERT_TRUE(SaveSettings(loaded2, second, Path, Comma)) << round;
        TRecentFiles third;
        const TKavCfg loaded3 = Load(&third);
        ASSERT_TRUE(loaded3 == loaded2) << round << " " << text.toHex().toStdString();
        ASSERT_EQ(third.mid(0, second.size()), second) << round;
    }
}

// Saves without the rights of the super-user (the tests may run as root),
// so that file modes bind. A failed switch counts as a save, failing the test.
bool SaveUnprivileged(const TKavCfg& cfg, const QString& path, QString& error) {
    const bool root = geteuid() == 0;
    if (root && seteuid(65534) != 0) {
        ADD_FAILURE() << "cannot become nobody";
        return true;
    }
    const bool saved = SaveSettings(cfg, {}, path, Comma, &error);
    if (root)
        (void)seteuid(0);
    return saved;
}

int Chmod(const QString& path, mode_t mode) {
    return chmod(QFile::encodeName(path).constData(), mode);
}

// A failed save names the file and the system's reason and leaves the previous
// file, with nothing beside it; an unreadable file would lose its keys.
TEST_F(SettingsStore, FailedSaveNamesTheReasonAndKeepsThePreviousFile) {
    const QByteArray previous = "[Mine]\r\nSecret=1\r\n";
    const struct {
        const char* Name;
        mode_t DirMode, FileMode;
        rlim_t Limit;
        int Err;
    } cases[] = {
        {"read-only folder", 0555, 0644, RLIM_INFINITY, EACCES},
        {"unreadable file", 0777, 0, RLIM_INFINITY, EACCES},
        {"full disk", 0777, 0666, 512, EFBIG},
    };
    TKavCfg changed = Defaults;
    changed.WorkDir = "/elsewhere";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Files.Write(Path, previous);
        ASSERT_EQ(Chmod(Path, c.FileMode), 0);
        ASSERT_EQ(Chmod(Dir, c.DirMode), 0);
        QString error;
        const bool saved =
            UnderFileSizeLimit(c.Limit, [&] { return SaveUnprivileged(changed, Path, error); });
        Chmod(Dir, 0700);
        Chmod(Path, 0600);
        EXPECT_FALSE(saved);
        EXPECT_EQ(
            error,
            QStringLiteral("Ошибка записи файла настроек %1: %2").arg(Path, SystemReason(c.Err)));
        EXPECT_EQ(Saved(), previous);
        EXPECT_EQ(Files.Entries(), QStringList{"Kav.ini"});
    }
}

} // namespace
