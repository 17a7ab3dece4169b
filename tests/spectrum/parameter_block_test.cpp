#include "spectrum/parameter_block.h"

#include "config/settings_store.h"
#include "recording_view.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"

#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {

std::unique_ptr<TPointTable> Table() {
    auto t = std::make_unique<TPointTable>();
    ClearPoints(*t);
    return t;
}

TKavCfg DefaultCfg() {
    TKavCfg cfg{};
    SetDefaults(cfg, "/work");
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
    TInstrumentReadings readings;
    readings.InstrumentSerial = 12;
    readings.InstrumentProgram = 34;
    readings.AdcValue = 1234;
    readings.SumCount = 70000; // low 16 bits: 4464

    auto store = Table();
    (*store)[500] = TPointSlot{500, 2048};
    WriteParameterBlock(*store, cfg, readings);

    EXPECT_EQ((*store)[65535], Rec(3, ParGain));
    EXPECT_EQ((*store)[65534], Rec(7, ParSpeed));
    EXPECT_EQ((*store)[65533], Rec(12, ParSerial));
    EXPECT_EQ((*store)[65532], Rec(34, ParProgram));
    EXPECT_EQ((*store)[65531], Rec(30000, ParFieldLow));  // default 3000 Э
    EXPECT_EQ((*store)[65530], Rec(33000, ParFieldHigh)); // default 3300 Э
    EXPECT_EQ((*store)[65529], Rec(1234, ParAdcCode));
    EXPECT_EQ((*store)[65528], Rec(4464, ParSumCount));
    EXPECT_EQ((*store)[65527], Rec(25, ParFilter));
    EXPECT_EQ((*store)[65526], Rec(1284, ParAdcField)); // (12.34 + 0.5) * 100
    EXPECT_EQ((*store)[65525], (TPointSlot{0, 65535}));
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
    cfg.RazvUnits[3].X1 = 6553.6; // 65536 wraps to 0
    cfg.RazvUnits[3].X2 = 6600;   // 66000 wraps to 464
    auto store = Table();
    WriteParameterBlock(*store, cfg, TInstrumentReadings{});
    EXPECT_EQ((*store)[65531].X, 0);
    EXPECT_EQ((*store)[65530].X, 464);
    cfg.RazvUnits[3].X1 = 0.25; // 2.5 -> 2
    cfg.RazvUnits[3].X2 = 0.75; // 7.5 -> 8
    WriteParameterBlock(*store, cfg, TInstrumentReadings{});
    EXPECT_EQ((*store)[65531].X, 2);
    EXPECT_EQ((*store)[65530].X, 8);
}

TEST(ParameterBlock, ApplyWithoutRecordsResetsTheSelectorsAndBlanksThem) {
    TKavCfg cfg = DefaultCfg();
    cfg.Amplifying = 5;
    cfg.Rapid = 2;
    cfg.ViewMin = 100;
    cfg.ViewMax = 65000;
    const TKavCfg before = cfg;
    TInstrumentReadings readings;
    TRecordingView view;
    auto store = Table();
    (*store)[10] = TPointSlot{10, 4000};
    ApplyFileParameters(*store, cfg, readings, view, u'.');
    EXPECT_EQ(view.Calls,
              (QStringList{"Gain 0", "Speed 11", "BlankSelectors", "ViewBounds '100' '65000'"}));
    EXPECT_EQ(cfg.Amplifying, 0);
    EXPECT_EQ(cfg.Rapid, 11);
    TKavCfg expected = before;
    expected.Amplifying = 0;
    expected.Rapid = 11;
    EXPECT_TRUE(cfg == expected);
}

TEST(ParameterBlock, RoundTripRestoresSettingsReadingsAndPanels) {
    TKavCfg source = DefaultCfg();
    source.Amplifying = 4;
    source.Rapid = 9;
    source.RazvUnits[3].X1 = 3200.5;
    source.RazvUnits[3].X2 = 3450;
    source.EnableRTLPF = true;
    source.RTLPFConst = 40;
    TInstrumentReadings sourceReadings;
    sourceReadings.InstrumentSerial = 77;
    sourceReadings.InstrumentProgram = 3;
    sourceReadings.AdcValue = 2000;
    sourceReadings.SumCount = 6;
    auto store = Table();
    WriteParameterBlock(*store, source, sourceReadings);
    // Loading places each record at its own code.
    auto loaded = Table();
    for (int slot = 65526; slot <= 65535; ++slot)
        (*loaded)[(*store)[slot].Y] = (*store)[slot];

    TKavCfg cfg = DefaultCfg();
    TInstrumentReadings readings;
    TRecordingView view;
    ApplyFileParameters(*loaded, cfg, readings, view, u'.');

    EXPECT_EQ(cfg.Amplifying, 4);
    EXPECT_EQ(cfg.Rapid, 9);
    EXPECT_EQ(view.GainIndex, 4);
    EXPECT_EQ(view.SpeedIndex, 9);
    EXPECT_FALSE(view.GainBlank);
    EXPECT_EQ(readings.AdcValue, 2000);
    EXPECT_EQ(view.AdcReading, "2000"); // ADC unit 0: the code
    // (2000 * 10 / 4095) * 100 = 488.4 -> 488, read back / 100.
    EXPECT_FLOAT_EQ(readings.AdcFieldValue, 4.88f);
    EXPECT_EQ(view.Panels[6], "S/N: 77");
    EXPECT_EQ(view.Panels[5], "PR: 3");
    EXPECT_EQ(view.Panels[10], "НАКОПЛ: 6");
    EXPECT_EQ(view.Panels[9], "ФИЛЬТР [40]");

    // Sweep units 3 and 2 describe the file's range over codes 0..65519.
    const TMeasureUnit& u3 = cfg.RazvUnits[3];
    const TMeasureUnit& u2 = cfg.RazvUnits[2];
    EXPECT_DOUBLE_EQ(u3.X1, 3200.5);
    EXPECT_DOUBLE_EQ(u3.X2, 3450);
    EXPECT_NEAR(UnitValue(u3, 0), 3200.5, 1e-6);
    EXPECT_NEAR(UnitValue(u3, 65519), 3450, 1e-6);
    EXPECT_EQ(u2.X1, 0);
    EXPECT_DOUBLE_EQ(u2.X2, 249.5);
    EXPECT_NEAR(UnitValue(u2, 65519), 249.5, 1e-6);
    EXPECT_EQ(u2.Name, "Э");
    EXPECT_EQ(u3.Name, "Э");
}

