// The full paint of the screen canvas and of the PNG pictures, pixel for
// pixel against a straightforward drawing of the same scene: every label
// measured and drawn on its own (a box of the text's advance and height, the
// text on its baseline), every arrow as a polygon, every point through the
// transforms. Scenes: empty and full stores, extrema with labels at every
// edge and far outside the plot, crowded labels, pair amplitudes with
// g-factors, "S=", "АМ=", "Tiba/Titan=", the raw trace, units with names,
// other colours, several ordinate scales and sizes, and repeated paints.

#include "base/number_style.h"
#include "processing/result_texts.h"
#include "qt_app.h"
#include "view/arrow_painter.h"
#include "view/display_color_painter.h"
#include "view/plot_picture_painter.h"
#include "view/plot_widget.h"
#include "view/visir_controller.h"
#include "view_fixture.h"

#include <QDir>
#include <QFontMetrics>
#include <QPainter>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

// The plot drawn the plain way. Visir lines: plain under the texts
// (pictures) or exclusive-or over everything (the screen).
class TReferencePlot {
public:
    TReferencePlot(const TPlotSource& s, const TColorSet& c, const QFont& f) : S(s), C(c), F(f) {}

    QImage Draw(QImage image, bool xorVisirs) const {
        const TPlotGeometry g = TPlotGeometry::Compute(image.width(), image.height(), S.Cfg.ViewMin,
                                                       S.Cfg.ViewMax, S.Cfg.OrdScale);
        QPainter p(&image);
        Grid(p, g);
        Points(image, g);
        if (!xorVisirs)
            Visirs(p, g);
        p.setFont(F);
        p.setPen(Colour(C.Text));
        Marks(p, g);
        Texts(p, g);
        if (xorVisirs) {
            p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            Visirs(p, g);
        }
        return image;
    }

private:
    static QColor Colour(TColorValue c) { return ToQColor(c); }

