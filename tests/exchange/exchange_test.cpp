// CSV, text and BES3T spectra written and read on temporary files, and placed
// onto the calibration's codes.
#include "config/settings_store.h"
#include "disk_limits.h"
#include "exchange/bes3t_file.h"
#include "exchange/spectrum_export.h"
#include "exchange/spectrum_import.h"
#include "exchange/text_spectrum.h"
#include "lab_files.h"
#include "qstring_printer.h"
#include "spectrum/parameter_block.h"
#include "spectrum/point_store.h"
#include "spectrum/value_format.h"
#include "temp_files.h"

#include <QLocale>
#include <clocale>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Settings with their defaults, a spectrum in memory, a temporary folder.
struct TExchangeFixture : ::testing::Test, TTempFiles {
    TKavCfg Cfg{};
    std::unique_ptr<TPointTable> Store = std::make_unique<TPointTable>();

    TExchangeFixture() {
        SetDefaults(Cfg, Dir.path());
        ClearPoints(*Store);
    }

    // A first-derivative line, a point every `step` codes.
    void PutLine(int first, int last, int step) {
        for (int code = first; code <= last; code += step)
            (*Store)[code] = TPointSlot{static_cast<std::uint16_t>(code),
                                        static_cast<std::uint16_t>(std::lround(
                                            2048 + DerivativeLine(code, 30000, 900, 1500)))};
    }

    bool Export(const QString& name, QStringList* notes = nullptr, QString* error = nullptr) {
        QStringList n;
        return ExportSpectrum(Path(name), ExchangeFormatOfPath(name), *Store, Cfg, "line",
                              notes ? *notes : n, error);
    }
};

using TextSpectrum = TExchangeFixture;
using Bes3t = TExchangeFixture;

TExchangeSpectrum Spectrum(std::vector<double> field, std::vector<double> amplitude,
                           QString unit = {}) {
    TExchangeSpectrum s;
    s.Field = std::move(field);
    s.Amplitude = std::move(amplitude);
    s.FieldUnit = std::move(unit);
    return s;
}

} // namespace

TEST_F(TextSpectrum, CsvHasAHeaderWithUnitsAndPointDecimalsWhateverTheLocale) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    std::setlocale(LC_ALL, "ru_RU.UTF-8"); // where it exists: comma decimals
    QLocale::setDefault(QLocale(QLocale::Russian));
    TExchangeSpectrum s = Spectrum({3000, 3000.0457899, 1e-7}, {-0.25, 1.0 / 3, 0}, "G");
    s.AmplitudeUnit = "V";
    const QByteArray csv = CsvText(s);
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(csv, "field [G],amplitude [V]\n3000,-0.25\n3000.0457899,0.3333333333333333\n"
                   "1e-07,0\n");
    EXPECT_TRUE(CsvText(Spectrum({1}, {2})).startsWith("field,amplitude\n"));
}

