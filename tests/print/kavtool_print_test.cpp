#include "config/settings_store.h"
#include "kavtool_run.h"
#include "spectrum/parameter_block.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {

using TRun = TKavtoolRun;

// kavtool print as a lab script runs it: no display, no Qt platform chosen.
struct KavtoolPrint : ::testing::Test {
    QTemporaryDir Dir;

    QString Path(const QString& name) const { return Dir.filePath(name); }

    static TRun Run(const QString& program, const QStringList& args, const QString& cwd) {
        TKavtoolOptions options;
        options.WorkDir = cwd;
        options.NoDisplay = true;
        return RunProgram(program, args, options);
    }
    TRun Print(QStringList args) const {
        args.prepend("print");
        return Run(KAVTOOL_PATH, args, Dir.path());
    }
    QString Tool(const QString& tool, const QString& pdf) const {
        const QStringList args =
            tool == "pdftotext" ? QStringList{pdf, QStringLiteral("-")} : QStringList{pdf};
        const TRun r = Run(tool, args, Dir.path());
        EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
        return r.Out.simplified();
    }

    // One first-derivative line with the parameter records of gain row 3
    // ("10") and speed row 8 (" 4 мин").
    QString LineFile() const {
        auto store = std::make_unique<TPointTable>();
        ClearPoints(*store);
        for (int code = 20000; code <= 45000; code += 50) {
            const double d = (code - 32500) / 800.0;
            (*store)[code] = TPointSlot{static_cast<std::uint16_t>(code),
                                        static_cast<std::uint16_t>(std::lround(
                                            2048 - 1500 * d / ((1 + d * d) * (1 + d * d))))};
        }
        TKavCfg cfg{};
        SetDefaults(cfg, Dir.path());
        cfg.Amplifying = 3;
        cfg.Rapid = 8;
        WriteParameterBlock(*store, cfg, TInstrumentReadings{});
        EXPECT_TRUE(SaveSpectrumFile(Path("line.kav"), *store));
        return Path("line.kav");
    }
    void WriteIni(const QByteArray& text) const {
        QFile f(Path("Kav.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
};

TEST_F(KavtoolPrint, AProcessedSpectrumAsOnePageWithoutADisplay) {
    const QString in = LineFile();
    WriteIni("[Main]\r\nOrientation=0\r\n");
    const QString pdf = Path("line.pdf");
    const TRun r = Print({in, "-o", pdf, "--ini", Path("Kav.ini"), "--visirs", "21000", "44000",
                          "minmax", "20", "100", "integrate"});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.isEmpty());

    const QString info = Tool("pdfinfo", pdf);
    EXPECT_TRUE(info.contains("Pages: 1 ")) << info.toStdString();
    EXPECT_TRUE(info.contains("Page size: 595 x 842 pts (A4)")) << info.toStdString();
    const QString text = Tool("pdftotext", pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Файл: \"line.kav\" Усиление: 10. Развёртка: 4 мин.")))
        << text.toStdString();
    EXPECT_TRUE(text.contains("A=")) << text.toStdString();
    EXPECT_TRUE(text.contains("S=")) << text.toStdString();
    EXPECT_TRUE(text.contains("{21000 ")) << text.toStdString();
}

TEST_F(KavtoolPrint, LandscapeByDefaultAndNothingProcessed) {
    const QString in = LineFile();
    const QString pdf = Path("plain.pdf");
    const TRun r = Print({in, "-o", pdf});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_TRUE(Tool("pdfinfo", pdf).contains("Page size: 842 x 595 pts (A4)"));
    EXPECT_FALSE(Tool("pdftotext", pdf).contains("S="));
}

TEST_F(KavtoolPrint, FailuresLeaveNoFile) {
    const QString in = LineFile();
    EXPECT_EQ(Print({in}).Exit, 2); // no -o
    EXPECT_EQ(Print({in, "-o", Path("x.pdf"), "sharpen"}).Exit, 2);
    EXPECT_EQ(Print({Path("missing.kav"), "-o", Path("x.pdf")}).Exit, 1);

    // An operation that needs the visirs without them.
    TRun r = Print({in, "-o", Path("x.pdf"), "equalize"});
    EXPECT_EQ(r.Exit, 1);
    EXPECT_TRUE(r.Err.contains(
        QStringLiteral("Границы выравнивания спектра необходимо задать с помощью двух визиров!")))
        << r.Err.toStdString();

    const QString unwritable = Path("no such folder/x.pdf");
    r = Print({in, "-o", unwritable});
    EXPECT_EQ(r.Exit, 1);
    EXPECT_TRUE(r.Err.contains(unwritable)) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.contains("No such file or directory")) << r.Err.toStdString();
    EXPECT_EQ(QDir(Dir.path()).entryList({"*.pdf"}, QDir::Files | QDir::Hidden), QStringList{});
}

} // namespace
