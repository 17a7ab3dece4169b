#include "app_fixture.h"

#include "print/print_setup_dialog.h"
#include "spectrum/atomic_file.h"

#include <QAction>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolBar>

namespace {

QString PdfTool(const QString& tool, const QString& pdf) {
    QProcess p;
    p.start(tool, tool == "pdftotext" ? QStringList{pdf, "-"} : QStringList{pdf});
    EXPECT_TRUE(p.waitForFinished(60000));
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

// The window with a spectrum open, on a machine without a printer: printing
// writes a PDF whose name the save dialog gets.
struct PrintActions : ::testing::Test {
    TAppDir Dir;
    TScriptedPort Port;
    std::unique_ptr<TKavMainForm> W;

    void SetUp() override {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            GTEST_SKIP() << "this machine has a printer: printing goes to it, not to a PDF";
        WriteTestSpectrum(Dir.Path("lines.kav"));
        W = ShowWindow(Port);
        Port.OpenAnswers << Dir.Path("lines.kav");
        MenuItem(*W, "Спектр", "Открыть...")->trigger();
    }
    QAction* PrintButton() const {
        for (QAction* a : W->MainBar()->actions())
            if (a->objectName() == QStringLiteral("APrint"))
                return a;
        return nullptr;
    }
    void PrintSetup(const std::function<void(TPrintSetupForm&)>& act) {
        Port.OnDialog = [act](QDialog& d) {
            auto* form = qobject_cast<TPrintSetupForm*>(&d);
            ASSERT_NE(form, nullptr);
            act(*form);
        };
        MenuItem(*W, "Спектр", "Печать спектра...")->trigger();
    }
};

TEST_F(PrintActions, APrintWritesThePageAsAPdfUnderTheSpectrumsName) {
    ASSERT_NE(PrintButton(), nullptr);
    const QString pdf = Dir.Path("out/lines.pdf");
    ASSERT_TRUE(QDir(Dir.Dir.path()).mkdir("out"));
    Port.SaveAnswers << pdf;
    PrintButton()->trigger();

    ASSERT_EQ(Port.SaveRequests.size(), 1u);
    const TFileDialogRequest& r = Port.SaveRequests[0];
    EXPECT_EQ(r.Title, QStringLiteral("Печать спектра в файл PDF"));
    EXPECT_EQ(r.Directory, W->Settings().WorkDir);
    EXPECT_EQ(r.FileName, QStringLiteral("lines.pdf"));
    EXPECT_EQ(r.Filter, QStringLiteral("Файлы PDF (*.pdf)"));
    EXPECT_EQ(r.DefaultSuffix, QStringLiteral("pdf"));
    EXPECT_TRUE(r.ConfirmOverwrite);
    EXPECT_TRUE(Port.Errors.isEmpty()) << Port.Errors.join('\n').toStdString();

    EXPECT_TRUE(PdfTool("pdfinfo", pdf).contains("Page size: 842 x 595 pts (A4)"));
    // The header takes the gain and speed the selectors show for the file.
    EXPECT_TRUE(
        PdfTool("pdftotext", pdf)
            .contains(QStringLiteral("Файл: \"lines.kav\" Усиление: 1. Развёртка: 32 мин.")));
    EXPECT_EQ(W->Settings().WorkDir, Dir.Dir.path() + "/"); // a PDF is no spectrum

    // Cancelled: nothing written, nothing said.
    PrintButton()->trigger();
    EXPECT_EQ(Port.SaveRequests.size(), 2u);
    EXPECT_TRUE(Port.Errors.isEmpty());

    // Without a spectrum the page has no file name and neither has the PDF.
    MenuItem(*W, "Спектр", "Закрыть")->trigger();
    PrintButton()->trigger();
    EXPECT_EQ(Port.SaveRequests.back().FileName, QStringLiteral("Спектр.pdf"));
}

TEST_F(PrintActions, AFailedWriteIsShownWithItsReasonAndTheProgramGoesOn) {
    const QString pdf = Dir.Path("lines.pdf");
    ASSERT_TRUE(WriteFileAtomically(pdf, "previous page"));
    const QString missing = Dir.Path("gone/lines.pdf");
    Port.SaveAnswers << missing << pdf;
    PrintButton()->trigger();
    ASSERT_EQ(Port.Errors.size(), 1);
    EXPECT_EQ(
        Port.Errors[0],
        QStringLiteral("Не удалось записать файл \"%1\": No such file or directory").arg(missing));
    QFile previous(pdf);
    ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
    EXPECT_EQ(previous.readAll(), "previous page");
    previous.close();

    PrintButton()->trigger();
    EXPECT_EQ(Port.Errors.size(), 1);
    EXPECT_TRUE(PdfTool("pdfinfo", pdf).contains("Pages: 1 "));
}

TEST_F(PrintActions, PrintSetupOkStoresAndPrintsAtOnceCancelPrintsNothing) {
    PrintSetup([](TPrintSetupForm& form) {
        EXPECT_EQ(form.PrnName->text(), QStringLiteral("PDF"));
        form.PortraitItem->click();
        form.LeftEdit->setValue(30);
        form.CancelBtn->click();
    });
    EXPECT_EQ(Port.Dialogs, 1);
    EXPECT_TRUE(Port.SaveRequests.empty());
    EXPECT_EQ(W->Settings().Orientation, 1);
    EXPECT_EQ(W->Settings().PrnL, 15);

    const QString pdf = Dir.Path("portrait.pdf");
    Port.SaveAnswers << pdf;
    PrintSetup([](TPrintSetupForm& form) {
        EXPECT_TRUE(form.LandscapeItem->isChecked());
        form.PortraitItem->click();
        form.LeftEdit->setValue(30);
        form.OkBtn->click();
    });
    EXPECT_EQ(W->Settings().Orientation, 0);
    EXPECT_EQ(W->Settings().PrnL, 30);
    ASSERT_EQ(Port.SaveRequests.size(), 1u);
    EXPECT_TRUE(PdfTool("pdfinfo", pdf).contains("Page size: 595 x 842 pts (A4)"));

    // The choices reach Kav.ini at exit.
    W->close();
    EXPECT_EQ(Dir.ReadBack().Orientation, 0);
    EXPECT_EQ(Dir.ReadBack().PrnL, 30);
}

} // namespace
