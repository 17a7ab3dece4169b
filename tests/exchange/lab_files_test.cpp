// Spectra as other laboratories' programs write them, imported, saved,
// reloaded, exported, and read back by the independent reader of lab_files.h.
#include "config/settings_store.h"
#include "exchange/ascii_text.h"
#include "exchange/bes3t_file.h"
#include "exchange/message_text.h"
#include "exchange/spectrum_export.h"
#include "exchange/spectrum_import.h"
#include "exchange/text_spectrum.h"
#include "lab_files.h"
#include "qstring_printer.h"
#include "spectrum/parameter_block.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"
#include "spectrum/spectrum_view.h"
#include "temp_files.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct LabFiles : ::testing::Test, TTempFiles {
    TKavCfg Cfg{};

    LabFiles() {
        SetDefaults(Cfg, Dir.path());
        Cfg.ViewMin = 0;
        Cfg.ViewMax = MaxFieldCode;
    }

    static void Calibrate(TKavCfg& cfg, double x1, double x2, const QString& name = "Э") {
        cfg.RazvUnits[3].X1 = x1;
        cfg.RazvUnits[3].X2 = x2;
        cfg.RazvUnits[3].Name = name;
        CalcUnitKoeff(cfg.RazvUnits[3], 0, 65519);
    }

    // A lab's BES3T pair NAME.DSC + NAME.DTA.
    void WriteLab(const QString& name, const QStringList& keys, const QByteArray& data) {
        Write(name + ".DSC", LabDescriptor(keys));
        Write(name + ".DTA", data);
    }

    // The table saved as a .kav and loaded by a program with default settings.
    struct TReloaded {
        std::unique_ptr<TPointTable> Store = std::make_unique<TPointTable>();
        TKavCfg Cfg{};
    };
    TReloaded Reload(const TPointTable& table, const QString& kav) {
        TReloaded r;
        QString error;
        EXPECT_TRUE(SaveSpectrumFile(Path(kav), table, &error)) << error.toStdString();
        auto undo = std::make_unique<TPointTable>();
        EXPECT_EQ(LoadSpectrumFile(Path(kav), *r.Store, *undo), TLoadOutcome::Loaded);
        SetDefaults(r.Cfg, Dir.path());
        r.Cfg.ViewMin = 0;
        r.Cfg.ViewMax = MaxFieldCode;
        TInstrumentReadings readings;
        TNullSpectrumView view;
        ApplyFileParameters(*r.Store, r.Cfg, readings, view, u'.');
        return r;
    }

    // The table as BES3T, read back by the plain reader.
    TPlainBes3t Export(const TPointTable& table, const TKavCfg& cfg, const QString& name,
                       const QString& title = "t") {
        QStringList notes;
        QString error;
        EXPECT_TRUE(ExportSpectrum(Path(name + ".DSC"), TExchangeFormat::Bes3t, table, cfg, title,
                                   notes, &error))
            << error.toStdString();
        return ReadPlainBes3t(Path(name + ".DSC"));
    }
    TPlainBes3t Export(const TReloaded& r, const QString& name) {
        return Export(*r.Store, r.Cfg, name);
    }
};

// A flat line at `y`, a point every `step` codes from `first` to `last`.
void FillFlat(TPointTable& table, int first, int last, int step, int y) {
    ClearPoints(table);
    for (int code = first; code <= last; code += step)
        table[code] = TPointSlot{static_cast<std::uint16_t>(code), static_cast<std::uint16_t>(y)};
}

std::vector<double> Ordinates(const TPointTable& table) {
    std::vector<double> y;
    for (int k = 0; k <= MaxFieldCode; ++k)
        if (IsValidSlot(table[k]))
            y.push_back(table[k].Y - 2048.0);
    return y;
}

bool OneLine(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() < 0x20)
            return false;
    return !text.isEmpty();
}

} // namespace

