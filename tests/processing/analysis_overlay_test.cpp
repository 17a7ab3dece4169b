// The fit and comparison shown over the spectrum: what they and refusals leave,
// and how a changed spectrum, undo or a new spectrum take it away.

#include "config/settings_store.h"
#include "processing/analysis_overlay.h"
#include "qstring_printer.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/parameter_block.h"
#include "synthetic_lines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

struct AnalysisOverlay : ::testing::Test {
    TKavCfg Cfg{};
    TAnalysisOverlay Overlay;
    TValueFormat Format{Cfg, QChar('.')};

    void SetUp() override {
        SetDefaults(Cfg, QStringLiteral("/tmp"));
        Cfg.RazvUnit = 3; // fields in Э
        Cfg.Fit.LineCount = 2;
    }

    // Two Lorentzian lines far apart, a little noise.
    static TSyntheticSpectrum TwoLines() {
        TSyntheticSpectrum s;
        s.Lines = {{26000, 1200, 900}, {38000, 1600, 600}};
        s.Noise = 2;
        return s;
    }

    // A reference table with its own field records, as a file holds them.
    std::unique_ptr<TPointTable> WithField(std::unique_ptr<TPointTable> table, double lo,
                                           double hi) const {
        TKavCfg cfg = Cfg;
        cfg.RazvUnits[3].X1 = lo;
        cfg.RazvUnits[3].X2 = hi;
        CalcUnitKoeff(cfg.RazvUnits[3], 0, MaxFieldCode);
        WriteParameterBlock(*table, cfg, TInstrumentReadings{});
        return table;
    }

    const TOverlayCurve* Curve(TOverlayTrace kind, const std::vector<TOverlayCurve>& curves) {
        for (const TOverlayCurve& c : curves)
            if (c.Kind == kind)
                return &c;
        return nullptr;
    }
};

// Between both visirs the line there is fitted, else the whole spectrum; the
// residual is drawn about the zero line.
TEST_F(AnalysisOverlay, FitLeavesTheCurveItsResidualAndTheResults) {
    const auto store = TwoLines().Make(11);
    struct TCase {
        bool Visir1, Visir2;
        std::uint16_t From, To;
        int Lines;
        std::vector<double> Centres;
    } cases[] = {
        {true, true, 33000, 43000, 1, {38000}},
        {true, false, 33000, 43000, 2, {26000, 38000}},
        {false, false, 0, 0, 2, {26000, 38000}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Lines);
        Cfg.Visir1 = c.Visir1;
        Cfg.Visir2 = c.Visir2;
        Cfg.VisKoord1 = c.From;
        Cfg.VisKoord2 = c.To;
        Cfg.Fit.LineCount = static_cast<std::uint8_t>(c.Lines);
        ASSERT_EQ(Overlay.Fit(*store, Cfg), QString());
        ASSERT_TRUE(Overlay.HasFit());
        EXPECT_FALSE(Overlay.HasComparison());
        const TLineFit& fit = Overlay.LineFit();
        ASSERT_EQ(fit.Lines.size(), c.Centres.size());
        for (std::size_t k = 0; k < c.Centres.size(); ++k)
            EXPECT_NEAR(fit.Lines[k].Centre.Value, c.Centres[k], 5);

        const std::vector<TOverlayCurve> curves = Overlay.Curves();
        ASSERT_EQ(curves.size(), 2u);
        const TOverlayCurve* fitted = Curve(TOverlayTrace::FitCurve, curves);
        const TOverlayCurve* residual = Curve(TOverlayTrace::FitResidual, curves);
        ASSERT_TRUE(fitted && residual);
        ASSERT_EQ(fitted->Codes.size(), static_cast<std::size_t>(fit.PointCount));
        ASSERT_EQ(residual->Codes, fitted->Codes);
        for (std::size_t k = 0; k < fitted->Codes.size(); ++k) {
            const TPointSlot& point = (*store)[fitted->Codes[k]];
            ASSERT_TRUE(IsValidSlot(point));
            EXPECT_NEAR(fitted->Ordinates[k] + residual->Ordinates[k] - ZeroLine, point.Y, 1e-9);
        }
        if (c.Visir1 && c.Visir2) {
            EXPECT_GE(fitted->Codes.front(), c.From);
            EXPECT_LE(fitted->Codes.back(), c.To);
        }

        // The results in the selected units: B0 first, in Э.
        const std::vector<TResultRow> rows = Overlay.ResultRows(Cfg, Format);
        ASSERT_FALSE(rows.empty());
        EXPECT_TRUE(rows.front().Name.endsWith(QStringLiteral("B0")));
        EXPECT_TRUE(rows.front().Value.endsWith(QStringLiteral("Э")))
            << rows.front().Value.toStdString();
        const QStringList lines = Overlay.TextLines(Cfg, Format);
        EXPECT_EQ(lines.size(), c.Lines + 1);
    }
}

