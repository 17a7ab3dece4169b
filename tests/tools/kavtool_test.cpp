// kavtool run as built, as a lab script runs it: what each command adds to
// the core's rules (exit codes, one-line messages, output bytes, full disks).
#include "config/settings_store.h"
#include "disk_limits.h"
#include "kavtool_run.h"
#include "qstring_printer.h"
#include "spectrum/parameter_block.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"
#include "temp_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtEndian>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <sys/stat.h>

namespace {

using TRun = TKavtoolRun;

class Kavtool : public ::testing::Test, protected TTempFiles {
protected:
    // As a lab script runs it: no display, no Qt platform chosen.
    TRun Run(const QStringList& args, const QString& locale = "C") const {
        TKavtoolOptions options{Dir.path(), locale};
        options.NoDisplay = true;
        return RunKavtool(args, options);
    }

    // A spectrum as the program saves it: two points (or a line every 16
    // codes) and the parameter block of gain row 2 (factor 5) and field
    // 3100..3250 Э.
    QString WriteProgramFile(const QString& name, bool line = false) const {
        TKavCfg cfg{};
        SetDefaults(cfg, Dir.path());
        cfg.Amplifying = 2;
        cfg.RazvUnits[3].X1 = 3100;
        cfg.RazvUnits[3].X2 = 3250;
        TInstrumentReadings readings{5, 6, 100, 3, -1};
        auto store = std::make_unique<TPointTable>();
        ClearPoints(*store);
        if (!line) {
            (*store)[0] = TPointSlot{0, 4095};
            (*store)[65519] = TPointSlot{65519, 2048};
        }
        for (int code = 40; line && code <= 65000; code += 16) {
            const double d = (code - 33000) / 1200.0;
            (*store)[code] = TPointSlot{
                static_cast<std::uint16_t>(code),
                static_cast<std::uint16_t>(std::lround(2048 - 1900 * d / std::pow(1 + d * d, 2)))};
        }
        WriteParameterBlock(*store, cfg, readings);
        EXPECT_TRUE(SaveSpectrumFile(Path(name), *store));
        return Path(name);
    }
};

QByteArray Records(std::initializer_list<std::pair<std::uint16_t, std::uint16_t>> records) {
    QByteArray bytes;
    for (const auto& [x, y] : records) {
        char b[4];
        qToLittleEndian<quint16>(x, b);
        qToLittleEndian<quint16>(y, b + 2);
        bytes.append(b, 4);
    }
    return bytes;
}

} // namespace

TEST_F(Kavtool, ImportThenInfoThenExportInRawCodes) {
    Write("in.tsv", "20\t1900\r\n\n10\t2100\n65519\t0\n");
    TRun r = Run({"import", Path("in.tsv"), "-o", Path("s.kav")});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(QFile(Path("s.kav")).size(), 12);

    r = Run({"info", Path("s.kav")});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    for (const char* line :
         {"records: 3 (trailing bytes ignored: 0)\n", "points: 3\n", "first field code: 10\n",
          "last field code: 65519\n", "parameters: none\n", "dropped: none\n"})
        EXPECT_TRUE(r.Out.contains(line)) << line << "\n" << r.Out.toStdString();

    r = Run({"export", Path("s.kav")});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, "10\t2100\t10\t52\n20\t1900\t20\t-148\n65519\t0\t65519\t-2048\n");
}

TEST_F(Kavtool, ExportAppliesTheFilesBoundsAndGainInTheIniUnits) {
    const QString file = WriteProgramFile("p.kav");
    Write("Kav.ini", "[Main]\nRazvUnit=3\nAmpUnit=1\n");
    TRun r = Run({"export", file, "--ini", Path("Kav.ini")});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    // Amplitude 2047 is 10 V in unit 1, divided by the file's gain factor 5.
    EXPECT_EQ(r.Out, "0\t4095\t3100\t2\n65519\t2048\t3250\t0\n");
}

