// The line shapes, the line fit on spectra of known lines and noise, its
// refusals and texts, and the Jacobian's factor the optimiser reads.

#include "base/number_style.h"
#include "config/settings_store.h"
#include "normal_matrix_check.h"
#include "processing/fit_texts.h"
#include "processing/fit_values.h"
#include "processing/jacobian_factor.h"
#include "processing/line_fit.h"
#include "processing/line_shape.h"
#include "processing/resonance.h"
#include "qstring_printer.h"
#include "spectrum/point_store.h"
#include "synthetic_lines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

const TLineShape Shapes[] = {TLineShape::Lorentz, TLineShape::Gauss, TLineShape::Voigt};

std::string Name(TLineShape s) {
    return s == TLineShape::Lorentz ? "lorentz" : s == TLineShape::Gauss ? "gauss" : "voigt";
}

TEST(LineShape, AnalyticDerivativesMatchCentralDifferences) {
    const TLineParams params[] = {{100, 20, 50, 0.3}, {-3, 0.7, -2, 0.9}, {0, 1, 1, 0}};
    for (TLineShape shape : Shapes) {
        for (const TLineParams& p : params) {
            for (double t : {-3.1, -1.0, -0.4, 0.0, 0.25, 1.0, 2.2, 7.0}) {
                const double x = p.Centre + t * p.Width / 2;
                const TLinePoint v = EvaluateLine(shape, p, x);
                EXPECT_DOUBLE_EQ(v.Value, LineValue(shape, p, x));
                auto numeric = [&](double TLineParams::*field) {
                    const double h = 1e-6 * std::max(1.0, std::fabs(p.*field));
                    TLineParams up = p;
                    TLineParams down = p;
                    up.*field += h;
                    down.*field -= h;
                    return (LineValue(shape, up, x) - LineValue(shape, down, x)) / (2 * h);
                };
                const double scale = std::fabs(p.Amplitude) / std::min(p.Width, 1.0);
                const std::string where = Name(shape) + " t=" + std::to_string(t);
                EXPECT_NEAR(v.DCentre, numeric(&TLineParams::Centre), 1e-6 * scale) << where;
                EXPECT_NEAR(v.DWidth, numeric(&TLineParams::Width), 1e-6 * scale) << where;
                EXPECT_NEAR(v.DAmplitude, numeric(&TLineParams::Amplitude), 1e-6) << where;
                const double dMix = shape == TLineShape::Voigt ? numeric(&TLineParams::Mix) : 0;
                EXPECT_NEAR(v.DMix, dMix, 1e-6 * std::fabs(p.Amplitude)) << where;
            }
        }
    }
}

// Each shape is the textbook line: maximum at centre - W/2, minimum at + W/2;
// its double integral against a numeric one wide enough for Lorentzian tails.
TEST(LineShape, TextbookPeakToPeakAndDoubleIntegral) {
    const TTrueLine truth{500, 40, 3, 0.35};
    for (TLineShape shape : Shapes) {
        SCOPED_TRACE(Name(shape));
        const TLineParams p{truth.Centre, truth.Width, truth.Amplitude, truth.Mix};
        double maxX = 0, maxV = -1e9, minX = 0, minV = 1e9;
        for (double x = 300; x <= 700; x += 0.01) {
            const double v = LineValue(shape, p, x);
            EXPECT_NEAR(v, TextbookLine(shape, x, truth), 1e-12) << x;
            if (v > maxV)
                maxV = v, maxX = x;
            if (v < minV)
                minV = v, minX = x;
        }
        EXPECT_NEAR(maxX, truth.Centre - truth.Width / 2, 0.011);
        EXPECT_NEAR(minX, truth.Centre + truth.Width / 2, 0.011);
        EXPECT_NEAR(maxV - minV, truth.Amplitude, 1e-6);

        const TLineParams q{0, 2, 1.5, 0.6};
        const double h = 0.01;
        double absorption = 0;
        double area = 0;
        for (double x = -4000; x <= 4000; x += h) {
            absorption += LineValue(shape, q, x) * h;
            area += absorption * h;
        }
        const TLineIntegral di = LineDoubleIntegral(shape, q);
        EXPECT_NEAR(di.Value, area, 2e-3 * area);
        // The gradient of A W^2 c.
        EXPECT_NEAR(di.DWidth, 2 * di.Value / q.Width, 1e-12);
        EXPECT_NEAR(di.DAmplitude, di.Value / q.Amplitude, 1e-12);
        if (shape == TLineShape::Voigt) {
            TLineParams m = q;
            m.Mix += 1e-6;
            EXPECT_NEAR(di.DMix, (LineDoubleIntegral(shape, m).Value - di.Value) / 1e-6, 1e-5);
        }
    }
}

