#include "link/command_frame.h"
#include "link/protocol.h"

#include <gtest/gtest.h>

TEST(CommandFrame, TheFiveCommandsAsTheInstrumentExpectsThem) {
    TCommandValues v;
    v.PoleMax = 65519;
    v.PoleMin = 0;
    v.Amplifying = 0;
    v.Rapid = 10;
    v.Correction = 0;
    EXPECT_EQ(BuildCommand(CmdLinkRequest, v).toHex(), "815896ffff94");
    EXPECT_EQ(BuildCommand(CmdSweepBounds, v).toHex(), "81586fffef00005d");
    EXPECT_EQ(BuildCommand(CmdGainSpeed, v).toHex(), "81587a010883");
    EXPECT_EQ(BuildCommand(CmdCorrection, v).toHex(), "815885800005");
    EXPECT_EQ(BuildCommand(CmdAdcRequest, v).toHex(), "815890");
}

TEST(CommandFrame, BoundsGoHighByteFirstWithTheirSum) {
    TCommandValues v;
    v.PoleMax = 0x1234;
    v.PoleMin = 0x0102;
    // 6F + 12 + 34 + 01 + 02 = 0xB8
    EXPECT_EQ(BuildCommand(CmdSweepBounds, v).toHex(), "81586f12340102b8");
}

TEST(CommandFrame, CorrectionEnds) {
    TCommandValues v;
    v.Correction = -32767;
    EXPECT_EQ(BuildCommand(CmdCorrection, v).mid(3, 2).toHex(), "0001");
    v.Correction = 32767;
    EXPECT_EQ(BuildCommand(CmdCorrection, v).mid(3, 2).toHex(), "ffff");
    v.Correction = -40000; // hand-edited: held at the end of the range
    EXPECT_EQ(BuildCommand(CmdCorrection, v).mid(3, 2).toHex(), "0001");
}

TEST(CommandFrame, GainAndSpeedCodesComeFromTheTables) {
    TCommandValues v;
    v.Amplifying = 7; // "200", KodAmpl 9
    v.Rapid = 2;      // " СТОП", KodRapid 1
    EXPECT_EQ(BuildCommand(CmdGainSpeed, v).toHex(), "81587a090184");
    v.Amplifying = 8; // outside the table: the default rows
    v.Rapid = 12;
    EXPECT_EQ(BuildCommand(CmdGainSpeed, v).toHex(), "81587a010883");
}

TEST(CommandFrame, OtherCodesHaveNoFrame) {
    for (int code : {0, 1, 50, 112, 145, 255, 1000})
        EXPECT_TRUE(BuildCommand(code, TCommandValues{}).isEmpty()) << code;
}

TEST(CommandFrame, ValuesComeFromTheSettings) {
    TKavCfg cfg;
    cfg.PoleMax = 5000;
    cfg.PoleMin = 100;
    cfg.Amplifying = 3;
    cfg.Rapid = 4;
    cfg.Correction = -5;
    const TCommandValues v = CommandValuesOf(cfg);
    EXPECT_EQ(v.PoleMax, 5000);
    EXPECT_EQ(v.PoleMin, 100);
    EXPECT_EQ(v.Amplifying, 3);
    EXPECT_EQ(v.Rapid, 4);
    EXPECT_EQ(v.Correction, -5);
}