// The speed row's name follows --lang, before or after the command; the
// command's own words are English either way.
TEST_F(Kavtool, InfoDecodesParametersAndListsDroppedRecords) {
    const QString file = WriteProgramFile("p.kav");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(Records({{7, 5000}, {0, 100}, {9, 65520}}) + QByteArray("\x01\x02", 2));
    f.close();
    const struct {
        QStringList Args;
        const char* Speed;
    } languages[] = {
        {{"info", file}, " 1 мин"},
        {{"info", file, "--lang", "en"}, " 1 min"},
        {{"--lang", "en", "info", file}, " 1 min"},
    };
    for (const auto& c : languages) {
        const TRun r = Run(c.Args);
        ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
        const QString speed = QString::fromUtf8(c.Speed);
        for (const QString& line : {
                 QStringLiteral("records: 15 (trailing bytes ignored: 2)\n"),
                 QStringLiteral("  ParGain (65534) = 2: gain row 2 \"5\" (factor 5)\n"),
                 "  ParSpeed (65533) = 10: speed row 10 \"" + speed + "\"\n",
                 QStringLiteral("  ParFieldLow (65530) = 31000: field low bound 3100"),
                 QStringLiteral("  ParSumCount (65527) = 3: "),
                 QStringLiteral("  ParFilter (65526) = 0: real-time filter off\n"),
                 QStringLiteral("  code (65520) = 9: unused code, kept and ignored\n"),
                 QStringLiteral("dropped: 2\n"),
                 QStringLiteral(
                     "  record 12: X 7, Y 5000: neither a point nor a parameter record\n"),
                 QStringLiteral("  record 0: X 0, Y 4095: replaced by record 13 for slot 0\n"),
             })
            EXPECT_TRUE(r.Out.contains(line)) << line.toStdString() << "\n" << r.Out.toStdString();
    }
}

TEST_F(Kavtool, FormatUsesTheIniUnitsTheGainAndTheSystemSeparator) {
    Write("Kav.ini", "[Main]\nRazvUnit=3\nAmpUnit=1\n");
    TRun r = Run({"format", "field", "0", "65519", "--ini", Path("Kav.ini")});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, "3000 Э\n3300 Э\n");

    r = Run({"format", "area", "123400"}, "ru_RU.UTF-8");
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, "1,234E+005 отсч^3\n");
    r = Run({"format", "area", "123400"}, "C");
    EXPECT_EQ(r.Out, "1.234E+005 отсч^3\n");

    // 10 V over 2047 codes, divided by the gain factor 10 of row 3:
    // 0.4885 V, -0.0004885 V, 1.466 V.
    r = Run({"format", "ampl", "1000", "-1", "3000", "--ini", Path("Kav.ini"), "--gain", "3"},
            "ru_RU.UTF-8");
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, QStringLiteral("489 мВ\n-489 мкВ\n1,47 В\n"));
}

