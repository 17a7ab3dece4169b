// A spectrum in the window: open, save, close, processing and its results on
// the plot, export, import, printing to a PDF.

#include "app_fixture.h"
#include "disk_limits.h"

#include "app/picture_size_dialog.h"
#include "base/atomic_file.h"
#include "print/print_setup_dialog.h"
#include "processing/processing_actions.h"
#include "processing/result_texts.h"
#include "view/canvas_checks.h"
#include "view/display_color_painter.h"
#include "view/plot_geometry.h"
#include "view/visir_controller.h"
#include "view/visir_panel_widget.h"

#include <QLineEdit>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace {

// The window with lines.kav open.
struct TSpectrumTest : TWindowTest {
    void SetUp() override { OpenTestSpectrum(); }

    TValueFormat Format() const {
        return TValueFormat(W.Session->Settings(), QLocale().decimalPoint()[0]);
    }
    // The plot holds the label at (x, y), or centred on x when `centred`.
    bool PlotHolds(int x, int y, const QString& text, bool centred = false) const {
        const TKavCfg& c = W.Session->Settings();
        const QImage& canvas = Plot(*W)->Canvas();
        if (centred) {
            const int tw = QFontMetrics(Plot(*W)->LabelFont(), &canvas).horizontalAdvance(text);
            x = KeepLabelInside(x - tw / 2, tw, Plot(*W)->Geometry().W);
        }
        return HoldsLabel(canvas, Plot(*W)->LabelFont(), x, y, text,
                          ToRgb(c.DisplayColors.BackGround), ToRgb(c.DisplayColors.Text));
    }
    void StandVisirs() { Item("Вид", "Установить визиры")->trigger(); }
    std::vector<TPointSlot> DataPoints() const {
        return std::vector<TPointSlot>(W.Session->Points().begin(),
                                       W.Session->Points().begin() + 65520);
    }
};

} // namespace

TEST_F(TSpectrumTest, OpenDialogIsConfiguredAndTheFileEntersTheRecentList) {
    ASSERT_EQ(Port.OpenRequests.size(), 1u);
    const TFileDialogRequest& r = Port.OpenRequests[0];
    EXPECT_EQ(
        QStringList({r.Title, r.Filter, r.DefaultSuffix, r.Directory}),
        QStringList({"Открыть фаил спектра", "Файлы спектров (*.kav)", "kav", Dir.Dir.path()}));
    EXPECT_FALSE(r.ConfirmOverwrite);
    EXPECT_EQ(W.Session->Settings().LastOpen, File);
    EXPECT_EQ(W.Session->Settings().WorkDir, Dir.Dir.path() + "/");
    EXPECT_EQ(W.Session->RecentFiles(), QStringList{File});
    EXPECT_EQ(Find<QMenu>(*W, "RecentFilesMenu")->actions()[0]->text(), "0 - " + File);
    EXPECT_EQ(Bar(*W)->Panel(5), QStringLiteral("PR: 3"));
    // A cancelled dialog, and an unreadable file (named), change nothing.
    Item("Спектр", "Открыть...")->trigger();
    ASSERT_TRUE(QDir(Dir.Dir.path()).mkdir("folder.kav"));
    Port.OpenAnswers << Dir.Path("folder.kav");
    Item("Спектр", "Открыть...")->trigger();
    ASSERT_EQ(Port.Errors.size(), 1);
    EXPECT_TRUE(Port.Errors[0].contains(QStringLiteral("folder.kav")));
    EXPECT_EQ(W->windowTitle(), QStringLiteral("Kavis - lines.kav"));
    EXPECT_EQ(W.Session->Settings().WorkDir, Dir.Dir.path() + "/");
    EXPECT_EQ(W.Session->Settings().LastOpen, File);
    EXPECT_EQ(W.Session->RecentFiles().size(), 1);
    EXPECT_EQ(W.Session->Points()[1000].X, 1000);
}

