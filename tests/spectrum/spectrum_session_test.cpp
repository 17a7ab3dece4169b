// A spectrum as the window holds it: the parameter block a file carries,
// opening, closing and saving, and the recent files.
#include "config/settings_store.h"
#include "qstring_printer.h"
#include "spectrum/parameter_block.h"
#include "spectrum/point_store.h"
#include "spectrum/recent_files.h"
#include "spectrum/spectrum_file.h"
#include "spectrum/spectrum_session.h"
#include "spectrum/spectrum_view.h"
#include "temp_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

// Records every call in order and keeps what the window would show.
class TRecordingView : public TSpectrumView {
public:
    QStringList Calls;
    std::map<int, QString> Panels;
    int GainIndex = -1, SpeedIndex = -1;
    bool GainBlank = false, SpeedBlank = false, SaveAsEnabled = false, GFactorShown = true;
    bool SubmenuEnabled = false;
    QString AdcReading, Caption;
    QStringList MenuCaptions;

    void SetGainIndex(int index) override {
        Calls << QStringLiteral("Gain %1").arg(GainIndex = index);
        GainBlank = false;
    }
    void SetSpeedIndex(int index) override {
        Calls << QStringLiteral("Speed %1").arg(SpeedIndex = index);
        SpeedBlank = false;
    }
    void BlankSelectorTexts() override {
        Calls << QStringLiteral("BlankSelectors");
        GainBlank = SpeedBlank = true;
    }
    void SetStatusPanel(int index, const QString& text) override {
        Calls << QStringLiteral("Panel %1 '%2'").arg(index).arg(Panels[index] = text);
    }
    void SetAdcReading(const QString& text) override {
        Calls << QStringLiteral("Adc '%1'").arg(AdcReading = text);
    }
    void SetViewBoundTexts(const QString& minText, const QString& maxText) override {
        Calls << QStringLiteral("ViewBounds '%1' '%2'").arg(minText, maxText);
    }
    void SetBackUpEnabled(bool on) override { Calls << QStringLiteral("BackUp %1").arg(on); }
    void SetSaveAsEnabled(bool on) override {
        Calls << QStringLiteral("SaveAs %1").arg(SaveAsEnabled = on);
    }
    void SetGFactorShown(bool on) override {
        Calls << QStringLiteral("GShow %1").arg(GFactorShown = on);
    }
    void SetCaption(const QString& text) override {
        Calls << QStringLiteral("Caption '%1'").arg(Caption = text);
    }
    void RebuildRecentFilesMenus(const QStringList& captions, bool submenuEnabled) override {
        Calls << QStringLiteral("Menus %1 %2").arg(captions.size()).arg(submenuEnabled);
        MenuCaptions = captions;
        SubmenuEnabled = submenuEnabled;
    }
};

std::unique_ptr<TPointTable> Table() {
    auto t = std::make_unique<TPointTable>();
    ClearPoints(*t);
    return t;
}

TKavCfg DefaultCfg(const QString& dir = "/work") {
    TKavCfg cfg{};
    SetDefaults(cfg, dir);
    return cfg;
}

TPointSlot Rec(std::uint16_t value, std::uint16_t code) {
    return TPointSlot{value, code};
}

} // namespace

TEST(ParameterBlock, WritesTheTenRecordsOneSlotAboveTheirCodes) {
    TKavCfg cfg = DefaultCfg();
    cfg.Amplifying = 3;
    cfg.Rapid = 7;
    cfg.EnableRTLPF = true;
    cfg.RTLPFConst = 25;
    cfg.ADCUnits[3].KoeffK = 0.01;
    cfg.ADCUnits[3].KoeffB = 0.5;
    const TInstrumentReadings readings{12, 34, 1234, 70000, -1}; // sum: low 16 bits 4464
    auto store = Table();
    (*store)[500] = TPointSlot{500, 2048};
    WriteParameterBlock(*store, cfg, readings);
    // ParGain (slot 65535) down to ParAdcField (slot 65526): the field bounds
    // 3000 and 3300 Э times 10, the ADC field (12.34 + 0.5) * 100.
    const std::uint16_t values[] = {3, 7, 12, 34, 30000, 33000, 1234, 4464, 25, 1284};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ((*store)[65535 - i], Rec(values[i], 65534 - i)) << 65535 - i;
    EXPECT_EQ((*store)[65525], TPointSlot{});
    EXPECT_EQ((*store)[500], (TPointSlot{500, 2048}));

    cfg.EnableRTLPF = false;
    WriteParameterBlock(*store, cfg, readings);
    EXPECT_EQ((*store)[65527], Rec(0, ParFilter));
}