// Missing or damaged inputs exit with one line; a wrong option of export
// or import with its usage, bad usage with the usage text; none writes
// anything.
TEST_F(Kavtool, MissingOrDamagedInputsExitWithOneLine) {
    const QString s = WriteProgramFile("s.kav");
    Write("bad.csv", "1,2\n3;4;5\n");
    Write("long.kav", QByteArray((PointSlotCount + 1) * 4, '\0'));
    Write("bad1.tsv", "1\t2\n2\t3\n70000\t5\n");
    Write("bad2.tsv", "1\t4096\n");
    Write("bad3.tsv", "1\t2\n\n1\t3\n");
    Write("bad4.tsv", "1 2\n");
    Write("units.ini", "[Main]\nRazvUnit=4\nAmpUnit=2\nCorrUnit=7\nADCUnit=5\n");
    ASSERT_TRUE(QDir(Dir.path()).mkdir("Kav.ini"));
    const QString isDir = QString::fromLocal8Bit(std::strerror(EISDIR));
    const struct {
        QStringList Args;
        QString Needle;
        int Exit = 1;
    } cases[] = {
        {{"info", Path("none.kav")}, Path("none.kav")},
        {{"info", Path("long.kav")}, Path("long.kav")},
        {{"info", Dir.path()}, Dir.path()},
        {{"export", Path("none.kav")}, Path("none.kav")},
        {{"export", Path("long.kav"), "--ini", Path("no.ini")}, Path("no.ini")},
        {{"import", Path("none.tsv"), "-o", Path("o.kav")}, Path("none.tsv")},
        {{"import", Path("bad1.tsv"), "-o", Path("o.kav")}, Path("bad1.tsv") + ":3:"},
        {{"import", Path("bad2.tsv"), "-o", Path("o.kav")}, Path("bad2.tsv") + ":1:"},
        {{"import", Path("bad3.tsv"), "-o", Path("o.kav")}, "line 1"},
        {{"import", Path("bad4.tsv"), "-o", Path("o.kav")}, Path("bad4.tsv") + ":1:"},
        // A unit index outside its group, named by its key.
        {{"format", "field", "1", "--ini", Path("units.ini")}, "RazvUnit=4"},
        {{"format", "ampl", "1", "--ini", Path("units.ini")}, "AmpUnit=2"},
        {{"format", "corr", "1", "--ini", Path("units.ini")}, "CorrUnit=7"},
        {{"format", "adc", "1", "--ini", Path("units.ini")}, "ADCUnit=5"},
        {{"export", Path("long.kav"), "--ini", Path("units.ini")}, "RazvUnit=4"},
        // A settings file that is a directory says so.
        {{"format", "adc", "1", "--ini", Dir.path()}, Dir.path() + ": " + isDir},
        {{"format", "adc", "1", "--ini", Path("Kav.ini")}, Path("Kav.ini") + ": " + isDir},
        // Files of other programs.
        {{"import", Path("bad.csv"), "-o", Path("o.kav")}, "строка 2"},
        {{"import", Path("none.DSC"), "-o", Path("o.kav")}, "none.DSC"},
        {{"export", s, "-o", Path("no/o.csv")}, "no/o.csv"},
        {{"import", s, "-o", Path("o.kav")}, "usage", 2},
        {{"import", Path("bad.csv"), "-o", Path("o.kav"), "--gain", "8"}, "--gain", 2},
        {{"export", s, "--format", "bmp"}, "bmp", 2},
        {{"export", s, "--format", "png", "--size", "10x10"}, "--size", 2},
        {{"export", s, "--format", "csv", "-o", Path("o.png")}, "o.png", 2},
        // Bad usage: the usage text.
        {{}, "usage: kavtool", 2},
        {{"frobnicate"}, "usage: kavtool", 2},
        {{"info"}, "usage: kavtool", 2},
        {{"info", "a.kav", "b.kav"}, "usage: kavtool", 2},
        {{"info", "--verbose", "a.kav"}, "usage: kavtool", 2},
        {{"export", "a.kav", "--ini"}, "usage: kavtool", 2},
        {{"format", "volume", "1"}, "usage: kavtool", 2},
        {{"format", "field"}, "usage: kavtool", 2},
        {{"format", "field", "65536"}, "usage: kavtool", 2},
        {{"format", "ampl", "x"}, "usage: kavtool", 2},
        {{"format", "ampl", "1", "--gain", "8"}, "usage: kavtool", 2},
        {{"import", "a.tsv"}, "usage: kavtool", 2},
    };
    for (const auto& c : cases) {
        const TRun r = Run(c.Args);
        const std::string what = c.Args.join(' ').toStdString() + " -> " + r.Err.toStdString();
        EXPECT_EQ(r.Exit, c.Exit) << what;
        EXPECT_TRUE(r.Err.contains(c.Needle)) << what;
        EXPECT_TRUE(r.Out.isEmpty()) << what;
        if (c.Exit == 1) {
            EXPECT_EQ(r.Err.count(u'\n'), 1) << what;
        }
    }
    EXPECT_FALSE(QFile::exists(Path("o.kav")));
    EXPECT_FALSE(QFile::exists(Path("o.png")));
}