// A spectrum of known lines, and the extremum search set above its noise.
struct TScenario {
    const char* Name;
    TSyntheticSpectrum Spectrum;
    std::uint16_t SearchNoise = 80;
    std::uint16_t SearchStep = 300;
};

std::vector<TScenario> Scenarios() {
    std::vector<TScenario> out;
    TSyntheticSpectrum s;
    s.First = 26000;
    s.Last = 39000;
    s.Noise = 15;

    s.Shape = TLineShape::Lorentz;
    s.Lines = {{32500.3, 900, 1500}};
    out.push_back({"one Lorentzian", s});

    s.Shape = TLineShape::Gauss;
    s.Lines = {{31870.6, 1200, -1100}}; // inverted phase
    s.Offset = 2030;
    out.push_back({"one Gaussian", s});

    s.Shape = TLineShape::Voigt;
    s.Lines = {{33010.2, 1000, 1400, 0.4}};
    s.Offset = 2048;
    out.push_back({"pseudo-Voigt", s});

    s.Shape = TLineShape::Lorentz;
    s.Lines = {{31200, 1000, 1200}, {32900, 800, 700}}; // less than two widths apart
    out.push_back({"two overlapping lines", s});

    s.Lines = {{32100, 900, 1300}};
    s.Offset = 1950;
    s.Slope = 0.02; // 260 codes over the range
    out.push_back({"sloping baseline", s});
    return out;
}

// The true value of every fitted parameter, in the fit's order.
std::vector<double> TrueParameters(const TScenario& sc, const TLineFit& fit) {
    std::vector<double> out;
    for (const TTrueLine& l : sc.Spectrum.Lines) {
        out.insert(out.end(), {l.Centre, l.Width, l.Amplitude});
        if (sc.Spectrum.Shape == TLineShape::Voigt)
            out.push_back(l.Mix);
    }
    const TSyntheticSpectrum& s = sc.Spectrum;
    out.push_back(s.Offset + s.Slope * (fit.BaselineOrigin - s.Origin));
    out.push_back(s.Slope);
    return out;
}

// Over 100 noise draws each parameter lies within 2 reported errors in >= 85 %
// of them, unbiased, its reported error within 1.5x of the scatter.
TEST(LineFit, RecoversKnownLinesWithHonestErrors) {
    constexpr int Draws = 100;
    for (const TScenario& sc : Scenarios()) {
        SCOPED_TRACE(sc.Name);
        TFitRequest request;
        request.LineCount = static_cast<int>(sc.Spectrum.Lines.size());
        request.Shape = sc.Spectrum.Shape;
        request.Noise = sc.SearchNoise;
        request.Step = sc.SearchStep;
        std::vector<std::vector<double>> estimates;
        std::vector<std::vector<double>> errors;
        std::vector<double> truth;
        for (int draw = 0; draw < Draws; ++draw) {
            const auto store = sc.Spectrum.Make(1000 + draw);
            const TLineFit fit = FitLines(*store, request);
            ASSERT_EQ(fit.Status, TFitStatus::Done) << "draw " << draw;
            ASSERT_EQ(fit.PointCount, (sc.Spectrum.Last - sc.Spectrum.First) / 10 + 1);
            if (truth.empty()) {
                truth = TrueParameters(sc, fit);
                estimates.resize(truth.size());
                errors.resize(truth.size());
            }
            ASSERT_EQ(fit.Parameters.size(), truth.size());
            for (std::size_t j = 0; j < truth.size(); ++j) {
                estimates[j].push_back(fit.Parameters[j]);
                errors[j].push_back(std::sqrt(fit.Covariance[j * truth.size() + j]));
            }
            // The per-line results are the same numbers.
            EXPECT_EQ(fit.Lines[0].Centre.Value, fit.Parameters[0]);
            EXPECT_EQ(fit.Lines[0].Width.Error, errors[1].back());
        }
        for (std::size_t j = 0; j < truth.size(); ++j) {
            SCOPED_TRACE("parameter " + std::to_string(j));
            double mean = 0, meanError = 0;
            int within = 0;
            for (int d = 0; d < Draws; ++d) {
                mean += estimates[j][d] / Draws;
                meanError += errors[j][d] / Draws;
                within += std::fabs(estimates[j][d] - truth[j]) <= 2 * errors[j][d];
            }
            double scatter = 0;
            for (int d = 0; d < Draws; ++d)
                scatter += (estimates[j][d] - mean) * (estimates[j][d] - mean) / (Draws - 1);
            scatter = std::sqrt(scatter);
            EXPECT_GE(within, Draws * 85 / 100);
            EXPECT_LE(std::fabs(mean - truth[j]), 4 * scatter / std::sqrt(Draws) + 1e-9);
            EXPECT_LT(meanError, 1.5 * scatter);
            EXPECT_GT(meanError, scatter / 1.5);
        }
    }
}

