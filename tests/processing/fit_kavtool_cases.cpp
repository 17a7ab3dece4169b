// kavtool fit and compare as a lab script runs them: what the commands add to
// the core's numbers (units, exit codes, JSON keys, texts), the files left be.

#include "config/settings_store.h"
#include "kavtool_run.h"
#include "qstring_printer.h"
#include "spectrum/parameter_block.h"
#include "spectrum/spectrum_file.h"
#include "synthetic_lines.h"
#include "temp_files.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cmath>

namespace {

class KavtoolFit : public ::testing::Test {
protected:
    TTempFiles Files;

    TKavtoolRun Run(const QStringList& args) const {
        TKavtoolOptions options;
        options.WorkDir = Files.Dir.path();
        options.NoDisplay = true;
        return RunKavtool(args, options);
    }
    static QJsonObject Json(const TKavtoolRun& run) {
        return QJsonDocument::fromJson(run.Out.toUtf8()).object();
    }

    // A spectrum saved with field bounds, a gain row and a sweep count.
    QString Save(const QString& name, TPointTable& store, double low, double high, int gainRow,
                 int sweeps = 1) const {
        TKavCfg cfg{};
        SetDefaults(cfg, Files.Dir.path());
        cfg.RazvUnits[3].X1 = low;
        cfg.RazvUnits[3].X2 = high;
        cfg.Amplifying = static_cast<std::uint8_t>(gainRow);
        TInstrumentReadings readings;
        readings.SumCount = sweeps;
        WriteParameterBlock(store, cfg, readings);
        EXPECT_TRUE(SaveSpectrumFile(Files.Path(name), store));
        return Files.Path(name);
    }

