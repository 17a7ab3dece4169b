// The comparison with a reference spectrum, its results and its refusals.

#include "config/settings_store.h"
#include "processing/field_shift.h"
#include "processing/fit_texts.h"
#include "processing/spectrum_compare.h"
#include "qstring_printer.h"
#include "spectrum/parameter_block.h"
#include "synthetic_lines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

struct TPair {
    TMeasureUnit SampleAxis = Axis(3050, 3350);
    TMeasureUnit ReferenceAxis = Axis(3000, 3400);
    std::unique_ptr<TPointTable> Sample;
    std::unique_ptr<TPointTable> Reference;

    // The standard scaled and moved up by `shift` Э, swept over another range.
    TPair(double scale, double shift, double referenceGain = 1) {
        Sample = Recorded(SampleAxis, 3120, 3280, 10,
                          [=](double h) { return scale * Standard(h - shift); });
        Reference = Recorded(ReferenceAxis, 3100, 3300, 8,
                             [=](double h) { return Standard(h) / referenceGain; });
    }
    TSpectrumComparison Compare(const TCompareRequest& request, int sampleGain = 0,
                                int referenceGain = 0) const {
        return CompareSpectra(TCompareSpectrum{Sample.get(), SampleAxis, sampleGain, 1},
                              TCompareSpectrum{Reference.get(), ReferenceAxis, referenceGain, 1},
                              request);
    }
};

TEST(CrossCorrelation, FindsTheLagToAFractionOfAStep) {
    for (double lag : {0.0, 10.3, -37.75, 120.5}) {
        std::vector<double> s(800);
        std::vector<double> r(800);
        for (int i = 0; i < 800; ++i) {
            r[i] = TextbookLorentz(i, {400, 30, 100}) + 5;
            s[i] = 0.4 * TextbookLorentz(i - lag, {400, 30, 100}) - 2;
        }
        EXPECT_NEAR(CrossCorrelationLag(s, r, 400), lag, 0.02) << lag;
    }
    EXPECT_EQ(CrossCorrelationLag(std::vector<double>(50, 1.0), std::vector<double>(50, 3.0), 20),
              0);
    EXPECT_EQ(CrossCorrelationLag({}, {}, 20), 0);
}

// 0.37 and 1.5 Э come back; the difference left is the rounding of the codes.
TEST(SpectrumCompare, SelfScaledAndShiftedComesBack) {
    const TPair pair(0.37, 1.5);
    struct TCase {
        TNormalization Normalization;
        double Scale;
        double Tolerance;
    } cases[] = {{TNormalization::PeakToPeak, 0.37, 0.002},
                 {TNormalization::Integral, 0.37, 0.003},
                 {TNormalization::None, 1, 0},
                 {TNormalization::Records, 1, 0}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(NormalizationName(c.Normalization).toStdString());
        TCompareRequest request;
        request.Normalization = c.Normalization;
        request.FindShift = true;
        request.ReferenceSpins = 2e17;
        const TSpectrumComparison r = pair.Compare(request);
        ASSERT_EQ(r.Status, TCompareStatus::Done) << CompareStatusText(r).toStdString();
        EXPECT_NEAR(r.Scale, c.Scale, c.Tolerance);
        EXPECT_NEAR(r.ShiftField, 1.5, 0.005);
        EXPECT_NEAR(r.ShiftCodes, 1.5 / pair.SampleAxis.KoeffK, 1.5);
        ASSERT_TRUE(r.HasRatio);
        EXPECT_NEAR(r.IntegralRatio, 0.37, 0.003);
        ASSERT_TRUE(r.HasSpins);
        EXPECT_NEAR(r.SampleSpins, r.IntegralRatio * 2e17, 1e3);
        if (c.Normalization != TNormalization::None && c.Normalization != TNormalization::Records) {
            EXPECT_LT(r.ResidualRms, 2.5);
        }
        ASSERT_EQ(r.Curve.Codes.size(), static_cast<std::size_t>(r.PointCount));
        for (std::size_t i = 0; i < r.Curve.Codes.size(); i += 37) {
            const std::uint16_t code = r.Curve.Codes[i];
            EXPECT_NEAR(r.Curve.Difference[i], (*pair.Sample)[code].Y - r.Curve.Reference[i], 1e-9);
        }
        EXPECT_EQ(r.First, r.Curve.Codes.front());
    }
}

