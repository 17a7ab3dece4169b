#include "acquisition/acquisition_engine.h"
#include "app/picture_size_dialog.h"
#include "app_fixture.h"

#include <QAction>
#include <QImage>

namespace {

struct TExchangeActions : ::testing::Test {
    TAppDir Dir;
    TScriptedPort Port;
    QString File = Dir.Path("lines.kav");
    std::unique_ptr<TKavMainForm> W;

    void SetUp() override {
        WriteTestSpectrum(File);
        W = ShowWindow(Port);
        Port.OpenAnswers << File;
        MenuItem(*W, "Спектр", "Открыть...")->trigger();
        ASSERT_EQ(W->windowTitle(), QStringLiteral("Kavis - lines.kav"));
    }

    void Export(const QString& name) {
        Port.SaveAnswers << Dir.Path(name);
        MenuItem(*W, "Спектр", "Экспорт...")->trigger();
    }
    void Import(const QString& name) {
        Port.OpenAnswers << Dir.Path(name);
        MenuItem(*W, "Спектр", "Импорт...")->trigger();
    }
    std::vector<TPointSlot> DataPoints() {
        return std::vector<TPointSlot>(W->Points().begin(), W->Points().begin() + 65520);
    }
};

} // namespace

TEST_F(TExchangeActions, ExportWritesTheFormatOfTheNameAndPicturesOfTheChosenSize) {
    Export("out.DSC");
    ASSERT_EQ(Port.SaveRequests.size(), 1u);
    EXPECT_EQ(Port.SaveRequests[0].Title, QStringLiteral("Экспорт спектра"));
    EXPECT_EQ(Port.SaveRequests[0].Filter,
              QStringLiteral(
                  "BES3T (*.DSC);;Текст CSV (*.csv);;Рисунок PNG (*.png);;Рисунок SVG (*.svg)"));
    EXPECT_TRUE(Port.SaveRequests[0].ConfirmOverwrite);
    Export("out.csv");
    EXPECT_TRUE(Port.Errors.isEmpty()) << Port.Errors.join('\n').toStdString();
    EXPECT_TRUE(QFile::exists(Dir.Path("out.DTA")));
    QFile csv(Dir.Path("out.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readLine(), "field [G],amplitude\n");
    EXPECT_TRUE(csv.readLine().startsWith("3104.57")); // code 1000 of 3100 .. 3400 Э

    Port.OnDialog = [](QDialog& d) {
        auto* size = qobject_cast<TPictureSizeDialog*>(&d);
        ASSERT_NE(size, nullptr);
        size->SetChosenSize(QSize(640, 400));
        d.accept();
    };
    Export("out.png");
    EXPECT_EQ(QImage(Dir.Path("out.png")).size(), QSize(640, 400));
    Port.OnDialog = [](QDialog& d) { d.reject(); };
    Export("out.svg"); // the size dialog cancelled: nothing written
    EXPECT_FALSE(QFile::exists(Dir.Path("out.svg")));
    Export("out.xyz");
    ASSERT_EQ(Port.Errors.size(), 1);
    EXPECT_TRUE(Port.Errors[0].contains("out.xyz"));
}

TEST_F(TExchangeActions, ImportedSpectrumIsShownAsAnOpenedFileWithoutTouchingLastOpen) {
    Export("out.DSC");
    const std::vector<TPointSlot> exported = DataPoints();
    // Results of processing on the opened file, then a spectrum that is not it.
    MenuItem(*W, "Вид", "Установить визиры")->trigger();
    W->Actions().AMinMax->trigger();
    ASSERT_GT(W->Results().MaxCount, 0);
    W->Actions().AGliss->trigger();
    ASSERT_TRUE(W->Actions().ABackUp->isEnabled());
    const QStringList recent = W->RecentFiles();

    Import("out.DSC");
    EXPECT_TRUE(Port.Errors.isEmpty()) << Port.Errors.join('\n').toStdString();
    EXPECT_EQ(Port.OpenRequests.back().Filter,
              QStringLiteral("BES3T (*.DSC);;Текст CSV (*.csv);;Текст (*.txt)"));
    EXPECT_EQ(W->windowTitle(), QStringLiteral("Kavis - out.DSC"));
    EXPECT_EQ(W->Settings().LastOpen, File);
    EXPECT_EQ(W->RecentFiles(), recent);
    EXPECT_FALSE(W->Actions().ABackUp->isEnabled());
    EXPECT_EQ(W->Results().MaxCount, 0);
    EXPECT_EQ(DataPoints(), exported);
    EXPECT_EQ(W->Settings().RazvUnits[3].X1, 3100);
}

TEST_F(TExchangeActions, BadInputShowsOneErrorAndChangesNothing) {
    QFile bad(Dir.Path("bad.csv"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("field,amplitude\n3200,0.5\n3201 0.5 7\n");
    bad.close();
    QFile lonely(Dir.Path("lonely.DSC"));
    ASSERT_TRUE(lonely.open(QIODevice::WriteOnly));
    lonely.write("IKKF REAL\nXTYP IDX\nIRFMT D\nXPTS 2\nXMIN 3200\nXWID 1\n");
    lonely.close();
    const std::vector<TPointSlot> before = DataPoints();
    Import("bad.csv");
    Import("lonely.DSC");
    ASSERT_EQ(Port.Errors.size(), 2);
    EXPECT_TRUE(Port.Errors[0].contains("bad.csv") && Port.Errors[0].contains("строка 3"))
        << Port.Errors[0].toStdString();
    EXPECT_TRUE(Port.Errors[1].contains("lonely.DTA")) << Port.Errors[1].toStdString();
    EXPECT_EQ(W->windowTitle(), QStringLiteral("Kavis - lines.kav"));
    EXPECT_EQ(DataPoints(), before);
}

// The picture shows what the plot shows: with ShowFirst on, the unfiltered
// trace of the receive side beside the points.
TEST_F(TExchangeActions, PictureCarriesTheRawTraceWhenShowFirstIsOn) {
    constexpr TColorValue Magenta = 0xFF00FF;
    W->Settings().BMPColors.AddGraph = Magenta;
    W->Engine().State().FirstValues.fill(4000); // far above every point
    Port.OnDialog = [](QDialog& d) {
        qobject_cast<TPictureSizeDialog*>(&d)->SetChosenSize(QSize(400, 250));
        d.accept();
    };
    auto magentaPixels = [&](const QString& name) {
        Export(name);
        const QImage image = QImage(Dir.Path(name)).convertToFormat(QImage::Format_RGB32);
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == qRgb(255, 0, 255);
        return n;
    };
    W->Settings().ShowFirst = false;
    EXPECT_EQ(magentaPixels("plain.png"), 0);
    W->Settings().ShowFirst = true;
    EXPECT_GT(magentaPixels("raw.png"), 100);
}
