#include "view/plot_picture_painter.h"

#include "qt_app.h"
#include "view/display_color.h"
#include "view/plot_widget.h"
#include "view/visir_controller.h"
#include "view_fixture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// A processed spectrum: two derivative lines with their extrema and pair
// amplitudes, "S=", the field reading and the peak ratio, and both visirs.
struct PlotPicture : ::testing::Test {
    TViewFixture F;
    TNullVisirView Quiet;
    TVisirController Visirs{F.Cfg, *F.Store, F.Format, F.GFactor, Quiet};
    TPlotWidget Plot{F.Cfg, *F.Store, F.Results, F.Readings, F.Format, F.GFactor};
    TPlotSource Source{F.Cfg, *F.Store, F.Results, F.Readings, F.Format, F.GFactor};
    QTemporaryDir Dir;

    PlotPicture() {
        Plot.resize(760, 500);
        Plot.SetVisirs(&Visirs);
        Visirs.SetSurface(&Plot);
        F.Cfg.ViewMin = 2000;
        F.Cfg.ViewMax = 62000;
        F.Cfg.AmpUnit = 1;
        const double centres[] = {20000, 44000};
        for (int k = 0; k <= 65519; k += 3) {
            double v = 0;
            for (double c : centres) {
                const double u = (k - c) / 1500;
                v += -1500 * 2.6 * u / ((1 + u * u) * (1 + u * u));
            }
            F.Put(k, static_cast<int>(2048 + v));
        }
        for (int j = 1; j >= 0; --j) {
            const auto lo = static_cast<std::uint16_t>(centres[j] - 867 - 1);
            const auto hi = static_cast<std::uint16_t>(centres[j] + 867 - 1);
            F.Results.MaxPositions.push_back(lo - lo % 3);
            F.Results.MinPositions.push_back(hi - hi % 3);
            F.Results.PairAmplitudes.push_back(2900);
        }
        F.Results.MaxCount = F.Results.MinCount = F.Results.PairCount = 2;
        F.Results.Area = 2.5e7;
        F.Results.TibaAmp = 2900;
        F.Results.TitanAmp = 2800;
        F.Readings.AdcFieldValue = 3.4f;
        F.Cfg.VisKoord1 = 12000;
        F.Cfg.VisKoord2 = 52000;
    }