// Separators, comments, headers of several lines, decimal commas, and the
// vendor's columns (index, field, intensity in any order) with their units.
TEST_F(TextSpectrum, FieldAndIntensityColumnsAreRead) {
    const struct {
        const char* Name;
        QByteArray Text;
        QString Unit;
    } cases[] = {
        {"comma.csv",
         "\xEF\xBB\xBF"
         "field [G],amplitude [V]\r\n3000,-0.5\r\n3001.5,2e-3\r\n",
         "G"},
        {"semicolon.csv", "# from a spreadsheet\nПоле;Амплитуда\n3000;-0,5\n3001,5;0,002\n", ""},
        {"tab.txt", "3000\t-0.5\n\n# comment\n3001.5\t0.002\n", ""},
        {"blank.txt", "  3000   -0.5\n3001.5 2E-3  \n", ""},
        {"blankcomma.txt", "3000 -0,5\n3001,5 0,002\n", ""},
        {"vendor.txt", "index\tField [G]\tIntensity []\n1\t3000.0\t-5.0E-1\n2\t3001.5\t2.0E-3\n",
         "G"},
        {"header.txt",
         "Sample: TEMPO in toluene\nDate: 12.03.2024\nMW frequency 9,4 GHz\n\n"
         "1 3000,0 -0,5\n2 3001,5 0,002\n",
         ""},
        {"order.csv", "Intensity;Field (mT);No\n-0,5;300,00;0\n0,002;300,15;1\n", "mT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Write(c.Name, c.Text);
        TExchangeSpectrum s;
        QString error;
        ASSERT_TRUE(ReadTextSpectrum(Path(c.Name), s, &error)) << error.toStdString();
        EXPECT_EQ(s.Amplitude, (std::vector<double>{-0.5, 0.002}));
        const double scale = c.Unit == "mT" ? 10 : 1;
        ASSERT_EQ(s.Field.size(), 2u);
        EXPECT_DOUBLE_EQ(s.Field[0] * scale, 3000);
        EXPECT_DOUBLE_EQ(s.Field[1] * scale, 3001.5);
        EXPECT_EQ(s.FieldUnit, c.Unit);
    }
}

TEST_F(TextSpectrum, ImportCountsWhatItDropsHoldsAndOverwrites) {
    // Default calibration: 3000 .. 3300 Э over codes 0 .. 65519; raw codes.
    const TExchangeSpectrum s = Spectrum({2999, 3000, 3150, 3150.0001, 3300, 3301, 330},
                                         {0, 2047, 3000, -3000, -12.4, 0, 5}, "mT");
    TPointTable table;
    QStringList notes;
    TImportCounts counts;
    TImportOptions absolute;
    absolute.AbsoluteScale = true;
    ASSERT_TRUE(PlaceImportedSpectrum(s, Cfg, absolute, "f.csv", table, notes, nullptr, &counts));
    // 330 mT is 3300 G; 2999..3301 mT fall far outside.
    EXPECT_EQ(counts.Outside, 6);
    EXPECT_EQ(counts.Clipped, 0);
    EXPECT_EQ(counts.Shared, 0);
    EXPECT_EQ(table[65519], (TPointSlot{65519, 2053}));
    EXPECT_EQ(notes.size(), 1);

    const TExchangeSpectrum g =
        Spectrum({3000, 3100, 3100.0001, 3300}, {1, 3000, -3000, -12.4}, "G");
    notes.clear();
    ASSERT_TRUE(PlaceImportedSpectrum(g, Cfg, absolute, "g.csv", table, notes, nullptr, &counts));
    EXPECT_EQ(counts.Outside, 0);
    EXPECT_EQ(counts.Clipped, 2);
    EXPECT_EQ(counts.Shared, 1);
    EXPECT_EQ(table[0], (TPointSlot{0, 2049}));
    EXPECT_EQ(table[21840], (TPointSlot{21840, 0}));    // the later point, held at 0
    EXPECT_EQ(table[65519], (TPointSlot{65519, 2036})); // -12.4 rounds to -12
    EXPECT_EQ(notes.size(), 2);
    for (const QString& note : notes)
        EXPECT_TRUE(note.contains("g.csv")) << note.toStdString();

    // An axis that is not a field is refused, unless asked for: then it is
    // taken as it stands, with a note.
    notes.clear();
    QString refusal;
    const TPointTable kept = table;
    EXPECT_FALSE(PlaceImportedSpectrum(Spectrum({3100}, {0}, "MHz"), Cfg, absolute, "h.DSC", table,
                                       notes, &refusal));
    EXPECT_TRUE(refusal.contains("MHz") && refusal.contains("h.DSC")) << refusal.toStdString();
    EXPECT_EQ(table, kept);
    absolute.AnyAxis = true;
    ASSERT_TRUE(PlaceImportedSpectrum(Spectrum({3100}, {0}, "MHz"), Cfg, absolute, "h.DSC", table,
                                      notes, nullptr));
    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes[0].contains("MHz"));

    // Nothing on the calibration's codes: an error, the table untouched.
    const TPointTable before = table;
    QString error;
    EXPECT_FALSE(
        PlaceImportedSpectrum(Spectrum({1, 2}, {0, 0}), Cfg, {}, "far.csv", table, notes, &error));
    EXPECT_TRUE(error.contains("far.csv")) << error.toStdString();
    EXPECT_EQ(table, before);
}