TEST(ParameterBlock, RoundingIsToEvenAndKeepsTheLow16Bits) {
    EXPECT_EQ(RoundToWord(2.5L), 2);
    EXPECT_EQ(RoundToWord(7.5L), 8);
    EXPECT_EQ(RoundToWord(-1.0L), 65535);
    EXPECT_EQ(RoundToWord(65536.0L * 3 + 5), 5);
    EXPECT_EQ(RoundToWord(-65536.0L * 2 - 3), 65533);
    EXPECT_EQ(RoundToWord(NAN), 0);
    EXPECT_EQ(RoundToWord(INFINITY), 0);

    TKavCfg cfg = DefaultCfg();
    auto store = Table();
    for (const auto& [x1, x2, low, high] : {std::tuple{6553.6, 6600.0, 0, 464}, // wrapped
                                            std::tuple{0.25, 0.75, 2, 8}}) {    // 2.5, 7.5
        cfg.RazvUnits[3].X1 = x1;
        cfg.RazvUnits[3].X2 = x2;
        WriteParameterBlock(*store, cfg, TInstrumentReadings{});
        EXPECT_EQ((*store)[65531].X, low);
        EXPECT_EQ((*store)[65530].X, high);
    }
}

// No records: the selectors reset and blank, nothing else changes. Filter 0,
// one field bound, gain and speed rows outside their tables and unused codes
// leave the panels, the units and the readings as they were.
TEST(ParameterBlock, MissingOrOutOfTableRecordsLeaveThingsAlone) {
    TKavCfg cfg = DefaultCfg();
    cfg.Amplifying = 5;
    cfg.Rapid = 2;
    cfg.ViewMin = 100;
    cfg.ViewMax = 65000;
    cfg.RazvUnits[2].Name = "x";
    cfg.RazvUnits[3].Name = "y";
    TKavCfg expected = cfg;
    expected.Amplifying = 0;
    expected.Rapid = 11;
    TInstrumentReadings readings;
    TRecordingView view;
    auto store = Table();
    (*store)[10] = TPointSlot{10, 4000};
    ApplyFileParameters(*store, cfg, readings, view, u'.');
    EXPECT_EQ(view.Calls,
              (QStringList{"Gain 0", "Speed 11", "BlankSelectors", "ViewBounds '100' '65000'"}));
    EXPECT_TRUE(cfg == expected);

    (*store)[ParFilter] = Rec(0, ParFilter);
    (*store)[ParFieldLow] = Rec(31000, ParFieldLow);
    (*store)[ParGain] = Rec(8, ParGain);     // no such gain row
    (*store)[ParSpeed] = Rec(268, ParSpeed); // low byte 12: no such row either
    for (std::uint16_t code = 65520; code <= 65524; ++code)
        (*store)[code] = Rec(1, code);
    cfg.Amplifying = 5;
    cfg.Rapid = 2;
    const TInstrumentReadings readingsBefore = readings;
    view = TRecordingView();
    ApplyFileParameters(*store, cfg, readings, view, u'.');
    EXPECT_TRUE(view.Panels.empty());
    EXPECT_EQ(cfg.RazvUnits[3].X1, 3100);
    expected.RazvUnits[3].X1 = 3100; // the only change: not even the line re-derived
    EXPECT_TRUE(cfg == expected);
    EXPECT_TRUE(view.GainBlank && view.SpeedBlank);
    EXPECT_EQ(readings.AdcValue, readingsBefore.AdcValue);
    EXPECT_EQ(readings.AdcFieldValue, readingsBefore.AdcFieldValue);
}