// A FIFO (nobody writes to it), an endless device or a settings file far
// larger than any, named as an input or as the settings file of any command,
// is refused at once with one line that names it and says what it is;
// nothing is written.
TEST_F(Kavtool, SpecialFilesAsInputsAreRefusedAtOnce) {
    const QString s = WriteProgramFile("s.kav");
    Write("in.csv", "3100,1\n");
    const QString fifo = Path("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(fifo, Path("Kav.ini")));
    Write("big.ini", QByteArray(MaxSettingsFileBytes + 1, ';'));
    const QString isFifo = fifo + ": Is a FIFO";
    const QString isDevice = "/dev/zero: Is a character device";
    const QString tooLarge = Path("big.ini") + QStringLiteral(": в нём больше 1048576 байт");
    const struct {
        QStringList Args;
        QString Needle;
    } cases[] = {
        {{"info", fifo}, fifo + "\": Is a FIFO"},
        {{"info", "/dev/zero"}, "\"/dev/zero\": Is a character device"},
        {{"process", fifo, "filter", "2"}, fifo + "\": Is a FIFO"},
        {{"export", fifo}, fifo + "\": Is a FIFO"},
        {{"export", fifo, "-o", Path("o.png")}, fifo + "\": Is a FIFO"},
        {{"print", fifo, "-o", Path("o.pdf")}, fifo + "\": Is a FIFO"},
        {{"info", s, "--ini", fifo}, "usage"}, // info takes no settings
        {{"format", "field", "1", "--ini", fifo}, isFifo},
        {{"format", "field", "1", "--ini", Path("Kav.ini")}, Path("Kav.ini") + ": Is a FIFO"},
        {{"format", "field", "1", "--ini", "/dev/zero"}, isDevice},
        {{"format", "field", "1", "--ini", Path("big.ini")}, tooLarge},
        {{"process", s, "--ini", fifo, "filter", "2"}, isFifo},
        {{"export", s, "--ini", "/dev/zero"}, isDevice},
        {{"print", s, "-o", Path("o.pdf"), "--ini", fifo}, isFifo},
        {{"import", Path("in.csv"), "-o", Path("o.kav"), "--ini", fifo}, isFifo},
        {{"acquire", "--port", "SIM", "--sweeps", "1", "--ini", fifo}, isFifo},
        {{"listen", "--port", "SIM", "--ini", "/dev/zero"}, isDevice},
    };
    for (const auto& c : cases) {
        const TRun r = Run(c.Args);
        const std::string what = c.Args.join(' ').toStdString() + " -> " + r.Err.toStdString();
        const bool usage = c.Needle == "usage";
        EXPECT_EQ(r.Exit, usage ? 2 : 1) << what;
        EXPECT_TRUE(r.Err.contains(c.Needle)) << what;
        if (!usage) {
            EXPECT_EQ(r.Err.count(u'\n'), 1) << what;
        }
        EXPECT_TRUE(r.Out.isEmpty()) << what;
    }
    QStringList entries = QDir(Dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden);
    entries.sort();
    EXPECT_EQ(entries, (QStringList{"Kav.ini", "big.ini", "fifo", "in.csv", "s.kav"}));
}

// A spectrum of 500 points (2000 bytes) sits in any write buffer: a save of
// it that meets a full disk fails with the system's reason and leaves the
// previous file whole, and nothing of the attempt behind.
class KavtoolFullDisk : public Kavtool {
protected:
    void SetUp() override {
        QByteArray tsv;
        auto store = std::make_unique<TPointTable>();
        ClearPoints(*store);
        for (int i = 0; i < 500; ++i) {
            tsv += QByteArray::number(20000 + 10 * i) + "\t" + QByteArray::number(2048 + i) + "\n";
            (*store)[20000 + 10 * i] = TPointSlot{static_cast<std::uint16_t>(20000 + 10 * i),
                                                  static_cast<std::uint16_t>(2048 + i)};
        }
        Write("in.tsv", tsv);
        ASSERT_TRUE(SaveSpectrumFile(Path("in.kav"), *store));
    }

    // kavtool import and process -o of the 500 points onto `target`.
    QList<QStringList> Saves(const QString& target) const {
        return {{"import", Path("in.tsv"), "-o", target},
                {"process", Path("in.kav"), "filter", "2", "-o", target}};
    }

    // Refused in one line with the system's reason; the previous file stays
    // whole and its folder holds `entries` and nothing of the attempt.
    void ExpectRefused(const TRun& r, int err, const QString& target, const QByteArray& previous,
                       const QStringList& entries) const {
        EXPECT_EQ(r.Exit, 1) << r.Err.toStdString();
        EXPECT_TRUE(r.Err.startsWith("kavtool: ")) << r.Err.toStdString();
        EXPECT_TRUE(r.Err.contains(target + "\": " + SystemReason(err))) << r.Err.toStdString();
        EXPECT_EQ(r.Err.count(u'\n'), 1) << r.Err.toStdString();
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), previous);
        EXPECT_EQ(QFileInfo(target).dir().entryList(QDir::Files | QDir::Hidden | QDir::System),
                  entries);
    }
};

