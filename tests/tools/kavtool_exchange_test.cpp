#include "config/settings_store.h"
#include "kavtool_run.h"
#include "qstring_printer.h"
#include "spectrum/parameter_block.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {

using TRun = TKavtoolRun;

// kavtool's export and import between its spectrum files and the files of
// other programs, run as the binary on a machine without a display.
class KavtoolExchange : public ::testing::Test {
protected:
    QTemporaryDir Dir;

    QString Path(const QString& name) const { return Dir.filePath(name); }

    TRun Run(const QStringList& args) const {
        TKavtoolOptions options;
        options.WorkDir = Dir.path();
        options.NoDisplay = true;
        return RunKavtool(args, options);
    }

    void Write(const QString& name, const QByteArray& bytes) const {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray Read(const QString& name) const {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // A spectrum as the program saves it: a line every 16 codes, gain row 2
    // (factor 5), field 3100 .. 3250 Э.
    void WriteSpectrum(const QString& name) const {
        TKavCfg cfg{};
        SetDefaults(cfg, Dir.path());
        cfg.Amplifying = 2;
        cfg.RazvUnits[3].X1 = 3100;
        cfg.RazvUnits[3].X2 = 3250;
        auto store = std::make_unique<TPointTable>();
        ClearPoints(*store);
        for (int code = 40; code <= 65000; code += 16) {
            const double d = (code - 33000) / 1200.0;
            (*store)[code] = TPointSlot{
                static_cast<std::uint16_t>(code),
                static_cast<std::uint16_t>(std::lround(2048 - 1900 * d / std::pow(1 + d * d, 2)))};
        }
        WriteParameterBlock(*store, cfg, TInstrumentReadings{5, 6, 0, 3, -1});
        ASSERT_TRUE(SaveSpectrumFile(Path(name), *store));
    }
};

} // namespace

TEST_F(KavtoolExchange, KavThroughBes3tAndCsvComesBackPointForPoint) {
    WriteSpectrum("s.kav");
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

TEST_F(KavtoolExchange, PicturesAreDrawnWithoutADisplay) {
    WriteSpectrum("s.kav");
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

TEST_F(KavtoolExchange, BadInputAndBadUsageChangeNothing) {
    WriteSpectrum("s.kav");
    Write("bad.csv", "1,2\n3;4;5\n");
    Write("two.DSC", "IKKF REAL\nXTYP IDX\nYTYP IDX\nIRFMT D\nXPTS 2\nXMIN 0\nXWID 1\n");
    Write("two.DTA", QByteArray(32, '\0'));
    Write("far.txt", "1 1\n2 2\n");
    const struct {
        QStringList Args;
        int Exit;
        QString Needle;
    } cases[] = {
        {{"import", Path("bad.csv"), "-o", Path("o.kav")}, 1, "строка 2"},
        {{"import", Path("two.DSC"), "-o", Path("o.kav")}, 1, "YTYP"},
        {{"import", Path("far.txt"), "-o", Path("o.kav")}, 1, "far.txt"},
        {{"import", Path("none.DSC"), "-o", Path("o.kav")}, 1, "none.DSC"},
        {{"import", Path("s.kav"), "-o", Path("o.kav")}, 2, "usage"},
        {{"import", Path("bad.csv"), "-o", Path("o.kav"), "--gain", "8"}, 2, "--gain"},
        {{"export", Path("s.kav"), "--format", "bmp"}, 2, "bmp"},
        {{"export", Path("s.kav"), "--format", "png", "--size", "10x10"}, 2, "--size"},
        {{"export", Path("s.kav"), "--format", "csv", "-o", Path("o.png")}, 2, "o.png"},
        {{"export", Path("s.kav"), "-o", Path("no/o.csv")}, 1, "no/o.csv"},
    };
    for (const auto& c : cases) {
        const TRun r = Run(c.Args);
        const std::string what = c.Args.join(' ').toStdString() + " -> " + r.Err.toStdString();
        EXPECT_EQ(r.Exit, c.Exit) << what;
        EXPECT_TRUE(r.Err.contains(c.Needle)) << what;
        if (c.Exit == 1)
            EXPECT_EQ(r.Err.count('\n'), 1) << what;
    }
    EXPECT_FALSE(QFile::exists(Path("o.kav")));
    EXPECT_FALSE(QFile::exists(Path("o.png")));
}