TEST_F(TSpectrumTest, SaveAsWritesTheFileAndReportsAFailure) {
    const QString copy = Dir.Path("sub/copy.kav");
    ASSERT_TRUE(QDir(Dir.Dir.path()).mkdir("sub"));
    Port.SaveAnswers << copy << Dir.Path("missing/dir/x.kav");
    Item("Спектр", "Сохранить...")->trigger();
    ASSERT_EQ(Port.SaveRequests.size(), 1u);
    EXPECT_EQ(Port.SaveRequests[0].Title, QStringLiteral("Сохранить фаил спектра"));
    EXPECT_TRUE(Port.SaveRequests[0].ConfirmOverwrite);
    EXPECT_EQ(Port.SaveRequests[0].DefaultSuffix, QStringLiteral("kav"));
    // The copy loads with the points the window shows.
    auto saved = std::make_unique<TPointTable>(), scratch = std::make_unique<TPointTable>();
    ASSERT_EQ(LoadSpectrumFile(copy, *saved, *scratch), TLoadOutcome::Loaded);
    EXPECT_EQ(std::vector<TPointSlot>(saved->begin(), saved->begin() + 65520), DataPoints());
    EXPECT_EQ(W.Session->Settings().WorkDir, Dir.Path("sub") + "/");
    EXPECT_EQ(W->windowTitle(), QStringLiteral("Kavis - lines.kav"));
    EXPECT_EQ(W.Session->RecentFiles().size(), 1);
    Item("Спектр", "Сохранить...")->trigger();
    ASSERT_EQ(Port.Errors.size(), 1);
    EXPECT_TRUE(Port.Errors[0].contains(QStringLiteral("x.kav")));
    EXPECT_EQ(W.Session->Settings().WorkDir, Dir.Path("sub") + "/");
}

TEST_F(TSpectrumTest, CloseAndRecentItemReopen) {
    Item("Спектр", "Закрыть")->trigger();
    EXPECT_EQ(W->windowTitle(), QStringLiteral("КАВ"));
    EXPECT_FALSE(Act(*W, "ASaveFileAs")->isEnabled());
    EXPECT_EQ(W.Session->Points()[1000].Y, EmptyY);
    EXPECT_EQ(W.Session->Settings().LastOpen, QString());
    Find<QMenu>(*W, "RecentFilesDropDown")->actions()[0]->trigger();
    EXPECT_EQ(W->windowTitle(), QStringLiteral("Kavis - lines.kav"));
    EXPECT_EQ(W.Session->Points()[1000].X, 1000);
}

TEST_F(TSpectrumTest, ResultsAreDrawnOnThePlotAndVisirsShowTheDistance) {
    StandVisirs();
    const TValueFormat f = Format();
    EXPECT_EQ(Bar(*W)->Panel(7), "dH=" + f.FieldToStr(65400 - 50));
    EXPECT_TRUE(Find<TVisirPanelWidget>(*W, "VisPan1")->isVisible());
    EXPECT_EQ(Find<TVisirPanelWidget>(*W, "VisPan1")->AbscissaText(), f.FieldToStr(50));
    EXPECT_EQ(Find<TVisirPanelWidget>(*W, "VisPan2")->AbscissaText(), f.FieldToStr(65400));
    Act(*W, "AMinMax")->trigger();
    const TSpectrumResults& r = W.Session->Results();
    ASSERT_EQ(r.PairCount, 3);
    ASSERT_GE(r.MaxCount, 3);
    ASSERT_GE(r.MinCount, 3);
    // Rightmost pair first: the weakest line of the three.
    EXPECT_LT(r.PairAmplitudes[0], r.PairAmplitudes[1]);
    const TPlotGeometry& g = Plot(*W)->Geometry();
    for (int k = 0; k < r.PairCount; ++k) {
        const QString label = PairAmplitudeText(f, r.PairAmplitudes[k]);
        const int middle =
            (W.Session->Points()[r.MinPositions[k]].X + W.Session->Points()[r.MaxPositions[k]].X) /
            2;
        EXPECT_TRUE(PlotHolds(g.XOfCode(middle), 2, label, true)) << label.toStdString();
    }
    EXPECT_FALSE(Act(*W, "ABackUp")->isEnabled());

    Item("Функции", "Отношение пиков")->trigger();
    ASSERT_NE(r.TibaAmp, 0);
    ASSERT_NE(r.TitanAmp, 0);
    const QString ratio = PeakRatioText(f, r);
    EXPECT_TRUE(ratio.startsWith(QStringLiteral("Tiba/Titan=")));
    EXPECT_TRUE(PlotHolds(2, 2, ratio));

    // The integral shows its area between the visirs, a text line down.
    Item("Функции", "Интеграл")->trigger();
    ASSERT_GE(r.Area, 0);
    const QString area = AreaText(f, r.Area);
    ASSERT_TRUE(area.startsWith(QStringLiteral("S=")));
    const int th = QFontMetrics(Plot(*W)->LabelFont(), &Plot(*W)->Canvas()).height();
    const TPlotGeometry& geo = Plot(*W)->Geometry();
    const TKavCfg& c = W.Session->Settings();
    EXPECT_TRUE(
        PlotHolds((geo.XOfCode(c.VisKoord1) + geo.XOfCode(c.VisKoord2)) / 2, th, area, true));
}

