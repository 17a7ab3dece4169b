// kavtool process, export and print on several spectra in one run, with
// -o DIR/: each result under its input's name and whole or not at all, a
// failing file reported on its own line while the others are written, and
// results that would write over an input or over each other refused.
#include "disk_limits.h"
#include "kavtool_run.h"
#include "loaded_points.h"
#include "qstring_printer.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"
#include "temp_files.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {

using TRun = TKavtoolRun;

const QStringList Ops = {"--visirs", "1000", "64000", "filter", "3", "minmax", "20", "100"};

class KavtoolBatch : public ::testing::Test, public TTempFiles {
protected:
    TRun Run(const QStringList& args, rlim_t fileSizeLimit = RLIM_INFINITY) const {
        TKavtoolOptions options{Dir.path()};
        options.NoDisplay = true;
        options.FileSizeLimit = fileSizeLimit;
        return RunKavtool(args, options);
    }

    // A derivative line centred on `centre`, `points` points one every 16
    // codes from code 40 (by default up to 65000).
    QString WriteSpectrum(const QString& name, int centre, int points = 4061) const {
        auto store = std::make_unique<TPointTable>();
        ClearPoints(*store);
        for (int code = 40; code < 40 + 16 * points; code += 16) {
            const double d = (code - centre) / 1200.0;
            (*store)[code] = TPointSlot{
                static_cast<std::uint16_t>(code),
                static_cast<std::uint16_t>(std::lround(2048 - 1900 * d / std::pow(1 + d * d, 2)))};
        }
        EXPECT_TRUE(SaveSpectrumFile(Path(name), *store));
        return Path(name);
    }

    // A file the program refuses to open: more records than it holds.
    QString WriteDamaged(const QString& name) const {
        Write(name, QByteArray((PointSlotCount + 1) * 4, '\0'));
        return Path(name);
    }

    // The points of a spectrum file as kavtool export prints them.
    QString Points(const QString& path) const {
        const TRun r = Run({"export", path});
        EXPECT_EQ(r.Exit, 0) << path.toStdString() << ": " << r.Err.toStdString();
        return r.Out;
    }

    // What a run on the one file saves, as loaded.
    std::unique_ptr<TPointTable> SavedAlone(const QString& input) const {
        const TRun r =
            Run(QStringList{"process", input} + Ops + QStringList{"-o", Path("alone.kav")});
        EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
        return LoadedPoints(Path("alone.kav"));
    }
};

QStringList Lines(const QString& text) {
    return text.split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

// A damaged file in the middle of a batch is one line; the files before and
// after it are processed (or printed) and written as a run on each alone
// writes them, and the run ends with status 1 after a line that counts the
// failures.
TEST_F(KavtoolBatch, AFailingFileIsReportedAndTheOthersAreWritten) {
    const QString a = WriteSpectrum("a.kav", 30000);
    const QString bad = WriteDamaged("bad.kav");
    // Shorter than a: nothing of a may stay in the tables c is read into.
    const QString c = WriteSpectrum("c.kav", 12000, 1000);

    const TRun batch = Run(QStringList{"process", a, bad, c} + Ops + QStringList{"-o", "out/"});
    EXPECT_EQ(batch.Exit, 1);
    const QStringList errors = Lines(batch.Err);
    ASSERT_EQ(errors.size(), 2) << batch.Err.toStdString();
    EXPECT_TRUE(errors[0].startsWith("kavtool: " + bad + ": ")) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains("65536")) << errors[0].toStdString();
    EXPECT_EQ(errors[1], "kavtool: 1 of 3 files failed");
    EXPECT_FALSE(QFile::exists(Path("out/bad.kav")));

    // Each report follows the name of its file and says what a run on that
    // file alone says; the written files hold the same points.
    for (const QString& name : {QStringLiteral("a"), QStringLiteral("c")}) {
        const TRun alone = Run(QStringList{"process", Path(name + ".kav")} + Ops +
                               QStringList{"-o", Path(name + "1.kav")});
        ASSERT_EQ(alone.Exit, 0) << alone.Err.toStdString();
        EXPECT_TRUE(batch.Out.contains("file: " + Path(name + ".kav") + "\n" + alone.Out))
            << batch.Out.toStdString();
        EXPECT_EQ(Points(Path("out/" + name + ".kav")), Points(Path(name + "1.kav")));
    }
    EXPECT_NE(Points(Path("out/a.kav")), Points(Path("out/c.kav")));
    EXPECT_NE(Points(Path("out/a.kav")), Points(a)); // filtered

    // With --json, one document a line, one for each file that succeeded.
    const TRun json = Run(QStringList{"process", a, bad, c} + Ops + QStringList{"--json"});
    EXPECT_EQ(json.Exit, 1);
    const QStringList docs = Lines(json.Out);
    ASSERT_EQ(docs.size(), 2) << json.Out.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(docs[0].toUtf8()).object()["file"].toString(), a);
    EXPECT_EQ(QJsonDocument::fromJson(docs[1].toUtf8()).object()["file"].toString(), c);
    EXPECT_FALSE(QJsonDocument::fromJson(docs[1].toUtf8()).object()["maxima"].toArray().isEmpty());

    // print: one PDF a spectrum, after the operations; none for the damaged one.
    const TRun print = Run({"print", a, bad, c, "-o", Path("pages/day/"), "filter", "3"});
    EXPECT_EQ(print.Exit, 1);
    EXPECT_EQ(Lines(print.Err).mid(1), QStringList{"kavtool: 1 of 3 files failed"});
    EXPECT_TRUE(Lines(print.Err)[0].startsWith("kavtool: " + bad + ": "))
        << print.Err.toStdString();
    EXPECT_TRUE(Read("pages/day/a.pdf").startsWith("%PDF-"));
    EXPECT_TRUE(Read("pages/day/c.pdf").startsWith("%PDF-"));
    EXPECT_FALSE(QFile::exists(Path("pages/day/bad.pdf")));
}