// 200 .. 14200 G does not fit records in tenths of a gauss: stored in mT, it
// reloads on its true axis. Bounds that fit no record are refused.
TEST_F(LabFiles, QBandSweepReloadsOnItsTrueAxisOrIsRefused) {
    Calibrate(Cfg, 200, 14200);
    std::vector<double> field, value;
    for (int k = 0; k < 2001; ++k) {
        field.push_back(200 + 7.0 * k);
        value.push_back(DerivativeLine(field.back(), 12000, 40, 900));
    }
    WriteLab("q",
             {"BSEQ\tLIT", "IKKF\tREAL", "XTYP\tIDX", "IRFMT\tF", "XPTS\t2001", "XMIN\t200",
              "XWID\t14000", "XUNI\t'G'"},
             LabData(value, 'F', false));
    TPointTable table;
    QStringList notes;
    QString error;
    ASSERT_TRUE(ImportSpectrumFile(Path("q.DSC"), Cfg, {}, table, notes, &error))
        << error.toStdString();
    const TReloaded r = Reload(table, "q.kav");
    EXPECT_EQ(r.Cfg.RazvUnits[3].X1, 20);
    EXPECT_EQ(r.Cfg.RazvUnits[3].X2, 1420);
    EXPECT_EQ(r.Cfg.RazvUnits[3].Name, "мТл");
    const TPlainBes3t out = Export(r, "q-out");
    ASSERT_TRUE(out.Error.isEmpty()) << out.Error.toStdString();
    EXPECT_EQ(out.Keys.value("XUNI"), "'mT'");
    ASSERT_EQ(out.X.size(), 2001u);
    const double code = 1400.0 / 65519; // one field code in mT
    for (std::size_t k = 0; k < field.size(); ++k)
        ASSERT_NEAR(out.X[k], field[k] / 10, code) << k;
    EXPECT_GE(Correlation(out.Y, value), 0.999);

    // Bounds that are not whole gauss, or below zero: refused, nothing placed.
    for (const auto& [low, high] :
         {std::pair{200.5, 14200.0}, std::pair{-100.0, 3000.0}, std::pair{300.0, 70000.0}}) {
        TKavCfg cfg = Cfg;
        Calibrate(cfg, low, high);
        TPointTable untouched;
        error.clear();
        EXPECT_FALSE(ImportSpectrumFile(Path("q.DSC"), cfg, {}, untouched, notes, &error));
        EXPECT_TRUE(OneLine(error) && error.contains("q.DSC") && error.contains("6553.5"))
            << error.toStdString();
        EXPECT_EQ(untouched, TPointTable{});
    }
}