TEST_F(TSpectrumTest, EveryChangeOfTheStoreIsUndone) {
    // Visir 1 on the first line's flank, so the baseline has a slope.
    W.Session->Settings().VisKoord1 = 19200;
    StandVisirs();
    for (const char* name : {"AGliss", "AFilter", "AEqualize", "AIntegr"}) {
        SCOPED_TRACE(name);
        const TPointTable before = W.Session->Points();
        Act(*W, name)->trigger();
        EXPECT_NE(W.Session->Points(), before);
        EXPECT_TRUE(Act(*W, "ABackUp")->isEnabled());
        Item("Функции", "Отмена")->trigger();
        EXPECT_EQ(W.Session->Points(), before);
        EXPECT_FALSE(Act(*W, "ABackUp")->isEnabled());
    }
    EXPECT_TRUE(Port.Warnings.isEmpty());
}

TEST_F(TSpectrumTest, DpphFrequencyThenGFactorsInTheVisirReadouts) {
    StandVisirs();
    Item("Функции", "Отображать g-фактор")->trigger();
    EXPECT_EQ(Port.Warnings, QStringList{TProcessingActions::NoFrequencyWarning});
    EXPECT_FALSE(Act(*W, "AGShow")->isChecked());
    Port.Warnings.clear();
    Item("Функции", "Расcчитать частоту по ДФПГ")->trigger();
    EXPECT_EQ(Port.Warnings, QStringList{TProcessingActions::DpphWarning});
    ASSERT_EQ(Port.Infos.size(), 1);
    EXPECT_TRUE(Port.Infos[0].startsWith(TProcessingActions::DpphResultPrefix + "f="));
    EXPECT_GT(W.Session->Settings().ResonatorFreq, 0);
    Item("Функции", "Отображать g-фактор")->trigger();
    EXPECT_TRUE(Act(*W, "AGShow")->isChecked());
    EXPECT_TRUE(
        Find<TVisirPanelWidget>(*W, "VisPan1")->AbscissaText().startsWith(QStringLiteral("g=")));
    // Undo forgets the frequency: fields come back.
    Act(*W, "AGliss")->trigger();
    Act(*W, "ABackUp")->trigger();
    EXPECT_FALSE(Act(*W, "AGShow")->isChecked());
    EXPECT_EQ(W.Session->Settings().ResonatorFreq, 0);
    EXPECT_EQ(Find<TVisirPanelWidget>(*W, "VisPan1")->AbscissaText(), Format().FieldToStr(50));
}

