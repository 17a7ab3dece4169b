#include "config/settings_store.h"
#include "spectrum/measure_unit.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TMeasureUnit Unit(double x1, double x2, double k = 7, double b = 9) {
    TMeasureUnit u;
    u.X1 = x1;
    u.X2 = x2;
    u.KoeffK = k;
    u.KoeffB = b;
    return u;
}

TEST(CalcUnitKoeff, MapsTheFirstCodeToX1AndTheSecondToX2) {
    TMeasureUnit u = Unit(3000, 3300);
    ASSERT_TRUE(CalcUnitKoeff(u, 0, 65519));
    EXPECT_DOUBLE_EQ(UnitValue(u, 0), 3000);
    EXPECT_DOUBLE_EQ(UnitValue(u, 65519), 3300);
    EXPECT_EQ(u.X1, 3000);
    EXPECT_EQ(u.X2, 3300);

    // Reversed and negative codes: the amplitude group's -2047..2047.
    TMeasureUnit v = Unit(-10, 10);
    ASSERT_TRUE(CalcUnitKoeff(v, -2047, 2047));
    EXPECT_DOUBLE_EQ(v.KoeffK, 20.0 / 4094);
    EXPECT_NEAR(v.KoeffB, 0, 1e-15);
    EXPECT_DOUBLE_EQ(UnitValue(v, -2047), -10);

    // A falling line: first code above the second.
    TMeasureUnit w = Unit(5, 1);
    ASSERT_TRUE(CalcUnitKoeff(w, 100, 200));
    EXPECT_DOUBLE_EQ(w.KoeffK, -0.04);
    EXPECT_DOUBLE_EQ(UnitValue(w, 150), 3);
}

TEST(CalcUnitKoeff, IdentityForEveryDefaultUnitZero) {
    TKavCfg cfg{};
    SetDefaults(cfg, "/w");
    for (const TMeasureUnit* u :
         {&cfg.RazvUnits[0], &cfg.AmpUnits[0], &cfg.CorrUnits[0], &cfg.ADCUnits[0]}) {
        EXPECT_DOUBLE_EQ(u->KoeffK, 1);
        EXPECT_DOUBLE_EQ(u->KoeffB, 0);
        EXPECT_TRUE(u->Name.isEmpty());
    }
    EXPECT_DOUBLE_EQ(UnitValue(cfg.CorrUnits[1], 32767), 1000);
    EXPECT_DOUBLE_EQ(UnitValue(cfg.ADCUnits[4], 4095), 9000);
    EXPECT_DOUBLE_EQ(UnitValue(cfg.RazvUnits[1], 65519), 5);
}

TEST(CalcUnitKoeff, EqualCodesKeepThePreviousLine) {
    TMeasureUnit u = Unit(1, 2);
    EXPECT_FALSE(CalcUnitKoeff(u, 5, 5));
    EXPECT_EQ(u.KoeffK, 7);
    EXPECT_EQ(u.KoeffB, 9);
    EXPECT_EQ(u.X1, 1);
    EXPECT_EQ(u.X2, 2);
}

TEST(CalcUnitKoeff, NoInfiniteOrNaNLineIsEverStored) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    TMeasureUnit u = Unit(1, 2);
    EXPECT_FALSE(CalcUnitKoeff(u, nan, 1));
    EXPECT_FALSE(CalcUnitKoeff(u, 0, inf));
    // Finite codes whose line overflows a 64-bit float.
    TMeasureUnit big = Unit(1e308, -1e308);
    EXPECT_FALSE(CalcUnitKoeff(big, 0, 1e-30f));
    TMeasureUnit nanX = Unit(std::numeric_limits<double>::quiet_NaN(), 1);
    EXPECT_FALSE(CalcUnitKoeff(nanX, 0, 1));
    for (const TMeasureUnit* x : {&u, &big, &nanX}) {
        EXPECT_EQ(x->KoeffK, 7);
        EXPECT_EQ(x->KoeffB, 9);
    }
}

TEST(UnitSnapshot, CopiesLiveUnitsAndBringsThemBack) {
    TKavCfg cfg{};
    SetDefaults(cfg, "/w");
    const TKavCfg defaults = cfg;
    SaveUnitSnapshot(cfg);
    cfg.RazvUnits[3].X1 = 1234;
    cfg.ADCUnits[4].Name = "x";
    cfg.AmpUnits[1].X1 = 1; // not part of the snapshot
    EXPECT_EQ(cfg.RazvUnits[7], defaults.RazvUnits[3]);
    RestoreUnitSnapshot(cfg);
    EXPECT_EQ(cfg.RazvUnits[3], defaults.RazvUnits[3]);
    EXPECT_EQ(cfg.ADCUnits[4], defaults.ADCUnits[4]);
    EXPECT_EQ(cfg.AmpUnits[1].X1, 1);

    cfg.RazvUnits[2].X2 = 77;
    SaveUnitSnapshot(cfg);
    cfg.RazvUnits[2].X2 = 88;
    RestoreUnitSnapshot(cfg);
    EXPECT_EQ(cfg.RazvUnits[2].X2, 77);
}

} // namespace