// Values around 1e-4 are scaled to fill the codes, with a note and the factor
// recorded; the export gives back the file's numbers. --absolute keeps them.
TEST_F(LabFiles, SmallValuesAreScaledToKeepTheirShapeAndExportedAsTheyWere) {
    Calibrate(Cfg, 3150, 3550);
    std::vector<double> value;
    for (int k = 0; k < 1001; ++k)
        value.push_back(DerivativeLine(3300 + 0.2 * k, 3400, 5, 1e-4));
    WriteLab("small",
             {"BSEQ\tBIG", "IKKF\tREAL", "XTYP\tIDX", "IRFMT\tD", "XPTS\t1001", "XMIN\t3300",
              "XWID\t200", "XUNI\t'G'", "IRUNI\t''"},
             LabData(value, 'D', true));
    const double peak = *std::max_element(value.begin(), value.end());
    for (const int unit : {0, 1}) {
        SCOPED_TRACE(unit);
        Cfg.AmpUnit = static_cast<std::uint8_t>(unit);
        TPointTable table;
        QStringList notes;
        TImportCounts counts;
        QString error;
        ASSERT_TRUE(ImportSpectrumFile(Path("small.DSC"), Cfg, {}, table, notes, &error, &counts))
            << error.toStdString();
        // The largest 1-2-5 factor that keeps the peak within the codes.
        const double room = 2047 / (peak / Cfg.AmpUnits[unit].KoeffK);
        EXPECT_LE(counts.Scale, room);
        EXPECT_GT(counts.Scale * 2.5, room);
        ASSERT_EQ(notes.size(), 1);
        EXPECT_TRUE(notes[0].contains(QString::number(counts.Scale, 'g', 6)))
            << notes[0].toStdString();
        EXPECT_EQ(counts.Clipped, 0);
        const std::vector<double> y = Ordinates(table);
        EXPECT_GT(std::set<double>(y.begin(), y.end()).size(), 300u);
        EXPECT_GE(Correlation(y, value), 0.9999);

        TReloaded shown = Reload(table, "small.kav");
        shown.Cfg.AmpUnit = Cfg.AmpUnit;
        const TPlainBes3t out = Export(shown, "small-out");
        ASSERT_EQ(out.Y.size(), value.size());
        // Within half a code of the scaled amplitude.
        const double half = 0.5 * Cfg.AmpUnits[unit].KoeffK / counts.Scale;
        for (std::size_t k = 0; k < value.size(); ++k)
            ASSERT_NEAR(out.Y[k], value[k], half * 1.0001) << k;

        // Read back: the same factor and codes, each within one field code.
        TPointTable again;
        ASSERT_TRUE(ImportSpectrumFile(Path("small-out.DSC"), Cfg, {}, again, notes, &error));
        EXPECT_EQ(again[ParAmplScale], table[ParAmplScale]);
        std::vector<int> codes, againCodes;
        for (int k = 0; k <= MaxFieldCode; ++k) {
            if (IsValidSlot(table[k]))
                codes.push_back(k);
            if (IsValidSlot(again[k]))
                againCodes.push_back(k);
        }
        ASSERT_EQ(againCodes.size(), codes.size());
        for (std::size_t k = 0; k < codes.size(); ++k) {
            ASSERT_LE(std::abs(againCodes[k] - codes[k]), 1) << k;
            ASSERT_EQ(again[againCodes[k]].Y, table[codes[k]].Y) << k;
        }
    }

    // Kept absolute on request: a flat line, no factor, no note.
    TImportOptions absolute;
    absolute.AbsoluteScale = true;
    TPointTable table;
    QStringList notes;
    ASSERT_TRUE(ImportSpectrumFile(Path("small.DSC"), Cfg, absolute, table, notes, nullptr));
    EXPECT_TRUE(notes.isEmpty()) << notes.join('\n').toStdString();
    const std::vector<double> y = Ordinates(table);
    EXPECT_EQ(std::set<double>(y.begin(), y.end()).size(), 1u);
    EXPECT_EQ(table[ParAmplScale], TPointSlot{});

    // Values far beyond the codes are scaled down rather than clipped.
    for (double& v : value)
        v *= 1e9;
    Write("big.DTA", LabData(value, 'D', true));
    Write("big.DSC", Read("small.DSC"));
    TImportCounts counts;
    Cfg.AmpUnit = 0;
    ASSERT_TRUE(ImportSpectrumFile(Path("big.DSC"), Cfg, {}, table, notes, nullptr, &counts));
    EXPECT_EQ(counts.Clipped, 0);
    EXPECT_LT(counts.Scale, 1);
    EXPECT_GE(Correlation(Ordinates(table), value), 0.9999);
}

// 1 500 points 32 or 33 codes apart come back as 1 500, not a staircase.
TEST_F(LabFiles, XBandSweepKeepsItsPointCountAndAxisThroughKav) {
    Calibrate(Cfg, 3150, 3550);
    std::vector<double> value;
    for (int k = 0; k < 1500; ++k)
        value.push_back(DerivativeLine(3200 + 0.2 * k, 3350, 3, 1500));
    WriteLab("x",
             {"BSEQ\tBIG", "XTYP\tIDX", "IRFMT\tD", "XPTS\t1500", "XMIN\t3200", "XWID\t299.8",
              "XUNI\t'G'"},
             LabData(value, 'D', true));
    TPointTable table;
    QStringList notes;
    QString error;
    ASSERT_TRUE(ImportSpectrumFile(Path("x.DSC"), Cfg, {}, table, notes, &error))
        << error.toStdString();
    EXPECT_TRUE(notes.isEmpty()) << notes.join('\n').toStdString();
    const TPlainBes3t out = Export(Reload(table, "x.kav"), "x-out");
    ASSERT_TRUE(out.Error.isEmpty()) << out.Error.toStdString();
    EXPECT_EQ(out.Keys.value("XTYP"), "IDX");
    EXPECT_EQ(out.Keys.value("XPTS"), "1500");
    const double code = 400.0 / 65519;
    EXPECT_NEAR(out.Keys.value("XMIN").toDouble(), 3200, code);
    EXPECT_NEAR(out.Keys.value("XWID").toDouble(), 299.8, code);
    EXPECT_GE(Correlation(out.Y, value), 0.99999);
}