// The program has its own state when it loads a file and saves it again.
TEST(ParameterBlock, ReSavedFileKeepsFileParametersAndTheProgramsOwnState) {
    QTemporaryDir dir;
    const QString first = dir.filePath("first.kav");
    TKavCfg fileCfg = DefaultCfg();
    fileCfg.Amplifying = 5;
    fileCfg.Rapid = 3;
    fileCfg.RazvUnits[3].X1 = 3100;
    fileCfg.RazvUnits[3].X2 = 3400;
    fileCfg.EnableRTLPF = true;
    fileCfg.RTLPFConst = 30;
    auto store = Table();
    (*store)[1000] = TPointSlot{1000, 3000};
    WriteParameterBlock(*store, fileCfg, TInstrumentReadings{99, 88, 777, 7, -1});
    ASSERT_TRUE(SaveSpectrumFile(first, *store));

    TKavCfg cfg = DefaultCfg();
    TInstrumentReadings readings{1, 2, 0, 1, -1};
    auto undo = Table();
    ASSERT_EQ(LoadSpectrumFile(first, *store, *undo), TLoadOutcome::Loaded);
    TRecordingView view;
    ApplyFileParameters(*store, cfg, readings, view, u'.');
    WriteParameterBlock(*store, cfg, readings);
    // The file's gain, speed, field bounds and ADC code; the program's serial,
    // program and sum (not 99, 88 and 7); its filter is off.
    const std::uint16_t values[] = {5, 3, 1, 2, 31000, 34000, 777, 1, 0};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ((*store)[65535 - i], Rec(values[i], 65534 - i)) << 65535 - i;
    const TPointSlot newAdcField = (*store)[65526];
    // The loaded ParAdcField still sits at its code below the new block:
    // 777 * 10 / 4095 V = 1.897..., times 100 rounded: 190.
    EXPECT_EQ((*store)[65525], Rec(190, ParAdcField));

    ASSERT_TRUE(SaveSpectrumFile(dir.filePath("second.kav"), *store));
    TLoadStats stats;
    ASSERT_EQ(LoadSpectrumFile(dir.filePath("second.kav"), *store, *undo, nullptr, &stats),
              TLoadOutcome::Loaded);
    EXPECT_EQ(stats.Records, 12); // one point, the old ParAdcField, the new block
    EXPECT_EQ(stats.Overwritten, 1);
    EXPECT_EQ((*store)[65525], newAdcField); // the later record wins
    EXPECT_EQ((*store)[ParSerial], Rec(1, ParSerial));
}

namespace {

class OpenClose : public ::testing::Test, protected TTempFiles {
protected:
    std::unique_ptr<TPointTable> Store = Table();
    std::unique_ptr<TPointTable> Undo = Table();
    TKavCfg Cfg = DefaultCfg(Dir.path());
    TInstrumentReadings Readings;
    TSpectrumResults Results;
    TRecordingView View;
    TSpectrumSession Session{*Store, *Undo, Cfg, Readings, Results, View, u'.'};

    OpenClose() { SaveUnitSnapshot(Cfg); }

