// kavtool compare with --ini: what the command line does not give comes
// from the settings' section "Compare", the dialog's last choice; what it
// gives wins.

#include "config/settings_store.h"
#include "kavtool_run.h"
#include "processing/synthetic_lines.h"
#include "qstring_printer.h"
#include "spectrum/parameter_block.h"
#include "spectrum/spectrum_file.h"
#include "temp_files.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

class KavtoolCompareIni : public ::testing::Test {
protected:
    KavtoolCompareIni() {
        // The standard, and a copy at 0.37 of its height 1.5 Э higher.
        auto sample = Recorded(Axis(3050, 3350), 3120, 3280, 10,
                               [](double h) { return 0.37 * Standard(h - 1.5); });
        auto reference = Recorded(Axis(3000, 3400), 3100, 3300, 8, Standard);
        Save(Sample, *sample, 3050, 3350);
        Save(Reference, *reference, 3000, 3400);
    }

    void Save(const QString& path, TPointTable& store, double low, double high) const {
        TKavCfg cfg{};
        SetDefaults(cfg, Files.Dir.path());
        cfg.RazvUnits[3].X1 = low;
        cfg.RazvUnits[3].X2 = high;
        WriteParameterBlock(store, cfg, TInstrumentReadings{});
        ASSERT_TRUE(SaveSpectrumFile(path, store));
    }

    // The comparison as JSON, with the ini text given (none: no --ini).
    QJsonObject Compare(const QByteArray* ini, const QStringList& extra = {}) const {
        QStringList args{"compare", Sample, Reference, "--json"};
        if (ini) {
            Files.Write(Ini, *ini);
            args << "--ini" << Ini;
        }
        TKavtoolOptions options;
        options.WorkDir = Files.Dir.path();
        options.NoDisplay = true;
        const TKavtoolRun run = RunKavtool(args + extra, options);
        EXPECT_EQ(run.Exit, 0) << args.join(' ').toStdString() << '\n' << run.Err.toStdString();
        return QJsonDocument::fromJson(run.Out.toUtf8()).object();
    }

    TTempFiles Files;
    QString Sample = Files.Path("sample.kav");
    QString Reference = Files.Path("standard.kav");
    QString Ini = Files.Path("Kav.ini");
};

// What one run asked for, read from its JSON.
struct TAsked {
    QString Normalization;
    bool Shifted;
    double SpinsPerRatio; // the sample's spins over the integral ratio: the reference's count
};

TAsked AskedOf(const QJsonObject& json) {
    const double ratio = json["integralRatio"].toDouble();
    return {json["normalization"].toString(), json["shift"]["codes"].toDouble() != 0,
            json["sampleSpins"].isNull() ? 0 : json["sampleSpins"].toDouble() / ratio};
}

TEST_F(KavtoolCompareIni, OptionsNotGivenComeFromTheIniAndTheCommandLineWins) {
    const QByteArray stored = "[Compare]\r\nNormalization=1\r\nFindShift=1\r\nShowDifference=0\r\n"
                              "ReferenceSpins=2E17\r\n";
    const QByteArray bad = "[Compare]\r\nNormalization=9\r\nFindShift=x\r\nReferenceSpins=-3\r\n";
    const QByteArray older = "[Main]\r\nFindMaxNoise=20\r\n";
    const struct {
        const QByteArray* Ini;
        QStringList Extra;
        QString Normalization;
        bool Shifted;
        double Spins;
    } cases[] = {
        {nullptr, {}, "none", false, 0},
        {&older, {}, "none", false, 0},
        {&bad, {}, "none", false, 0},
        {&stored, {}, "pp", true, 2e17},
        {&stored, {"--normalize", "integral"}, "integral", true, 2e17},
        {&stored, {"--no-shift"}, "pp", false, 2e17},
        {&stored, {"--ref-spins", "5e16"}, "pp", true, 5e16},
        {&older,
         {"--shift", "--normalize", "records", "--ref-spins", "1e15"},
         "records",
         true,
         1e15},
    };
    for (const auto& c : cases) {
        const std::string what = (c.Ini ? c.Ini->toStdString() : std::string("no ini")) + ' ' +
                                 c.Extra.join(' ').toStdString();
        const QJsonObject json = Compare(c.Ini, c.Extra);
        const TAsked asked = AskedOf(json);
        EXPECT_EQ(asked.Normalization, c.Normalization) << what;
        EXPECT_EQ(asked.Shifted, c.Shifted) << what;
        EXPECT_NEAR(asked.SpinsPerRatio, c.Spins, c.Spins * 1e-9) << what;
        if (c.Normalization == "pp") {
            EXPECT_NEAR(json["scale"].toDouble(), 0.37, 0.004) << what;
            if (c.Shifted) {
                EXPECT_NEAR(json["shift"]["absoluteField"].toDouble(), 1.5, 0.01) << what;
            }
        }
    }
    // The ini file is only read.
    Files.Write(Ini, stored);
    Compare(&stored);
    EXPECT_EQ(Files.Read(Ini), stored);
}

TEST_F(KavtoolCompareIni, ShiftAndNoShiftTogetherIsAUsageError) {
    TKavtoolOptions options;
    options.WorkDir = Files.Dir.path();
    options.NoDisplay = true;
    const TKavtoolRun run =
        RunKavtool({"compare", Sample, Reference, "--shift", "--no-shift"}, options);
    EXPECT_EQ(run.Exit, 2);
    EXPECT_TRUE(run.Err.contains("--no-shift")) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.contains("usage: kavtool compare")) << run.Err.toStdString();
}

} // namespace