TKavCfg DefaultCfg() {
    TKavCfg cfg{};
    SetDefaults(cfg, QString()); // sweep unit 3: 3000 Э at code 0, 3300 Э at 65519
    return cfg;
}

// g to the five digits shown, the frequency typed or from the DPPH line.
TEST(LineFit, GFactorOfALineAtAKnownFieldAndFrequency) {
    TKavCfg cfg = DefaultCfg();
    const double field = 3217.35;                     // Э
    const double code = (field - 3000) / 300 * 65519; // on sweep unit 3
    TSyntheticSpectrum s;
    s.Lines = {{code, 400, 2000}};
    s.First = static_cast<int>(code) - 3000;
    s.Last = static_cast<int>(code) + 3000;
    s.Noise = 2;
    const auto store = s.Make(7);
    TFitRequest request;
    request.Step = 40;
    const TLineFit fit = FitLines(*store, request);
    ASSERT_EQ(fit.Status, TFitStatus::Done) << FitStatusText(fit).toStdString();

    struct TCase {
        double Typed;      // MHz, 0: none
        std::int32_t Dpph; // ResonatorFreq, kHz
        double Expected;   // MHz the g-factor uses
    } cases[] = {{9012.345, 0, 9012.345}, {0, 9012345, 9012.345}, {9100, 9012345, 9100}};
    for (const TCase& c : cases) {
        cfg.ResonatorFreq = c.Dpph;
        const double mhz = FitFrequencyMHz(cfg, c.Typed);
        EXPECT_DOUBLE_EQ(mhz, c.Expected);
        const TShownFit shown = ShownFit(fit, cfg, mhz);
        ASSERT_TRUE(shown.Lines[0].HasG);
        const double g = shown.Lines[0].G.Value;
        const double expected = c.Expected * 1000 / (1399.6242 * field);
        EXPECT_EQ(FormatGeneral(g, 5, 4, u','), FormatGeneral(expected, 5, 4, u','));
        EXPECT_NEAR(g, expected, 5e-6 * expected);
        EXPECT_LE(std::fabs(g - expected), 3 * shown.Lines[0].G.Error + 1e-9);
        // g goes as 1 / field, so its error is g times the field's relative error.
        EXPECT_NEAR(shown.Lines[0].G.Error / g, fit.Lines[0].Centre.Error * 300 / 65519 / field,
                    1e-9);
    }
    cfg.ResonatorFreq = 0;
    EXPECT_EQ(FitFrequencyMHz(cfg, 0), 0);
    EXPECT_FALSE(ShownFit(fit, cfg, 0).Lines[0].HasG);
}

TEST(LineFit, CurveAndResidualOnTheSpectrumsPoints) {
    TSyntheticSpectrum s;
    s.Lines = {{30000, 800, 1500}, {33000, 600, -900}};
    s.First = 25000;
    s.Last = 38000;
    s.Noise = 10;
    auto store = s.Make(3);
    (*store)[31000] = TPointSlot{}; // a gap: no point, no curve there
    TFitRequest request;
    request.LineCount = 2;
    request.Noise = 60;
    request.Step = 200;
    const TLineFit fit = FitLines(*store, request);
    ASSERT_EQ(fit.Status, TFitStatus::Done) << FitStatusText(fit).toStdString();
    ASSERT_EQ(fit.Curve.Codes.size(), static_cast<std::size_t>(fit.PointCount));
    EXPECT_EQ(fit.PointCount, (38000 - 25000) / 10);
    EXPECT_LT(fit.Lines[0].Centre.Value, fit.Lines[1].Centre.Value);
    EXPECT_GT(fit.Lines[0].Amplitude.Value, 0);
    EXPECT_LT(fit.Lines[1].Amplitude.Value, 0);
    double sum = 0;
    for (std::size_t i = 0; i < fit.Curve.Codes.size(); ++i) {
        const std::uint16_t code = fit.Curve.Codes[i];
        ASSERT_NE(code, 31000);
        EXPECT_NEAR(fit.Curve.Fitted[i] + fit.Curve.Residual[i], (*store)[code].Y, 1e-9);
        EXPECT_NEAR(fit.Curve.Fitted[i], FittedOrdinate(fit, code), 1e-6);
        EXPECT_NEAR(fit.Curve.Fitted[i], s.Value(code), 6);
        sum += fit.Curve.Residual[i] * fit.Curve.Residual[i];
    }
    EXPECT_NEAR(std::sqrt(sum / fit.PointCount), fit.ResidualRms, 1e-9);
    EXPECT_NEAR(fit.ResidualRms, 10, 1);
    EXPECT_GT(fit.RSquared, 0.99);
    EXPECT_GT(fit.Iterations, 0);
}