    // Two points and a full parameter block from another program state:
    // gain 2, speed 4, field 3100.5..3250, ADC 100, S/N 5, PR 6, sum 3,
    // filter 12.
    QString WriteSpectrum(const QString& name) {
        TKavCfg cfg = DefaultCfg(Dir.path());
        cfg.Amplifying = 2;
        cfg.Rapid = 4;
        cfg.RazvUnits[3].X1 = 3100.5;
        cfg.RazvUnits[3].X2 = 3250;
        cfg.EnableRTLPF = true;
        cfg.RTLPFConst = 12;
        auto t = Table();
        (*t)[10] = TPointSlot{10, 2100};
        (*t)[20] = TPointSlot{20, 1900};
        WriteParameterBlock(*t, cfg, TInstrumentReadings{5, 6, 100, 3, -1});
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
    ASSERT_EQ(OpenSpectrum(Session, path).Outcome, TLoadOutcome::Loaded);

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
    // Sweep units 3 and 2 describe the file's range over codes 0..65519.
    const TMeasureUnit& u3 = Cfg.RazvUnits[3];
    const TMeasureUnit& u2 = Cfg.RazvUnits[2];
    EXPECT_EQ(u3.X1, 3100.5);
    EXPECT_NEAR(UnitValue(u3, 0), 3100.5, 1e-6);
    EXPECT_NEAR(UnitValue(u3, 65519), 3250, 1e-6);
    EXPECT_EQ(u2.X1, 0);
    EXPECT_EQ(u2.X2, 149.5);
    EXPECT_NEAR(UnitValue(u2, 65519), 149.5, 1e-6);
    EXPECT_EQ(u2.Name, "Э");
    EXPECT_EQ(u3.Name, "Э");
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
    EXPECT_TRUE(*Store == *Table());
    EXPECT_TRUE(Cfg.RazvUnits == unitsBefore);
    EXPECT_TRUE(Cfg.ADCUnits == adcBefore);

    // Opening over an open file keeps the first file's units in the snapshot.
    OpenSpectrum(Session, WriteSpectrum("one.kav"));
    const auto firstFileUnits = Cfg.RazvUnits;
    OpenSpectrum(Session, WriteSpectrum("two.kav"));
    CloseSpectrum(Session);
    for (int i = 0; i < RazvUnitCount; ++i)
        EXPECT_TRUE(Cfg.RazvUnits[i] == firstFileUnits[i]) << i;
}

TEST_F(OpenClose, FileWithoutRecordsLeavesPanelsEmptyAndAdcFieldUnset) {
    auto t = Table();
    (*t)[5] = TPointSlot{5, 2048};
    ASSERT_TRUE(SaveSpectrumFile(Path("bare.kav"), *t));
    Readings.AdcFieldValue = 3;
    ASSERT_EQ(OpenSpectrum(Session, Path("bare.kav")).Outcome, TLoadOutcome::Loaded);
    for (int panel = 5; panel <= 11; ++panel)
        EXPECT_EQ(View.Panels[panel], "") << panel;
    EXPECT_EQ(Readings.AdcFieldValue, -1);
    EXPECT_TRUE(View.GainBlank && View.SpeedBlank);
}

TEST_F(OpenClose, MissingNameKeepsThePointsButTakesTheName) {
    (*Store)[30] = TPointSlot{30, 1000};
    const auto before = std::make_unique<TPointTable>(*Store);
    const QString path = Path("missing.kav");
    EXPECT_EQ(OpenSpectrum(Session, path).Outcome, TLoadOutcome::NotFound);
    EXPECT_TRUE(*Store == *before);
    EXPECT_EQ(View.Caption, "Kavis - missing.kav");
    EXPECT_EQ(Cfg.LastOpen, path);
    EXPECT_TRUE(View.SaveAsEnabled);
}

TEST_F(OpenClose, UnreadableOrTooLongFileChangesNothingAndNamesTheFile) {
    Write("long.kav", QByteArray((PointSlotCount + 1) * 4, '\0'));
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
    EXPECT_EQ(DirectoryWithSeparator("/c.kav"), "/");
}

// A new path goes on top; a listed one (only an equal entry counts: a path
// that merely contains one is another file) stays where it is; the 21st
// drops the oldest, while a listed file in a full list loses no entry.
TEST(RecentFiles, NewPathGoesOnTopAndAListedOneStaysWhereItIs) {
    const auto numbered = [](int from, int to) {
        TRecentFiles list;
        for (int i = from; i >= to; --i)
            list << QStringLiteral("/s/%1.kav").arg(i); // newest first
        return list;
    };
    const struct {
        TRecentFiles Before;
        QString Path;
        TRecentFiles After;
    } cases[] = {
        {{}, "/s/a.kav", {"/s/a.kav"}},
        {{"/s/a.kav"}, "/s/b.kav", {"/s/b.kav", "/s/a.kav"}},
        {{"/s/b.kav", "/s/a.kav"}, "/s/a.kav", {"/s/b.kav", "/s/a.kav"}},
        {{"/s/b.kav", "/s/a.kav"}, "", {"/s/b.kav", "/s/a.kav"}},
        {{"/d/a.kav", ""}, "/mnt/d/a.kav", {"/mnt/d/a.kav", "/d/a.kav", ""}},
        {{"/d/a.kav"}, "/d/a.kav.kav", {"/d/a.kav.kav", "/d/a.kav"}},
        {numbered(20, 1), "/s/21.kav", numbered(21, 2)},
        {numbered(20, 1), "/s/1.kav", numbered(20, 1)},
        {numbered(20, 1), "/s/12.kav", numbered(20, 1)},
    };
    for (const auto& c : cases) {
        TRecentFiles list = c.Before;
        UpdateRecentFilesList(list, c.Path);
        EXPECT_EQ(list, c.After) << c.Path.toStdString();
    }
}

TEST(RecentFiles, MenusAreRebuiltWithIndexedCaptionsEvenForAnEmptyPath) {
    TRecordingView view;
    TRecentFiles list;
    UpdateRecentFiles(list, "", view);
    EXPECT_EQ(view.Calls, QStringList{"Menus 0 0"});
    EXPECT_FALSE(view.SubmenuEnabled);

    UpdateRecentFiles(list, "/s/a.kav", view);
    UpdateRecentFiles(list, "/s/b c.kav", view);
    EXPECT_EQ(view.MenuCaptions, (QStringList{"0 - /s/b c.kav", "1 - /s/a.kav"}));
    EXPECT_TRUE(view.SubmenuEnabled);
    EXPECT_EQ(view.Calls.size(), 3);
}