// Whatever the names and units hold, the descriptor is readable ASCII.
TEST_F(LabFiles, CyrillicNamesGiveAnAsciiDescriptor) {
    const struct {
        const char* Text;
        const char* Ascii;
    } cases[] = {
        {"Образец №1", "Obrazets No1"}, {"ЩИ и Щи, БОРЩ", "SHCHI i Shchi, BORSHCH"},
        {"Ёлка-ёж", "Elka-ezh"},        {"café µV", "cafe uV"},
        {"日\x1b[2J", "? [2J"},         {"ії Ґ", "iyi G"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AsciiText(QString::fromUtf8(c.Text)), c.Ascii) << c.Text;

    Cfg.AmpUnit = 1;
    Cfg.AmpUnits[1].Name = "усл.ед";
    Cfg.RazvUnits[3].Name = "Гс";
    TPointTable table;
    FillFlat(table, 1000, 1990, 10, 2100);
    const TPlainBes3t out = Export(table, Cfg, "cyr", "Спектр №2 (ЭПР)");
    EXPECT_TRUE(out.AsciiOnly);
    EXPECT_EQ(out.Keys.value("TITL"), "'Spektr No2 (EPR)'");
    EXPECT_EQ(out.Keys.value("IRUNI"), "'usl.ed'");
    EXPECT_EQ(out.Keys.value("XUNI"), "'G'");
}

// The data are divided by the gain and the mean of the sweeps: the keys make
// each reader's normalisation leave them be; the cw device keys are there.
TEST_F(LabFiles, DescriptorKeysMakeEveryReaderNormaliseToTheSameNumbers) {
    Cfg.Amplifying = 4; // factor 20
    Cfg.Rapid = 10;     // one minute a sweep
    Cfg.ResonatorFreq = 9400000;
    TPointTable table;
    FillFlat(table, 0, 5999, 60, 3000);
    WriteParameterBlock(table, Cfg, TInstrumentReadings{5, 6, 2048, 8, -1});
    const TPlainBes3t out = Export(table, Cfg, "n");
    ASSERT_TRUE(out.Error.isEmpty());
    const auto& keys = out.Keys;
    // Gain: data / 10^(RCAG/20); scans: SctNorm true forbids dividing again.
    EXPECT_EQ(std::pow(10.0, keys.value("RCAG").toDouble() / 20), 1.0);
    EXPECT_EQ(keys.value("SctNorm"), "true");
    EXPECT_EQ(keys.value("AVGS"), "8");
    EXPECT_EQ(keys.value("NbScansDone"), "8");
    EXPECT_EQ(keys.value("KAVGAIN"), "4");
    EXPECT_EQ(keys.value("MWFQ").toDouble(), 9.4e9);
    EXPECT_EQ(keys.value("Frequency"), "9.4 GHz");
    EXPECT_EQ(keys.value("SweepTime"), "60 s");
    EXPECT_EQ(keys.value("ConvTime"), "600 ms"); // 100 points a minute
    // The field through the ADC input (ADC unit 3: 0 .. 10 Э over 0 .. 4095).
    EXPECT_EQ(keys.value("ModAmp"), "5 G");
    EXPECT_FALSE(keys.contains("SPTP")); // a reader would divide by it
    for (const char* key : {"YTYP", "ZTYP", "EXPT", "BSEQ", "IKKF", "XUNI"})
        EXPECT_TRUE(keys.contains(key)) << key;
}

// A save killed between data and descriptor leaves a pair that is refused.
TEST_F(LabFiles, ADescriptorBesideDataItWasNotWrittenWithIsRefused) {
    TPointTable table;
    FillFlat(table, 100, 600, 1, 2000);
    Export(table, Cfg, "k");
    const QByteArray oldDescriptor = Read("k.DSC");
    FillFlat(table, 100, 600, 1, 2500); // the same count, other data
    Export(table, Cfg, "k");
    Write("k.DSC", oldDescriptor); // as if the new descriptor never took its name
    TExchangeSpectrum s;
    QString error;
    EXPECT_FALSE(ReadBes3t(Path("k.DSC"), s, &error));
    EXPECT_TRUE(OneLine(error) && error.contains("k.DTA") && error.contains("SHA-256"))
        << error.toStdString();
    EXPECT_TRUE(s.Field.empty());
}

// Refused at once in one line naming the file: special files, an axis that is
// not a field, control characters (escaped in the message).
TEST_F(LabFiles, UnreadableImportsAreRefusedInOneLine) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo.csv")).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo.DSC")).constData(), 0600), 0);
    Write("pipe.DSC", LabDescriptor({"XTYP\tIDX", "IRFMT\tD", "XPTS\t3", "XMIN\t0", "XWID\t2"}));
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe.DTA")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", Path("zero.csv")));
    Write("zero.DSC", LabDescriptor({"XTYP\tIDX", "IRFMT\tD", "XPTS\t3", "XMIN\t0", "XWID\t2"}));
    ASSERT_TRUE(QFile::link("/dev/zero", Path("zero.DTA")));
    ASSERT_TRUE(QDir(Dir.path()).mkdir("folder.txt"));
    Write("decay.txt", "index\tTime [s]\tIntensity\n1\t0\t5\n2\t0.1\t4\n");
    Write("esc.csv", "3000,1\n\x1b]0;owned\x07\x1b[2J,2\n");
    Write("esc.DSC", LabDescriptor({"XTYP\tIDX", "IRFMT\tQ\x1b[31m", "XPTS\t3"}));
    for (const auto& [name, needle] :
         {std::pair{"fifo.csv", "FIFO"}, std::pair{"fifo.DSC", "FIFO"},
          std::pair{"pipe.DSC", "FIFO"}, std::pair{"zero.csv", "character device"},
          std::pair{"zero.DSC", "character device"}, std::pair{"folder.txt", "directory"},
          std::pair{"decay.txt", "\"s\""}, std::pair{"esc.csv", "\\x1B"},
          std::pair{"esc.DSC", "\\x1B"}}) {
        TPointTable table;
        QStringList notes;
        QString error;
        EXPECT_FALSE(ImportSpectrumFile(Path(name), Cfg, {}, table, notes, &error)) << name;
        EXPECT_TRUE(OneLine(error) && error.contains(QString(name).section('.', 0, 0)) &&
                    error.contains(needle))
            << error.toStdString();
    }
    EXPECT_EQ(ShownText(u"a\u202Eb\nc"), "a\\u202Eb\\x0Ac");
    EXPECT_EQ(ShownText(QString(70, 'x')), QString(60, 'x') + "…");
}