// The spectrum gets a gap: the extremum search fills gaps, so must run on a copy.
TEST(LineFit, RefusalsSayWhyAndChangeNothing) {
    auto shape = [](auto fill) {
        auto store = std::make_unique<TPointTable>();
        ClearPoints(*store);
        fill(*store);
        store->at(65535) = TPointSlot{2, 65534};
        return store;
    };
    auto put = [](TPointTable& t, int x, double y) {
        t[x] = TPointSlot{static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y)};
    };
    TSyntheticSpectrum one;
    one.Lines = {{32000, 800, 1500}};
    one.First = 28000;
    one.Last = 36000;
    struct TCase {
        const char* Name;
        std::unique_ptr<TPointTable> Store;
        int Lines;
        int MaxEvaluations;
        TFitStatus Status;
        QString Text;
    };
    TCase cases[] = {
        {"five points, five parameters", shape([&](TPointTable& t) {
             for (int k = 0; k < 5; ++k)
                 put(t, 1000 + 7 * k, 2000 + 100 * (k % 2));
         }),
         1, 400, TFitStatus::TooFewPoints,
         "Аппроксимация невозможна: точек в диапазоне (5) не больше, чем параметров (5)"},
        {"no lines", one.Make(1), 0, 400, TFitStatus::BadRequest,
         "Аппроксимация невозможна: число линий должно быть от 1 до 4"},
        {"five lines", one.Make(1), 5, 400, TFitStatus::BadRequest,
         "Аппроксимация невозможна: число линий должно быть от 1 до 4"},
        {"flat", shape([&](TPointTable& t) {
             for (int x = 1000; x < 3000; x += 2)
                 put(t, x, 2100);
         }),
         1, 400, TFitStatus::FlatSegment,
         "Аппроксимация невозможна: спектр в диапазоне не меняется"},
        {"a ramp", shape([&](TPointTable& t) {
             for (int x = 1000; x < 5000; x += 4)
                 put(t, x, 1000 + x / 4);
         }),
         1, 400, TFitStatus::NoExtremumPair,
         "Аппроксимация невозможна: не найдено ни одной пары экстремумов"},
        {"one line, three asked", one.Make(1), 3, 400, TFitStatus::TooFewPairs,
         "Аппроксимация невозможна: найдено пар экстремумов 1, а линий задано 3"},
        {"two evaluations", one.Make(1), 1, 2, TFitStatus::NotConverged,
         "Аппроксимация не сошлась (итераций: 1)"},
    };
    for (TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<int> points;
        for (int k = 0; k <= MaxFieldCode; ++k)
            if (IsValidSlot(c.Store->at(k)))
                points.push_back(k);
        if (points.size() > 100)
            c.Store->at(points[points.size() / 2]) = TPointSlot{}; // a gap
        const TPointTable before = *c.Store;
        TFitRequest request;
        request.LineCount = c.Lines;
        request.MaxEvaluations = c.MaxEvaluations;
        const TLineFit fit = FitLines(*c.Store, request);
        EXPECT_EQ(fit.Status, c.Status);
        EXPECT_EQ(FitStatusText(fit), c.Text);
        EXPECT_EQ(FitTextLines(fit, {}, TValueFormat(DefaultCfg(), u',')), QStringList{c.Text});
        EXPECT_TRUE(fit.Lines.empty());
        EXPECT_TRUE(fit.Curve.Codes.empty());
        EXPECT_TRUE(*c.Store == before);
    }
}