    void Keep(const QString& name, const QByteArray& bytes) const {
        if (const QByteArray dir = qgetenv("KAV_PICTURE_DIR"); !dir.isEmpty()) {
            QFile f(QDir(QString::fromLocal8Bit(dir)).filePath(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
    }
};

} // namespace

TEST_F(PlotPicture, PngIsTheScreensDrawingInTheColourSetForPictures) {
    // In the screen's colours the picture is the canvas, pixel for pixel.
    F.Cfg.BMPColors = F.Cfg.DisplayColors;
    Plot.ScreenBoxPaint();
    const QImage same = PlotPictureImage(Source, Plot.LabelFont(), QSize(760, 500));
    ASSERT_EQ(Plot.Canvas().dotsPerMeterX(), same.dotsPerMeterX());
    EXPECT_EQ(same, Plot.Canvas());

    // In BMPColors: white ground, black points, blue frame; the visirs as
    // plain lines in their colours from row 3 to H - 5.
    SetDefaults(F.Cfg, "/tmp");
    F.Cfg.ViewMin = 2000;
    F.Cfg.ViewMax = 62000;
    F.Cfg.AmpUnit = 1;
    F.Cfg.VisKoord1 = 12000;
    F.Cfg.VisKoord2 = 52000;
    F.Cfg.Visir1 = F.Cfg.Visir2 = true;
    const QImage pic = PlotPictureImage(Source, Plot.LabelFont(), DefaultPictureSize);
    ASSERT_EQ(pic.size(), QSize(1600, 1000));
    const TPlotGeometry g = TPlotGeometry::Compute(1600, 1000, 2000, 62000, 0);
    EXPECT_EQ(pic.pixel(5, 900), ToRgb(F.Cfg.BMPColors.BackGround));
    EXPECT_EQ(pic.pixel(0, 900), ToRgb(F.Cfg.BMPColors.Border));
    EXPECT_EQ(pic.pixel(g.XOfCode(30000), g.PointY((*F.Store)[30000].Y)),
              ToRgb(F.Cfg.BMPColors.Graph));
    const int x1 = g.XOfCode(12000);
    EXPECT_EQ(pic.pixel(x1, 3), ToRgb(F.Cfg.BMPColors.Visir1));
    EXPECT_EQ(pic.pixel(x1, 995), ToRgb(F.Cfg.BMPColors.Visir1));
    EXPECT_EQ(pic.pixel(x1, 996), ToRgb(F.Cfg.BMPColors.BackGround));
    EXPECT_EQ(pic.pixel(g.XOfCode(52000), 500), ToRgb(F.Cfg.BMPColors.Visir2));
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        pic.save(&buffer, "PNG");
    }
    Keep("processed.png", png);
}

TEST_F(PlotPicture, SvgIsVectorAndARealRendererDrawsTheSamePicture) {
    F.Cfg.Visir1 = F.Cfg.Visir2 = true;
    const QSize size(800, 500);
    const QByteArray svg = PlotPictureSvg(Source, Plot.LabelFont(), size, "processed");
    Keep("processed.svg", svg);
    EXPECT_FALSE(svg.contains("<image"));
    EXPECT_TRUE(svg.contains(">A=")) << "pair amplitudes are text";
    EXPECT_TRUE(svg.contains(">Tiba/Titan="));
    EXPECT_TRUE(svg.contains(">S="));

    const QString svgPath = Dir.filePath("p.svg");
    const QString pngPath = Dir.filePath("p.png");
    QFile f(svgPath);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(svg);
    f.close();
    QProcess rsvg;
    rsvg.start("rsvg-convert", {"-w", "800", "-h", "500", svgPath, "-o", pngPath});
    ASSERT_TRUE(rsvg.waitForFinished(60000)) << "rsvg-convert (librsvg2-bin) must be installed";
    ASSERT_EQ(rsvg.exitCode(), 0) << rsvg.readAllStandardError().toStdString();
    QImage rendered(pngPath);
    ASSERT_EQ(rendered.size(), size);
    rendered = rendered.convertToFormat(QImage::Format_RGB32);
    if (QFile png(pngPath); png.open(QIODevice::ReadOnly))
        Keep("processed-rsvg.png", png.readAll());

    // Every point of the raster picture away from texts is dark in the
    // rendering too; frame and visir lines lie on the same pixels.
    const QImage raster = PlotPictureImage(Source, Plot.LabelFont(), size);
    const QRgb black = ToRgb(F.Cfg.BMPColors.Graph);
    int points = 0;
    int dark = 0;
    for (int y = 40; y < size.height() - 40; ++y)
        for (int x = 1; x < size.width() - 60; ++x) {
            if (raster.pixel(x, y) != black)
                continue;
            ++points;
            dark += qGray(rendered.pixel(x, y)) < 96;
        }
    ASSERT_GT(points, 1000);
    EXPECT_GE(dark, points * 99 / 100) << dark << " of " << points;
    const TPlotGeometry g = TPlotGeometry::Compute(800, 500, 2000, 62000, 0);
    EXPECT_EQ(rendered.pixel(0, 300), ToRgb(F.Cfg.BMPColors.Border));
    EXPECT_EQ(rendered.pixel(g.XOfCode(12000), 300), ToRgb(F.Cfg.BMPColors.Visir1));
    EXPECT_EQ(rendered.pixel(5, 440), ToRgb(F.Cfg.BMPColors.BackGround));
}

TEST_F(PlotPicture, AFailedWriteNamesTheFileAndLeavesNothing) {
    QString error;
    const QString missing = Dir.filePath("none/p.png");
    EXPECT_FALSE(WritePlotPicture(missing, TPictureFormat::Png, Source, Plot.LabelFont(),
                                  DefaultPictureSize, &error));
    EXPECT_TRUE(error.contains(missing)) << error.toStdString();
    const QString tiny = Dir.filePath("tiny.svg");
    EXPECT_FALSE(WritePlotPicture(tiny, TPictureFormat::Svg, Source, Plot.LabelFont(),
                                  QSize(10, 10), &error));
    EXPECT_FALSE(QFile::exists(tiny));
    ASSERT_TRUE(WritePlotPicture(tiny, TPictureFormat::Svg, Source, Plot.LabelFont(),
                                 QSize(200, 100), &error))
        << error.toStdString();
    EXPECT_TRUE(QFile::exists(tiny));
}
