#include "processing/resonance.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// Sweep unit 3 at its defaults: 3000 Э at code 0, 3300 Э at code 65519.
TKavCfg DefaultFieldCfg() {
    TKavCfg cfg{};
    cfg.RazvUnits[3].X1 = 3000;
    cfg.RazvUnits[3].X2 = 3300;
    cfg.RazvUnits[3].KoeffK = 300.0 / 65519.0;
    cfg.RazvUnits[3].KoeffB = 3000;
    cfg.RazvUnits[3].Name = QStringLiteral("Э");
    cfg.RazvUnit = 0; // the selected unit does not matter
    return cfg;
}

} // namespace

TEST(Resonance, DpphFrequencyAndGFactorOfTheTopCode) {
    TKavCfg cfg = DefaultFieldCfg();
    EXPECT_DOUBLE_EQ(AbsoluteField(cfg, 65519), 3300.0);
    EXPECT_EQ(DpphResonatorFrequency(cfg, 65519), 9254147);
    cfg.ResonatorFreq = DpphResonatorFrequency(cfg, 65519);
    EXPECT_EQ(FrequencyText(cfg, QChar('.')), QStringLiteral("f=9254.1МГц"));
    EXPECT_EQ(FrequencyText(cfg, QChar(',')), QStringLiteral("f=9254,1МГц"));

    double g = 0;
    ASSERT_TRUE(GFactorAt(cfg, 65519, g));
    EXPECT_NEAR(g, 2.0035999, 1e-7);
    EXPECT_LT(g, 2.0036);
    EXPECT_EQ(GFactorText(cfg, 65519, QChar('.')), QStringLiteral("g=2.0036"));
    // Lower field, higher g: 3000 Э gives 9254147 / (1399.6242 * 3000).
    EXPECT_EQ(GFactorText(cfg, 0, QChar(',')), QStringLiteral("g=2,204"));
}

TEST(Resonance, NoFrequencyGivesGZero) {
    TKavCfg cfg = DefaultFieldCfg();
    EXPECT_EQ(GFactorText(cfg, 100, QChar('.')), QStringLiteral("g=0"));
    EXPECT_EQ(FrequencyText(cfg, QChar('.')), QStringLiteral("f=0МГц"));
}

TEST(Resonance, ZeroFieldHasNoGFactor) {
    TKavCfg cfg = DefaultFieldCfg();
    cfg.RazvUnits[3].KoeffB = 0; // a calibration through zero field at code 0
    cfg.ResonatorFreq = 9254147;
    double g = 1;
    EXPECT_FALSE(GFactorAt(cfg, 0, g));
    EXPECT_EQ(g, 1);
    EXPECT_TRUE(GFactorText(cfg, 0, QChar('.')).isEmpty());
    EXPECT_FALSE(GFactorText(cfg, 1, QChar('.')).isEmpty());
}

TEST(Resonance, FrequencyOfAWildCalibrationIsLimited) {
    TKavCfg cfg = DefaultFieldCfg();
    cfg.RazvUnits[3].KoeffK = 1e9;
    EXPECT_EQ(DpphResonatorFrequency(cfg, 65519), std::numeric_limits<std::int32_t>::max());
    cfg.RazvUnits[3].KoeffK = -1e9;
    EXPECT_EQ(DpphResonatorFrequency(cfg, 65519), std::numeric_limits<std::int32_t>::min());
}