namespace {

struct TExchangeTest : TSpectrumTest {
    void Export(const QString& name) {
        Port.SaveAnswers << Dir.Path(name);
        Item("Спектр", "Экспорт...")->trigger();
    }
    void Import(const QString& name) {
        Port.OpenAnswers << Dir.Path(name);
        Item("Спектр", "Импорт...")->trigger();
    }
    // The picture size dialog answered with `size`.
    void ChoosePictureSize(QSize size) {
        Port.OnDialog = [size](QDialog& d) {
            auto* dialog = qobject_cast<TPictureSizeDialog*>(&d);
            ASSERT_NE(dialog, nullptr);
            dialog->SetChosenSize(size);
            d.accept();
        };
    }
};

} // namespace

TEST_F(TExchangeTest, ExportWritesTheFormatOfTheNameAndPicturesOfTheChosenSize) {
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
    // Code 1000 of 3100 .. 3400 Э first.
    EXPECT_TRUE(Dir.Read("out.csv").startsWith("field [G],amplitude\n3104.57"));

    ChoosePictureSize(QSize(640, 400));
    Export("out.png");
    EXPECT_EQ(QImage(Dir.Path("out.png")).size(), QSize(640, 400));
    Port.OnDialog = [](QDialog& d) { d.reject(); };
    Export("out.svg"); // the size dialog cancelled: nothing written
    EXPECT_FALSE(QFile::exists(Dir.Path("out.svg")));
    Export("out.xyz");
    ASSERT_EQ(Port.Errors.size(), 1);
    EXPECT_TRUE(Port.Errors[0].contains("out.xyz"));
}

TEST_F(TExchangeTest, ImportedSpectrumIsShownAsAnOpenedFileWithoutTouchingLastOpen) {
    Export("out.DSC");
    const std::vector<TPointSlot> exported = DataPoints();
    // Results of processing on the opened file, then a spectrum that is not it.
    StandVisirs();
    Act(*W, "AMinMax")->trigger();
    ASSERT_GT(W.Session->Results().MaxCount, 0);
    Act(*W, "AGliss")->trigger();
    ASSERT_TRUE(Act(*W, "ABackUp")->isEnabled());
    const QStringList recent = W.Session->RecentFiles();

    Import("out.DSC");
    EXPECT_TRUE(Port.Errors.isEmpty()) << Port.Errors.join('\n').toStdString();
    EXPECT_EQ(Port.OpenRequests.back().Filter,
              QStringLiteral("BES3T (*.DSC);;Текст CSV (*.csv);;Текст (*.txt)"));
    EXPECT_EQ(W->windowTitle(), QStringLiteral("Kavis - out.DSC"));
    EXPECT_EQ(W.Session->Settings().LastOpen, File);
    EXPECT_EQ(W.Session->RecentFiles(), recent);
    EXPECT_FALSE(Act(*W, "ABackUp")->isEnabled());
    EXPECT_EQ(W.Session->Results().MaxCount, 0);
    EXPECT_EQ(DataPoints(), exported);
    EXPECT_EQ(W.Session->Settings().RazvUnits[3].X1, 3100);
}

TEST_F(TExchangeTest, BadInputShowsOneErrorAndChangesNothing) {
    // Every format's reasons are the exchange tests'; one reaches the window.
    Dir.Write("bad.csv", "field,amplitude\n3200,0.5\n3201 0.5 7\n");
    const std::vector<TPointSlot> before = DataPoints();
    Import("bad.csv");
    ASSERT_EQ(Port.Errors.size(), 1);
    EXPECT_TRUE(Port.Errors[0].contains("bad.csv") && Port.Errors[0].contains("строка 3"))
        << Port.Errors[0].toStdString();
    EXPECT_EQ(W->windowTitle(), QStringLiteral("Kavis - lines.kav"));
    EXPECT_EQ(DataPoints(), before);
}