TEST_F(Bes3t, DescriptorAndDataReadByAnIndependentReaderMatchTheProgramsTexts) {
    Cfg.Amplifying = 3; // factor 10
    Cfg.AmpUnit = 1;
    Cfg.ResonatorFreq = 9254147;
    PutLine(2000, 60000, 8);
    TInstrumentReadings readings{7, 3, 0, 4, -1};
    WriteParameterBlock(*Store, Cfg, readings);
    ASSERT_TRUE(Export("line.DSC"));

    EXPECT_TRUE(Read("line.DSC").startsWith("#DESC\t1.2"))
        << Read("line.DSC").left(40).toStdString();
    const TPlainBes3t out = ReadPlainBes3t(Path("line.DSC"));
    ASSERT_TRUE(out.Error.isEmpty()) << out.Error.toStdString();
    std::vector<int> codes;
    for (int k = 0; k <= MaxFieldCode; ++k)
        if (IsValidSlot((*Store)[k]))
            codes.push_back(k);
    const QString expected[][2] = {
        {"DSRC", "EXP"},        {"BSEQ", "BIG"},          {"IKKF", "REAL"},
        {"XTYP", "IDX"},        {"YTYP", "NODATA"},       {"ZTYP", "NODATA"},
        {"IRFMT", "D"},         {"XUNI", "'G'"},          {"IRUNI", "'V'"},
        {"XNAM", "'Field'"},    {"IRNAM", "'Intensity'"}, {"TITL", "'line'"},
        {"MWFQ", "9254147000"}, {"KAVGAIN", "3"},         {"RCAG", "0"},
        {"AVGS", "4"},          {"KAVSERIAL", "7"},       {"KAVPROGRAM", "3"},
        {"KAVSPEED", "10"},
    };
    for (const auto& [key, value] : expected)
        EXPECT_EQ(out.Keys.value(key), value) << key.toStdString();
    ASSERT_EQ(out.Y.size(), codes.size());
    Cfg.RazvUnit = 3;
    const TValueFormat format(Cfg, '.');
    for (std::size_t k = 0; k < codes.size(); ++k) {
        // FieldToStr shows 6 significant digits ("3045.79 Э").
        const QString shown = format.FieldToStr(static_cast<std::uint16_t>(codes[k]));
        const double number = shown.section(' ', 0, 0).toDouble();
        const double halfDigit = 0.5 * std::pow(10.0, std::floor(std::log10(number)) - 5);
        ASSERT_NEAR(out.X[k], number, halfDigit * 1.0001) << shown.toStdString();
        // Volts over ±2047 codes, divided by the gain factor 10.
        const double volts = ((*Store)[codes[k]].Y - 2048) * 20.0 / 4094.0 / 10;
        ASSERT_NEAR(out.Y[k], volts, 1e-12) << codes[k];
    }
}