    // One Lorentzian over 3100..3400 Э at gain factor 2.
    QString LineFile() const {
        TSyntheticSpectrum s;
        s.Lines = {{32500.4, 900, 1500}};
        s.First = 26000;
        s.Last = 39000;
        s.Noise = 5;
        return Save("line.kav", *s.Make(11), 3100, 3400, 1);
    }
};

// In the ini file's units with the file's field bounds and gain applied; g at
// the typed frequency; every value within three of its errors.
TEST_F(KavtoolFit, FitPrintsEveryParameterWithItsErrorInTheIniUnits) {
    const QString kav = LineFile();
    Files.Write("Kav.ini", "[Main]\r\nRazvUnit=3\r\nAmpUnit=1\r\nFindMaxNoise=40\r\n"
                           "FindMaxStep=300\r\n[LineFit]\r\nLineCount=1\r\nLineShape=0\r\n");
    const QByteArray before = Files.Read(kav);

    const TKavtoolRun run = Run({"fit", kav, "--ini", "Kav.ini", "--freq", "9400", "--json"});
    ASSERT_EQ(run.Exit, 0) << run.Err.toStdString();
    const QJsonObject json = Json(run);
    EXPECT_EQ(json["shape"].toString(), "lorentz");
    EXPECT_EQ(json["units"].toObject()["field"].toString(), "Э");
    EXPECT_EQ(json["units"].toObject()["amplitude"].toString(), "В");
    EXPECT_EQ(json["points"].toInt(), 1301);
    const QJsonArray lines = json["lines"].toArray();
    ASSERT_EQ(lines.size(), 1);
    const QJsonObject line = lines[0].toObject();
    auto near = [](const QJsonObject& v, double expected) {
        const double value = v["value"].toDouble();
        const double error = v["error"].toDouble();
        EXPECT_GT(error, 0);
        EXPECT_LE(std::fabs(value - expected), 3 * error) << value << " vs " << expected;
    };
    const double field = 3100 + 300 * 32500.4 / 65519;
    near(line["centre"].toObject(), field);
    near(line["width"].toObject(), 900 * 300.0 / 65519);
    near(line["amplitude"].toObject(), 1500 * 10.0 / 2047 / 2);
    near(line["codes"].toObject()["centre"].toObject(), 32500.4);
    near(line["g"].toObject(), 9400000 / (1399.6242 * field));
    EXPECT_TRUE(line["centre"].toObject()["text"].toString().endsWith(" Э"));
    EXPECT_EQ(json["frequencyMHz"].toDouble(), 9400);
    EXPECT_GT(json["rSquared"].toDouble(), 0.999);
    EXPECT_EQ(Files.Read(kav), before);

    // The same as text: the range, then the lines the plot would show.
    const TKavtoolRun text = Run({"fit", kav, "--ini", "Kav.ini"});
    ASSERT_EQ(text.Exit, 0) << text.Err.toStdString();
    const QStringList out = text.Out.trimmed().split('\n');
    ASSERT_EQ(out.size(), 4) << text.Out.toStdString();
    EXPECT_EQ(out[0], "file: " + kav);
    EXPECT_TRUE(out[1].startsWith("range: 3219.05 Э .. 3278.57 Э, 1301 points; Лоренц, lines: 1"))
        << out[1].toStdString();
    EXPECT_TRUE(out[2].startsWith("B0=3248.") && out[2].contains(" Э ± ")) << out[2].toStdString();
    EXPECT_TRUE(out[3].startsWith("СКО остатка=")) << out[3].toStdString();
}

// The free text in the ini file's Language or --lang's, the command line over
// the file; JSON keys stay as they are. A bad --lang is a usage error.
TEST_F(KavtoolFit, LanguageFromTheIniOrTheCommandLine) {
    const QString kav = LineFile();
    const QByteArray section = "[LineFit]\r\nLineCount=1\r\nLineShape=0\r\n";
    Files.Write("ru.ini", "[Main]\r\nFindMaxNoise=40\r\nFindMaxStep=300\r\n" + section);
    Files.Write("en.ini",
                "[Main]\r\nLanguage=en\r\nFindMaxNoise=40\r\nFindMaxStep=300\r\n" + section);
    const struct {
        QStringList Before, After;
        const char* Ini;
        bool English;
    } cases[] = {
        {{}, {}, "ru.ini", false},
        {{}, {"--lang", "en"}, "ru.ini", true},
        {{"--lang", "en"}, {}, "ru.ini", true},
        {{}, {}, "en.ini", true},
        {{}, {"--lang", "ru"}, "en.ini", false},
    };
    static const QRegularExpression cyrillic(QStringLiteral("[А-Яа-яЁё]"));
    for (const auto& c : cases) {
        const QStringList args =
            c.Before + QStringList{"fit", kav, "--ini", c.Ini, "--json"} + c.After;
        SCOPED_TRACE(args.join(' ').toStdString());
        const TKavtoolRun run = Run(args);
        ASSERT_EQ(run.Exit, 0) << run.Err.toStdString();
        const QJsonObject json = Json(run);
        EXPECT_EQ(json["shape"].toString(), "lorentz");
        QStringList text;
        for (const QJsonValue& line : json["text"].toArray())
            text << line.toString();
        const QString all = text.join('\n');
        if (c.English) {
            EXPECT_TRUE(all.contains("Residual RMS=")) << all.toStdString();
            EXPECT_FALSE(all.contains(cyrillic)) << all.toStdString();
        } else {
            EXPECT_TRUE(all.contains(QStringLiteral("СКО остатка="))) << all.toStdString();
        }
    }
    const TKavtoolRun bad = Run({"fit", kav, "--lang", "de"});
    EXPECT_EQ(bad.Exit, 2);
    EXPECT_TRUE(bad.Err.contains("--lang")) << bad.Err.toStdString();
}

// The ini file's section chooses lines and shape, the command line overrides.
TEST_F(KavtoolFit, SettingsAndVisirsChooseTheFit) {
    TSyntheticSpectrum s;
    s.Shape = TLineShape::Gauss;
    s.Lines = {{30000, 900, 1400}, {34000, 700, 800}};
    s.First = 26000;
    s.Last = 39000;
    s.Noise = 3;
    auto store = s.Make(5);
    const QString kav = Save("two.kav", *store, 3000, 3300, 0);
    Files.Write("Kav.ini", "[Main]\r\nFindMaxNoise=40\r\nFindMaxStep=300\r\n"
                           "[LineFit]\r\nLineCount=2\r\nLineShape=1\r\n");
    const QJsonObject two = Json(Run({"fit", kav, "--ini", "Kav.ini", "--json"}));
    EXPECT_EQ(two["shape"].toString(), "gauss");
    ASSERT_EQ(two["lines"].toArray().size(), 2);
    EXPECT_NEAR(two["lines"][1]["centre"]["value"].toDouble(), 34000, 1);

    const QJsonObject one = Json(Run({"fit", kav, "--ini", "Kav.ini", "--visirs", "32000", "38000",
                                      "--lines", "1", "--shape", "voigt", "--json"}));
    EXPECT_EQ(one["shape"].toString(), "voigt");
    ASSERT_EQ(one["lines"].toArray().size(), 1);
    EXPECT_NEAR(one["lines"][0]["centre"]["value"].toDouble(), 34000, 1);
    EXPECT_NEAR(one["lines"][0]["mix"]["value"].toDouble(), 0, 0.1);
    EXPECT_EQ(one["range"]["first"].toInt(), 32000);
}

TEST_F(KavtoolFit, RefusalsAreOneLineAndLeaveTheFile) {
    auto flat = std::make_unique<TPointTable>();
    ClearPoints(*flat);
    for (int k = 1000; k < 3000; k += 4)
        (*flat)[k] = TPointSlot{static_cast<std::uint16_t>(k), 2100};
    const QString kav = Save("flat.kav", *flat, 3000, 3300, 0);
    const QByteArray before = Files.Read(kav);
    const TKavtoolRun refused = Run({"fit", kav});
    EXPECT_EQ(refused.Exit, 1);
    EXPECT_EQ(refused.Err, "kavtool: Аппроксимация невозможна: спектр в диапазоне не меняется\n");
    EXPECT_TRUE(refused.Out.isEmpty());
    EXPECT_EQ(Files.Read(kav), before);

    // Two evaluations: not converged, one line, the file as it was.
    const QString lineKav = LineFile();
    const QByteArray lineBefore = Files.Read(lineKav);
    const TKavtoolRun stopped = Run({"fit", lineKav, "--max-evaluations", "2", "--json"});
    EXPECT_EQ(stopped.Exit, 1);
    EXPECT_EQ(stopped.Err, "kavtool: Аппроксимация не сошлась (итераций: 1)\n");
    EXPECT_TRUE(stopped.Out.isEmpty());
    EXPECT_EQ(Files.Read(lineKav), lineBefore);
    EXPECT_EQ(Run({"fit", lineKav, "--max-evaluations", "400"}).Exit, 0);

    const QStringList usage[] = {
        {"fit", kav, "--lines", "5"},
        {"fit", kav, "--shape", "square"},
        {"fit", kav, "--freq", "-3"},
        {"fit", kav, "--max-evaluations", "0"},
        {"fit", kav, "--visirs", "1"},
        {"fit"},
        {"fit", kav, kav},
        {"compare", kav},
        {"compare", kav, kav, "--normalize", "area"},
        {"compare", kav, kav, "--ref-spins", "0"},
    };
    for (const QStringList& args : usage) {
        const TKavtoolRun r = Run(args);
        EXPECT_EQ(r.Exit, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.Err.contains("usage: kavtool " + args[0])) << r.Err.toStdString();
    }
    EXPECT_EQ(Run({"fit", Files.Path("absent.kav")}).Exit, 1);
}

// The core's numbers come back through the files' records and the JSON keys.
TEST_F(KavtoolFit, CompareGivesScaleShiftAndSpins) {
    auto sample = Recorded(Axis(3050, 3350), 3120, 3280, 10,
                           [](double h) { return 0.37 * Standard(h - 1.5); });
    auto reference = Recorded(Axis(3000, 3400), 3100, 3300, 8, Standard);
    const QString s = Save("sample.kav", *sample, 3050, 3350, 0, 9);
    const QString r = Save("standard.kav", *reference, 3000, 3400, 0);
    const QByteArray before = Files.Read(s) + Files.Read(r);

    const TKavtoolRun run =
        Run({"compare", s, r, "--normalize", "pp", "--shift", "--ref-spins", "2e17", "--json"});
    ASSERT_EQ(run.Exit, 0) << run.Err.toStdString();
    const QJsonObject json = Json(run);
    EXPECT_EQ(json["normalization"].toString(), "pp");
    EXPECT_NEAR(json["scale"].toDouble(), 0.37, 0.002);
    EXPECT_NEAR(json["shift"]["absoluteField"].toDouble(), 1.5, 0.005);
    EXPECT_NEAR(json["integralRatio"].toDouble(), 0.37, 0.003);
    EXPECT_NEAR(json["sampleSpins"].toDouble(), json["integralRatio"].toDouble() * 2e17, 1e3);
    EXPECT_EQ(json["sweeps"]["sample"].toInt(), 9);
    EXPECT_EQ(Files.Read(s) + Files.Read(r), before);

    const TKavtoolRun text = Run({"compare", s, r, "--normalize", "integral"});
    ASSERT_EQ(text.Exit, 0) << text.Err.toStdString();
    const QStringList out = text.Out.trimmed().split('\n');
    ASSERT_GE(out.size(), 5) << text.Out.toStdString();
    EXPECT_EQ(out[3], "Нормировка=по двойному интегралу");
    ASSERT_TRUE(out[4].startsWith("Масштаб=")) << out[4].toStdString();
    EXPECT_NEAR(out[4].mid(8).toDouble(), 0.37, 0.003);

    // A reference swept where the sample has no field says so.
    auto far = Recorded(Axis(3400, 3500), 3410, 3490, 8, Standard);
    const QString f = Save("far.kav", *far, 3400, 3500, 0);
    const TKavtoolRun apart = Run({"compare", s, f});
    EXPECT_EQ(apart.Exit, 1);
    EXPECT_EQ(apart.Err, "kavtool: Спектр сравнения не перекрывается с текущим по полю\n");

    // The reference as another program's columns: read as the import reads
    // it, placed by its field, the same numbers come back.
    const QString csv = Files.Path("standard.csv");
    const TKavtoolRun exported = Run({"export", r, "-o", csv});
    ASSERT_EQ(exported.Exit, 0) << exported.Err.toStdString();
    const TKavtoolRun columns = Run({"compare", s, csv, "--normalize", "pp", "--shift", "--json"});
    ASSERT_EQ(columns.Exit, 0) << columns.Err.toStdString();
    const QJsonObject fromColumns = Json(columns);
    EXPECT_NEAR(fromColumns["scale"].toDouble(), 0.37, 0.004);
    EXPECT_NEAR(fromColumns["shift"]["absoluteField"].toDouble(), 1.5, 0.02);

    // A damaged descriptor is refused in one line, naming the file.
    Files.Write("other.DSC", "#DESC\n");
    const TKavtoolRun dsc = Run({"compare", s, Files.Path("other.DSC")});
    EXPECT_EQ(dsc.Exit, 1);
    EXPECT_TRUE(dsc.Err.contains("other.DSC")) << dsc.Err.toStdString();
    EXPECT_EQ(dsc.Err.count('\n'), 1) << dsc.Err.toStdString();
}

} // namespace