    void Label(QPainter& p, int x, int y, const QString& text) const {
        const QFontMetrics fm(F, p.device());
        p.fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), Colour(C.BackGround));
        p.drawText(x, y + fm.ascent(), text);
    }
    int Width(QPainter& p, const QString& text) const {
        return QFontMetrics(F, p.device()).horizontalAdvance(text);
    }
    int Height(QPainter& p) const { return QFontMetrics(F, p.device()).height(); }

    void Grid(QPainter& p, const TPlotGeometry& g) const {
        p.fillRect(QRect(0, 0, g.W, g.H), Colour(C.BackGround));
        p.setPen(Colour(C.Border));
        p.drawRect(0, 0, g.W - 1, g.H - 1);
        p.setFont(F);
        const int s = TopAmplitude(S.Cfg.OrdScale);
        const auto right = [&](int top, int amplitude) {
            const QString text = S.Format.AmplToStr(amplitude);
            p.setPen(Colour(C.Text));
            Label(p, g.W - 4 - Width(p, text), top, text);
        };
        right(1, s);
        for (const auto& [y, a] : {std::pair{g.MidY, 0}, std::pair{g.MidY / 2, s / 2},
                                   std::pair{(3 * g.MidY) / 2, -(s / 2)}}) {
            p.setPen(Colour(C.Grid));
            p.drawLine(0, y, g.W - 1, y);
            right(y - 1 - Height(p), a);
        }
    }

    void Points(QImage& image, const TPlotGeometry& g) const {
        const auto put = [&](int x, int y, TColorValue c) {
            if (x >= 0 && x < g.W && y >= 0 && y < g.H)
                image.setPixel(x, y, ToRgb(c));
        };
        for (int k = std::max(S.Cfg.ViewMin, 0); k <= std::min(S.Cfg.ViewMax, 65535); ++k) {
            const TPointSlot& slot = S.Store[k];
            if (!IsValidSlot(slot))
                continue;
            put(g.XOfCode(slot.X), g.PointY(slot.Y), C.Graph);
            if (S.Cfg.ShowFirst && S.RawTrace)
                put(g.XOfCode(slot.X), g.PointY(S.RawTrace[k]), C.AddGraph);
        }
    }

    void Marks(QPainter& p, const TPlotGeometry& g) const {
        const auto mark = [&](std::uint16_t k, bool maximum) {
            const TPointSlot& slot = S.Store[k];
            if (!IsValidSlot(slot))
                return;
            const int x = g.XOfCode(slot.X);
            const int y = g.YOfOrdinate(slot.Y);
            const QString label = ExtremumLabel(S.Format, slot.Y);
            const int tw = Width(p, label);
            const int th = Height(p);
            const TMarkPlace at =
                maximum ? PlaceMaximumMark(x, y, tw, th) : PlaceMinimumMark(x, y, tw, th, g.H);
            Label(p, KeepLabelInside(at.LabelX, tw, g.W), at.LabelY, label);
            p.setBrush(Colour(C.Text));
            at.UpArrow ? DrawUpArrow(p, x, y) : DrawDownArrow(p, x, y);
        };
        const TSpectrumResults& r = S.Results;
        for (std::size_t k = 0; k < std::min<std::size_t>(r.MaxCount, r.MaxPositions.size()); ++k)
            mark(r.MaxPositions[k], true);
        for (std::size_t k = 0; k < std::min<std::size_t>(r.MinCount, r.MinPositions.size()); ++k)
            mark(r.MinPositions[k], false);
    }

    void Texts(QPainter& p, const TPlotGeometry& g) const {
        const TSpectrumResults& r = S.Results;
        const std::size_t pairs = std::min({std::size_t{r.PairCount}, r.PairAmplitudes.size(),
                                            r.MinPositions.size(), r.MaxPositions.size()});
        const auto centred = [&](int x, int y, const QString& text) {
            const int tw = Width(p, text);
            Label(p, KeepLabelInside(x - tw / 2, tw, g.W), y, text);
        };
        for (std::size_t k = 0; k < pairs; ++k) {
            const TPointSlot& lo = S.Store[r.MinPositions[k]];
            const TPointSlot& hi = S.Store[r.MaxPositions[k]];
            if (!IsValidSlot(lo) || !IsValidSlot(hi))
                continue;
            const int x = g.XOfCode((std::uint32_t{lo.X} + hi.X) / 2);
            centred(x, 2, PairAmplitudeText(S.Format, r.PairAmplitudes[k]));
            const QString gf = S.GFactor.Shown ? S.GFactor.TextAt(static_cast<std::uint16_t>(
                                                     (r.MinPositions[k] + r.MaxPositions[k]) / 2))
                                               : QString();
            if (!gf.isEmpty())
                centred(x, Height(p) + 2, gf);
        }
        if (const QString area = AreaText(S.Format, r.Area); !area.isEmpty())
            centred((VisirX(1, g) + VisirX(2, g)) / 2, Height(p), area);
        if (S.Readings.AdcFieldValue > 0)
            Label(p, 2, 2,
                  "АМ=" + FormatFixed(S.Readings.AdcFieldValue, 2, 2, S.Format.DecimalSep()) + " " +
                      S.Cfg.ADCUnits[3].Name);
        if (const QString ratio = PeakRatioText(S.Format, r); !ratio.isEmpty())
            Label(p, 2, 2, ratio);
    }

    int VisirX(int n, const TPlotGeometry& g) const {
        const bool shown = n == 1 ? S.Cfg.Visir1 : S.Cfg.Visir2;
        const int code = n == 1 ? S.Cfg.VisKoord1 : S.Cfg.VisKoord2;
        return shown && code >= g.ViewMin && code <= g.ViewMax ? g.XOfCode(code) : -1;
    }
    void Visirs(QPainter& p, const TPlotGeometry& g) const {
        for (int n : {1, 2})
            if (const int x = VisirX(n, g); x >= 0 && g.H - 5 >= 3) {
                p.setPen(Colour(n == 1 ? C.Visir1 : C.Visir2));
                p.drawLine(x, 3, x, g.H - 5);
            }
    }

    const TPlotSource& S;
    const TColorSet& C;
    QFont F;
};

struct TScene {
    const char* Name;
    QSize Size;
    std::function<void(TViewFixture&, std::vector<std::uint16_t>&)> Setup;
};

// A derivative line with noise over the whole field range.
void FullStore(TViewFixture& f, double height = 1500) {
    for (int k = 0; k <= 65519; ++k) {
        const double u = (k - 32760) / 3000.0;
        f.Put(k,
              static_cast<int>(std::lround(2048 - height * 2.6 * u / ((1 + u * u) * (1 + u * u)) +
                                           30 * std::sin(k * 0.3))));
    }
}

