#include "exchange/text_spectrum.h"

#include "exchange/spectrum_import.h"
#include "exchange_fixture.h"

#include <QLocale>
#include <clocale>

namespace {

using TextSpectrum = TExchangeFixture;

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

TEST_F(TextSpectrum, SeparatorsCommentsHeaderAndDecimalCommasAreRead) {
    const struct {
        const char* Name;
        QByteArray Text;
    } cases[] = {
        {"comma.csv", "\xEF\xBB\xBF"
                      "field [G],amplitude [V]\r\n3000,-0.5\r\n3001.5,2e-3\r\n"},
        {"semicolon.csv", "# from a spreadsheet\nПоле;Амплитуда\n3000;-0,5\n3001,5;0,002\n"},
        {"tab.txt", "3000\t-0.5\n\n# comment\n3001.5\t0.002\n"},
        {"blank.txt", "  3000   -0.5\n3001.5 2E-3  \n"},
        {"blankcomma.txt", "3000 -0,5\n3001,5 0,002\n"},
    };
    for (const auto& c : cases) {
        Write(c.Name, c.Text);
        TExchangeSpectrum s;
        QString error;
        ASSERT_TRUE(ReadTextSpectrum(Path(c.Name), s, &error)) << c.Name << error.toStdString();
        EXPECT_EQ(s.Field, (std::vector<double>{3000, 3001.5})) << c.Name;
        EXPECT_EQ(s.Amplitude, (std::vector<double>{-0.5, 0.002})) << c.Name;
    }
}

TEST_F(TextSpectrum, ALineThatIsNotTwoNumbersIsAnErrorWithItsNumber) {
    const struct {
        const char* Name;
        QByteArray Text;
        const char* Needle;
    } cases[] = {
        {"three.csv", "1,2\n3,4,5\n", "строка 2"},
        {"word.csv", "field,ampl\n1,2\nthree,4\n", "строка 3"},
        {"secondheader.csv", "# x\nfield,ampl\nunits,more\n1,2\n", "строка 3"},
        {"inf.txt", "1 2\n3 inf\n", "строка 2"},
        {"empty.csv", "# nothing\nfield,amplitude\n", "нет ни одной точки"},
    };
    for (const auto& c : cases) {
        Write(c.Name, c.Text);
        TExchangeSpectrum s;
        s.Title = "kept";
        QString error;
        EXPECT_FALSE(ReadTextSpectrum(Path(c.Name), s, &error)) << c.Name;
        EXPECT_TRUE(error.contains(Path(c.Name))) << error.toStdString();
        EXPECT_TRUE(error.contains(c.Needle)) << error.toStdString();
        EXPECT_FALSE(error.contains('\n'));
        EXPECT_EQ(s.Title, "kept");
    }
}

TEST_F(TextSpectrum, ImportCountsWhatItDropsHoldsAndOverwrites) {
    // Default calibration: 3000 .. 3300 Э over codes 0 .. 65519; raw codes.
    const TExchangeSpectrum s = Spectrum({2999, 3000, 3150, 3150.0001, 3300, 3301, 330},
                                         {0, 2047, 3000, -3000, -12.4, 0, 5}, "mT");
    TPointTable table;
    QStringList notes;
    TImportCounts counts;
    ASSERT_TRUE(PlaceImportedSpectrum(s, Cfg, 0, "f.csv", table, notes, nullptr, &counts));
    // 330 mT is 3300 G; 2999..3301 mT fall far outside.
    EXPECT_EQ(counts.Outside, 6);
    EXPECT_EQ(counts.Clipped, 0);
    EXPECT_EQ(counts.Shared, 0);
    EXPECT_EQ(table[65519], (TPointSlot{65519, 2053}));
    EXPECT_EQ(notes.size(), 1);

    const TExchangeSpectrum g =
        Spectrum({3000, 3100, 3100.0001, 3300}, {1, 3000, -3000, -12.4}, "G");
    notes.clear();
    ASSERT_TRUE(PlaceImportedSpectrum(g, Cfg, 0, "g.csv", table, notes, nullptr, &counts));
    EXPECT_EQ(counts.Outside, 0);
    EXPECT_EQ(counts.Clipped, 2);
    EXPECT_EQ(counts.Shared, 1);
    EXPECT_EQ(table[0], (TPointSlot{0, 2049}));
    EXPECT_EQ(table[21840], (TPointSlot{21840, 0}));    // the later point, held at 0
    EXPECT_EQ(table[65519], (TPointSlot{65519, 2036})); // -12.4 rounds to -12
    EXPECT_EQ(notes.size(), 2);
    for (const QString& note : notes)
        EXPECT_TRUE(note.contains("g.csv")) << note.toStdString();

    // A unit that is not a field unit is taken as it stands, with a note.
    notes.clear();
    ASSERT_TRUE(PlaceImportedSpectrum(Spectrum({3100}, {0}, "MHz"), Cfg, 0, "h.DSC", table, notes,
                                      nullptr));
    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes[0].contains("MHz"));

    // Nothing on the calibration's codes: an error, the table untouched.
    const TPointTable before = table;
    QString error;
    EXPECT_FALSE(
        PlaceImportedSpectrum(Spectrum({1, 2}, {0, 0}), Cfg, 0, "far.csv", table, notes, &error));
    EXPECT_TRUE(error.contains("far.csv")) << error.toStdString();
    EXPECT_EQ(table, before);
}
