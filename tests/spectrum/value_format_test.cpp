#include "config/settings_store.h"
#include "qstring_printer.h"
#include "spectrum/value_format.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

namespace {

class ValueFormat : public ::testing::Test {
protected:
    ValueFormat() { SetDefaults(Cfg, "/w"); }
    TKavCfg Cfg{};
    TValueFormat Format{Cfg, QChar(',')};
};

TEST_F(ValueFormat, FieldInEverySweepUnit) {
    Cfg.RazvUnits[0].KoeffK = 2; // unit 0 shows the code whatever its line
    EXPECT_EQ(Format.FieldToStr(65519), "65519");
    EXPECT_EQ(Format.FieldToStr(0), "0");
    Cfg.RazvUnit = 1; // fixed (4, 3)
    EXPECT_EQ(Format.FieldToStr(65519), "5,000 А");
    EXPECT_EQ(Format.FieldToStr(32760), "2,500 А");
    Cfg.RazvUnit = 2; // general (4, 2)
    EXPECT_EQ(Format.FieldToStr(65519), "300 Э");
    EXPECT_EQ(Format.FieldToStr(100), "0,4579 Э");
    Cfg.RazvUnit = 3; // general (6, 4)
    EXPECT_EQ(Format.FieldToStr(0), "3000 Э");
    EXPECT_EQ(Format.FieldToStr(65519), "3300 Э");
    EXPECT_EQ(Format.FieldToStr(32760), "3150 Э");
    EXPECT_EQ(Format.FieldToStr(100), "3000,46 Э");
    Cfg.RazvUnit = 4;
    EXPECT_EQ(Format.FieldToStr(100), "");
}

TEST_F(ValueFormat, AmplitudeInCodesDividedByTheGain) {
    EXPECT_EQ(Format.AmplToStr(100), "100");
    EXPECT_EQ(Format.AmplToStr(-2047), "-2047");
    Cfg.Amplifying = 2; // factor 5
    EXPECT_EQ(Format.AmplToStr(100), "20");
    EXPECT_EQ(Format.AmplToStr(7), "1,4");
    Cfg.Amplifying = 200; // no such row: factor 1, never a division by zero
    EXPECT_EQ(Format.AmplToStr(100), "100");
}

TEST_F(ValueFormat, AmplitudeInVoltsTakesItsPrefix) {
    Cfg.AmpUnit = 1;
    EXPECT_EQ(Format.AmplToStr(2047), "10 В");
    Cfg.Amplifying = 7; // factor 200
    EXPECT_EQ(Format.AmplToStr(2047), "50 мВ");

    // A line of 1 mV per code makes the values easy to state.
    Cfg.Amplifying = 0;
    Cfg.AmpUnits[1].KoeffK = 0.001;
    Cfg.AmpUnits[1].KoeffB = 0;
    EXPECT_EQ(Format.AmplToStr(0), "0 В");
    EXPECT_EQ(Format.AmplToStr(1000), "1 В");
    EXPECT_EQ(Format.AmplToStr(-500), "-500 мВ");
    EXPECT_EQ(Format.AmplToStr(1), "1 мВ");
    Cfg.AmpUnits[1].KoeffK = 0.0000042;
    EXPECT_EQ(Format.AmplToStr(1000), "4,2 мВ");
    EXPECT_EQ(Format.AmplToStr(100), "420 мкВ");
    EXPECT_EQ(Format.AmplToStr(-100), "-420 мкВ");
    Cfg.AmpUnits[1].KoeffK = 0.0009999;
    EXPECT_TRUE(Format.AmplToStr(1).endsWith(" мкВ")) << Format.AmplToStr(1).toStdString();

    Cfg.AmpUnit = 2;
    EXPECT_EQ(Format.AmplToStr(1), "");
}

TEST_F(ValueFormat, AreaInEveryUnitPair) {
    EXPECT_EQ(Format.AreaToStr(123400), "1,234E+005 отсч^3");
    Cfg.RazvUnit = 1;
    EXPECT_EQ(Format.AreaToStr(1e6), "5,824E-003 отсч*А^2");
    Cfg.RazvUnit = 2;
    Cfg.AmpUnit = 1;
    EXPECT_EQ(Format.AreaToStr(1e6), "1,024E-001 В*Э^2");
    Cfg.RazvUnit = 0;
    EXPECT_EQ(Format.AreaToStr(1e6), "4,885E+003 В*отсч^2");
    // Offsets and the gain do not enter the area.
    Cfg.AmpUnits[1].KoeffB = 5;
    Cfg.Amplifying = 3;
    EXPECT_EQ(Format.AreaToStr(1e6), "4,885E+003 В*отсч^2");
    Cfg.RazvUnit = 4;
    EXPECT_EQ(Format.AreaToStr(1e6), "");
    Cfg.RazvUnit = 0;
    Cfg.AmpUnit = 2;
    EXPECT_EQ(Format.AreaToStr(1e6), "");
}

TEST_F(ValueFormat, CorrectionInBothUnits) {
    EXPECT_EQ(Format.CorrToStr(-32767), "-32767");
    Cfg.CorrUnits[0].KoeffB = 0.5; // halves go to the even neighbour
    EXPECT_EQ(Format.CorrToStr(0), "0");
    EXPECT_EQ(Format.CorrToStr(1), "2");
    EXPECT_EQ(Format.CorrToStr(2), "2");
    EXPECT_EQ(Format.CorrToStr(-1), "0"); // -0.5: no "-0"
    EXPECT_EQ(Format.CorrToStr(-2), "-2");
    Cfg.CorrUnit = 1; // general (4, 5)
    EXPECT_EQ(Format.CorrToStr(32767), "1000 мВ");
    EXPECT_EQ(Format.CorrToStr(100), "3,052 мВ");
    EXPECT_EQ(Format.CorrToStr(-32767), "-1000 мВ");
    Cfg.CorrUnit = 2;
    EXPECT_EQ(Format.CorrToStr(100), "");
}

TEST_F(ValueFormat, AdcInEveryUnit) {
    EXPECT_EQ(Format.ADCToStr(4095), "4095");
    Cfg.ADCUnit = 1; // fixed (3, 2)
    EXPECT_EQ(Format.ADCToStr(4095), "10,00 В");
    EXPECT_EQ(Format.ADCToStr(2048), "5,00 В");
    Cfg.ADCUnit = 2; // fixed (2, 2)
    EXPECT_EQ(Format.ADCToStr(4095), "6,00 А");
    EXPECT_EQ(Format.ADCToStr(1000), "1,50 А");
    Cfg.ADCUnit = 3;
    EXPECT_EQ(Format.ADCToStr(41), "0,10 Э");
    Cfg.ADCUnit = 4; // fixed (4, 0)
    EXPECT_EQ(Format.ADCToStr(4095), "9000 Э");
    Cfg.ADCUnits[4].X2 = 90000;
    ASSERT_TRUE(CalcUnitKoeff(Cfg.ADCUnits[4], 0, 4095));
    EXPECT_EQ(Format.ADCToStr(4095), "9,000E+4 Э"); // five integer digits
    Cfg.ADCUnit = 5;
    EXPECT_EQ(Format.ADCToStr(4095), "");
}

TEST_F(ValueFormat, BrokenLinesGiveDefinedTexts) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Cfg.CorrUnits[0].KoeffK = inf;
    EXPECT_EQ(Format.CorrToStr(1), "INF");
    EXPECT_EQ(Format.CorrToStr(-1), "-INF");
    EXPECT_EQ(Format.CorrToStr(0), "NAN"); // 0 * inf
    Cfg.ADCUnits[0].KoeffK = 1e300;
    EXPECT_EQ(Format.ADCToStr(1), "1E300");
    Cfg.ADCUnits[0].KoeffK = 1e17;
    EXPECT_EQ(Format.ADCToStr(3), "300000000000000000");
    Cfg.AmpUnit = 1;
    Cfg.AmpUnits[1].KoeffB = nan;
    EXPECT_EQ(Format.AmplToStr(5), "NAN В");
    EXPECT_EQ(Format.AreaToStr(nan), "NAN В*отсч^2");
    Cfg.RazvUnit = 3;
    Cfg.RazvUnits[3].KoeffK = -inf;
    EXPECT_EQ(Format.FieldToStr(1), "-INF Э");
}

TEST_F(ValueFormat, SelectionChangesShowAtTheNextCall) {
    const QString before = Format.FieldToStr(65519);
    Cfg.RazvUnit = 2;
    EXPECT_NE(Format.FieldToStr(65519), before);
    const TValueFormat dot(Cfg, QChar('.'));
    EXPECT_EQ(dot.FieldToStr(100), "0.4579 Э");
}

} // namespace