TEST_F(Bes3t, KavThroughBes3tAndCsvGivesBackEveryCodeAndAmplitude) {
    Cfg.Amplifying = 2;
    Cfg.AmpUnit = 1;
    Cfg.RazvUnits[3].X1 = 3150;
    Cfg.RazvUnits[3].X2 = 3550;
    CalcUnitKoeff(Cfg.RazvUnits[3], 0, 65519);
    PutLine(100, 65500, 12);
    WriteParameterBlock(*Store, Cfg, TInstrumentReadings{9, 2, 0, 6, -1});
    ASSERT_TRUE(Export("s.DSC"));
    ASSERT_TRUE(Export("s.csv"));

    for (const char* name : {"s.DSC", "s.csv"}) {
        SCOPED_TRACE(name);
        TKavCfg importing = Cfg;
        importing.Amplifying = 0; // BES3T names its gain; CSV is given it
        TPointTable table;
        QStringList notes;
        QString error;
        TImportOptions options;
        options.GainRow = 2;
        ASSERT_TRUE(ImportSpectrumFile(Path(name), importing, options, table, notes, &error))
            << error.toStdString();
        EXPECT_TRUE(notes.isEmpty()) << notes.join('\n').toStdString();
        for (int k = 0; k <= MaxFieldCode; ++k)
            ASSERT_EQ(table[k], (*Store)[k]) << k;
        EXPECT_EQ(table[ParGain + 1], (TPointSlot{2, ParGain}));
        EXPECT_EQ(table[ParFieldLow + 1], (TPointSlot{31500, ParFieldLow}));
        const bool bes3t = QString(name).endsWith("DSC");
        EXPECT_EQ(table[ParSerial + 1], bes3t ? (TPointSlot{9, ParSerial}) : TPointSlot{});
        EXPECT_EQ(table[ParSumCount + 1], bes3t ? (TPointSlot{6, ParSumCount}) : TPointSlot{});
    }
}

// A spectrum with a gap keeps its points: each field goes into the axis
// file, and nothing is invented between them.
TEST_F(Bes3t, PointsNotEquidistantKeepTheirFieldsInAnAxisFile) {
    for (int code = 1000; code <= 2000; code += 8)
        (*Store)[code] =
            TPointSlot{static_cast<std::uint16_t>(code), static_cast<std::uint16_t>(code / 2)};
    (*Store)[1504] = (*Store)[1512] = TPointSlot{};
    QStringList notes;
    ASSERT_TRUE(Export("r.DSC", &notes));
    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes[0].contains("r.XGF")) << notes[0].toStdString();
    const TPlainBes3t plain = ReadPlainBes3t(Path("r.DSC"));
    EXPECT_EQ(plain.Keys.value("XTYP"), "IGD");
    EXPECT_EQ(plain.Keys.value("XPTS"), "124");
    ASSERT_TRUE(plain.Error.isEmpty()) << plain.Error.toStdString();
    TExchangeSpectrum read;
    QString error;
    ASSERT_TRUE(ReadBes3t(Path("r.DSC"), read, &error)) << error.toStdString();
    EXPECT_EQ(read.Field, plain.X);
    EXPECT_FALSE(read.Equidistant);
    // Read back onto the same calibration: the very points, no others.
    TPointTable table;
    TImportOptions options;
    options.AbsoluteScale = true;
    ASSERT_TRUE(PlaceImportedSpectrum(read, Cfg, options, "r.DSC", table, notes, &error));
    for (int k = 0; k <= MaxFieldCode; ++k)
        ASSERT_EQ(table[k], (*Store)[k]) << k;

    // Made equidistant again, the next export is XTYP IDX and the axis file
    // of the earlier one is gone.
    (*Store)[1504] = TPointSlot{1504, 9};
    (*Store)[1512] = TPointSlot{1512, 9};
    notes.clear();
    ASSERT_TRUE(Export("r.DSC", &notes));
    EXPECT_TRUE(notes.isEmpty());
    EXPECT_EQ(ReadPlainBes3t(Path("r.DSC")).Keys.value("XTYP"), "IDX");
    EXPECT_FALSE(QFile::exists(Path("r.XGF")));
    // CSV needs no axis file: the points as they are.
    ASSERT_TRUE(Export("r.csv", &notes));
    EXPECT_EQ(Read("r.csv").count('\n'), 1 + 126);
}