// The picture shows what the plot shows: with ShowFirst on, the unfiltered
// trace of the receive side beside the points.
TEST_F(TExchangeTest, PictureCarriesTheRawTraceWhenShowFirstIsOn) {
    W.Session->Settings().BMPColors.AddGraph = 0xFF00FF;
    W.Session->Engine().State().FirstValues.fill(4000); // far above every point
    ChoosePictureSize(QSize(400, 250));
    auto magentaPixels = [&](const QString& name) {
        Export(name);
        const QImage image = QImage(Dir.Path(name)).convertToFormat(QImage::Format_RGB32);
        return CountColour(image, image.rect(), qRgb(255, 0, 255));
    };
    W.Session->Settings().ShowFirst = false;
    EXPECT_EQ(magentaPixels("plain.png"), 0);
    W.Session->Settings().ShowFirst = true;
    EXPECT_GT(magentaPixels("raw.png"), 100);
}

namespace {

QString PdfTool(const QString& tool, const QString& pdf) {
    QProcess p;
    p.start(tool, tool == "pdftotext" ? QStringList{pdf, "-"} : QStringList{pdf});
    EXPECT_TRUE(p.waitForFinished(60000));
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

// Without a printer, printing writes a PDF named in the save dialog.
struct TPrintTest : TSpectrumTest {
    // The save dialog of a print to a PDF file, in the working folder.
    void ExpectPdfRequest(const char* title, const QString& fileName) const {
        ASSERT_FALSE(Port.SaveRequests.empty());
        const TFileDialogRequest& r = Port.SaveRequests.back();
        EXPECT_EQ(r.Title, QString::fromUtf8(title));
        EXPECT_EQ(r.Directory, W.Session->Settings().WorkDir);
        EXPECT_EQ(r.FileName, fileName);
        EXPECT_EQ(r.Filter, QStringLiteral("Файлы PDF (*.pdf)"));
        EXPECT_EQ(r.DefaultSuffix, QStringLiteral("pdf"));
        EXPECT_TRUE(r.ConfirmOverwrite);
    }
    void SetUp() override {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            GTEST_SKIP() << "this machine has a printer: printing goes to it, not to a PDF";
        TSpectrumTest::SetUp();
    }
    void PrintSetup(const std::function<void(TPrintSetupForm&)>& act) {
        Port.OnDialog = [act](QDialog& d) {
            auto* form = qobject_cast<TPrintSetupForm*>(&d);
            ASSERT_NE(form, nullptr);
            act(*form);
        };
        Item("Спектр", "Печать спектра...")->trigger();
    }
};

} // namespace

TEST_F(TPrintTest, APrintWritesThePageAsAPdfUnderTheSpectrumsName) {
    const QString pdf = Dir.Path("out/lines.pdf");
    ASSERT_TRUE(QDir(Dir.Dir.path()).mkdir("out"));
    Port.SaveAnswers << pdf;
    QAction* print = Act(*W, "APrint");
    ASSERT_TRUE(Find<QToolBar>(*W, "MainBar")->actions().contains(print));
    print->trigger();

    ASSERT_EQ(Port.SaveRequests.size(), 1u);
    ExpectPdfRequest("Печать спектра в файл PDF", "lines.pdf");
    EXPECT_TRUE(Port.Errors.isEmpty()) << Port.Errors.join('\n').toStdString();

    EXPECT_TRUE(PdfTool("pdfinfo", pdf).contains("Page size: 842 x 595 pts (A4)"));
    // The header takes the gain and speed the selectors show for the file.
    EXPECT_TRUE(
        PdfTool("pdftotext", pdf)
            .contains(QStringLiteral("Файл: \"lines.kav\" Усиление: 1. Развёртка: 32 мин.")));
    EXPECT_EQ(W.Session->Settings().WorkDir, Dir.Dir.path() + "/"); // a PDF is no spectrum

    // Cancelled: nothing written, nothing said.
    print->trigger();
    EXPECT_EQ(Port.SaveRequests.size(), 2u);
    EXPECT_TRUE(Port.Errors.isEmpty());

    // After an import the page and the PDF carry the imported spectrum's
    // name, as the caption does, not that of the file opened before.
    QByteArray csv = "field [G],amplitude\n";
    for (int f = 3150; f <= 3250; ++f)
        csv += QByteArray::number(f) + "," + QByteArray::number(std::sin(f / 7.0), 'f', 3) + "\n";
    Dir.Write("imported.csv", csv);
    Port.OpenAnswers << Dir.Path("imported.csv");
    Item("Спектр", "Импорт...")->trigger();
    ASSERT_EQ(W->windowTitle(), QStringLiteral("Kavis - imported.csv"));
    ASSERT_EQ(W.Session->Settings().LastOpen, File); // lines.kav stays the last file opened
    Port.SaveAnswers << Dir.Path("imported.pdf");
    print->trigger();
    ExpectPdfRequest("Печать спектра в файл PDF", "imported.pdf");
    EXPECT_TRUE(Port.Errors.isEmpty()) << Port.Errors.join('\n').toStdString();
    const QString text = PdfTool("pdftotext", Dir.Path("imported.pdf"));
    EXPECT_TRUE(text.contains(QStringLiteral("Файл: \"imported.csv\" Усиление:")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("lines.kav"))) << text.toStdString();

    // Without a spectrum the page has no file name and neither has the PDF.
    Item("Спектр", "Закрыть")->trigger();
    print->trigger();
    EXPECT_EQ(Port.SaveRequests.back().FileName, QStringLiteral("Спектр.pdf"));
}

TEST_F(TPrintTest, AFailedWriteIsShownWithItsReasonAndTheProgramGoesOn) {
    const QString pdf = Dir.Path("lines.pdf");
    ASSERT_TRUE(WriteFileAtomically(pdf, "previous page"));
    const QString missing = Dir.Path("gone/lines.pdf");
    Port.SaveAnswers << missing << pdf;
    Act(*W, "APrint")->trigger();
    ASSERT_EQ(Port.Errors.size(), 1);
    EXPECT_EQ(
        Port.Errors[0],
        QStringLiteral("Не удалось записать файл \"%1\": No such file or directory").arg(missing));
    EXPECT_EQ(Dir.Read(pdf), "previous page");

    Act(*W, "APrint")->trigger();
    EXPECT_EQ(Port.Errors.size(), 1);
    EXPECT_TRUE(PdfTool("pdfinfo", pdf).contains("Pages: 1 "));
}

// A previous PDF stays whole when the new one cannot be written: a file
// size limit below the page's size, and a full file system (where a tmpfs
// can be mounted); the failure names the file and the system's reason.
TEST_F(TPrintTest, APrintFormWritesTheWindowAndOnAFullDiskKeepsThePreviousFile) {
    // "Печать главного окна" without a printer: the window's image on one page.
    const QString pdf = Dir.Path("print.pdf");
    Port.SaveAnswers << pdf;
    Item("Спектр", "Печать главного окна")->trigger();
    ASSERT_EQ(Port.SaveRequests.size(), 1u);
    ExpectPdfRequest("Печать главного окна в файл PDF", "Окно КАВ.pdf");
    ASSERT_TRUE(Port.Errors.isEmpty()) << Port.Errors.join('\n').toStdString();
    const QString info = PdfTool("pdfinfo", pdf);
    EXPECT_TRUE(info.contains("Pages: 1 ")) << info.toStdString();
    EXPECT_TRUE(info.contains("Page size: 842 x 595 pts (A4)")) << info.toStdString();
    QProcess images;
    images.start("pdfimages", {"-list", pdf});
    ASSERT_TRUE(images.waitForFinished(60000));
    const QStringList rows =
        QString::fromUtf8(images.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_EQ(rows.size(), 1) << rows.join('\n').toStdString();
    const QStringList cols = rows[0].simplified().split(u' ');
    const QSize window = W->size() * W->devicePixelRatio();
    EXPECT_EQ(cols.value(3).toInt(), window.width());
    EXPECT_EQ(cols.value(4).toInt(), window.height());
    // Cancelled: nothing written, nothing said.
    Item("Спектр", "Печать главного окна")->trigger();
    EXPECT_EQ(Port.SaveRequests.size(), 2u);
    EXPECT_TRUE(Port.Errors.isEmpty());
    const QByteArray previous = Dir.Read(pdf);
    ASSERT_GT(previous.size(), 8192);

    Port.SaveAnswers << pdf;
    UnderFileSizeLimit(8192, [&] {
        Item("Спектр", "Печать главного окна")->trigger();
        return 0;
    });
    ASSERT_EQ(Port.Errors.size(), 1);
    EXPECT_EQ(Port.Errors[0],
              QStringLiteral("Не удалось записать файл \"%1\": %2").arg(pdf, SystemReason(EFBIG)));
    EXPECT_EQ(Dir.Read(pdf), previous);
    EXPECT_EQ(QDir(Dir.Dir.path()).entryList({"*.pdf*"}, QDir::Files | QDir::Hidden),
              QStringList{"print.pdf"});

    TSmallDisk disk;
    if (!disk.Mounted() || !disk.Fill())
        GTEST_SKIP() << "a full file system cannot be set up here: " << disk.Reason.toStdString();
    const QString full = disk.Path("print.pdf");
    QFile::remove(disk.Path(".fill"));
    ASSERT_TRUE(WriteFileAtomically(full, previous.left(8000)));
    ASSERT_TRUE(disk.Fill());
    Port.SaveAnswers << full;
    Item("Спектр", "Печать главного окна")->trigger();
    ASSERT_EQ(Port.Errors.size(), 2);
    EXPECT_EQ(
        Port.Errors[1],
        QStringLiteral("Не удалось записать файл \"%1\": %2").arg(full, SystemReason(ENOSPC)));
    EXPECT_EQ(Dir.Read(full), previous.left(8000));
}

TEST_F(TPrintTest, PrintSetupOkStoresAndPrintsAtOnceCancelPrintsNothing) {
    PrintSetup([](TPrintSetupForm& form) {
        EXPECT_EQ(form.PrnName->text(), QStringLiteral("PDF"));
        form.PortraitItem->click();
        form.LeftEdit->setValue(30);
        form.CancelBtn->click();
    });
    EXPECT_EQ(Port.Dialogs, 1);
    EXPECT_TRUE(Port.SaveRequests.empty());
    EXPECT_EQ(W.Session->Settings().Orientation, 1);
    EXPECT_EQ(W.Session->Settings().PrnL, 15);

    const QString pdf = Dir.Path("portrait.pdf");
    Port.SaveAnswers << pdf;
    PrintSetup([](TPrintSetupForm& form) {
        EXPECT_TRUE(form.LandscapeItem->isChecked());
        form.PortraitItem->click();
        form.LeftEdit->setValue(30);
        form.OkBtn->click();
    });
    EXPECT_EQ(W.Session->Settings().Orientation, 0);
    EXPECT_EQ(W.Session->Settings().PrnL, 30);
    ASSERT_EQ(Port.SaveRequests.size(), 1u);
    EXPECT_TRUE(PdfTool("pdfinfo", pdf).contains("Page size: 595 x 842 pts (A4)"));

    // Margins that leave no room: said, nothing stored, no file name asked.
    PrintSetup([](TPrintSetupForm& form) {
        form.LeftEdit->setValue(150);
        form.RightEdit->setValue(150);
        form.OkBtn->click();
        EXPECT_NE(form.result(), QDialog::Accepted);
        form.CancelBtn->click();
    });
    ASSERT_EQ(Port.Warnings.size(), 1);
    EXPECT_EQ(Port.Warnings[0], QStringLiteral("Поля не оставляют места для спектра: слева 150 "
                                               "мм и справа 150 мм на бумаге шириной 210 мм."));
    EXPECT_EQ(Port.SaveRequests.size(), 1u);
    EXPECT_EQ(W.Session->Settings().PrnL, 30);

    // The choices reach Kav.ini at exit.
    W->close();
    const TKavCfg saved = Dir.ReadBack();
    EXPECT_EQ(saved.Orientation, 0);
    EXPECT_EQ(saved.PrnL, 30);
}