void Extremum(TViewFixture& f, int slot, int ordinate, bool maximum) {
    f.Put(slot, ordinate);
    auto& list = maximum ? f.Results.MaxPositions : f.Results.MinPositions;
    list.push_back(static_cast<std::uint16_t>(slot));
    f.Results.MaxCount = static_cast<std::uint16_t>(f.Results.MaxPositions.size());
    f.Results.MinCount = static_cast<std::uint16_t>(f.Results.MinPositions.size());
}

// Extrema at the four edges, in the corners, outside the view and far above
// or below the plot, with labels that must move inside.
void EdgeExtrema(TViewFixture& f) {
    f.Cfg.ViewMin = 1000;
    f.Cfg.ViewMax = 9000;
    const int codes[] = {1000, 1003, 1030, 1100, 5000, 8900, 8970, 8997, 9000};
    const int ordinates[] = {0, 4095, 2048 + 2040, 30, 2048, 4090, 2, 2048 - 1900, 65519 - 1};
    for (int i = 0; i < 9; ++i) {
        Extremum(f, codes[i], ordinates[i], true);
        Extremum(f, codes[i] + 2 * (i % 2 ? 1 : -1), 4095 - ordinates[i] % 4096, false);
    }
    Extremum(f, 500, 3000, true);   // left of the view
    Extremum(f, 9500, 1000, false); // right of the view
    Extremum(f, 7000, 65520, true); // a slot without a point: no mark
    Extremum(f, 6000, 2048 + 800, false);
}

const TScene Scenes[] = {
    {"empty", QSize(400, 300), [](TViewFixture&, auto&) {}},
    {"empty-scale6-tiny", QSize(40, 40), [](TViewFixture& f, auto&) { f.Cfg.OrdScale = 6; }},
    {"full", QSize(1920, 1000), [](TViewFixture& f, auto&) { FullStore(f); }},
    {"full-scale3-raw", QSize(777, 431),
     [](TViewFixture& f, std::vector<std::uint16_t>& raw) {
         FullStore(f, 900);
         f.Cfg.OrdScale = 3;
         f.Cfg.ShowFirst = true;
         raw.assign(65536, 0);
         for (int k = 0; k < 65536; ++k)
             raw[k] = static_cast<std::uint16_t>(2048 + 400 * std::cos(k * 0.001) + k % 7);
     }},
    {"edges", QSize(500, 350), [](TViewFixture& f, auto&) { EdgeExtrema(f); }},
    {"edges-scale6-units", QSize(640, 200),
     [](TViewFixture& f, auto&) {
         EdgeExtrema(f);
         f.Cfg.OrdScale = 6;
         f.Cfg.AmpUnit = 1;
     }},
    {"crowded", QSize(1920, 1000),
     [](TViewFixture& f, auto&) {
         FullStore(f);
         for (int k = 0; k < 1500; ++k) {
             f.Results.MaxPositions.push_back(static_cast<std::uint16_t>(k * 43 + 3));
             f.Results.MinPositions.push_back(static_cast<std::uint16_t>(k * 43 + 25));
         }
         f.Results.MaxCount = f.Results.MinCount = 1500;
     }},
    {"pairs-gfactors-texts", QSize(900, 480),
     [](TViewFixture& f, auto&) {
         FullStore(f);
         f.Cfg.ViewMin = 20000;
         f.Cfg.ViewMax = 46000;
         f.Cfg.AmpUnit = 1;
         for (int j = 0; j < 6; ++j) {
             Extremum(f, 20100 + j * 4300, (*f.Store)[20100 + j * 4300].Y, true);
             Extremum(f, 22000 + j * 4300, (*f.Store)[22000 + j * 4300].Y, false);
             f.Results.PairAmplitudes.push_back(static_cast<std::uint16_t>(100 + 977 * j));
         }
         f.Results.PairCount = 6;
         f.GFactor.Shown = true;
         f.GFactor.Text = [](std::uint16_t code) {
             return code % 2 ? QString() : "g=" + QString::number(2.0 + code * 1e-7, 'f', 5);
         };
         f.Results.Area = 0;
         f.Cfg.Visir1 = f.Cfg.Visir2 = true;
         f.Cfg.VisKoord1 = 21000;
         f.Cfg.VisKoord2 = 45000;
         f.Readings.AdcFieldValue = 3365.5f;
         f.Results.TibaAmp = 0;
     }},
    {"ratio-over-field-colours", QSize(700, 450),
     [](TViewFixture& f, auto&) {
         FullStore(f, 600);
         f.Cfg.OrdScale = 2;
         f.Results.Area = 1.234e11;
         f.Cfg.Visir1 = true;
         f.Cfg.VisKoord1 = 64000;
         f.Readings.AdcFieldValue = 0.5f;
         f.Results.TibaAmp = 2900;
         f.Results.TitanAmp = 2800;
         Extremum(f, 30000, 3900, true);
         Extremum(f, 34000, 200, false);
         f.Cfg.DisplayColors.BackGround = 0xF0F0F0;
         f.Cfg.DisplayColors.Text = 0x123456;
         f.Cfg.DisplayColors.Graph = 0x008000;
         f.Cfg.BMPColors.Text = f.Cfg.BMPColors.BackGround; // invisible texts still cover
     }},
};