// A calibration in millitesla says mT in the exports after it is reloaded.
TEST_F(LabFiles, MilliteslaCalibrationIsLabelledMilliteslaAfterReload) {
    Calibrate(Cfg, 300, 330, "мТл");
    TPointTable table;
    FillFlat(table, 0, 65000, 500, 2500);
    WriteParameterBlock(table, Cfg, TInstrumentReadings{});
    const TReloaded r = Reload(table, "mt.kav");
    EXPECT_EQ(r.Cfg.RazvUnits[3].Name, "мТл");
    EXPECT_EQ(r.Cfg.RazvUnits[2].Name, "мТл");
    const TPlainBes3t out = Export(r, "mt");
    EXPECT_EQ(out.Keys.value("XUNI"), "'mT'");
    EXPECT_DOUBLE_EQ(out.X.front(), 300);
    QStringList notes;
    ASSERT_TRUE(ExportSpectrum(Path("mt.csv"), TExchangeFormat::Csv, *r.Store, r.Cfg, "mt", notes,
                               nullptr));
    EXPECT_TRUE(Read("mt.csv").startsWith("field [mT],amplitude\n300,"));
}

// A unit holding the separator is quoted (RFC 4180); the program reads it back.
TEST_F(LabFiles, CsvHeaderQuotesAUnitHoldingTheSeparator) {
    TExchangeSpectrum s;
    s.Field = {3000, 3001};
    s.Amplitude = {1, 2};
    s.FieldUnit = "G";
    s.AmplitudeUnit = "a,u \"x\"";
    const QByteArray csv = CsvText(s);
    const QByteArray header = csv.left(csv.indexOf('\n'));
    EXPECT_EQ(header, "field [G],\"amplitude [a,u \"\"x\"\"]\"");
    TExchangeSpectrum back;
    ASSERT_TRUE(ParseTextSpectrum(csv, "q.csv", back, nullptr));
    EXPECT_EQ(back.Amplitude, s.Amplitude);
    EXPECT_EQ(back.FieldUnit, "G");
}