// Without the shift the reference stays where its field puts it.
TEST(SpectrumCompare, PlacedByFieldWithoutShift) {
    const TPair pair(0.37, 1.5);
    TCompareRequest request;
    request.Normalization = TNormalization::PeakToPeak;
    const TSpectrumComparison moved = pair.Compare(request);
    ASSERT_TRUE(moved.Done());
    EXPECT_EQ(moved.ShiftCodes, 0);
    EXPECT_GT(moved.ResidualRms, 50);

    // An unshifted copy matches in place, over the sample's 3120..3280 Э.
    const TPair same(0.37, 0);
    const TSpectrumComparison r = same.Compare(request);
    ASSERT_TRUE(r.Done());
    EXPECT_LT(r.ResidualRms, 2.5);
    EXPECT_NEAR(UnitValue(same.SampleAxis, r.First), 3120, 0.01);
    EXPECT_NEAR(UnitValue(same.SampleAxis, r.Last), 3280, 0.05); // the last of every tenth code
}

// The sample at gain factor 5 is scaled by 5 and holds the same spins; a sum
// of nine sweeps holds their mean, so sweep counts do not enter.
TEST(SpectrumCompare, GainsNormaliseAndSweepCountsDoNot) {
    const TPair pair(1, 0, 5);
    TCompareRequest request;
    request.Normalization = TNormalization::Records;
    request.ReferenceSpins = 3e16;
    const TSpectrumComparison r =
        CompareSpectra(TCompareSpectrum{pair.Sample.get(), pair.SampleAxis, 2, 9},
                       TCompareSpectrum{pair.Reference.get(), pair.ReferenceAxis, 0, 1}, request);
    ASSERT_TRUE(r.Done()) << CompareStatusText(r).toStdString();
    EXPECT_EQ(r.Scale, 5);
    EXPECT_LT(r.ResidualRms, 3);
    EXPECT_NEAR(r.IntegralRatio, 1, 0.01);
    EXPECT_NEAR(r.SampleSpins, 3e16, 3e14);
    EXPECT_EQ(r.SampleSweeps, 9);
    EXPECT_EQ(r.ReferenceSweeps, 1);

    TKavCfg cfg{};
    SetDefaults(cfg, QString());
    const TValueFormat format(cfg, u',');
    const QStringList text = CompareTextLines(r, cfg, format);
    ASSERT_EQ(text.size(), 1);
    EXPECT_TRUE(text[0].startsWith("Нормировка=по усилению  Масштаб=5  Сдвиг=0  СКО разности="))
        << text[0].toStdString();
    EXPECT_TRUE(text[0].contains("Усиление=5 / 1  Накоплений=9 / 1  Отношение двойных интегралов="))
        << text[0].toStdString();
    EXPECT_TRUE(text[0].contains("Спинов в образце=")) << text[0].toStdString();
    EXPECT_TRUE(text[0].endsWith("E+016")) << text[0].toStdString();
}