// export writes each spectrum into the folder in the format asked for,
// under its own name; a missing input is one line and the rest is written.
TEST_F(KavtoolBatch, ExportWritesEachFormatIntoTheFolder) {
    const QString a = WriteSpectrum("a.kav", 30000);
    const QString c = WriteSpectrum("c.kav", 36000);
    const QString missing = Path("missing.kav");
    const struct {
        const char* Format;
        QStringList Written; // in the folder, for a.kav
    } formats[] = {
        {"tsv", {"a.tsv"}}, {"csv", {"a.csv"}}, {"bes3t", {"a.DSC", "a.DTA"}},
        {"png", {"a.png"}}, {"svg", {"a.svg"}},
    };
    for (const auto& f : formats) {
        const QString folder = Path(QStringLiteral("out-%1").arg(f.Format));
        const TRun r = Run({"export", a, missing, c, "--format", f.Format, "-o", folder + "/"});
        EXPECT_EQ(r.Exit, 1) << f.Format;
        const QStringList errors = Lines(r.Err);
        ASSERT_EQ(errors.size(), 2) << f.Format << r.Err.toStdString();
        EXPECT_EQ(errors[0], QStringLiteral("kavtool: %1: file \"%1\" not found").arg(missing));
        EXPECT_EQ(errors[1], "kavtool: 1 of 3 files failed");
        for (const QString& name : f.Written) {
            EXPECT_TRUE(QFile::exists(folder + "/" + name)) << name.toStdString();
            QString other = name;
            other.replace(0, 1, u'c');
            EXPECT_TRUE(QFile::exists(folder + "/" + other)) << other.toStdString();
        }
        EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2 * f.Written.size()) << f.Format;
    }
    // The text is what a run on the one file prints; a round trip through
    // BES3T gives back its points.
    EXPECT_EQ(QString::fromUtf8(Read("out-tsv/c.tsv")), Points(c));
    EXPECT_EQ(QString::fromUtf8(Read("out-csv/a.csv")), Run({"export", a, "--format", "csv"}).Out);
    const TRun back = Run({"import", Path("out-bes3t/c.DSC"), "-o", Path("back.kav")});
    ASSERT_EQ(back.Exit, 0) << back.Err.toStdString();
    EXPECT_EQ(Points(Path("back.kav")), Points(c));
    EXPECT_TRUE(Read("out-png/a.png").startsWith("\x89PNG\r\n\x1a\n"));

    // All well: status 0, nothing on stderr.
    const TRun ok = Run({"export", a, c, "-o", Path("out-tsv")});
    EXPECT_EQ(ok.Exit, 0);
    EXPECT_EQ(ok.Err, "");
}