// Field in Э of sweep unit 3, volts over the gain factor 5, errors to two digits.
TEST(FitTexts, ResultsInTheSelectedUnits) {
    TKavCfg cfg = DefaultCfg();
    cfg.RazvUnit = 3;
    cfg.AmpUnit = 1;
    cfg.Amplifying = 2; // factor 5
    TLineFit fit;
    fit.Status = TFitStatus::Done;
    fit.Shape = TLineShape::Voigt;
    fit.LineCount = 2;
    fit.Iterations = 7;
    fit.RSquared = 0.998764;
    fit.ResidualRms = 2047.0 / 100; // 0.02 В after the gain
    TFittedLine line;
    line.Centre = {32759.5, 0.5}; // 3150 Э ± 0.00229 Э
    line.Width = {655.19, 2.2};   // 3 Э ± 0.0101 Э
    line.Amplitude = {2047, 10};  // 2 В ± 9.77 мВ
    line.Mix = {0.4123, 0.0217};
    line.DoubleIntegral = {1e6, 2e4};
    fit.Lines = {line, line};
    fit.Lines[1].Amplitude = {-204.7, 0.4}; // -200 мВ ± 0.39 мВ
    const TShownFit shown = ShownFit(fit, cfg, 0);

    const TValueFormat format(cfg, u',');
    const std::vector<TResultRow> rows = FitResultRows(fit, shown, format);
    auto row = [&](const QString& name) {
        for (const TResultRow& r : rows)
            if (r.Name == name)
                return r.Value + " | " + r.Error;
        return QString("missing");
    };
    EXPECT_EQ(row("Линия 1: B0"), "3150 Э | 0,0023 Э");
    EXPECT_EQ(row("Линия 1: ΔHpp"), "3 Э | 0,01 Э");
    EXPECT_EQ(row("Линия 1: A"), "2 В | 9,8 мВ");
    EXPECT_EQ(row("Линия 2: A"), "-200 мВ | 390 мкВ");
    EXPECT_EQ(row("Линия 1: η"), "0,412 | 0,022");
    // The area in В*Э^2: 1e6 codes^3 / 5 times (300/65519)^2 * 10/2047.
    const double area = 1e6 / 5 * std::pow(300.0 / 65519, 2) * 10 / 2047;
    EXPECT_TRUE(row("Линия 2: S").startsWith(FormatScientific(area, 4, 3, u',') + " В*Э^2 | "));
    EXPECT_EQ(row("СКО остатка"), "20 мВ | ");
    EXPECT_EQ(row("R²"), "0,99876 | ");
    EXPECT_EQ(row("итераций"), "7 | ");
    EXPECT_EQ(row("Линия 1: g"), "missing"); // no frequency
    const std::vector<TResultRow> withG = FitResultRows(fit, ShownFit(fit, cfg, 9254.1), format);
    // g at 3150 Э and 9254,1 МГц; its error 2.0990 * 0.00229 / 3150.
    EXPECT_EQ(withG[5].Name, "Линия 1: g");
    EXPECT_EQ(withG[5].Value, FormatGeneral(9254100 / (1399.6242 * 3150), 5, 4, u','));
    EXPECT_EQ(withG[5].Error, "1,5E-06");
    EXPECT_EQ(withG.back().Name + "=" + withG.back().Value, "f=9254,1МГц");

    const QStringList lines = FitTextLines(fit, shown, format);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("Линия 1: B0=3150 Э ± 0,0023 Э  ΔHpp=3 Э ± 0,01 Э  A=2 В ± "
                                    "9,8 мВ  η=0,412 ± 0,022  S="))
        << lines[0].toStdString();
    EXPECT_EQ(lines[2], "СКО остатка=20 мВ  R²=0,99876  итераций: 7");
    EXPECT_TRUE(ResultRowsAsTabText(rows).startsWith("Линия 1: B0\t3150 Э\t0,0023 Э\n"));

    // In raw codes: the centre with its fraction, codes over the gain.
    cfg.RazvUnit = 0;
    cfg.AmpUnit = 0;
    const TValueFormat codes(cfg, u',');
    const std::vector<TResultRow> raw = FitResultRows(fit, ShownFit(fit, cfg, 0), codes);
    EXPECT_EQ(raw[0].Value, "32759,5");
    EXPECT_EQ(raw[0].Error, "0,5");
    EXPECT_EQ(raw[2].Value, "409,4");
    EXPECT_EQ(raw[4].Name, "Линия 1: S");
    EXPECT_EQ(raw[4].Value, "2,000E+005 отсч^3");
    EXPECT_EQ(raw[4].Error, "4,000E+003 отсч^3");
}

