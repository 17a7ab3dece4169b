// The processing actions, the texts of their results, the resonance values,
// and kavtool process, which runs the same actions on a file.
#include "config/settings_store.h"
#include "kavtool_run.h"
#include "processing/processing_actions.h"
#include "processing/resonance.h"
#include "processing/result_texts.h"
#include "qstring_printer.h"
#include "spectrum/parameter_block.h"
#include "spectrum/spectrum_file.h"
#include "spectrum_builder.h"
#include "temp_files.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <gtest/gtest.h>
#include <limits>

namespace {

// Records what the actions ask of the window; keeps ABackUp's and AGShow's state.
class TRecorderView : public TProcessingView {
public:
    QStringList Calls;
    bool BackUp = false;
    bool GShow = false;
    void ShowWarning(const QString& text) override { Calls << "warning:" + text; }
    void ShowInformation(const QString& text) override { Calls << "info:" + text; }
    void Repaint() override { Calls << "repaint"; }
    void SetBackUpEnabled(bool enabled) override {
        BackUp = enabled;
        Calls << QString("backup:%1").arg(enabled);
    }
    bool IsBackUpEnabled() const override { return BackUp; }
    void SetGFactorShown(bool shown) override {
        GShow = shown;
        Calls << QString("gshow:%1").arg(shown);
    }
    bool IsGFactorShown() const override { return GShow; }
};

TKavCfg DefaultFieldCfg() {
    TKavCfg cfg{};
    SetDefaults(cfg, QString()); // sweep unit 3: 3000 Э at code 0, 3300 Э at 65519
    return cfg;
}

class ProcessingActions : public ::testing::Test {
protected:
    ProcessingActions() {
        PutPoints(*Store, 1000, TwoLines);       // visirs at the ends
        Store->at(65535) = TPointSlot{3, 65534}; // a parameter record
        Cfg.LPFConst = 2;
        Cfg.GlissConst = 1;
        Cfg.FindMaxNoise = 20;
        Cfg.FindMaxStep = 4;
        Cfg.Visir1 = Cfg.Visir2 = true;
        Cfg.VisKoord1 = 1031;
        Cfg.VisKoord2 = 1000;
    }

    // Results as a finished extremum search and peak ratio leave them.
    void SearchEverything() {
        Actions.AMinMaxExecute();
        Actions.ADivisionExecute();
        View.Calls.clear();
    }

    std::unique_ptr<TPointTable> Store = EmptyStore();
    std::unique_ptr<TPointTable> Undo = EmptyStore();
    TKavCfg Cfg = DefaultFieldCfg();
    TSpectrumResults Results;
    TRecorderView View;
    TProcessingActions Actions{*Store, *Undo, Cfg, Results, View, QChar(',')};
};

} // namespace

TEST_F(ProcessingActions, VisirActionsRefuseWithTheirWarning) {
    SearchEverything();
    Results.Area = 5;
    const TPointTable store = *Store;
    const TPointTable undo = *Undo;
    const TSpectrumResults results = Results;
    for (int off = 0; off < 2; ++off) {
        Cfg.Visir1 = off == 1;
        Cfg.Visir2 = off == 0;
        View.Calls.clear();
        Actions.AEqualizeExecute();
        Actions.AIntegrExecute();
        Actions.AMinMaxExecute();
        Actions.ADivisionExecute();
        EXPECT_EQ(View.Calls, QStringList({"warning:" + TProcessingActions::EqualizeVisirWarning,
                                           "warning:" + TProcessingActions::IntegrVisirWarning,
                                           "warning:" + TProcessingActions::MinMaxVisirWarning,
                                           "warning:" + TProcessingActions::DivisionVisirWarning}));
    }
    EXPECT_EQ(*Store, store);
    EXPECT_EQ(*Undo, undo);
    EXPECT_EQ(Results.Area, results.Area);
    EXPECT_EQ(Results.MaxCount, results.MaxCount);
    EXPECT_EQ(Results.TibaAmp, results.TibaAmp);
    EXPECT_FALSE(View.BackUp);
}