TEST(SpectrumCompare, RefusalsSayWhy) {
    const TPair pair(0.37, 0);
    auto flat = std::make_unique<TPointTable>();
    ClearPoints(*flat);
    for (int k = 20000; k < 40000; k += 10)
        (*flat)[k] = TPointSlot{static_cast<std::uint16_t>(k), 2048};
    auto empty = std::make_unique<TPointTable>();
    ClearPoints(*empty);
    struct TCase {
        const char* Name;
        const TPointTable* Sample;
        TMeasureUnit ReferenceAxis;
        const TPointTable* Reference;
        TNormalization Normalization;
        std::uint16_t From, To;
        TCompareStatus Status;
        QString Text;
    } cases[] = {
        {"another field range", pair.Sample.get(), Axis(3400, 3500), pair.Reference.get(),
         TNormalization::None, 0, 65519, TCompareStatus::NoOverlap,
         "Спектр сравнения не перекрывается с текущим по полю"},
        {"empty reference", pair.Sample.get(), Axis(3000, 3400), empty.get(), TNormalization::None,
         0, 65519, TCompareStatus::EmptyReference,
         "Сравнение невозможно: в спектре сравнения нет точек"},
        {"empty range", pair.Sample.get(), Axis(3000, 3400), pair.Reference.get(),
         TNormalization::None, 100, 200, TCompareStatus::EmptySample,
         "Сравнение невозможно: в диапазоне нет точек спектра"},
        {"flat reference by amplitude", pair.Sample.get(), Axis(3050, 3350), flat.get(),
         TNormalization::PeakToPeak, 0, 65519, TCompareStatus::ZeroReference,
         "Нормировка невозможна: размах спектра сравнения равен нулю"},
        {"flat reference by integral", pair.Sample.get(), Axis(3050, 3350), flat.get(),
         TNormalization::Integral, 0, 65519, TCompareStatus::ZeroReference,
         "Нормировка невозможна: двойной интеграл спектра сравнения равен нулю"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TCompareRequest request;
        request.Normalization = c.Normalization;
        request.From = c.From;
        request.To = c.To;
        request.FindShift = true;
        const TSpectrumComparison r =
            CompareSpectra(TCompareSpectrum{c.Sample, pair.SampleAxis, 0, 1},
                           TCompareSpectrum{c.Reference, c.ReferenceAxis, 0, 1}, request);
        EXPECT_EQ(r.Status, c.Status);
        EXPECT_EQ(CompareStatusText(r), c.Text);
        EXPECT_TRUE(r.Curve.Codes.empty());
    }
}

// A reference is read on the instrument's calibration with its own records on
// top, whatever the sample shown brought into the live units.
TEST(SpectrumCompare, ReferenceSettingsFromItsRecords) {
    TKavCfg cfg{};
    SetDefaults(cfg, QString()); // the instrument: 3000..3300 Э
    cfg.RazvUnits[3].X1 = 3500;  // a loaded sample's bounds in the live unit
    cfg.RazvUnits[3].X2 = 3600;
    CalcUnitKoeff(cfg.RazvUnits[3], 0, 65519);
    cfg.Amplifying = 4;

    auto withRecords = std::make_unique<TPointTable>();
    ClearPoints(*withRecords);
    (*withRecords)[100] = TPointSlot{100, 2000};
    (*withRecords)[ParFieldLow] = TPointSlot{30500, ParFieldLow};
    (*withRecords)[ParFieldHigh] = TPointSlot{33500, ParFieldHigh};
    (*withRecords)[ParGain] = TPointSlot{3, ParGain};
    (*withRecords)[ParSumCount] = TPointSlot{16, ParSumCount};
    const TCompareSpectrum r = OpenedSpectrum(*withRecords, ReferenceSettings(cfg, *withRecords));
    EXPECT_NEAR(UnitValue(r.Field, 0), 3050, 1e-9);
    EXPECT_NEAR(UnitValue(r.Field, 65519), 3350, 1e-9);
    EXPECT_EQ(r.GainRow, 3);
    EXPECT_EQ(r.SweepCount, 16);

    auto bare = std::make_unique<TPointTable>();
    ClearPoints(*bare);
    (*bare)[100] = TPointSlot{100, 2000};
    const TCompareSpectrum b = OpenedSpectrum(*bare, ReferenceSettings(cfg, *bare));
    EXPECT_NEAR(UnitValue(b.Field, 65519), 3300, 1e-9); // the instrument's, not the sample's
    EXPECT_EQ(b.GainRow, 0); // as opening a file without a gain record sets it
    EXPECT_EQ(b.SweepCount, 1);
}

} // namespace
