#include "config/settings_store.h"
#include "processing/result_texts.h"

#include <gtest/gtest.h>

namespace {

TKavCfg RawCodes() {
    TKavCfg cfg{};
    SetDefaults(cfg, QString());
    return cfg;
}

} // namespace

TEST(ResultTexts, LabelsAndPairAmplitudesFollowTheGain) {
    TKavCfg cfg = RawCodes();
    const TValueFormat format(cfg, QChar('.'));
    EXPECT_EQ(ExtremumLabel(format, 2170), "122");
    EXPECT_EQ(ExtremumLabel(format, 1800), "-248");
    EXPECT_EQ(PairAmplitudeText(format, 240), "A=240");
    cfg.Amplifying = 1; // factor 2
    EXPECT_EQ(PairAmplitudeText(format, 240), "A=120");
}

TEST(ResultTexts, AreaShownFromZeroHiddenWhenNegative) {
    TKavCfg cfg = RawCodes();
    const TValueFormat format(cfg, QChar('.'));
    EXPECT_TRUE(AreaText(format, -1).isEmpty());
    EXPECT_TRUE(AreaText(format, 0).startsWith("S="));
    EXPECT_EQ(AreaText(format, 0), "S=" + format.AreaToStr(0));
}

TEST(ResultTexts, PeakRatioNeedsBothAmplitudes) {
    TKavCfg cfg = RawCodes();
    const TValueFormat format(cfg, QChar(','));
    TSpectrumResults r;
    r.TibaAmp = 500;
    r.TitanAmp = 240;
    EXPECT_EQ(PeakRatioText(format, r), "Tiba/Titan=500/240=2,08");
    cfg.Amplifying = 1; // amplitudes halve, the quotient stays
    EXPECT_EQ(PeakRatioText(format, r), "Tiba/Titan=250/120=2,08");

    double ratio = -1;
    r.TitanAmp = 0; // a rightmost line of no height: no quotient
    EXPECT_FALSE(PeakRatio(r, ratio));
    EXPECT_TRUE(PeakRatioText(format, r).isEmpty());
    r.TitanAmp = 240;
    r.TibaAmp = 0; // fewer than two lines
    EXPECT_TRUE(PeakRatioText(format, r).isEmpty());
    EXPECT_EQ(ratio, -1);
}
