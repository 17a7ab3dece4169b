#include "spectrum/spectrum_session.h"

#include "config/settings_store.h"
#include "recording_view.h"
#include "spectrum/parameter_block.h"
#include "spectrum/point_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

class OpenClose : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    std::unique_ptr<TPointTable> Store = std::make_unique<TPointTable>();
    std::unique_ptr<TPointTable> Undo = std::make_unique<TPointTable>();
    TKavCfg Cfg{};
    TInstrumentReadings Readings;
    TSpectrumResults Results;
    TRecordingView View;
    TSpectrumSession Session{*Store, *Undo, Cfg, Readings, Results, View, u'.'};

    void SetUp() override {
        SetDefaults(Cfg, Dir.path());
        SaveUnitSnapshot(Cfg);
        ClearPoints(*Store);
        ClearPoints(*Undo);
    }

    QString Path(const QString& name) const { return Dir.filePath(name); }

    // A file of two points and a full parameter block from another program
    // state: gain 2, speed 4, field 3100..3250, ADC 100, S/N 5, PR 6, sum 3,
    // filter 12.
    QString WriteSpectrum(const QString& name) {
        TKavCfg cfg{};
        SetDefaults(cfg, Dir.path());
        cfg.Amplifying = 2;
        cfg.Rapid = 4;
        cfg.RazvUnits[3].X1 = 3100;
        cfg.RazvUnits[3].X2 = 3250;
        cfg.EnableRTLPF = true;
        cfg.RTLPFConst = 12;
        TInstrumentReadings r{5, 6, 100, 3, -1};
        auto t = std::make_unique<TPointTable>();
        ClearPoints(*t);
        (*t)[10] = TPointSlot{10, 2100};
        (*t)[20] = TPointSlot{20, 1900};
        WriteParameterBlock(*t, cfg, r);
        EXPECT_TRUE(SaveSpectrumFile(Path(name), *t));
        return Path(name);
    }

    void MarkResults() {
        Results.MaxCount = 3;
        Results.PairCount = 2;
        Results.TibaAmp = 40;
        Results.TitanAmp = 50;
        Results.Area = 12.5;
        Readings.AdcFieldValue = 7;
        Cfg.ResonatorFreq = 9400000;
    }

    void ExpectResultsReset() {
        EXPECT_EQ(Results.MaxCount, 0);
        EXPECT_EQ(Results.PairCount, 0);
        EXPECT_EQ(Results.TibaAmp, 0);
        EXPECT_EQ(Results.Area, -1);
        EXPECT_EQ(Cfg.ResonatorFreq, 0);
        EXPECT_FALSE(View.GFactorShown);
    }
};

} // namespace

TEST_F(OpenClose, OpenRunsTheSequenceInOrderAndAppliesTheFile) {
    const QString path = WriteSpectrum("one.kav");
    MarkResults();
    const auto unitsBefore = Cfg.RazvUnits;
    const TOpenResult result = OpenSpectrum(Session, path);
    ASSERT_EQ(result.Outcome, TLoadOutcome::Loaded);

    const QStringList expected{"Panel 5 ''", "Panel 6 ''", "Panel 7 ''", "Panel 8 ''", "Panel 9 ''",
                               "Panel 10 ''", "Panel 11 ''", "BackUp 0", "GShow 0", "Gain 0",
                               "Speed 11", "BlankSelectors",
                               // records in slot order, 65525 (ADC field) up to 65534 (gain)
                               "Panel 9 'ФИЛЬТР [12]'", "Panel 10 'НАКОПЛ: 3'", "Adc '100'",
                               "Panel 5 'PR: 6'", "Panel 6 'S/N: 5'", "Speed 4", "Gain 2",
                               "ViewBounds '0' '65519'", "Caption 'Kavis - one.kav'", "SaveAs 1"};
    EXPECT_EQ(View.Calls, expected);
    ExpectResultsReset();
    EXPECT_EQ(Cfg.LastOpen, path);
    EXPECT_EQ(Cfg.Amplifying, 2);
    EXPECT_EQ(Cfg.Rapid, 4);
    EXPECT_FLOAT_EQ(Readings.AdcFieldValue, 0.24f); // 100 * 10 / 4095 -> 24 / 100
    EXPECT_EQ((*Store)[10], (TPointSlot{10, 2100}));
    EXPECT_EQ((*Store)[20], (TPointSlot{20, 1900}));
    // The snapshot holds the units from before the file's recalibration.
    for (int i = 0; i < RazvUnitCount; ++i)
        EXPECT_TRUE(Cfg.RazvUnits[RazvUnitCount + i] == unitsBefore[i]) << i;
    EXPECT_EQ(Cfg.RazvUnits[3].X1, 3100);
    EXPECT_EQ(Cfg.RazvUnits[2].X2, 150);
}

TEST_F(OpenClose, CloseResetsClearsAndPutsTheInstrumentUnitsBack) {
    const auto unitsBefore = Cfg.RazvUnits;
    const auto adcBefore = Cfg.ADCUnits;
    OpenSpectrum(Session, WriteSpectrum("one.kav"));
    const auto panels = View.Panels;
    MarkResults();
    View.Calls.clear();

    CloseSpectrum(Session);
    EXPECT_EQ(View.Calls, (QStringList{"BackUp 0", "GShow 0", "SaveAs 0", "Caption 'КАВ'"}));
    EXPECT_EQ(View.Panels, panels);
    ExpectResultsReset();
    EXPECT_EQ(Readings.AdcFieldValue, -1);
    EXPECT_TRUE(Cfg.LastOpen.isEmpty());
    auto empty = std::make_unique<TPointTable>();
    ClearPoints(*empty);
    EXPECT_TRUE(*Store == *empty);
    EXPECT_TRUE(Cfg.RazvUnits == unitsBefore);
    EXPECT_TRUE(Cfg.ADCUnits == adcBefore);
}

