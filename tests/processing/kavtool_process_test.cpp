#include "config/settings_store.h"
#include "kavtool_run.h"
#include "spectrum/parameter_block.h"
#include "spectrum/spectrum_file.h"
#include "spectrum_builder.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using TRun = TKavtoolRun;

class KavtoolProcess : public ::testing::Test {
protected:
    QTemporaryDir Dir;

    QString Path(const QString& name) const { return Dir.filePath(name); }

    TRun Run(const QStringList& args) const { return RunKavtool(args, {Dir.path()}); }

    QJsonObject RunJson(QStringList args) const {
        args.prepend("process");
        args << "--json";
        const TRun r = Run(args);
        EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(r.Out.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << r.Out.toStdString();
        return doc.object();
    }

    // A spectrum saved as the program saves it, with the default settings'
    // parameter block (gain row 0, field 3000..3300 Э).
    QString WriteSpectrum(const QString& name, const TPointTable& store) const {
        TKavCfg cfg{};
        SetDefaults(cfg, Dir.path());
        TPointTable copy = store;
        WriteParameterBlock(copy, cfg, TInstrumentReadings{7, 8, 0, 1, -1});
        EXPECT_TRUE(SaveSpectrumFile(Path(name), copy));
        return Path(name);
    }

    QString TwoLineFile() const {
        auto store = EmptyStore();
        PutPoints(*store, 1000, TwoLines);
        return WriteSpectrum("lines.kav", *store);
    }
};

std::vector<int> Slots(const QJsonArray& list, const char* key) {
    std::vector<int> out;
    for (const QJsonValue& v : list)
        out.push_back(v.toObject()[key].toInt());
    return out;
}

} // namespace

TEST_F(KavtoolProcess, ExtremaPairsAndPeakRatioAsJson) {
    const QJsonObject j = RunJson(
        {TwoLineFile(), "--visirs", "1031", "1000", "minmax", "20", "4", "ratio", "20", "4"});
    EXPECT_EQ(Slots(j["maxima"].toArray(), "slot"), (std::vector<int>{1019, 1006}));
    EXPECT_EQ(Slots(j["minima"].toArray(), "slot"), (std::vector<int>{1023, 1010}));
    EXPECT_EQ(j["maxima"].toArray()[0].toObject()["ordinate"].toInt(), 2170);
    EXPECT_EQ(j["maxima"].toArray()[0].toObject()["text"].toString(), "122");
    EXPECT_EQ(Slots(j["pairs"].toArray(), "amplitude"), (std::vector<int>{240, 500}));
    EXPECT_EQ(j["pairs"].toArray()[1].toObject()["text"].toString(), "A=500");
    const QJsonObject ratio = j["peakRatio"].toObject();
    EXPECT_EQ(ratio["tiba"].toInt(), 500);
    EXPECT_EQ(ratio["titan"].toInt(), 240);
    EXPECT_NEAR(ratio["ratio"].toDouble(), 500.0 / 240.0, 1e-12);
    EXPECT_EQ(ratio["text"].toString(), "Tiba/Titan=500/240=2.08");
    EXPECT_TRUE(j["area"].isNull());
    EXPECT_TRUE(j["frequency"].isNull());
}

TEST_F(KavtoolProcess, IntegralWrittenWithItsParameterRecords) {
    auto store = EmptyStore();
    PutPoints(*store, 10, {1, 3});
    const QString in = WriteSpectrum("two.kav", *store);
    const QString out = Path("out.kav");
    const QJsonObject j = RunJson({in, "--visirs", "10", "11", "integrate", "-o", out});
    EXPECT_DOUBLE_EQ(j["area"].toObject()["value"].toDouble(), 1.0);

    auto back = EmptyStore();
    auto undo = EmptyStore();
    ASSERT_EQ(LoadSpectrumFile(out, *back, *undo), TLoadOutcome::Loaded);
    EXPECT_EQ(back->at(10).Y, 2047);
    EXPECT_EQ(back->at(11).Y, 2048);
    EXPECT_EQ(back->at(ParSerial).X, 7); // kept from the input file
    EXPECT_EQ(back->at(ParGain).X, 0);

    // The gain factor divides the area: row 1 is factor 2.
    const QJsonObject g = RunJson({in, "--visirs", "10", "11", "--gain", "1", "integrate"});
    EXPECT_DOUBLE_EQ(g["area"].toObject()["value"].toDouble(), 0.5);
}

// The line of the README, a point every 50 codes: the search fills the gaps
// first, and the file written afterwards holds every slot from the first
// point to the last at its own field code, nothing at code 0.
TEST_F(KavtoolProcess, GapsFilledBeforeASearchAreSavedWhereTheyAre) {
    auto store = EmptyStore();
    for (int x = 20000; x <= 45000; x += 50) {
        const double d = (x - 32500) / 800.0;
        PutPoints(*store, x, {static_cast<int>(2048 - 1500 * d / ((1 + d * d) * (1 + d * d)))});
    }
    const QString in = WriteSpectrum("line.kav", *store);
    const QString out = Path("out.kav");
    const TRun r =
        Run({"process", in, "--visirs", "21000", "44000", "minmax", "20", "100", "-o", out});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();

    auto back = EmptyStore();
    auto undo = EmptyStore();
    ASSERT_EQ(LoadSpectrumFile(out, *back, *undo), TLoadOutcome::Loaded);
    EXPECT_EQ(MisplacedSlots(*back, 20000, 45000), std::vector<int>{});
    EXPECT_EQ(back->at(0), (TPointSlot{0, EmptyY}));
    EXPECT_EQ(back->at(20049).Y, back->at(20000).Y);
}

TEST_F(KavtoolProcess, DpphFrequencyAndGFactors) {
    auto store = EmptyStore();
    PutPoints(*store, 65519, {2048});
    const QString in = WriteSpectrum("dpph.kav", *store);
    const QJsonObject j = RunJson({in, "--visirs", "65519", "0", "dpph"});
    EXPECT_EQ(j["frequency"].toObject()["kHz"].toInt(), 9254147);
    EXPECT_EQ(j["frequency"].toObject()["text"].toString(), QStringLiteral("f=9254.1МГц"));
    EXPECT_EQ(j["visirs"].toArray()[0].toObject()["gText"].toString(), "g=2.0036");

    const TRun text = Run({"process", in, "--visirs", "65519", "0", "dpph"});
    EXPECT_TRUE(text.Out.contains(QStringLiteral("f=9254.1МГц"))) << text.Out.toStdString();
}

TEST_F(KavtoolProcess, MissingVisirIsAnErrorWithTheWarning) {
    const QString in = TwoLineFile();
    const TRun r = Run({"process", in, "filter", "10", "equalize"});
    EXPECT_EQ(r.Exit, 1);
    EXPECT_TRUE(r.Err.contains(
        QStringLiteral("Границы выравнивания спектра необходимо задать с помощью двух визиров!")))
        << r.Err.toStdString();
    EXPECT_TRUE(r.Out.isEmpty());
}

TEST_F(KavtoolProcess, BadUsage) {
    const QString in = TwoLineFile();
    EXPECT_EQ(Run({"process", in, "sharpen"}).Exit, 2);
    EXPECT_EQ(Run({"process", in, "filter"}).Exit, 2);
    EXPECT_EQ(Run({"process", in, "minmax", "20"}).Exit, 2);
    EXPECT_EQ(Run({"process", in, "--gain", "8", "dpph"}).Exit, 2);
    EXPECT_EQ(Run({"process", in}).Exit, 2);
    EXPECT_EQ(Run({"process", Path("missing.kav"), "dpph"}).Exit, 1);
}