// A result is never written over an input of the run or over the result of
// another input: those files are refused one by one and stay as they were.
TEST_F(KavtoolBatch, NoResultReplacesAnInputOrAnotherResult) {
    ASSERT_TRUE(QDir(Dir.path()).mkpath("x"));
    ASSERT_TRUE(QDir(Dir.path()).mkpath("y"));
    const QString xa = WriteSpectrum("x/a.kav", 30000);
    const QString xb = WriteSpectrum("x/b.kav", 33000);
    const QString ya = WriteSpectrum("y/a.kav", 36000);
    const QByteArray before = Read("x/a.kav");

    // Into the inputs' own folder: each would replace its input.
    TRun r = Run({"process", xa, xb, "filter", "3", "-o", Path("x/")});
    EXPECT_EQ(r.Exit, 1);
    QStringList errors = Lines(r.Err);
    ASSERT_EQ(errors.size(), 3) << r.Err.toStdString();
    EXPECT_TRUE(errors[0].contains("would replace the input")) << errors[0].toStdString();
    EXPECT_EQ(errors[2], "kavtool: 2 of 2 files failed");
    EXPECT_EQ(Read("x/a.kav"), before);

    // Two inputs of one name: the first is written, the second refused.
    r = Run({"export", xa, ya, "-o", Path("out/")});
    EXPECT_EQ(r.Exit, 1);
    errors = Lines(r.Err);
    ASSERT_EQ(errors.size(), 2) << r.Err.toStdString();
    EXPECT_TRUE(errors[0].startsWith("kavtool: " + ya + ": ")) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains(xa)) << errors[0].toStdString();
    EXPECT_EQ(QString::fromUtf8(Read("out/a.tsv")), Points(xa));
}

// Several inputs need a folder to write into; a folder that cannot be made
// stops the run before any input is read.
TEST_F(KavtoolBatch, SeveralFilesNeedAFolder) {
    const QString a = WriteSpectrum("a.kav", 30000);
    const QString c = WriteSpectrum("c.kav", 36000);
    const struct {
        QStringList Args;
        QString Needle;
        int Exit;
    } cases[] = {
        {{"process", a, c, "filter", "3", "-o", Path("o.kav")}, "-o DIR/", 2},
        {{"print", a, c, "-o", Path("o.pdf")}, "-o DIR/", 2},
        {{"print", a, c}, "-o", 2},
        {{"export", a, c}, "-o DIR/", 2},
        {{"export", a, c, "-o", Path("o.csv")}, "-o DIR/", 2},
        {{"export", a, c, "--format", "png", "-o", Path("o.png")}, "-o DIR/", 2},
        // A file after the operations is no input.
        {{"process", a, "filter", "3", c, "-o", Path("out/")}, "usage", 2},
        {{"export", a, c, "-o", a + "/out/"}, a, 1},
        {{"print", a, c, "-o", a + "/out/"}, a, 1},
    };
    for (const auto& t : cases) {
        const TRun r = Run(t.Args);
        const std::string what = t.Args.join(' ').toStdString() + " -> " + r.Err.toStdString();
        EXPECT_EQ(r.Exit, t.Exit) << what;
        EXPECT_TRUE(r.Err.contains(t.Needle)) << what;
        EXPECT_EQ(r.Out, "") << what;
        if (t.Exit == 1) {
            EXPECT_EQ(r.Err.count(u'\n'), 1) << what;
        }
    }
    EXPECT_EQ(Entries(), QStringList({"a.kav", "c.kav"}));
}

// A result holds a record for every slot its points span: 12 800 bytes for
// a, 128 000 for big. The one past the file size limit fails alone with the
// system's reason and leaves the previous file; the others load as a run on
// each alone saves them; only their reports are printed; no temporary file.
TEST_F(KavtoolBatch, AResultThatCannotBeSavedFailsAloneAndTheOthersAreWhole) {
    const QString a = WriteSpectrum("a.kav", 30000, 200);
    const QString big = WriteSpectrum("big.kav", 30000, 2000);
    const QString c = WriteSpectrum("c.kav", 30000, 300);
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
TEST_F(KavtoolBatch, ResultsBeyondOneCommitAreAllSavedInOrder) {
    const QString first = WriteSpectrum("first.kav", 3000, 400);
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
