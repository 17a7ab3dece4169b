// kavtool process IN... -o DIR/ saves its results together: each result is
// whole or not at all, a result that cannot be saved is reported on its own
// line with the system's reason, and its report is not printed.
#include "disk_limits.h"
#include "kavtool_run.h"
#include "loaded_points.h"
#include "qstring_printer.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"
#include "temp_files.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <memory>

namespace {

using TRun = TKavtoolRun;

const QStringList Ops = {"--visirs", "1000", "64000", "filter", "2", "minmax", "20", "100"};

class KavtoolBatchSave : public ::testing::Test, public TTempFiles {
protected:
    // A spectrum of `points` points, one every 16 codes from code 2000.
    QString WriteSpectrum(const QString& name, int points) const {
        auto store = std::make_unique<TPointTable>();
        ClearPoints(*store);
        for (int i = 0; i < points; ++i)
            (*store)[2000 + 16 * i] = TPointSlot{static_cast<std::uint16_t>(2000 + 16 * i),
                                                 static_cast<std::uint16_t>(2048 + (i * 37) % 900)};
        EXPECT_TRUE(SaveSpectrumFile(Path(name), *store));
        return Path(name);
    }

    TRun Run(const QStringList& args, rlim_t fileSizeLimit = RLIM_INFINITY) const {
        TKavtoolOptions options{Dir.path()};
        options.FileSizeLimit = fileSizeLimit;
        return RunKavtool(args, options);
    }

    // What a run on the one file saves, as loaded.
    std::unique_ptr<TPointTable> SavedAlone(const QString& input) const {
        const QString out = Path("alone.kav");
        const TRun r = Run(QStringList{"process", input} + Ops + QStringList{"-o", out});
        EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
        return LoadedPoints(out);
    }
};

} // namespace

// The operations fill the gaps between the points, so a result holds a
// record for every slot its points span: 3 200 slots (12 800 bytes) for a,
// 32 000 (128 000 bytes) for big. A result past the file size limit fails alone: the line names its
// input, its result and "File too large"; the previous file of that name stays; the results before
// and after it load as a run on each alone saves them; only their reports are printed, and no
// temporary file is left.
TEST_F(KavtoolBatchSave, AResultThatCannotBeSavedFailsAloneAndTheOthersAreWhole) {
    const QString a = WriteSpectrum("a.kav", 200);
    const QString big = WriteSpectrum("big.kav", 2000);
    const QString c = WriteSpectrum("c.kav", 300);
    ASSERT_TRUE(QDir(Dir.path()).mkdir("out"));
    Write("out/big.kav", "previous");

    const TRun r = Run(QStringList{"process", a, big, c} + Ops + QStringList{"-o", "out/"}, 65536);
    EXPECT_EQ(r.Exit, 1);
    const QStringList lines = r.Err.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << r.Err.toStdString();
    EXPECT_TRUE(lines[0].startsWith("kavtool: " + big + ": ")) << r.Err.toStdString();
    EXPECT_TRUE(lines[0].endsWith("out/big.kav\": " + SystemReason(EFBIG))) << r.Err.toStdString();
    EXPECT_EQ(lines[1], "kavtool: 1 of 3 files failed");
    EXPECT_EQ(r.Out.count(QRegularExpression("^file: ", QRegularExpression::MultilineOption)), 2)
        << r.Out.toStdString();
    EXPECT_TRUE(r.Out.startsWith("file: " + a + "\n")) << r.Out.toStdString();
    EXPECT_TRUE(r.Out.contains("\nfile: " + c + "\n")) << r.Out.toStdString();
    EXPECT_FALSE(r.Out.contains(big)) << r.Out.toStdString();

    EXPECT_EQ(Read("out/big.kav"), "previous");
    for (const QString& input : {a, c}) {
        const auto saved = LoadedPoints(Path("out/" + QFileInfo(input).fileName()));
        ASSERT_TRUE(saved) << input.toStdString();
        EXPECT_TRUE(*saved == *SavedAlone(input)) << input.toStdString();
    }
    EXPECT_EQ(QDir(Path("out")).entryList(QDir::Files | QDir::Hidden | QDir::System),
              (QStringList{"a.kav", "big.kav", "c.kav"}));
}

// More results than one commit takes: every one is saved and every report
// printed, in the order of the inputs.
TEST_F(KavtoolBatchSave, ResultsBeyondOneCommitAreAllSavedInOrder) {
    const QString first = WriteSpectrum("first.kav", 400);
    QStringList inputs;
    for (int k = 0; k < 70; ++k) {
        const QString name = QStringLiteral("s%1.kav").arg(k, 2, 10, QChar(u'0'));
        ASSERT_TRUE(QFile::copy(first, Path(name)));
        inputs << Path(name);
    }
    const TRun r = Run(QStringList{"process"} + inputs + Ops + QStringList{"-o", "out/"});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Err, "");
    QStringList named;
    for (const QString& line : r.Out.split(u'\n'))
        if (line.startsWith("file: "))
            named << line.mid(6);
    EXPECT_EQ(named, inputs);
    const auto alone = SavedAlone(first);
    ASSERT_TRUE(alone);
    QStringList saved = QDir(Path("out")).entryList(QDir::Files | QDir::Hidden | QDir::System);
    ASSERT_EQ(saved.size(), 70);
    for (const QString& name : saved) {
        const auto loaded = LoadedPoints(Path("out/" + name));
        ASSERT_TRUE(loaded) << name.toStdString();
        EXPECT_TRUE(*loaded == *alone) << name.toStdString();
    }
}