struct PlotPaintIdentity : ::testing::TestWithParam<TScene> {
    TViewFixture F;
    std::vector<std::uint16_t> Raw;
    TNullVisirView Quiet;
    TVisirController Visirs{F.Cfg, *F.Store, F.Format, F.GFactor, Quiet};
    TPlotWidget Plot{F.Cfg, *F.Store, F.Results, F.Readings, F.Format, F.GFactor};

    TPlotSource Source() const {
        return {F.Cfg,
                *F.Store,
                F.Results,
                F.Readings,
                F.Format,
                F.GFactor,
                Raw.empty() ? nullptr : Raw.data()};
    }
    QImage Reference(const TColorSet& colours, const QImage& like, bool xorVisirs) const {
        QImage blank(like.size(), QImage::Format_RGB32);
        blank.setDotsPerMeterX(like.dotsPerMeterX());
        blank.setDotsPerMeterY(like.dotsPerMeterY());
        const TPlotSource source = Source();
        return TReferencePlot(source, colours, Plot.LabelFont()).Draw(blank, xorVisirs);
    }
    void Keep(const QString& name, const QImage& image) const {
        if (const QByteArray dir = qgetenv("KAV_PAINT_SCENES_DIR"); !dir.isEmpty())
            image.save(QDir(QString::fromLocal8Bit(dir)).filePath(name + ".png"), "PNG");
    }
};

// The first pixel that differs, or "same".
std::string FirstDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return "sizes differ";
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return "pixel " + std::to_string(x) + "," + std::to_string(y);
    return "same";
}

} // namespace

TEST_P(PlotPaintIdentity, ScreenCanvasAndPictureMatchThePlainDrawing) {
    const TScene& scene = GetParam();
    scene.Setup(F, Raw);
    Plot.SetRawTrace(Raw.empty() ? nullptr : Raw.data());
    Plot.SetVisirs(&Visirs);
    Visirs.SetSurface(&Plot);
    Plot.resize(scene.Size);

    // Twice: the second paint meets whatever the first one kept.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Plot.ScreenBoxPaint();
        const QImage expected = Reference(F.Cfg.DisplayColors, Plot.Canvas(), true);
        EXPECT_EQ(FirstDifference(Plot.Canvas(), expected), "same");
    }
    Keep(QStringLiteral("%1-screen").arg(scene.Name), Plot.Canvas());

    const TPlotSource source = Source();
    const QImage picture = PlotPictureImage(source, Plot.LabelFont(), scene.Size);
    const QImage expected = Reference(F.Cfg.BMPColors, picture, false);
    EXPECT_EQ(FirstDifference(picture, expected), "same");
    Keep(QStringLiteral("%1-picture").arg(scene.Name), picture);

    // Other colours on the same plot: nothing of the earlier ones stays.
    std::swap(F.Cfg.DisplayColors.BackGround, F.Cfg.DisplayColors.Text);
    Plot.ScreenBoxPaint();
    EXPECT_EQ(FirstDifference(Plot.Canvas(), Reference(F.Cfg.DisplayColors, Plot.Canvas(), true)),
              "same");
}

INSTANTIATE_TEST_SUITE_P(Scenes, PlotPaintIdentity, ::testing::ValuesIn(Scenes),
                         [](const auto& info) {
                             QString name = QString::fromLatin1(info.param.Name);
                             return name.remove('-').toStdString();
                         });