// What each operation leaves of a finished search's results, whether it keeps
// an undo copy; smoothing clears the counts but not the lists behind them.
TEST_F(ProcessingActions, EachOperationClearsItsShareOfTheResults) {
    SearchEverything();
    EXPECT_EQ(Results.MaxPositions[0], 1019);
    EXPECT_EQ(Results.MinPositions[0], 1023);
    EXPECT_EQ(Results.PairAmplitudes[0], 240);
    EXPECT_EQ(Results.PairAmplitudes[1], 500);
    EXPECT_EQ(Results.TibaAmp, 500);
    EXPECT_EQ(Results.TitanAmp, 240);
    using TRun = void (TProcessingActions::*)();
    const struct {
        const char* Name;
        TRun Run;
        bool Area, Marks, Pairs, Ratio, Undo;
    } cases[] = {
        {"filter", &TProcessingActions::AFilterExecute, true, true, true, true, true},
        {"smoothing", &TProcessingActions::AGlissExecute, false, false, false, false, true},
        {"equalize", &TProcessingActions::AEqualizeExecute, false, true, true, true, true},
        {"integral", &TProcessingActions::AIntegrExecute, true, false, true, true, true},
        {"extrema", &TProcessingActions::AMinMaxExecute, false, true, true, true, false},
        {"ratio", &TProcessingActions::ADivisionExecute, false, true, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        PutPoints(*Store, 1000, TwoLines);
        ClearPoints(*Undo);
        View.BackUp = false;
        SearchEverything();
        Results.Area = 5;
        const auto amplitudes = Results.PairAmplitudes;
        const TPointTable before = *Store;
        (Actions.*c.Run)();
        EXPECT_EQ(Results.Area >= 0, c.Area);
        EXPECT_EQ(Results.MaxCount + Results.MinCount > 0, c.Marks);
        EXPECT_EQ(Results.PairCount > 0, c.Pairs);
        EXPECT_EQ(Results.TibaAmp > 0, c.Ratio);
        EXPECT_EQ(Results.PairAmplitudes, amplitudes);
        EXPECT_EQ(*Undo, c.Undo ? before : *EmptyStore());
        EXPECT_EQ(View.BackUp, c.Undo);
        EXPECT_EQ(View.Calls,
                  c.Undo ? QStringList({"repaint", "backup:1"}) : QStringList{"repaint"});
    }
}

TEST_F(ProcessingActions, BackUpRestoresTheLastCopyExactlyOnce) {
    Actions.AFilterExecute();
    const TPointTable afterFirst = *Store;
    Actions.AFilterExecute();
    ASSERT_NE(*Store, afterFirst);
    SearchEverything();
    Results.Area = 5;
    Cfg.ResonatorFreq = 9254147;
    Actions.AGShowExecute();
    ASSERT_TRUE(View.GShow);
    const int pairs = Results.PairCount;
    const int tiba = Results.TibaAmp;
    ASSERT_GT(pairs, 0);
    ASSERT_GT(tiba, 0);
    View.Calls.clear();

    Actions.ABackUpExecute();
    EXPECT_EQ(*Store, afterFirst);
    EXPECT_EQ(View.Calls, QStringList({"gshow:0", "backup:0", "repaint"}));
    EXPECT_EQ(Cfg.ResonatorFreq, 0);
    EXPECT_FALSE(View.GShow);
    EXPECT_EQ(Results.Area, -1);
    EXPECT_EQ(Results.MaxCount + Results.MinCount, 0);
    EXPECT_EQ(Results.PairCount, pairs);
    EXPECT_EQ(Results.TibaAmp, tiba);

    // Disabled now: a second undo changes nothing.
    Store->at(1000).Y = 1;
    View.Calls.clear();
    Actions.ABackUpExecute();
    EXPECT_EQ(Store->at(1000).Y, 1);
    EXPECT_TRUE(View.Calls.isEmpty());
}

TEST_F(ProcessingActions, DpphFrequencyFromVisirOneEvenWhenHidden) {
    Cfg.Visir1 = false;
    Cfg.VisKoord1 = 65519;
    Actions.ACalcFrecDFPGExecute();
    EXPECT_EQ(Cfg.ResonatorFreq, 9254147);
    ASSERT_EQ(View.Calls.size(), 3);
    EXPECT_EQ(View.Calls[0],
              QStringLiteral("warning:Первый визир должен находится в середине пика ДФПГ!"));
    EXPECT_EQ(View.Calls[1],
              QStringLiteral("info:Расчетное значение частоты резонатора f=9254,1МГц"));
    EXPECT_EQ(View.Calls[2], "repaint");
}

TEST_F(ProcessingActions, GShowNeedsAFrequencyToTurnOn) {
    Actions.AGShowExecute();
    EXPECT_FALSE(View.GShow);
    EXPECT_EQ(View.Calls,
              QStringList({QStringLiteral("warning:Частота резонатора не известна! Необходимо "
                                          "произвести подсчет.")}));
    Cfg.VisKoord1 = 65519;
    Actions.ACalcFrecDFPGExecute();
    View.Calls.clear();
    Actions.AGShowExecute();
    EXPECT_TRUE(View.GShow);
    Cfg.ResonatorFreq = 0; // turning off always works
    Actions.AGShowExecute();
    EXPECT_FALSE(View.GShow);
    EXPECT_EQ(View.Calls, QStringList({"gshow:1", "repaint", "gshow:0", "repaint"}));

    // The check belongs to the window: unchecked elsewhere (a file opened),
    // the next click checks it again once a frequency is known.
    Cfg.ResonatorFreq = 9254147;
    Actions.AGShowExecute();
    View.GShow = false;
    Actions.AGShowExecute();
    EXPECT_TRUE(View.GShow);
}

TEST_F(ProcessingActions, AfterSweepRunsTheSwitchedOperationsInOrder) {
    Cfg.AutoGliss = true;
    Cfg.AutoMinMax = true;
    Cfg.AutoTibaTitan = true;
    Cfg.GlissConst = 0; // leaves the lines as they are
    Actions.RunAfterSweep();
    EXPECT_EQ(View.Calls, QStringList({"repaint", "backup:1", "repaint", "repaint"}));
    EXPECT_EQ(Results.PairCount, 2);
    EXPECT_EQ(Results.TibaAmp, 500);

    // A visir off: the extremum warning after every sweep.
    Cfg.AutoGliss = false;
    Cfg.AutoTibaTitan = false;
    Cfg.Visir2 = false;
    View.Calls.clear();
    Actions.RunAfterSweep();
    Actions.RunAfterSweep();
    EXPECT_EQ(View.Calls, QStringList({"warning:" + TProcessingActions::MinMaxVisirWarning,
                                       "warning:" + TProcessingActions::MinMaxVisirWarning}));
}

TEST_F(ProcessingActions, NewSpectrumAndNewSweepReset) {
    Actions.AFilterExecute();
    SearchEverything();
    Results.Area = 5;
    Cfg.ResonatorFreq = 1;
    Actions.ResetForNewSweep();
    EXPECT_TRUE(View.BackUp);
    EXPECT_EQ(Cfg.ResonatorFreq, 0);
    EXPECT_EQ(Results.Area, -1);
    EXPECT_EQ(Results.MaxCount + Results.MinCount + Results.PairCount + Results.TibaAmp, 0);
    Actions.ResetForNewSpectrum();
    EXPECT_FALSE(View.BackUp);
    EXPECT_EQ(View.Calls, QStringList({"gshow:0", "gshow:0", "backup:0"}));
}

TEST(ResultTexts, LabelsAmplitudesAreaAndPeakRatioFollowTheGain) {
    TKavCfg cfg = DefaultFieldCfg();
    const TValueFormat format(cfg, QChar(','));
    EXPECT_EQ(ExtremumLabel(format, 2170), "122");
    EXPECT_EQ(ExtremumLabel(format, 1800), "-248");
    EXPECT_EQ(PairAmplitudeText(format, 240), "A=240");
    EXPECT_TRUE(AreaText(format, -1).isEmpty()); // hidden when negative, shown from zero
    EXPECT_EQ(AreaText(format, 0), "S=" + format.AreaToStr(0));
    TSpectrumResults r;
    r.TibaAmp = 500;
    r.TitanAmp = 240;
    EXPECT_EQ(PeakRatioText(format, r), "Tiba/Titan=500/240=2,08");
    cfg.Amplifying = 1; // amplitudes halve, the quotient stays
    EXPECT_EQ(PairAmplitudeText(format, 240), "A=120");
    EXPECT_EQ(PeakRatioText(format, r), "Tiba/Titan=250/120=2,08");

    double ratio = -1;
    r.TitanAmp = 0; // a rightmost line of no height: no quotient
    EXPECT_FALSE(PeakRatio(r, ratio));
    EXPECT_TRUE(PeakRatioText(format, r).isEmpty());
    r.TitanAmp = 240;
    r.TibaAmp = 0; // fewer than two lines
    EXPECT_TRUE(PeakRatioText(format, r).isEmpty());
    EXPECT_EQ(ratio, -1);
}

TEST(Resonance, DpphFrequencyAndGFactorOfTheTopCode) {
    TKavCfg cfg = DefaultFieldCfg();
    EXPECT_DOUBLE_EQ(AbsoluteField(cfg, 65519), 3300.0);
    EXPECT_EQ(DpphResonatorFrequency(cfg, 65519), 9254147);
    cfg.ResonatorFreq = DpphResonatorFrequency(cfg, 65519);
    EXPECT_EQ(FrequencyText(cfg, QChar('.')), QStringLiteral("f=9254.1МГц"));
    EXPECT_EQ(FrequencyText(cfg, QChar(',')), QStringLiteral("f=9254,1МГц"));

    double g = 0;
    ASSERT_TRUE(GFactorAt(cfg, 65519, g));
    EXPECT_NEAR(g, 2.0035999, 1e-7);
    EXPECT_LT(g, 2.0036);
    EXPECT_EQ(GFactorText(cfg, 65519, QChar('.')), QStringLiteral("g=2.0036"));
    // Lower field, higher g: 3000 Э gives 9254147 / (1399.6242 * 3000).
    EXPECT_EQ(GFactorText(cfg, 0, QChar(',')), QStringLiteral("g=2,204"));

    // A wild calibration: the frequency is limited.
    cfg.RazvUnits[3].KoeffK = 1e9;
    EXPECT_EQ(DpphResonatorFrequency(cfg, 65519), std::numeric_limits<std::int32_t>::max());
    cfg.RazvUnits[3].KoeffK = -1e9;
    EXPECT_EQ(DpphResonatorFrequency(cfg, 65519), std::numeric_limits<std::int32_t>::min());
}

TEST(Resonance, NoFrequencyGivesGZeroAndZeroFieldNoGFactor) {
    TKavCfg cfg = DefaultFieldCfg();
    cfg.RazvUnits[3].KoeffB = 0; // a calibration through zero field at code 0
    double g = 1;
    EXPECT_EQ(GFactorText(cfg, 100, QChar('.')), QStringLiteral("g=0")); // no frequency
    EXPECT_EQ(FrequencyText(cfg, QChar('.')), QStringLiteral("f=0МГц"));
    cfg.ResonatorFreq = 9254147;
    EXPECT_FALSE(GFactorAt(cfg, 0, g));
    EXPECT_EQ(g, 1);
    EXPECT_TRUE(GFactorText(cfg, 0, QChar('.')).isEmpty());
    EXPECT_FALSE(GFactorText(cfg, 1, QChar('.')).isEmpty());
}

// ---- kavtool process

namespace {

using TRun = TKavtoolRun;

class KavtoolProcess : public ::testing::Test, protected TTempFiles {
protected:
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
        TKavCfg cfg = DefaultFieldCfg();
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

// A missing visir is an error with the window's warning; bad usage exits 2.
TEST_F(KavtoolProcess, RefusalsPrintNothing) {
    const QString in = TwoLineFile();
    const struct {
        QStringList Args;
        int Exit;
        QString Needle;
    } cases[] = {
        {{in, "filter", "10", "equalize"},
         1,
         "Границы выравнивания спектра необходимо задать с помощью двух визиров!"},
        {{in, "sharpen"}, 2, ""},
        {{in, "filter"}, 2, ""},
        {{in, "minmax", "20"}, 2, ""},
        {{in, "--gain", "8", "dpph"}, 2, ""},
        {{in}, 2, ""},
        {{Path("missing.kav"), "dpph"}, 1, "missing.kav"},
    };
    for (const auto& c : cases) {
        const TRun r = Run(QStringList{"process"} + c.Args);
        EXPECT_EQ(r.Exit, c.Exit) << c.Args.join(' ').toStdString();
        EXPECT_TRUE(r.Err.contains(c.Needle)) << r.Err.toStdString();
        EXPECT_TRUE(r.Out.isEmpty()) << r.Out.toStdString();
    }
}