// Item formats and byte orders; the data file in any case, found from either
// file's name, beside a descriptor without IKKF.
TEST_F(Bes3t, ItemFormatsByteOrdersAndFileNamesAreRead) {
    const auto descriptor = [](const char* format, const char* order) {
        return QByteArray("#DESC\t1.2\nDSRC\tEXP\nBSEQ\t") + order +
               "\nIKKF\tREAL\nXTYP\tIDX\n"
               "YTYP\tNODATA\nZTYP\tNODATA\nIRFMT\t" +
               format +
               "\nXPTS\t3\nXMIN\t330.0\nXWID\t2.0\nXUNI\t'mT'\nIRUNI\t''\n#SPL\t1.2\nMWFQ\t9.5e9\n";
    };
    QByteArray lit(12, '\0');
    const float floats[] = {1.5f, -2.25f, 1e6f};
    std::memcpy(lit.data(), floats, 12); // the machine is little-endian
    Write("f.DSC", descriptor("F", "LIT"));
    Write("f.DTA", lit);
    Write("s.dsc", descriptor("S", "BIG"));
    Write("s.dta", QByteArray("\x00\x05\xff\xfe\x7f\xff", 6));
    Write("i.DSC", descriptor("I", "LIT"));
    Write("i.DTA", QByteArray("\x01\x00\x00\x00\xff\xff\xff\xff\x00\x00\x01\x00", 12));
    for (const auto& [dsc, dta] :
         {std::pair{"a.DSC", "a.dta"}, std::pair{"b.dsc", "b.DTA"}, std::pair{"c.Dsc", "c.dTa"}}) {
        Write(dsc, LabDescriptor({"XTYP\tIDX", "IRFMT\tD", "XPTS\t3", "XMIN\t330", "XWID\t2",
                                  "XUNI\t'mT'", "MWFQ\t9.5e9"}));
        Write(dta, LabData({1, 2, 3}, 'D', true));
    }
    const struct {
        const char* Name;
        std::vector<double> Values;
    } cases[] = {{"f.DSC", {1.5, -2.25, 1e6}}, {"s.dsc", {5, -2, 32767}}, {"i.DTA", {1, -1, 65536}},
                 {"a.DSC", {1, 2, 3}},         {"a.dta", {1, 2, 3}},      {"b.dsc", {1, 2, 3}},
                 {"b.DTA", {1, 2, 3}},         {"c.Dsc", {1, 2, 3}},      {"c.dTa", {1, 2, 3}}};
    for (const auto& c : cases) {
        TExchangeSpectrum s;
        QString error;
        ASSERT_TRUE(ReadBes3t(Path(c.Name), s, &error)) << c.Name << error.toStdString();
        EXPECT_EQ(s.Amplitude, c.Values) << c.Name;
        EXPECT_EQ(s.Field, (std::vector<double>{330, 331, 332})) << c.Name;
        EXPECT_EQ(s.FieldUnit, "mT");
        EXPECT_EQ(s.Info.FrequencyHz, 9.5e9);
    }
}

