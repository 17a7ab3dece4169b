// The comparison's settings in Kav.ini, section "Compare": what is saved
// comes back, a hand-edited value that makes no sense keeps the default, and
// a file written before the section existed reads and saves as before with
// the section added.
#include "config/settings_store.h"
#include "qstring_printer.h"
#include "temp_files.h"

#include <gtest/gtest.h>

namespace {

class CompareSettingsStore : public ::testing::Test {
protected:
    TKavCfg Load(QChar sep) const {
        TKavCfg cfg{};
        SetDefaults(cfg, "/start");
        TRecentFiles recent;
        EXPECT_TRUE(LoadSettings(cfg, recent, Path, sep));
        return cfg;
    }
    TCompareSettings LoadText(const QByteArray& text, QChar sep = QChar(',')) const {
        Files.Write(Path, text);
        return Load(sep).Compare;
    }

    TTempFiles Files;
    QString Path = Files.Path("Kav.ini");
};

TEST_F(CompareSettingsStore, EveryChoiceComesBackWithEitherSeparator) {
    const TCompareSettings cases[] = {
        {},
        {TNormalization::PeakToPeak, true, false, 1.5e17},
        {TNormalization::Integral, false, false, 6.02214076e23},
        {TNormalization::Records, true, true, 0.25},
        {TNormalization::None, true, true, 3.3e-5},
    };
    for (const QChar sep : {QChar(','), QChar('.')}) {
        for (const TCompareSettings& c : cases) {
            TKavCfg cfg{};
            SetDefaults(cfg, "/start");
            cfg.Compare = c;
            ASSERT_TRUE(SaveSettings(cfg, {}, Path, sep));
            const TKavCfg back = Load(sep);
            EXPECT_EQ(back.Compare, c) << c.ReferenceSpins << " sep " << sep.toLatin1();
            // The line fit's section beside it stays as it was.
            EXPECT_EQ(back.Fit, cfg.Fit);
        }
    }
    // The reals are written with the ini's separator.
    TKavCfg quarter{};
    SetDefaults(quarter, "/start");
    quarter.Compare.ReferenceSpins = 2.5;
    ASSERT_TRUE(SaveSettings(quarter, {}, Path, QChar(',')));
    EXPECT_TRUE(Files.Read(Path).contains("\r\nReferenceSpins=2,5\r\n"));
}

// A value outside its range keeps the default; the keys beside it still
// read. Names match without regard to case, as everywhere in the file.
TEST_F(CompareSettingsStore, HandEditedValuesKeepTheDefault) {
    const TCompareSettings defaults;
    const struct {
        const char* Text;
        TCompareSettings Expected;
    } cases[] = {
        {"[Compare]\r\nNormalization=3\r\nFindShift=1\r\nShowDifference=0\r\n"
         "ReferenceSpins=2,5E17\r\n",
         {TNormalization::Records, true, false, 2.5e17}},
        {"[compare]\r\nnormalization=1\r\nreferencespins=1000\r\n",
         {TNormalization::PeakToPeak, false, true, 1000}},
        {"[Compare]\r\nNormalization=4\r\nReferenceSpins=-1\r\n", defaults},
        {"[Compare]\r\nNormalization=-1\r\nReferenceSpins=abc\r\n", defaults},
        {"[Compare]\r\nNormalization=pp\r\nFindShift=yes\r\nShowDifference=no\r\n", defaults},
        {"[Compare]\r\nNormalization=2.5\r\nReferenceSpins=1E400\r\n", defaults},
        {"[Compare]\r\nNormalization=\r\nFindShift=\r\nReferenceSpins=\r\n", defaults},
        // Either decimal separator reads, as everywhere in the file.
        {"[Compare]\r\nNormalization=2\r\nReferenceSpins=2.5E17\r\n",
         {TNormalization::Integral, false, true, 2.5e17}},
        // The keys belong to their section only.
        {"[Main]\r\nNormalization=2\r\n[LineFit]\r\nFindShift=1\r\n", defaults},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LoadText(c.Text), c.Expected) << c.Text;
}

// An older Kav.ini has no section "Compare": it reads with the defaults,
// and the save adds the section with them, as it does "LineFit", keeping
// every line the file had.
TEST_F(CompareSettingsStore, FileWithoutTheSectionReadsUnchangedAndGainsIt) {
    const QByteArray old = "; kept comment\r\n[Main]\r\nPoleMin=100\r\nMyKey=mine\r\n"
                           "[LineFit]\r\nLineCount=3\r\n[Other]\r\nX=1\r\n";
    Files.Write(Path, old);
    TKavCfg expected{};
    SetDefaults(expected, "/start");
    expected.PoleMin = 100;
    expected.Fit.LineCount = 3;
    const TKavCfg cfg = Load(QChar(','));
    EXPECT_EQ(cfg.PoleMin, 100);
    EXPECT_EQ(cfg.Fit, expected.Fit);
    EXPECT_EQ(cfg.Compare, TCompareSettings{});

    ASSERT_TRUE(SaveSettings(cfg, {}, Path, QChar(',')));
    const QByteArray saved = Files.Read(Path);
    for (const char* line : {"; kept comment", "MyKey=mine", "[Other]", "X=1", "LineCount=3"})
        EXPECT_TRUE(saved.contains(line)) << line;
    EXPECT_TRUE(saved.endsWith("[Compare]\r\nNormalization=0\r\nFindShift=0\r\n"
                               "ShowDifference=1\r\nReferenceSpins=0\r\n"))
        << saved.toStdString();
    const TKavCfg again = Load(QChar(','));
    EXPECT_EQ(again.Compare, cfg.Compare);
    EXPECT_EQ(again.Fit, cfg.Fit);
    EXPECT_EQ(again.PoleMin, 100);

    // A section a user extended keeps the extra key on the next save.
    Files.Write(Path, "[Compare]\r\nNote=standard #4\r\nNormalization=2\r\n");
    TKavCfg edited = Load(QChar(','));
    EXPECT_EQ(edited.Compare.Normalization, TNormalization::Integral);
    edited.Compare.FindShift = true;
    ASSERT_TRUE(SaveSettings(edited, {}, Path, QChar(',')));
    EXPECT_TRUE(Files.Read(Path).contains("Note=standard #4\r\n"));
    EXPECT_EQ(Load(QChar(',')).Compare, edited.Compare);
}

} // namespace
