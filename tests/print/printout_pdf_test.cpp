#include "print/printout_job_painter.h"
#include "print/printout_texts.h"
#include "spectrum/atomic_file.h"
#include "view/qt_app.h"
#include "view/view_fixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>

namespace {

// Output of a poppler tool on a file.
QString RunTool(const QString& tool, const QStringList& args) {
    QProcess p;
    p.start(tool, args);
    EXPECT_TRUE(p.waitForFinished(60000)) << tool.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << tool.toStdString() << ": "
                               << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A processed spectrum: a line with its extrema, its pair amplitude and the
// double integral between the visirs.
struct PrintoutPdf : ::testing::Test {
    TViewFixture F;
    QTemporaryDir Dir;
    QString Error;

    PrintoutPdf() {
        for (int code = 20000; code <= 45000; code += 50) {
            const double d = (code - 32500) / 800.0;
            F.Put(code, static_cast<int>(2048 - 1500 * d / ((1 + d * d) * (1 + d * d))));
        }
        F.Cfg.Visir1 = F.Cfg.Visir2 = true;
        F.Cfg.VisKoord1 = 21000;
        F.Cfg.VisKoord2 = 44000;
        F.Results.MaxCount = F.Results.MinCount = F.Results.PairCount = 1;
        F.Results.MaxPositions = {32050};
        F.Results.MinPositions = {32950};
        F.Results.PairAmplitudes = {973};
        F.Results.Area = 123456.0;
    }

    QString Path(const QString& name) const { return Dir.filePath(name); }
    TPrintout Printout() const {
        return TPrintout{F.Cfg,
                         *F.Store,
                         F.Results,
                         F.Readings,
                         F.Format,
                         F.GFactor,
                         PrintoutHeader(false, QStringLiteral("/data/line.kav"),
                                        QStringLiteral("5"), QStringLiteral("30 сек"))};
    }
    bool Write(const QString& path) {
        return WritePrintoutPdf(path, PdfPageLayout(), Printout(), &Error);
    }
    QStringList Entries() const {
        return QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
};

TEST_F(PrintoutPdf, OnePageOfA4InTheChosenOrientationWithItsTexts) {
    const struct {
        std::uint8_t Orientation;
        const char* PageSize;
    } cases[] = {{0, "595 x 842 pts (A4)"}, {1, "842 x 595 pts (A4)"}};
    for (const auto& c : cases) {
        F.Cfg.Orientation = c.Orientation;
        const QString path = Path(QStringLiteral("line-%1.pdf").arg(c.Orientation));
        ASSERT_TRUE(Write(path)) << Error.toStdString();
        const QString info = RunTool("pdfinfo", {path});
        EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
        EXPECT_TRUE(info.contains(QStringLiteral("Page size:       ") + c.PageSize))
            << info.toStdString();
        EXPECT_TRUE(info.contains(QStringLiteral("Спектр КАВ"))) << info.toStdString();

        // The text as the page reads, blanks taken together.
        const QString text = RunTool("pdftotext", {"-layout", path, "-"}).simplified();
        EXPECT_TRUE(
            text.contains(QStringLiteral("Файл: \"line.kav\" Усиление: 5. Развёртка: 30 сек.")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("S=1,235E+005 отсч^3"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("A=973")));
        EXPECT_TRUE(text.contains(QStringLiteral("{21000 0}")));
    }
    EXPECT_EQ(Entries(), (QStringList{"line-0.pdf", "line-1.pdf"}));
}

TEST_F(PrintoutPdf, AFolderThatIsMissingOrAFolderInTheWayNamesTheReason) {
    const QString missing = Path("no such folder/line.pdf");
    EXPECT_FALSE(Write(missing));
    EXPECT_EQ(Error, QStringLiteral("Не удалось записать файл \"%1\": %2")
                         .arg(missing, QString::fromLocal8Bit(std::strerror(ENOENT))));

    ASSERT_TRUE(QDir(Dir.path()).mkdir("folder.pdf"));
    EXPECT_FALSE(Write(Path("folder.pdf")));
    EXPECT_TRUE(Error.endsWith(QString::fromLocal8Bit(std::strerror(EISDIR))))
        << Error.toStdString();
    EXPECT_EQ(Entries(), QStringList{});
}

// A PDF cut short by the file size limit is not taken: the previous file
// stays whole, nothing is left beside it, and the reason is the system's.
TEST_F(PrintoutPdf, AFileSizeLimitLeavesThePreviousFileWhole) {
    const QString path = Path("line.pdf");
    ASSERT_TRUE(WriteFileAtomically(path, "previous"));
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit low = old;
    low.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &low);
    const bool written = Write(path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(Error, QStringLiteral("Не удалось записать файл \"%1\": %2")
                         .arg(path, QString::fromLocal8Bit(std::strerror(EFBIG))));
    EXPECT_EQ(Read(path), "previous");
    EXPECT_EQ(Entries(), QStringList{"line.pdf"});

    // Without the limit the same page replaces it.
    ASSERT_TRUE(Write(path)) << Error.toStdString();
    EXPECT_TRUE(Read(path).startsWith("%PDF-"));
}

} // namespace