// The exports for other programs and the pictures are written the same way.
// Run as cron runs them (no display, no XDG_RUNTIME_DIR), the failure is one
// line of kavtool's and nothing else: Qt's notes about the session stay off.
TEST_F(KavtoolFullDisk, ExportsOnAFullDiskKeepThePreviousFile) {
    TSmallDisk disk;
    const bool full = disk.Mounted() && disk.Fill();
    QStringList entries = {"in.kav", "in.tsv"};
    for (const char* name : {"a.tsv", "a.csv", "a.png", "a.svg"}) {
        SCOPED_TRACE(name);
        Write(name, "previous");
        entries << name;
        entries.sort();
        ExpectRefused(RunKavtool({"export", Path("in.kav"), "-o", Path(name)},
                                 {Dir.path(), "C", 60000, 1024, true}),
                      EFBIG, Path(name), "previous", entries);
        if (full) {
            const QString target = disk.Path(name);
            QFile f(target);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.close();
            TKavtoolOptions cron{Dir.path()};
            cron.NoDisplay = true;
            ExpectRefused(RunKavtool({"export", Path("in.kav"), "-o", target}, cron), ENOSPC,
                          target, "", {".fill", name});
            ASSERT_TRUE(QFile::remove(target));
        }
    }
    if (!full)
        GTEST_SKIP() << "a tmpfs cannot be filled here: " << disk.Reason.toStdString();
}

TEST_F(KavtoolFullDisk, FileSizeLimitOrFullFileSystemKeepsThePreviousFile) {
    Write("a.kav", "previous");
    for (const QStringList& args : Saves(Path("a.kav"))) {
        const TRun r = RunKavtool(args, {Dir.path(), "C", 60000, 1024});
        ExpectRefused(r, EFBIG, Path("a.kav"), "previous", {"a.kav", "in.kav", "in.tsv"});
    }
    TSmallDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << "a tmpfs cannot be mounted here: " << disk.Reason.toStdString();
    const QString target = disk.Path("a.kav");
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("previous");
    }
    ASSERT_TRUE(disk.Fill());
    for (const QStringList& args : Saves(target)) {
        const TRun r = RunKavtool(args, {Dir.path()});
        ExpectRefused(r, ENOSPC, target, "previous", {".fill", "a.kav"});
    }
}

// ---- Export and import between its spectrum files and the files of other
// programs ------------------------------------------------------------------

