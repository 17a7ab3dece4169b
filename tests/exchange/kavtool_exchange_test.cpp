// kavtool import and export as a lab script runs them: a refusal is one line,
// exit 1, no output and the earlier one as it was; special inputs end at once.
#include "kavtool_run.h"
#include "lab_files.h"
#include "qstring_printer.h"
#include "temp_files.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct KavtoolExchange : ::testing::Test, TTempFiles {
    TKavtoolRun Run(const QStringList& args) const {
        TKavtoolOptions options;
        options.WorkDir = Dir.path();
        options.TimeoutMs = 20000; // a read that blocked would never end
        return RunKavtool(args, options);
    }

    // 1 000 points on a 0.2 G step, a peak of 3.25e-5.
    void WriteSweep(const QString& name, const QString& unit = "G") {
        std::vector<double> values;
        for (int k = 0; k < 1000; ++k)
            values.push_back(DerivativeLine(3100 + 0.2 * k, 3200, 4, 1e-4));
        Write(name + ".DSC", LabDescriptor({"XTYP\tIDX", "IRFMT\tD", "XPTS\t1000", "XMIN\t3100",
                                            "XWID\t199.8", "XUNI\t'" + unit + "'"}));
        Write(name + ".DTA", LabData(values, 'D', true));
    }
};

void ExpectRefused(const TKavtoolRun& r, const QString& needle) {
    EXPECT_EQ(r.Exit, 1) << r.Err.toStdString();
    EXPECT_EQ(r.Err.count('\n'), 1) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.contains(needle)) << r.Err.toStdString();
    for (const QChar c : r.Err.chopped(1))
        EXPECT_GE(c.unicode(), 0x20) << r.Err.toStdString();
}

} // namespace

TEST_F(KavtoolExchange, RefusedImportsLeaveNoFileAndTheEarlierOneAsItWas) {
    WriteSweep("s");
    WriteSweep("time", "s");
    Write("qband.ini", "[RazvUnit3]\nX1=200.5\nX2=14200\nName=\xdd\n");
    ASSERT_TRUE(QFile::link("/dev/zero", Path("zero.csv")));
    ASSERT_TRUE(QFile::link("/dev/zero", Path("zero.tsv")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo.csv")).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo.tsv")).constData(), 0600), 0);
    Write("esc.csv", "3000,1\n\x1b[2J\x1b]0;x\x07,2\n");
    Write("old.kav", "earlier");
    QFile big(Path("big.csv")); // larger than any real text spectrum: refused unread
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize((qint64(64) << 20) + 1)); // sparse: no disk is filled
    big.close();
    const struct {
        QStringList Args;
        QString Needle;
    } cases[] = {
        {{"import", "s.DSC", "-o", "old.kav", "--ini", "qband.ini"}, "6553.5"},
        {{"import", "time.DSC", "-o", "old.kav"}, "\"s\""},
        {{"import", "zero.csv", "-o", "old.kav"}, "character device"},
        {{"import", "zero.tsv", "-o", "old.kav"}, "character device"},
        {{"import", "fifo.csv", "-o", "old.kav"}, "FIFO"},
        {{"import", "fifo.tsv", "-o", "old.kav"}, "FIFO"},
        {{"import", "esc.csv", "-o", "old.kav"}, "\\x1B[2J"},
        {{"import", "big.csv", "-o", "old.kav"}, "67108864"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        ExpectRefused(Run(c.Args), c.Needle);
        EXPECT_EQ(Read("old.kav"), "earlier");
        ExpectRefused(Run(QStringList(c.Args).replaceInStrings("old.kav", "new.kav")), c.Needle);
        EXPECT_FALSE(QFile::exists(Path("new.kav")));
    }
    // Asked for, the time axis is taken as a field.
    const TKavtoolRun r = Run({"import", "time.DSC", "-o", "new.kav", "--any-axis"});
    EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_TRUE(QFile::exists(Path("new.kav")));
}

// A whole export goes through .kav and back with its points; a killed one's
// pair (old descriptor, new data) is refused.
TEST_F(KavtoolExchange, KilledExportIsRefusedAndAWholeOneKeepsItsPoints) {
    WriteSweep("s");
    Write("x.ini", "[RazvUnit3]\nX1=3050\nX2=3350\n");
    TKavtoolRun r = Run({"import", "s.DSC", "-o", "s.kav", "--ini", "x.ini", "--json"});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(r.Out.toUtf8()).object();
    EXPECT_EQ(json["points"].toInt(), 1000);
    EXPECT_EQ(json["scale"].toDouble(),
              5e7); // the peak, 3.25e-5, times 5e7 fills 1624 of 2047 codes
    EXPECT_EQ(json["notes"].toArray().size(), 1);

    r = Run({"export", "s.kav", "-o", "out.DSC", "--ini", "x.ini"});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    TPlainBes3t out = ReadPlainBes3t(Path("out.DSC"));
    EXPECT_EQ(out.Keys.value("XPTS"), "1000");
    EXPECT_EQ(out.Keys.value("XTYP"), "IDX");
    EXPECT_NEAR(out.Y[500], DerivativeLine(3200, 3200, 4, 1e-4), 1e-7);

    const QByteArray oldDescriptor = Read("out.DSC");
    r = Run({"import", "s.DSC", "-o", "abs.kav", "--ini", "x.ini", "--absolute", "--json"});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(r.Out.toUtf8()).object()["scale"].toDouble(), 1.0);
    ASSERT_EQ(Run({"export", "abs.kav", "-o", "out.DSC", "--ini", "x.ini"}).Exit, 0);
    Write("out.DSC", oldDescriptor);
    ExpectRefused(Run({"import", "out.DSC", "-o", "back.kav", "--ini", "x.ini"}), "out.DTA");
    EXPECT_FALSE(QFile::exists(Path("back.kav")));
}