TEST(ParameterBlock, FilterZeroOneBoundAndOutOfTableRowsLeaveThingsAlone) {
    TKavCfg cfg = DefaultCfg();
    cfg.RazvUnits[2].Name = "x";
    cfg.RazvUnits[3].Name = "y";
    const TMeasureUnit unit2 = cfg.RazvUnits[2];
    const TMeasureUnit unit3 = cfg.RazvUnits[3];
    auto store = Table();
    (*store)[ParFilter] = Rec(0, ParFilter);
    (*store)[ParFieldLow] = Rec(31000, ParFieldLow);
    (*store)[ParGain] = Rec(8, ParGain);     // no such gain row
    (*store)[ParSpeed] = Rec(268, ParSpeed); // low byte 12: no such row either
    for (std::uint16_t code = 65520; code <= 65524; ++code)
        (*store)[code] = Rec(1, code);
    TInstrumentReadings readings;
    const TInstrumentReadings readingsBefore = readings;
    TRecordingView view;
    ApplyFileParameters(*store, cfg, readings, view, u'.');

    EXPECT_TRUE(view.Panels.empty());
    EXPECT_EQ(cfg.RazvUnits[3].X1, 3100);
    EXPECT_EQ(cfg.RazvUnits[3].X2, unit3.X2);
    EXPECT_EQ(cfg.RazvUnits[3].KoeffK, unit3.KoeffK); // not re-derived
    EXPECT_EQ(cfg.RazvUnits[3].Name, "y");
    EXPECT_TRUE(cfg.RazvUnits[2] == unit2);
    EXPECT_EQ(cfg.Amplifying, 0);
    EXPECT_EQ(cfg.Rapid, 11);
    EXPECT_TRUE(view.GainBlank);
    EXPECT_TRUE(view.SpeedBlank);
    EXPECT_EQ(readings.AdcValue, readingsBefore.AdcValue);
    EXPECT_EQ(readings.AdcFieldValue, readingsBefore.AdcFieldValue);
}

TEST(ParameterBlock, ReSavedFileKeepsFileParametersAndTheProgramsOwnState) {
    QTemporaryDir dir;
    const QString first = dir.filePath("first.kav");
    const QString second = dir.filePath("second.kav");

    TKavCfg fileCfg = DefaultCfg();
    fileCfg.Amplifying = 5;
    fileCfg.Rapid = 3;
    fileCfg.RazvUnits[3].X1 = 3100;
    fileCfg.RazvUnits[3].X2 = 3400;
    fileCfg.EnableRTLPF = true;
    fileCfg.RTLPFConst = 30;
    TInstrumentReadings fileReadings{99, 88, 777, 7, -1};
    auto store = Table();
    (*store)[1000] = TPointSlot{1000, 3000};
    WriteParameterBlock(*store, fileCfg, fileReadings);
    ASSERT_TRUE(SaveSpectrumFile(first, *store));

    // The program now has its own state and loads the file.
    TKavCfg cfg = DefaultCfg();
    TInstrumentReadings readings{1, 2, 0, 1, -1};
    auto undo = Table();
    ASSERT_EQ(LoadSpectrumFile(first, *store, *undo), TLoadOutcome::Loaded);
    TRecordingView view;
    ApplyFileParameters(*store, cfg, readings, view, u'.');
    WriteParameterBlock(*store, cfg, readings);

    EXPECT_EQ((*store)[65535], Rec(5, ParGain));
    EXPECT_EQ((*store)[65534], Rec(3, ParSpeed));
    EXPECT_EQ((*store)[65533], Rec(1, ParSerial));  // the program's, not 99
    EXPECT_EQ((*store)[65532], Rec(2, ParProgram)); // not 88
    EXPECT_EQ((*store)[65531], Rec(31000, ParFieldLow));
    EXPECT_EQ((*store)[65530], Rec(34000, ParFieldHigh));
    EXPECT_EQ((*store)[65529], Rec(777, ParAdcCode));
    EXPECT_EQ((*store)[65528], Rec(1, ParSumCount)); // not 7
    EXPECT_EQ((*store)[65527], Rec(0, ParFilter));   // filter off here
    const TPointSlot newAdcField = (*store)[65526];
    // The loaded ParAdcField still sits at its code below the new block.
    // 777 * 10 / 4095 V = 1.897..., times 100 rounded: 190.
    EXPECT_EQ((*store)[65525], Rec(190, ParAdcField));

    ASSERT_TRUE(SaveSpectrumFile(second, *store));
    TLoadStats stats;
    ASSERT_EQ(LoadSpectrumFile(second, *store, *undo, nullptr, &stats), TLoadOutcome::Loaded);
    EXPECT_EQ(stats.Records, 12); // one point, the old ParAdcField, the new block
    EXPECT_EQ(stats.Overwritten, 1);
    EXPECT_EQ((*store)[65525], newAdcField); // the later record wins
    EXPECT_EQ((*store)[ParSerial], Rec(1, ParSerial));
}