TEST_F(Kavtool, KavThroughBes3tAndCsvComesBackPointForPoint) {
    WriteProgramFile("s.kav", true);
    // The same calibration as the file's, volts.
    Write("Kav.ini", "[RazvUnit3]\nX1=3100\nX2=3250\nKoeffK=0.0022894122315664157\nKoeffB=3100\n"
                     "[Main]\nAmpUnit=1\n");
    const TRun original = Run({"export", Path("s.kav")});
    ASSERT_EQ(original.Exit, 0) << original.Err.toStdString();

    TRun r = Run({"export", Path("s.kav"), "--format", "bes3t", "-o", Path("s.DSC"), "--ini",
                  Path("Kav.ini")});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_TRUE(Read("s.DSC").contains("XUNI\t'G'"));
    r = Run({"export", Path("s.kav"), "-o", Path("s.csv"), "--ini", Path("Kav.ini")});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_TRUE(Read("s.csv").startsWith("field [G],amplitude [V]\n3100.0915"));

    r = Run({"import", Path("s.DSC"), "-o", Path("b.kav"), "--ini", Path("Kav.ini")});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(Run({"export", Path("b.kav")}).Out, original.Out);
    r = Run(
        {"import", Path("s.csv"), "-o", Path("c.kav"), "--ini", Path("Kav.ini"), "--gain", "2"});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(Run({"export", Path("c.kav")}).Out, original.Out);
    // The file records the gain the amplitudes were divided by.
    EXPECT_TRUE(Run({"info", Path("c.kav")}).Out.contains("ParGain (65534) = 2"));

    // Without -o, CSV goes to stdout and BES3T beside the input.
    EXPECT_EQ(
        Run({"export", Path("s.kav"), "--format", "csv", "--ini", Path("Kav.ini")}).Out.toUtf8(),
        Read("s.csv"));
    ASSERT_EQ(Run({"export", Path("s.kav"), "--format", "bes3t"}).Exit, 0);
    EXPECT_TRUE(QFile::exists(Path("s.DTA")));
}

TEST_F(Kavtool, PicturesAreDrawnWithoutADisplay) {
    WriteProgramFile("s.kav", true);
    TRun r = Run({"export", Path("s.kav"), "--format", "png", "--size", "320x200"});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    const QByteArray png = Read("s.png");
    ASSERT_TRUE(png.startsWith("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(qFromBigEndian<quint32>(png.constData() + 16), 320u);
    EXPECT_EQ(qFromBigEndian<quint32>(png.constData() + 20), 200u);
    r = Run({"export", Path("s.kav"), "-o", Path("p.svg")});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    const QByteArray svg = Read("p.svg");
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 1600 1000\"")) << svg.left(400).toStdString();
    EXPECT_TRUE(svg.contains("<rect"));
    EXPECT_FALSE(svg.contains("<image"));
}

// ---- Its drawing part (what each program loads: kavtool_parts_test.cpp) -----

// kavtool runs its drawing part from its own folder; a kavtool whose
// drawing part is missing still runs every other command, and a print or
// picture says in one line what it could not run and why.
TEST_F(Kavtool, WithoutItsDrawingPartOnlyTheDrawingCommandsFail) {
    const QString s = WriteProgramFile("s.kav", true);
    ASSERT_TRUE(QDir(Dir.path()).mkpath("alone/bin"));
    const QString alone = Path("alone/bin/kavtool");
    ASSERT_TRUE(QFile::copy(KAVTOOL_PATH, alone));
    ASSERT_TRUE(QFile::setPermissions(alone, QFile::ReadOwner | QFile::ExeOwner));
    TKavtoolOptions options{Dir.path()};
    options.NoDisplay = true;

    TRun r = RunProgram(alone, {"export", s}, options);
    EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_GT(r.Out.count(u'\n'), 4000);
    EXPECT_EQ(r.Out, Run({"export", s}).Out);
    const QStringList drawing[] = {
        {"print", s, "-o", Path("s.pdf")},
        {"export", s, "--format", "png"},
        {"export", s, "-o", Path("s.svg")},
    };
    for (const QStringList& args : drawing) {
        r = RunProgram(alone, args, options);
        const std::string what = args.join(' ').toStdString() + " -> " + r.Err.toStdString();
        EXPECT_EQ(r.Exit, 1) << what;
        EXPECT_EQ(r.Err.count(u'\n'), 1) << what;
        EXPECT_TRUE(r.Err.startsWith("kavtool: ")) << what;
        EXPECT_TRUE(r.Err.contains("libexec/kav7/kavtool-paint")) << what;
        EXPECT_TRUE(r.Err.contains(QString::fromLocal8Bit(std::strerror(ENOENT)))) << what;
    }
    EXPECT_FALSE(QFile::exists(Path("s.pdf")));
    EXPECT_FALSE(QFile::exists(Path("s.png")));
    EXPECT_FALSE(QFile::exists(Path("s.svg")));
}
