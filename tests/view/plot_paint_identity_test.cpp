// The screen canvas and the PNG pictures, with their label sprites and pixel
// shortcuts, paint pixel for pixel what the plot painter paints through
// QPainter alone, on scenes that reach every label, mark and text.

#include "qt_app.h"
#include "view/plot_painter.h"
#include "view/plot_picture_painter.h"
#include "view/plot_widget.h"
#include "view/visir_controller.h"
#include "view_fixture.h"

#include <QPainter>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

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
    // The plot drawn the plain way, at the resolution of `like`: one column
    // wider than the plot, so that no step takes the raster shortcuts. Visir
    // lines: plain under the texts (pictures) or exclusive-or over everything
    // (the screen).
    QImage Plain(const TColorSet& colours, const QImage& like, bool xorVisirs) const {
        QImage image(like.width() + 1, like.height(), QImage::Format_RGB32);
        image.setDotsPerMeterX(like.dotsPerMeterX());
        image.setDotsPerMeterY(like.dotsPerMeterY());
        const TPlotSource source = Source();
        const TPlotPainter painter(source, colours, Plot.LabelFont());
        const TPlotGeometry g = painter.Geometry(like.width(), like.height());
        QPainter p(&image);
        painter.DrawGrid(p, g);
        painter.DrawPoints(p, g);
        if (!xorVisirs)
            painter.DrawVisirLines(p, g);
        painter.DrawMarksAndTexts(p, g);
        if (xorVisirs) {
            p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            painter.DrawVisirLines(p, g);
        }
        p.end();
        return image.copy(like.rect());
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
        const QImage expected = Plain(F.Cfg.DisplayColors, Plot.Canvas(), true);
        EXPECT_EQ(FirstDifference(Plot.Canvas(), expected), "same");
    }

    const TPlotSource source = Source();
    const QImage picture = PlotPictureImage(source, Plot.LabelFont(), scene.Size);
    EXPECT_EQ(FirstDifference(picture, Plain(F.Cfg.BMPColors, picture, false)), "same");

    // Other colours on the same plot: nothing of the earlier ones stays.
    std::swap(F.Cfg.DisplayColors.BackGround, F.Cfg.DisplayColors.Text);
    Plot.ScreenBoxPaint();
    EXPECT_EQ(FirstDifference(Plot.Canvas(), Plain(F.Cfg.DisplayColors, Plot.Canvas(), true)),
              "same");
}

INSTANTIATE_TEST_SUITE_P(Scenes, PlotPaintIdentity, ::testing::ValuesIn(Scenes),
                         [](const auto& info) {
                             QString name = QString::fromLatin1(info.param.Name);
                             return name.remove('-').toStdString();
                         });
