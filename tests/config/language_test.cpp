// The language setting: how Kav.ini spells it, what a bad value becomes,
// and the English translation taking over the program's texts at run time.
#include "base/instrument_tables.h"
#include "config/ini_file.h"
#include "config/language.h"
#include "config/settings_store.h"
#include "link/com_port.h"
#include "qstring_printer.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

TEST(Language, CodesParseInAnyCaseAndNothingElseDoes) {
    const struct {
        const char* Text;
        std::optional<TLanguage> Expected;
    } cases[] = {
        {"ru", TLanguage::Ru}, {"RU", TLanguage::Ru},   {" en ", TLanguage::En},
        {"En", TLanguage::En}, {"", std::nullopt},      {"eng", std::nullopt},
        {"de", std::nullopt},  {"ru_RU", std::nullopt}, {"е n", std::nullopt},
        {"1", std::nullopt},   {"en\tx", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseLanguage(QString::fromUtf8(c.Text)), c.Expected) << c.Text;
    EXPECT_EQ(LanguageCode(TLanguage::Ru), QString("ru"));
    EXPECT_EQ(LanguageCode(TLanguage::En), QString("en"));
}

TEST(Language, KavIniKeepsEnglishAndTurnsEverythingElseIntoRussian) {
    const struct {
        const char* Ini;
        TLanguage Read;
        const char* Written; // nullptr: no Language key written
    } cases[] = {
        {"[Main]\nLanguage=en\n", TLanguage::En, "en"},
        {"[Main]\nlanguage=EN\n", TLanguage::En, "en"},
        {"[Main]\nLanguage=ru\n", TLanguage::Ru, "ru"},
        {"[Main]\nLanguage=fr\n", TLanguage::Ru, "ru"},
        {"[Main]\nLanguage=\n", TLanguage::Ru, "ru"},
        {"[Main]\nPoleMin=5\n", TLanguage::Ru, nullptr},
        {"[Other]\nLanguage=en\n", TLanguage::Ru, nullptr},
        {"", TLanguage::Ru, nullptr},
    };
    for (const auto& c : cases) {
        const TIniFile in = TIniFile::FromBytes(QByteArray(c.Ini));
        TKavCfg cfg;
        SetDefaults(cfg, QStringLiteral("/tmp"));
        cfg.Language = TLanguage::En; // what the file says must win
        TRecentFiles recent;
        ReadSettings(in, cfg, recent, QChar(','));
        EXPECT_EQ(cfg.Language, c.Read) << c.Ini;
        TIniFile out = TIniFile::FromBytes(QByteArray(c.Ini));
        WriteSettings(out, cfg, recent, QChar(','));
        const auto written = out.Value(QStringLiteral("Main"), QStringLiteral("Language"));
        if (c.Written)
            EXPECT_EQ(written, QString(c.Written)) << c.Ini;
        else
            EXPECT_FALSE(written) << c.Ini; // a file that named none is left so
        // English is written even where the file named no language.
        TKavCfg english = cfg;
        english.Language = TLanguage::En;
        TIniFile again = TIniFile::FromBytes(QByteArray(c.Ini));
        WriteSettings(again, english, recent, QChar(','));
        EXPECT_EQ(again.Value(QStringLiteral("Main"), QStringLiteral("Language")), QString("en"));
    }
}

TEST(Language, DefaultsAreRussian) {
    TKavCfg cfg;
    cfg.Language = TLanguage::En;
    SetDefaults(cfg, QStringLiteral("/tmp"));
    EXPECT_EQ(cfg.Language, TLanguage::Ru);
}

TEST(Language, TheEmbeddedTranslationSwitchesTextsAndConstantsBothWays) {
    int argc = 1;
    char name[] = "language_test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    // A constant built before the language is chosen, as the port keeps it.
    const QString refused = LineRefusedText;
    EXPECT_EQ(refused, QString("драйвер порта не принял скорость, чётность или стоповые биты"));
    EXPECT_EQ(SpeedName(7), QString(" 8 мин"));
    ASSERT_TRUE(InstallProgramLanguage(TLanguage::En));
    EXPECT_EQ(InstalledProgramLanguage(), TLanguage::En);
    EXPECT_EQ(QString(LineRefusedText),
              QString("the port driver refused the baud rate, parity or stop bits"));
    EXPECT_EQ(SpeedName(7), QString(" 8 min"));
    EXPECT_EQ(SpeedName(2), QString(" STOP"));
    EXPECT_EQ(SpeedName(SpeedRowCount), QString());
    // Installing it again replaces it rather than stacking a second one.
    ASSERT_TRUE(InstallProgramLanguage(TLanguage::En));
    EXPECT_EQ(QString(LineRefusedText),
              QString("the port driver refused the baud rate, parity or stop bits"));

    ASSERT_TRUE(InstallProgramLanguage(TLanguage::Ru));
    EXPECT_EQ(InstalledProgramLanguage(), TLanguage::Ru);
    EXPECT_EQ(QString(LineRefusedText), refused);
    EXPECT_EQ(SpeedName(7), QString(" 8 мин"));
}

} // namespace