// J P = Q R as the optimiser reads it gives the pivoted Householder QR's least
// squares solution and rank, for well-conditioned and rank-deficient J.
TEST(JacobianFactor, GivesTheOptimiserTheLeastSquaresSolution) {
    std::mt19937_64 random(17);
    std::normal_distribution<double> normal(0, 1);
    Eigen::MatrixXd base(301, 6);
    for (Eigen::Index i = 0; i < base.size(); ++i)
        base.data()[i] = normal(random);
    Eigen::VectorXd f(301);
    for (Eigen::Index i = 0; i < f.size(); ++i)
        f[i] = normal(random);

    struct TCase {
        const char* Name;
        std::function<void(Eigen::MatrixXd&)> Change;
        Eigen::Index Rank;
    } cases[] = {
        {"independent columns", [](Eigen::MatrixXd&) {}, 6},
        {"scales far apart",
         [](Eigen::MatrixXd& j) {
             j.col(2) *= 1e6;
             j.col(3) *= 1e-5;
         },
         6},
        {"a repeated column", [](Eigen::MatrixXd& j) { j.col(5) = j.col(4) * 2; }, 5},
        {"a column of zeros", [](Eigen::MatrixXd& j) { j.col(1).setZero(); }, 5},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Eigen::MatrixXd j = base;
        c.Change(j);
        const TJacobianFactor factor(j);
        const Eigen::ColPivHouseholderQR<Eigen::MatrixXd> householder(j);
        EXPECT_EQ(factor.info(), Eigen::Success);
        EXPECT_EQ(factor.rank(), c.Rank);
        const Eigen::VectorXd qtf = factor.matrixQ().adjoint() * f;
        ASSERT_EQ(qtf.size(), 6);
        const Eigen::Index r = factor.rank();
        Eigen::VectorXd z = Eigen::VectorXd::Zero(6);
        z.head(r) =
            factor.matrixR().topLeftCorner(r, r).triangularView<Eigen::Upper>().solve(qtf.head(r));
        const Eigen::VectorXd x = factor.colsPermutation() * z;
        if (c.Rank == 6) {
            const Eigen::VectorXd expected = householder.solve(f);
            EXPECT_LT((x - expected).norm(), 1e-9 * expected.norm());
        }
        // Either way the residual is the least-squares one.
        EXPECT_NEAR((j * x - f).norm(), (j * householder.solve(f) - f).norm(), 1e-9);
        // R^T R is the permuted normal matrix.
        const Eigen::MatrixXd jp = j * factor.colsPermutation();
        const Eigen::MatrixXd rr = factor.matrixR().transpose() * factor.matrixR();
        EXPECT_LT((rr - jp.transpose() * jp).norm(), 1e-9 * (j.transpose() * j).norm());
    }
}

// The normal matrix (few-column pass or blocked product) and the column norms,
// recomputed once the values change by assignment.
TEST(JacobianFactor, NormalMatrixAndColumnNormsAreThoseOfTheColumns) {
    std::mt19937_64 random(3);
    std::normal_distribution<double> normal(0, 1);
    // One row, an even count within one slice, an odd one across slices.
    for (const Eigen::Index rows : {1, 6, 1001})
        for (const Eigen::Index columns : {1, 5, 6, 8, 12}) {
            SCOPED_TRACE(columns);
            SCOPED_TRACE(rows);
            TFitJacobian j;
            j.resize(rows, columns);
            for (Eigen::Index i = 0; i < j.size(); ++i)
                j.data()[i] = normal(random) * (1 + i % 7);
            ASSERT_TRUE(j.FormNormal());
            const Eigen::MatrixXd plain = j;
            ExpectNormalOfColumns(j, plain);
            j = plain * 2.0;
            EXPECT_EQ(j.NormalLower().size(), 0);
            EXPECT_NEAR(j.col(0).blueNorm(), 2 * plain.col(0).norm(), 1e-12 * plain.col(0).norm());
        }
    TFitJacobian broken;
    broken.setOnes(10, 5);
    broken(4, 2) = std::nan("");
    EXPECT_FALSE(broken.FormNormal());
    broken(4, 2) = 1e200;
    EXPECT_FALSE(broken.FormNormal());
}

} // namespace