// A text line that is not two numbers, with its number, and a bad data set.
TEST_F(Bes3t, BadTextsAndDataSetsGetOneLineNamingTheFileAndChangeNothing) {
    const QByteArray good = "IKKF REAL\nXTYP IDX\nIRFMT D\nXPTS 4\nXMIN 0\nXWID 3\n";
    const struct {
        const char* Name;
        QByteArray Descriptor;
        qsizetype DataBytes; // -1: no data file
        const char* Needle;
    } cases[] = {
        {"word.csv", "field,ampl\n1,2\nthree,4\n", -1, "строка 3"},
        {"afterdata.csv", "# x\nfield,ampl\n1,2\nunits,more\n", -1, "строка 4"},
        {"columns.csv", "1,2\n3,4,5\n", -1, "строка 2"},
        {"nonindex.txt", "5 3000 1\n7 3001 2\n", -1, "3 столбцов"},
        {"inf.txt", "1 2\n3 inf\n", -1, "строка 2"},
        {"empty.csv", "# nothing\nfield,amplitude\n", -1, "нет ни одной точки"},
        {"nodata.DSC", good, -1, "nodata.DTA"},
        {"short.DSC", good, 31, "32"},
        {"twod.DSC", good + "YTYP IDX\nYPTS 4\n", 32, "YTYP"},
        {"cplx.DSC", QByteArray(good).replace("REAL", "CPLX"), 64, "IKKF CPLX"},
        {"fmt.DSC", QByteArray(good).replace("IRFMT D", "IRFMT Q"), 32, "IRFMT Q"},
        {"axis.DSC", QByteArray(good).replace("IDX", "NTUP"), 32, "XTYP NTUP"},
        {"noaxis.DSC", QByteArray(good).replace("IDX", "IGD"), 32, "noaxis.XGF"},
        {"long.DSC", good, 33, "XPTS 4"},
        {"many.DSC", QByteArray(good).replace("XPTS 4", "XPTS 1048577"), 32, "1048576"},
        {"nan.DSC", good, -2, "значение 2"},
        {"order.DSC", good + "BSEQ MID\n", 32, "BSEQ MID"},
        {"text.DSC", "hello\n", 32, "BES3T"},
    };
    for (const auto& c : cases) {
        const QString dsc = Path(c.Name);
        Write(c.Name, c.Descriptor);
        QByteArray data(c.DataBytes >= 0 ? c.DataBytes : 32, '\0');
        if (c.DataBytes == -2) // a NaN as the second value
            data.replace(8, 8, QByteArray("\x7f\xf8\0\0\0\0\0\0", 8));
        if (c.DataBytes != -1)
            Write(QString(c.Name).replace(".DSC", ".DTA"), data);
        TExchangeSpectrum s;
        s.Title = "kept";
        QString error;
        const bool bes3t = dsc.endsWith(".DSC");
        EXPECT_FALSE(bes3t ? ReadBes3t(dsc, s, &error) : ReadTextSpectrum(dsc, s, &error))
            << c.Name;
        EXPECT_FALSE(error.contains('\n')) << error.toStdString();
        EXPECT_TRUE(error.contains(bes3t ? dsc.chopped(4) : dsc)) << error.toStdString();
        EXPECT_TRUE(error.contains(c.Needle)) << error.toStdString();
        EXPECT_EQ(s.Title, "kept");
    }
}

TEST_F(Bes3t, AFailedWriteLeavesThePreviousPairWhole) {
    PutLine(0, 65519, 1);
    QString error;
    // No folder: nothing is written.
    EXPECT_FALSE(Export("none/x.DSC", nullptr, &error));
    EXPECT_TRUE(error.contains("x.DTA")) << error.toStdString();

    // The descriptor cannot take its name: the data file goes back to what it
    // was, or away when there was none.
    ASSERT_TRUE(QDir(Dir.path()).mkdir("d.DSC"));
    Write("d.DTA", "old data");
    EXPECT_FALSE(Export("d.DSC", nullptr, &error));
    EXPECT_TRUE(error.contains("d.DSC")) << error.toStdString();
    EXPECT_EQ(Read("d.DTA"), "old data");
    ASSERT_TRUE(QDir(Dir.path()).mkdir("e.DSC"));
    EXPECT_FALSE(Export("e.DSC", nullptr, &error));
    EXPECT_FALSE(QFile::exists(Path("e.DTA")));

    // A file size limit: the data file fails, the previous pair stays.
    (*Store)[0] = TPointSlot{};
    ASSERT_TRUE(Export("p.DSC"));
    const QByteArray dsc = Read("p.DSC");
    const QByteArray dta = Read("p.DTA");
    PutLine(0, 65519, 1);
    const bool written = UnderFileSizeLimit(4096, [&] { return Export("p.DSC", nullptr, &error); });
    EXPECT_FALSE(written);
    EXPECT_TRUE(error.contains("p.DTA")) << error.toStdString();
    EXPECT_EQ(Read("p.DSC"), dsc);
    EXPECT_EQ(Read("p.DTA"), dta);
}