// A refusal is one line and leaves the fit shown before, and the spectrum, be.
TEST_F(AnalysisOverlay, RefusedFitChangesNothing) {
    const auto store = TwoLines().Make(5);
    ASSERT_EQ(Overlay.Fit(*store, Cfg), QString());
    const double centre = Overlay.LineFit().Lines[0].Centre.Value;

    auto flat = std::make_unique<TPointTable>();
    ClearPoints(*flat);
    for (int x = 20000; x <= 30000; x += 10)
        (*flat)[x] = TPointSlot{static_cast<std::uint16_t>(x), 2100};
    auto empty = std::make_unique<TPointTable>();
    ClearPoints(*empty);
    struct TCase {
        const char* Name;
        const TPointTable* Points;
        int Lines;
        bool Visirs;
    } cases[] = {
        {"flat", flat.get(), 1, false},
        {"empty", empty.get(), 1, false},
        {"more lines than pairs", store.get(), 4, false},
        {"three points between the visirs", store.get(), 1, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Cfg.Fit.LineCount = static_cast<std::uint8_t>(c.Lines);
        Cfg.Visir1 = Cfg.Visir2 = c.Visirs;
        Cfg.VisKoord1 = 26000;
        Cfg.VisKoord2 = 26020;
        const auto before = std::make_unique<TPointTable>(*c.Points);
        const QString refusal = Overlay.Fit(*c.Points, Cfg);
        EXPECT_FALSE(refusal.isEmpty());
        EXPECT_FALSE(refusal.contains(u'\n'));
        EXPECT_TRUE(*before == *c.Points);
        ASSERT_TRUE(Overlay.HasFit());
        EXPECT_EQ(Overlay.LineFit().Lines.size(), 2u);
        EXPECT_EQ(Overlay.LineFit().Lines[0].Centre.Value, centre);
    }
}

// A changed point or parameter record takes the results away; Clear takes both.
TEST_F(AnalysisOverlay, ResultsGoWhenTheSpectrumChanges) {
    const auto store = TwoLines().Make(3);
    ASSERT_EQ(Overlay.Fit(*store, Cfg), QString());
    EXPECT_TRUE(Overlay.Describes(*store));
    EXPECT_FALSE(Overlay.ForgetIfChanged(*store));

    const auto copy = std::make_unique<TPointTable>(*store);
    EXPECT_FALSE(Overlay.ForgetIfChanged(*copy));
    EXPECT_TRUE(Overlay.HasFit());

    (*copy)[65530] = TPointSlot{7, 65530};
    EXPECT_FALSE(Overlay.Describes(*copy));
    EXPECT_TRUE(Overlay.ForgetIfChanged(*copy));
    EXPECT_TRUE(Overlay.Empty());

    ASSERT_EQ(Overlay.Fit(*store, Cfg), QString());
    (*store)[30000].Y += 1;
    EXPECT_FALSE(Overlay.Describes(*store));
    EXPECT_TRUE(Overlay.ForgetIfChanged(*store));
    EXPECT_TRUE(Overlay.Empty());
    EXPECT_TRUE(Overlay.Curves().empty());
    EXPECT_TRUE(Overlay.ResultRows(Cfg, Format).empty());

    ASSERT_EQ(Overlay.Fit(*store, Cfg), QString());
    ASSERT_EQ(Overlay.Compare(*store, Cfg, *store, QStringLiteral("self.kav"), {}), QString());
    EXPECT_TRUE(Overlay.HasFit() && Overlay.HasComparison());
    Overlay.Clear();
    EXPECT_TRUE(Overlay.Empty());
    EXPECT_TRUE(Overlay.Curves().empty());
}

// A reference twice as high on a wider axis, placed by its field, with the
// difference on demand; one that meets no field is refused, the shown stays.
TEST_F(AnalysisOverlay, ComparisonLeavesTheReferenceAndTheDifference) {
    const TSyntheticSpectrum sample = TwoLines();
    const auto store = sample.Make(8);
    // Over 2900..3500 Э, each code holding the sample's value at its field.
    const TMeasureUnit sampleAxis = Cfg.RazvUnits[3];
    const TMeasureUnit referenceAxis = Axis(2900, 3500);
    auto reference = WithField(
        Recorded(referenceAxis, UnitValue(sampleAxis, 20000), UnitValue(sampleAxis, 45000), 7,
                 [&](double h) {
                     const double code = (h - sampleAxis.KoeffB) / sampleAxis.KoeffK;
                     return 2 * (sample.Value(code) - 2048);
                 }),
        2900, 3500);

    ASSERT_EQ(Overlay.Fit(*store, Cfg), QString());
    TCompareSettings settings;
    settings.Normalization = TNormalization::PeakToPeak;
    ASSERT_EQ(Overlay.Compare(*store, Cfg, *reference, QStringLiteral("ref.kav"), settings),
              QString());
    ASSERT_TRUE(Overlay.HasComparison());
    EXPECT_TRUE(Overlay.HasFit());
    EXPECT_EQ(Overlay.ReferenceName(), QStringLiteral("ref.kav"));
    EXPECT_NEAR(Overlay.Comparison().Scale, 0.5, 0.01);

    std::vector<TOverlayCurve> curves = Overlay.Curves();
    ASSERT_EQ(curves.size(), 4u);
    const TOverlayCurve* placed = Curve(TOverlayTrace::Reference, curves);
    const TOverlayCurve* difference = Curve(TOverlayTrace::Difference, curves);
    ASSERT_TRUE(placed && difference);
    ASSERT_FALSE(placed->Codes.empty());
    for (std::size_t k = 0; k < placed->Codes.size(); ++k) {
        const TPointSlot& point = (*store)[placed->Codes[k]];
        EXPECT_NEAR(placed->Ordinates[k], point.Y, 12);
        EXPECT_NEAR(placed->Ordinates[k] + difference->Ordinates[k] - ZeroLine, point.Y, 1e-9);
    }
    const std::vector<TResultRow> rows = Overlay.ResultRows(Cfg, Format);
    const auto scale = std::find_if(rows.begin(), rows.end(),
                                    [](const TResultRow& r) { return r.Name == u"Масштаб"; });
    ASSERT_NE(scale, rows.end());
    EXPECT_TRUE(rows.front().Name.endsWith(QStringLiteral("B0")));
    // Two lines and the fit's summary, then the comparison's line.
    EXPECT_EQ(Overlay.TextLines(Cfg, Format).size(), 4);

    // Without the difference only the reference is drawn.
    settings.ShowDifference = false;
    ASSERT_EQ(Overlay.Compare(*store, Cfg, *reference, QStringLiteral("ref.kav"), settings),
              QString());
    curves = Overlay.Curves();
    EXPECT_TRUE(Curve(TOverlayTrace::Reference, curves));
    EXPECT_FALSE(Curve(TOverlayTrace::Difference, curves));

    // A reference swept over 4000..4100 Э meets nothing of the sample.
    auto far = WithField(Recorded(Axis(4000, 4100), 4010, 4090, 5, [](double) { return 100.0; }),
                         4000, 4100);
    const QString refusal =
        Overlay.Compare(*store, Cfg, *far, QStringLiteral("far.kav"), TCompareSettings{});
    EXPECT_FALSE(refusal.isEmpty());
    EXPECT_FALSE(refusal.contains(u'\n'));
    EXPECT_EQ(Overlay.ReferenceName(), QStringLiteral("ref.kav"));
    EXPECT_FALSE(Overlay.ComparisonSettings().ShowDifference);

    Overlay.RemoveComparison();
    EXPECT_FALSE(Overlay.HasComparison());
    EXPECT_TRUE(Overlay.HasFit());
    EXPECT_EQ(Overlay.Curves().size(), 2u);
}

} // namespace
