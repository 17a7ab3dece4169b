#include "processing/processing_actions.h"
#include "spectrum_builder.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

// Records what the actions asked of the window, in order, and keeps the
// state of ABackUp and AGShow as the window's actions would.
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

// Two derivative lines between the visirs at 1000 and 1031 (amplitudes 500
// and 240 with noise 20 and window 4).
const std::initializer_list<int> TwoLines = {
    2048, 2048, 2048, 2048, 2100, 2200, 2300, 2200, 2048, 1900, 1800, 1900, 2048, 2048, 2048, 2048,
    2048, 2070, 2120, 2170, 2120, 2048, 1980, 1930, 1980, 2048, 2048, 2048, 2048, 2048, 2048, 2048};

class ProcessingActions : public ::testing::Test {
protected:
    ProcessingActions() {
        PutPoints(*Store, 1000, TwoLines);
        Store->at(65535) = TPointSlot{3, 65534}; // a parameter record
        Cfg.LPFConst = 2;
        Cfg.GlissConst = 1;
        Cfg.FindMaxNoise = 20;
        Cfg.FindMaxStep = 4;
        Cfg.Visir1 = Cfg.Visir2 = true;
        Cfg.VisKoord1 = 1031;
        Cfg.VisKoord2 = 1000;
        Cfg.RazvUnits[3].KoeffK = 300.0 / 65519.0;
        Cfg.RazvUnits[3].KoeffB = 3000;
    }

    // Results as a finished extremum search and peak ratio leave them.
    void SearchEverything() {
        Actions.AMinMaxExecute();
        Actions.ADivisionExecute();
        View.Calls.clear();
    }

    std::unique_ptr<TPointTable> Store = EmptyStore();
    std::unique_ptr<TPointTable> Undo = EmptyStore();
    TKavCfg Cfg{};
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
    EXPECT_EQ(TProcessingActions::MinMaxVisirWarning,
              QStringLiteral("Для поиска экстремумов нужно задать границы спомощью двух визиров!"));
    EXPECT_EQ(*Store, store);
    EXPECT_EQ(*Undo, undo);
    EXPECT_EQ(Results.Area, results.Area);
    EXPECT_EQ(Results.MaxCount, results.MaxCount);
    EXPECT_EQ(Results.TibaAmp, results.TibaAmp);
    EXPECT_FALSE(View.BackUp);
}

TEST_F(ProcessingActions, FilterKeepsResultsAndEnablesUndo) {
    SearchEverything();
    Results.Area = 5;
    const TPointTable before = *Store;
    Actions.AFilterExecute();
    EXPECT_EQ(*Undo, before);
    EXPECT_NE(*Store, before);
    EXPECT_EQ(View.Calls, QStringList({"repaint", "backup:1"}));
    EXPECT_TRUE(View.BackUp);
    EXPECT_EQ(Results.Area, 5);
    EXPECT_EQ(Results.MaxCount, 2);
    EXPECT_EQ(Results.TibaAmp, 500);
}

TEST_F(ProcessingActions, SmoothingClearsEveryResultButTheLists) {
    SearchEverything();
    Results.Area = 5;
    const auto amplitudes = Results.PairAmplitudes;
    const TPointTable before = *Store;
    Actions.AGlissExecute();
    EXPECT_EQ(*Undo, before);
    EXPECT_EQ(Store->at(1006).Y, (2200 + 2300 + 2200) / 3);
    EXPECT_EQ(Results.Area, -1);
    EXPECT_EQ(Results.MaxCount + Results.MinCount + Results.PairCount + Results.TibaAmp, 0);
    EXPECT_EQ(Results.PairAmplitudes, amplitudes);
    EXPECT_EQ(View.Calls, QStringList({"repaint", "backup:1"}));
}

TEST_F(ProcessingActions, EqualizeHidesOnlyTheArea) {
    SearchEverything();
    Results.Area = 5;
    Store->at(1031).Y = 2110; // slope 2 codes per point
    Actions.AEqualizeExecute();
    EXPECT_EQ(Store->at(1000).Y, 2048);
    EXPECT_EQ(Store->at(1031).Y, 2048);
    EXPECT_EQ(Store->at(1006).Y, 2300 - 12);
    EXPECT_EQ(Results.Area, -1);
    EXPECT_EQ(Results.MaxCount, 2);
    EXPECT_EQ(Results.TibaAmp, 500);
    EXPECT_EQ(View.Calls, QStringList({"repaint", "backup:1"}));
}

TEST_F(ProcessingActions, IntegralAfterSearchRemovesTheMarksNotThePairs) {
    ClearPoints(*Store);
    PutPoints(*Store, 1000, {1, 3});
    Cfg.VisKoord1 = 1000;
    Cfg.VisKoord2 = 1001;
    Results.MaxCount = Results.MinCount = Results.PairCount = 1;
    Results.TibaAmp = 9;
    Cfg.Amplifying = 1; // gain factor 2
    Actions.AIntegrExecute();
    EXPECT_DOUBLE_EQ(Results.Area, 0.5);
    EXPECT_EQ(Ordinates(*Store, 1000, 2), (std::vector<int>{2047, 2048}));
    EXPECT_EQ(Results.MaxCount + Results.MinCount, 0);
    EXPECT_EQ(Results.PairCount, 1);
    EXPECT_EQ(Results.TibaAmp, 9);
    EXPECT_EQ(Ordinates(*Undo, 1000, 2), (std::vector<int>{1, 3}));
}

TEST_F(ProcessingActions, SearchesStoreNoUndoAndHideTheArea) {
    Results.Area = 5;
    Actions.AMinMaxExecute();
    EXPECT_EQ(Results.Area, -1);
    EXPECT_EQ(Results.MaxCount, 2);
    EXPECT_EQ(Results.MinCount, 2);
    EXPECT_EQ(Results.PairCount, 2);
    EXPECT_EQ(Results.MaxPositions[0], 1019);
    EXPECT_EQ(Results.MinPositions[0], 1023);
    EXPECT_EQ(Results.PairAmplitudes[0], 240);
    EXPECT_EQ(Results.PairAmplitudes[1], 500);
    Results.Area = 5;
    Actions.ADivisionExecute();
    EXPECT_EQ(Results.Area, -1);
    EXPECT_EQ(Results.TibaAmp, 500);
    EXPECT_EQ(Results.TitanAmp, 240);
    EXPECT_EQ(View.Calls, QStringList({"repaint", "repaint"}));
    EXPECT_EQ(*Undo, *EmptyStore());
    EXPECT_FALSE(View.BackUp);
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