TEST_F(OpenClose, OpeningOverAnOpenFileSnapshotsTheFirstFilesUnits) {
    OpenSpectrum(Session, WriteSpectrum("one.kav"));
    const auto firstFileUnits = Cfg.RazvUnits;
    OpenSpectrum(Session, WriteSpectrum("two.kav"));
    CloseSpectrum(Session);
    for (int i = 0; i < RazvUnitCount; ++i)
        EXPECT_TRUE(Cfg.RazvUnits[i] == firstFileUnits[i]) << i;
}

TEST_F(OpenClose, FileWithoutRecordsLeavesPanelsEmptyAndAdcFieldUnset) {
    auto t = std::make_unique<TPointTable>();
    ClearPoints(*t);
    (*t)[5] = TPointSlot{5, 2048};
    ASSERT_TRUE(SaveSpectrumFile(Path("bare.kav"), *t));
    Readings.AdcFieldValue = 3;
    ASSERT_EQ(OpenSpectrum(Session, Path("bare.kav")).Outcome, TLoadOutcome::Loaded);
    for (int panel = 5; panel <= 11; ++panel)
        EXPECT_EQ(View.Panels[panel], "") << panel;
    EXPECT_EQ(Readings.AdcFieldValue, -1);
    EXPECT_TRUE(View.GainBlank);
    EXPECT_TRUE(View.SpeedBlank);
}

TEST_F(OpenClose, MissingNameKeepsThePointsButTakesTheName) {
    (*Store)[30] = TPointSlot{30, 1000};
    const auto before = std::make_unique<TPointTable>(*Store);
    const QString path = Path("missing.kav");
    const TOpenResult result = OpenSpectrum(Session, path);
    EXPECT_EQ(result.Outcome, TLoadOutcome::NotFound);
    EXPECT_TRUE(*Store == *before);
    EXPECT_EQ(View.Caption, "Kavis - missing.kav");
    EXPECT_EQ(Cfg.LastOpen, path);
    EXPECT_TRUE(View.SaveAsEnabled);
}

TEST_F(OpenClose, UnreadableOrTooLongFileChangesNothingAndNamesTheFile) {
    QFile longFile(Path("long.kav"));
    ASSERT_TRUE(longFile.open(QIODevice::WriteOnly));
    ASSERT_EQ(longFile.write(QByteArray((PointSlotCount + 1) * 4, '\0')), (PointSlotCount + 1) * 4);
    longFile.close();
    ASSERT_TRUE(QDir(Dir.path()).mkdir("folder.kav"));

    (*Store)[30] = TPointSlot{30, 1000};
    (*Undo)[40] = TPointSlot{40, 1000};
    Cfg.LastOpen = "/old.kav";
    MarkResults();
    const auto store = std::make_unique<TPointTable>(*Store);
    const auto undo = std::make_unique<TPointTable>(*Undo);
    const TKavCfg cfg = Cfg;
    for (const char* name : {"long.kav", "folder.kav"}) {
        const TOpenResult result = OpenSpectrum(Session, Path(name));
        EXPECT_EQ(result.Outcome, TLoadOutcome::Failed) << name;
        EXPECT_TRUE(result.Error.contains(Path(name))) << result.Error.toStdString();
        EXPECT_TRUE(View.Calls.isEmpty()) << View.Calls.join(", ").toStdString();
        EXPECT_TRUE(*Store == *store);
        EXPECT_TRUE(*Undo == *undo);
        EXPECT_TRUE(Cfg == cfg);
        EXPECT_EQ(Results.Area, 12.5);
    }
}

TEST_F(OpenClose, SaveAsWritesTheBlockAndTakesTheFolderOnlyOnSuccess) {
    (*Store)[10] = TPointSlot{10, 2100};
    Cfg.Amplifying = 6;
    Cfg.LastOpen = "/old.kav";
    const QString path = Path("saved.kav");
    QString error;
    ASSERT_TRUE(SaveSpectrumAs(Session, path, &error)) << error.toStdString();
    EXPECT_EQ(View.Calls, QStringList{"BackUp 0"});
    EXPECT_EQ(QFile(path).size(), 44);
    EXPECT_EQ((*Store)[65535], (TPointSlot{6, ParGain})); // the block stays in the store
    EXPECT_EQ(Cfg.WorkDir, Dir.path() + "/");
    EXPECT_EQ(Cfg.LastOpen, "/old.kav");

    const QString bad = Path("no/such/saved.kav");
    EXPECT_FALSE(SaveSpectrumAs(Session, bad, &error));
    EXPECT_TRUE(error.contains(bad)) << error.toStdString();
    EXPECT_EQ(Cfg.WorkDir, Dir.path() + "/");
}

TEST(SpectrumSession, DirectoryWithSeparatorKeepsTheTrailingSeparator) {
    EXPECT_EQ(DirectoryWithSeparator("/a/b/c.kav"), "/a/b/");
    EXPECT_EQ(DirectoryWithSeparator("/c.kav"), "/");
}
