// The acquisition engine: frames handed one by one, the four control groups
// as a model, and the receive mode end to end over the simulated spectrometer.
#include "acq_rig.h"
#include "acquisition/acquire_run.h"
#include "acquisition/com_port_setup.h"
#include "base/instrument_tables.h"
#include "config/auto_save_name.h"
#include "disk_limits.h"
#include "link/protocol.h"
#include "pty_instrument.h"
#include "qstring_printer.h"
#include "session/exit_settings.h"
#include "spectrum/parameter_block.h"
#include "spectrum/spectrum_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>
#include <optional>

namespace {

struct EngineTest : ::testing::Test {
    TAcqRig Rig;
    // A frame's body (its type, b1..b6 and the sum) handed to the engine.
    void Frame(std::uint8_t type, std::initializer_list<int> payload) {
        const QByteArray frame = TPtyInstrument::Frame(type, payload);
        Rig.Engine->HandleFrameBody(reinterpret_cast<const std::uint8_t*>(frame.constData()) + 2);
    }
    void SweepStart() { Frame(TmSweepStart, {0xFF, 0xEF, 0, 0, 0, 0}); }
    void Backward(int field = 0) { Frame(TmBackwardSweep, {0, 0, 0, 0, field >> 8, field & 0xFF}); }
    void Point(int field, int value, int gain = 0x01, int speed = 0x08) {
        Frame(TmDataPoint, {field >> 8, field & 0xFF, value >> 8, value & 0xFF, gain, speed});
    }
    std::uint16_t Y(int slot) const { return (*Rig.Store)[slot].Y; }
    // One forward sweep with one value at each field.
    void Sweep(std::initializer_list<std::pair<int, int>> points) {
        SweepStart();
        for (auto [x, y] : points)
            Point(x, y);
        Backward();
    }

    TInstrumentControls& C = Rig.Engine->Controls();
    const TControlsState& S() { return Rig.ControlsView.Last; }
    void Receiving() {
        Rig.Cfg.Mode = true;
        C.SetReceiveMode(true);
        C.SetGainState(0x01);
        C.SetSpeedState(0x08);
        Rig.State().SetHandshake();
    }
};
using FrameFixture = EngineTest;
using ControlsFixture = EngineTest;
using LinkSession = EngineTest;
using AcquireRun = EngineTest;

} // namespace

TEST_F(FrameFixture, FilterIsARunningMeanThenAnExponentialAverage) {
    Rig.Cfg.EnableRTLPF = true;
    Rig.Cfg.RTLPFConst = 25;
    SweepStart();
    EXPECT_EQ(Rig.View.Panels[PanelFilter], QStringLiteral("ФИЛЬТР [25]"));
    Point(100, 2048);
    Point(101, 2148);
    EXPECT_EQ(Y(100), 2048);
    EXPECT_EQ(Y(101), 2098);

    // The count restarts with each sweep: its first point passes unchanged.
    SweepStart();
    Point(100, 2000);
    EXPECT_EQ(Y(100), 2000);
    for (int i = 1; i < 25; ++i)
        Point(100 + i, 2000);
    // From the 26th point on, each moves the value by 1/25 of the difference.
    Point(200, 2250);
    EXPECT_EQ(Y(200), 2010);
    Point(201, 2250);
    EXPECT_EQ(Y(201), 2020); // 2010 + 240/25 = 2019.6

    // A mean of n + 0.5 is stored as the even one of n and n + 1.
    Rig.Cfg.RTLPFConst = 2;
    for (const auto& [first, halfway] : {std::pair{2048, 2048}, {2049, 2050}}) {
        SweepStart();
        Point(10, first);
        Point(11, first + 1);
        EXPECT_EQ(Y(11), halfway);
    }

    Rig.Cfg.EnableRTLPF = false;
    SweepStart();
    EXPECT_EQ(Rig.View.Panels[PanelFilter], QString());
    Point(100, 3000);
    EXPECT_EQ(Y(100), 3000);
}

TEST_F(FrameFixture, SummationIsTheMeanOfTheSweepsThenAnExponentialAverage) {
    Rig.Cfg.EnableRTSum = true;
    Rig.Cfg.RTNumb = 9;
    const std::uint16_t values[3] = {2000, 2100, 2300};
    const std::uint16_t means[3] = {2000, 2050, 2133}; // 2133.33
    for (int k = 0; k < 3; ++k) {
        Sweep({{500, values[k]}});
        EXPECT_EQ(Y(500), means[k]) << "sweep " << k + 1;
        EXPECT_EQ(Rig.View.Panels[PanelSum], QStringLiteral("НАКОПЛ [%1 из 9]").arg(k + 1));
    }
    for (int k = 3; k < 9; ++k)
        Sweep({{500, 2000}});
    EXPECT_EQ(Rig.State().SumCount, 9);
    // The tenth sweep moves the value by a ninth of its difference.
    const float before = Rig.State().SumValues[500];
    Sweep({{500, 2900}});
    EXPECT_EQ(Rig.View.Panels[PanelSum], QStringLiteral("НАКОПЛ [9 из 9]"));
    EXPECT_FLOAT_EQ(Rig.State().SumValues[500], before + (2900 - before) / 9);
    EXPECT_EQ(Rig.Readings.SumCount, 9);

    // Lowering the limit below the count starts the summation afresh.
    Rig.Cfg.RTNumb = 3;
    Sweep({{500, 2500}});
    EXPECT_EQ(Rig.State().SumCount, 1);
    EXPECT_EQ(Y(500), 2500);

    // Switching it off takes effect for the next sweep's points, while its
    // panel still shows the count; the sweep after that clears the panel.
    Rig.Cfg.EnableRTSum = false;
    Sweep({{500, 3000}});
    EXPECT_EQ(Y(500), 3000);
    EXPECT_EQ(Rig.View.Panels[PanelSum], QStringLiteral("НАКОПЛ [2 из 3]"));
    SweepStart();
    EXPECT_EQ(Rig.View.Panels[PanelSum], QString());
}

TEST_F(FrameFixture, FilterFeedsTheSummationAndShowFirstKeepsTheRawValue) {
    Rig.Cfg.EnableRTLPF = true;
    Rig.Cfg.RTLPFConst = 2;
    Rig.Cfg.EnableRTSum = true;
    Rig.Cfg.ShowFirst = true;
    Sweep({{10, 2000}, {11, 2100}});
    EXPECT_EQ(Y(11), 2050);
    EXPECT_EQ(Rig.State().FirstValues[11], 2100);
    Sweep({{10, 2000}, {11, 2300}}); // filtered 2150, mean of 2050 and 2150
    EXPECT_EQ(Y(11), 2100);
}

TEST_F(FrameFixture, FillFollowsTheSpeedStateAndThenTheStatusStep) {
    SweepStart();
    Point(1000, 2100, 0x01, 0x05); // "16 мин": 2 points per step
    EXPECT_EQ(Rig.State().FillCount, 2);
    EXPECT_EQ(Y(1001), 2100);
    EXPECT_EQ(Y(1002), EmptyY);

    Frame(TmStatus, {0x80, 0x00, 7, 0, 0x01, 0x05});
    EXPECT_EQ(Rig.State().FillCount, 7);
    Point(2000, 2200, 0x01, 0x05);
    EXPECT_EQ(Y(2006), 2200);
    EXPECT_EQ(Y(2007), EmptyY);

    // Never beyond the last field code.
    Frame(TmStatus, {0x80, 0x00, 4, 0, 0x01, 0x05});
    Point(65518, 2300, 0x01, 0x05);
    EXPECT_EQ(Y(65518), 2300);
    EXPECT_EQ(Y(65519), 2300);
    EXPECT_EQ(Y(65520), EmptyY);
    EXPECT_EQ((*Rig.Store)[65520].X, 0);
}

// A field code above the data codes only applies the state bytes; an
// amplitude word above 12 bits (it would read back as a parameter record)
// is held at the top code.
TEST_F(FrameFixture, WordsOutsideTheirRangeAreHeldOrOnlyApplyTheState) {
    SweepStart();
    const int plotted = Rig.View.Plotted;
    Point(65520, 2100, 0x82, 0x03);
    EXPECT_EQ(Rig.View.Plotted, plotted);
    EXPECT_EQ(Y(65520), EmptyY);
    EXPECT_EQ(Rig.Controls().Gain.Selection, 1);  // KodAmpl 2 under manual control
    EXPECT_EQ(Rig.Controls().Speed.Selection, 8); // KodRapid 3, " 4 мин"
    Point(300, 65530);
    EXPECT_EQ(Y(300), MaxAmplitudeCode);
}

TEST_F(FrameFixture, PointsAreDrawnAndVisirOrdinatesFollowTheFill) {
    Rig.Cfg.Visir1 = true;
    Rig.Cfg.VisKoord1 = 402;
    Rig.Cfg.Visir2 = false;
    Rig.Cfg.VisKoord2 = 401;
    SweepStart();
    Frame(TmStatus, {0x80, 0x00, 4, 0, 0x01, 0x08});
    Point(400, 2148);
    EXPECT_EQ(Rig.View.VisirOrdinates[1], Rig.Format.AmplToStr(100));
    EXPECT_EQ(Rig.View.VisirOrdinates.count(2), 0u);
    EXPECT_EQ(Rig.View.Markers.back(), 400);
    Backward(1234);
    EXPECT_EQ(Rig.View.Markers.back(), 1234);
}

TEST_F(FrameFixture, SweepStartClearsTheStoreAndTheResults) {
    Sweep({{10, 2000}});
    Rig.Results.MaxCount = 3;
    Rig.Results.Area = 12;
    Rig.Cfg.ResonatorFreq = 9000;
    const int repaints = Rig.View.Repaints;
    SweepStart();
    EXPECT_EQ(Y(10), EmptyY);
    EXPECT_EQ(Rig.Results.MaxCount, 0);
    EXPECT_EQ(Rig.Results.Area, -1);
    EXPECT_EQ(Rig.Cfg.ResonatorFreq, 0);
    EXPECT_EQ(Rig.View.Repaints, repaints + 1);
    EXPECT_EQ(Rig.View.Panels[PanelDirection], ForwardSweepText);
    EXPECT_EQ(Rig.State().SweepPhase, 1);
    EXPECT_TRUE(Rig.Controls().Action(TAcqAction::SaveAs).Enabled);
    EXPECT_TRUE(Rig.View.Messages.contains(QStringLiteral("Tm03. POLEmax=65519")));
}

TEST_F(FrameFixture, AutomaticProcessingRunsOncePerBackwardSweep) {
    Rig.Cfg.AutoGliss = true;
    Rig.Cfg.AutoMinMax = true;
    Rig.Cfg.Visir1 = false;
    SweepStart();
    for (int x = 0; x < 200; ++x)
        Point(x * 10, 2048 + x % 7);
    Backward();
    Backward();
    EXPECT_EQ(Rig.ProcessingView.Warnings.size(), 1); // AMinMax without visirs
    EXPECT_EQ(Rig.ProcessingView.Repaints, 1);        // AGliss
    EXPECT_EQ(Rig.State().SweepPhase, 2);
    SweepStart();
    Backward();
    EXPECT_EQ(Rig.ProcessingView.Warnings.size(), 2);
    EXPECT_EQ(Rig.ProcessingView.Repaints, 2);
}

// The telemetry's lines are the link's tests; here the engine's limit.
TEST_F(FrameFixture, TheThousandLineLimitClearsTheMessages) {
    for (int i = 0; i < MaxMessageLines; ++i)
        Rig.Engine->AddMessage(QStringLiteral("line"));
    EXPECT_EQ(Rig.View.Messages.size(), MaxMessageLines);
    Rig.Engine->AddMessage(QStringLiteral("one more"));
    EXPECT_TRUE(Rig.View.Messages.isEmpty());
    Rig.Engine->AddMessage(QStringLiteral("next"));
    EXPECT_EQ(Rig.View.Messages, QStringList{QStringLiteral("next")});
}

TEST_F(FrameFixture, AnswersSetTheirFlagsAndIdentityClearsThemAll) {
    Frame(TmLinkReady, {});
    Frame(TmBoundsAccepted, {0xFF, 0xEF, 0, 0});
    Frame(TmGainSpeedAccepted, {1, 8});
    Frame(TmCorrectionAccepted, {0x80, 0});
    EXPECT_TRUE(Rig.State().AllAcknowledged());
    Frame(TmUnitIdentity, {1, 2});
    EXPECT_FALSE(Rig.State().LinkReady || Rig.State().BoundsAck || Rig.State().GainSpeedAck ||
                 Rig.State().CorrAck);
}

// ---- Automatic save ----------------------------------------------------------

struct AutoSaveFixture : FrameFixture {
    QTemporaryDir Dir;
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Rig.Cfg.AutoSave = true;
        Rig.Cfg.WorkDir = Dir.path();
        Rig.Cfg.NameMask = QStringLiteral("Спектр");
        Rig.Cfg.NumbMask = 1;
    }
    QString File(int n) const {
        return Dir.filePath(AutoSaveName(QStringLiteral("Спектр"), n) + ".kav");
    }
};

TEST_F(AutoSaveFixture, FirstSweepSavesThenEverySaveStepth) {
    Rig.Cfg.SaveStep = 3;
    for (int k = 1; k <= 7; ++k)
        Sweep({{k, 2000}});
    EXPECT_EQ(Rig.View.Panels[PanelAutoSave], "АВТО");
    // Starts 1, 4 and 7 saved the store the previous sweep left.
    EXPECT_EQ(Rig.Cfg.NumbMask, 4);
    EXPECT_EQ(QFileInfo(File(1)).size(), 40); // the empty store and its records
    auto store = std::make_unique<TPointTable>();
    auto raw = std::make_unique<TPointTable>();
    ASSERT_EQ(LoadSpectrumFile(File(2), *store, *raw), TLoadOutcome::Loaded);
    EXPECT_EQ((*store)[3].Y, 2000);
    EXPECT_EQ((*store)[ParGain].Y, ParGain);
    ASSERT_EQ(LoadSpectrumFile(File(3), *store, *raw), TLoadOutcome::Loaded);
    EXPECT_EQ((*store)[6].Y, 2000);
    EXPECT_FALSE(QFile::exists(File(4)));

    Rig.Cfg.AutoSave = false;
    SweepStart();
    EXPECT_EQ(Rig.View.Panels[PanelAutoSave], QString());
}

// At the end of the number's range no name is taken twice: the last number
// that can still grow names one file, then the saves are refused with the
// reason, and the file saved under it keeps its sweep.
TEST_F(AutoSaveFixture, TheLastNumberIsRefusedRatherThanAnEarlierFileOverwritten) {
    constexpr std::int32_t Last = std::numeric_limits<std::int32_t>::max();
    Rig.Cfg.NumbMask = Last - 1;
    for (std::uint16_t k = 1; k <= 4; ++k)
        Sweep({{k, 2000}});
    EXPECT_EQ(Rig.Cfg.NumbMask, Last);
    EXPECT_EQ(QDir(Dir.path()).entryList({"*.kav"}, QDir::Files),
              QStringList{AutoSaveName("Спектр", Last - 1) + ".kav"});
    const QString refused = "Автосохранение не выполнено: номер файла достиг предела 2147483647, "
                            "задайте \"Стартовый номер\" в окне \"Автосохранение...\"";
    EXPECT_EQ(Rig.View.AutoSaveFailures, QStringList(3, refused));
    EXPECT_EQ(Rig.View.Messages.count(refused), 3);
    EXPECT_EQ(QFileInfo(File(Last - 1)).size(), 40); // the store before the first sweep
}

// A save that fails is one line with the path and the system's reason; the
// number is kept, the sweep goes on and the next sweep start saves again. A
// name the file system rejects fails the same way.
TEST_F(AutoSaveFixture, FailedSaveIsReportedKeepsTheNumberAndIsRetried) {
    Rig.Cfg.SaveStep = 5;
    Rig.Cfg.NameMask = QString(300, u'x'); // longer than a file name may be
    Sweep({{1, 2000}});
    ASSERT_FALSE(Rig.View.Messages.isEmpty());
    EXPECT_TRUE(Rig.View.Messages[0].startsWith(AutoSaveFailedPrefix));
    EXPECT_EQ(Rig.Cfg.NumbMask, 1);
    EXPECT_EQ(Rig.State().AutoSaveCountdown, 0);

    Rig.Cfg.NameMask = QStringLiteral("Спектр");
    const QString missing = Dir.filePath(QStringLiteral("gone/"));
    Rig.Cfg.WorkDir = missing;
    Rig.View.Messages.clear();
    Sweep({{1, 2000}});
    ASSERT_EQ(Rig.View.Messages.count(), 4); // the failure and the three Tm03 lines
    const QString line = Rig.View.Messages[0];
    EXPECT_TRUE(line.startsWith(AutoSaveFailedPrefix)) << line.toStdString();
    // One separator between the directory and the name, though WorkDir ends with one.
    EXPECT_TRUE(line.contains(missing + AutoSaveName(QStringLiteral("Спектр"), 1) +
                              ".kav\": " + SystemReason(ENOENT)))
        << line.toStdString();
    EXPECT_EQ(Rig.Cfg.NumbMask, 1);

    // The directory comes back: the very next sweep saves, under number 1.
    ASSERT_TRUE(QDir().mkpath(missing));
    Rig.View.Messages.clear();
    Sweep({{2, 2100}});
    EXPECT_FALSE(Rig.View.Messages.first().startsWith(AutoSaveFailedPrefix));
    EXPECT_EQ(Rig.Cfg.NumbMask, 2);
    EXPECT_TRUE(QFile::exists(missing + AutoSaveName(QStringLiteral("Спектр"), 1) + ".kav"));
    EXPECT_EQ(Rig.State().AutoSaveCountdown, 4);
}

// The disk fills during acquisition: a sweep of 500 points (2000 bytes, small
// enough to sit in any write buffer) is not saved, no file is left of it, and
// it is saved at the next sweep start once there is room.
TEST_F(AutoSaveFixture, FullDiskIsReportedAndTheSweepSavedOnceThereIsRoom) {
    auto sweep500 = [&] {
        for (int i = 0; i < 500; ++i)
            Point(1000 + i, 2000 + i);
    };
    SweepStart(); // saves the empty store as number 1
    sweep500();
    Backward();
    Rig.View.Messages.clear();
    UnderFileSizeLimit(1024, [&] {
        SweepStart();
        sweep500(); // the sweep goes on
        return 0;
    });
    ASSERT_FALSE(Rig.View.Messages.isEmpty());
    EXPECT_EQ(Rig.View.Messages[0],
              AutoSaveFailedPrefix + QStringLiteral("Не удалось записать файл \"%1\": %2")
                                         .arg(File(2), SystemReason(EFBIG)));
    EXPECT_EQ(Rig.Cfg.NumbMask, 2);
    EXPECT_EQ(Y(1499), 2499);
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{QFileInfo(File(1)).fileName()});

    SweepStart();
    EXPECT_EQ(Rig.Cfg.NumbMask, 3);
    EXPECT_EQ(QFileInfo(File(2)).size(), 500 * 4 + 40);
}

// ---- The control groups ----------------------------------------------------

TEST_F(ControlsFixture, InitialStateFollowsTheSettings) {
    Rig.Cfg.Amplifying = 3;
    Rig.Cfg.Rapid = 7;
    Rig.Cfg.PoleMin = 100;
    Rig.Cfg.PoleMax = 70000; // held by the box
    Rig.Cfg.Correction = -320;
    Rig.Cfg.EnableRTLPF = true;
    C.Init();
    EXPECT_EQ(S().Gain.Selection, 3);
    EXPECT_EQ(S().Speed.Selection, 7);
    EXPECT_EQ(C.SavedRapid, 7);
    EXPECT_EQ(S().Bounds.Bottom, 100);
    EXPECT_EQ(S().Bounds.Top, TopFieldMax);
    EXPECT_EQ(S().Bounds.BottomText, Rig.Format.FieldToStr(100));
    EXPECT_EQ(S().Correction.Value, -320);
    EXPECT_EQ(S().Correction.BarPosition, 32767 + 320);
    EXPECT_EQ(S().Correction.ValueText, Rig.Format.CorrToStr(-320));
    EXPECT_EQ(S().Gain.Label, DesignLabelText);
    EXPECT_FALSE(S().Gain.Enabled || S().Speed.Enabled || S().Bounds.Enabled ||
                 S().Correction.Enabled);
    EXPECT_FALSE(S().Action(TAcqAction::Start).Enabled);
    EXPECT_TRUE(S().Action(TAcqAction::RealTimeLpf).Checked);
    EXPECT_FALSE(S().Action(TAcqAction::RealTimeSum).Checked);
}

TEST_F(ControlsFixture, ManualGainSelectsTheInstrumentsRowComputerKeepsTheOperators) {
    Rig.Cfg.Amplifying = 4;
    C.Init();
    C.SetReceiveMode(true);
    Rig.State().GainSpeedAck = true;
    C.SetGainState(0x81);
    EXPECT_FALSE(S().Gain.Enabled);
    EXPECT_EQ(S().Gain.Label, ManualLabelText);
    EXPECT_EQ(S().Gain.Selection, 0);
    EXPECT_EQ(Rig.Cfg.Amplifying, 0);
    EXPECT_EQ(Rig.ControlsView.PlotRepaints, 1);
    EXPECT_FALSE(Rig.State().GainSpeedAck);

    C.SetGainState(0x01);
    EXPECT_TRUE(S().Gain.Enabled);
    EXPECT_EQ(S().Gain.Label, ComputerLabelText);
    EXPECT_EQ(S().Gain.Selection, 0);

    // The same byte again changes nothing, even after the operator's choice.
    C.AmpBoxChange(5);
    EXPECT_EQ(Rig.ControlsView.PlotRepaints, 2);
    Rig.State().GainSpeedAck = true;
    C.SetGainState(0x01);
    EXPECT_EQ(S().Gain.Selection, 5);
    EXPECT_TRUE(Rig.State().GainSpeedAck);

    // A code with no row leaves the list as it is.
    C.SetGainState(0x87);
    EXPECT_EQ(S().Gain.Selection, 5);
    EXPECT_EQ(Rig.Cfg.Amplifying, 5);
}

// The plot repaints only when the gain row changes; a state that did not
// change is not shown again.
TEST_F(ControlsFixture, GainListRepaintsOnlyWhenTheRowChanges) {
    Receiving();
    const int shows = Rig.ControlsView.Shows;
    C.SetGainState(0x01);
    C.SetSpeedState(0x08);
    C.CorrBarChange(S().Correction.BarPosition);
    EXPECT_EQ(Rig.ControlsView.Shows, shows);
    C.AmpBoxChange(Rig.Cfg.Amplifying);
    EXPECT_EQ(Rig.ControlsView.PlotRepaints, 0);
    EXPECT_FALSE(Rig.State().GainSpeedAck);
    C.UpDnAmpClick(false); // at row 0 already
    EXPECT_EQ(S().Gain.Selection, 0);
    for (int i = 0; i < 9; ++i)
        C.UpDnAmpClick(true);
    EXPECT_EQ(S().Gain.Selection, 7);
    EXPECT_EQ(Rig.Cfg.Amplifying, 7);
    EXPECT_EQ(Rig.ControlsView.PlotRepaints, 7);
}

TEST_F(ControlsFixture, ManualCorrectionHidesTheNumbersAndComputerControlRestoresThem) {
    Rig.Cfg.Correction = 640;
    C.SetReceiveMode(true);
    C.SetGainState(0x01);
    EXPECT_EQ(S().Correction.Value, 640);
    EXPECT_FALSE(Rig.State().CorrAck); // the box took the setting
    Rig.State().CorrAck = true;

    C.SetGainState(0x41);
    EXPECT_FALSE(S().Correction.Enabled);
    EXPECT_FALSE(S().Correction.BarEnabled);
    EXPECT_TRUE(S().Correction.NumbersHidden);
    EXPECT_EQ(S().Correction.Label, ManualLabelText);
    EXPECT_TRUE(S().Gain.Enabled);
    // A change while disabled shows in the box but leaves the setting.
    C.CorrEditChange(-64);
    EXPECT_EQ(Rig.Cfg.Correction, 640);
    EXPECT_TRUE(Rig.State().CorrAck);

    C.SetGainState(0x01);
    EXPECT_TRUE(S().Correction.Enabled);
    EXPECT_FALSE(S().Correction.NumbersHidden);
    EXPECT_EQ(S().Correction.Value, 640);
    EXPECT_EQ(S().Correction.ValueText, Rig.Format.CorrToStr(640));
    EXPECT_FALSE(Rig.State().CorrAck);
}

TEST_F(ControlsFixture, TrackBarAndCorrectionBoxFollowEachOther) {
    Receiving();
    for (const auto& [bar, correction] : {std::pair{0, 32767}, {32767, 0}, {65535, -32767}}) {
        C.CorrBarChange(bar);
        EXPECT_EQ(Rig.Cfg.Correction, correction);
        EXPECT_EQ(S().Correction.Value, correction);
    }
    EXPECT_FALSE(Rig.State().CorrAck);
    C.CorrEditChange(1000);
    EXPECT_EQ(S().Correction.BarPosition, 31767);
    C.CorrEditChange(40000);
    EXPECT_EQ(S().Correction.Value, CorrEditMax);
}

TEST_F(ControlsFixture, StopAndStartReturnToTheSpeedBefore) {
    Receiving();
    C.SpeedBoxChange(5);
    C.AStopExecute();
    EXPECT_EQ(S().Speed.Selection, StopSpeedRow);
    EXPECT_EQ(Rig.Cfg.Rapid, StopSpeedRow);
    EXPECT_FALSE(S().Action(TAcqAction::Stop).Enabled);
    EXPECT_TRUE(S().Action(TAcqAction::Start).Enabled);
    // The exit never stores the sweep stopped.
    EXPECT_EQ(SettingsAtExit(Rig.Cfg, {}, C.SavedRapid, false).Rapid, 5);

    C.AStartExecute();
    EXPECT_EQ(S().Speed.Selection, 5);
    EXPECT_EQ(Rig.Cfg.Rapid, 5);
    EXPECT_TRUE(S().Action(TAcqAction::Stop).Enabled);
    EXPECT_FALSE(S().Action(TAcqAction::Start).Enabled);

    C.AStopExecute();
    C.UpDnRazvClick(true);
    EXPECT_EQ(S().Speed.Selection, 3);
    EXPECT_TRUE(S().Action(TAcqAction::Stop).Enabled);
}

// While the operator holds the speed at the instrument, "СТОП" and "ПУСК"
// could change only the list: both are disabled and do nothing; they come
// back with the computer's control, or when a new link forgets who held it.
TEST_F(ControlsFixture, StopAndStartAreDisabledWhileTheSpeedIsManual) {
    Receiving();
    const struct {
        std::uint8_t State;
        bool Stop, Start;
    } reports[] = {
        {0x88, false, false}, // manual, " 1 мин"
        {0x81, false, false}, // manual, " СТОП"
        {0x01, false, true},  // the computer's, stopped
        {0x88, false, false}, {0x08, true, false},
    };
    for (const auto& r : reports) {
        SCOPED_TRACE(r.State);
        C.SetSpeedState(r.State);
        EXPECT_EQ(S().Action(TAcqAction::Stop).Enabled, r.Stop);
        EXPECT_EQ(S().Action(TAcqAction::Start).Enabled, r.Start);
    }

    C.SetSpeedState(0x88);
    Rig.State().GainSpeedAck = true;
    C.AStopExecute();
    C.AStartExecute();
    EXPECT_EQ(S().Speed.Selection, 10);
    EXPECT_EQ(Rig.Cfg.Rapid, 10);
    EXPECT_TRUE(Rig.State().GainSpeedAck);

    C.ForgetStates();
    EXPECT_TRUE(S().Action(TAcqAction::Stop).Enabled);
    EXPECT_FALSE(S().Action(TAcqAction::Start).Enabled);
}

TEST_F(ControlsFixture, SpeedStateSelectsTheLastRowOfItsCodeAndSetsTheFill) {
    Receiving();
    Rig.State().GainSpeedAck = true;
    C.SetSpeedState(0x0F);
    EXPECT_EQ(S().Speed.Selection, 11);
    EXPECT_EQ(Rig.Cfg.Rapid, 11);
    EXPECT_EQ(Rig.State().FillCount, 4);
    EXPECT_FALSE(Rig.State().GainSpeedAck);

    C.SetSpeedState(0x84); // manual, "32 мин"
    EXPECT_FALSE(S().Speed.Enabled);
    EXPECT_EQ(S().Speed.Label, ManualLabelText);
    EXPECT_EQ(S().Speed.Selection, 5);
    EXPECT_EQ(Rig.State().FillCount, 1);
    // Under manual control a speed change does not ask for a send.
    Rig.State().GainSpeedAck = true;
    C.SpeedBoxChange(6);
    EXPECT_TRUE(Rig.State().GainSpeedAck);

    // A code without a row keeps the selection and the fill.
    C.SetSpeedState(0x0A);
    EXPECT_EQ(S().Speed.Selection, 6);
    EXPECT_EQ(Rig.State().FillCount, 1);
    EXPECT_TRUE(S().Speed.Enabled);
}

// In the analysis mode the bounds move only in the boxes; in the receive
// mode they set the settings, the view and the flag.
TEST_F(ControlsFixture, BoundsSetTheSettingsOnlyInTheReceiveMode) {
    Rig.Cfg.PoleMin = 100;
    Rig.Cfg.PoleMax = 60000;
    C.Init();
    C.SetReceiveMode(false);
    Rig.State().BoundsAck = true;
    C.BotFieldChange(500);
    C.TopFieldChange(50000);
    EXPECT_EQ(S().Bounds.Bottom, 500);
    EXPECT_EQ(Rig.Cfg.PoleMin, 100);
    EXPECT_EQ(Rig.Cfg.PoleMax, 60000);
    EXPECT_EQ(S().Bounds.BottomText, Rig.Format.FieldToStr(100));
    EXPECT_EQ(S().Bounds.TopText, Rig.Format.FieldToStr(60000));
    EXPECT_TRUE(Rig.State().BoundsAck);
    EXPECT_EQ(Rig.ControlsView.MinView, -1);

    Receiving();
    C.BotFieldChange(110);
    EXPECT_EQ(Rig.Cfg.PoleMin, 110);
    EXPECT_EQ(S().Bounds.BottomText, Rig.Format.FieldToStr(110));
    EXPECT_EQ(Rig.ControlsView.MinView, 110);
    EXPECT_FALSE(Rig.State().BoundsAck);
    C.TopFieldChange(100); // below the box's range
    EXPECT_EQ(Rig.Cfg.PoleMax, TopFieldMin);
    EXPECT_EQ(Rig.ControlsView.MaxView, TopFieldMin);
    Rig.State().BoundsAck = true;
    C.SelectSweepBounds(2000, 3000);
    EXPECT_EQ(Rig.Cfg.PoleMin, 2000);
    EXPECT_EQ(Rig.Cfg.PoleMax, 3000);
    EXPECT_FALSE(Rig.State().BoundsAck);
}

TEST_F(ControlsFixture, RealTimeButtonsSetTheSettingsAndBlinkWhileChecked) {
    C.SetReceiveMode(true);
    C.ARealTimeLpfExecute(true);
    EXPECT_TRUE(Rig.Cfg.EnableRTLPF);
    Rig.Engine->LPFTimerTimer();
    EXPECT_EQ(S().Action(TAcqAction::RealTimeLpf).Image, LpfBlinkImage);
    EXPECT_EQ(S().Action(TAcqAction::RealTimeSum).Image, SumImage);
    Rig.Engine->LPFTimerTimer();
    EXPECT_EQ(S().Action(TAcqAction::RealTimeLpf).Image, LpfImage);
    C.ARealTimeSumExecute(true);
    Rig.Engine->LPFTimerTimer();
    EXPECT_EQ(S().Action(TAcqAction::RealTimeSum).Image, SumBlinkImage);
    // Leaving the receive mode puts the plain images back.
    C.SetReceiveMode(false);
    EXPECT_EQ(S().Action(TAcqAction::RealTimeLpf).Image, LpfImage);
    EXPECT_EQ(S().Action(TAcqAction::RealTimeSum).Image, SumImage);
    EXPECT_FALSE(S().Action(TAcqAction::RealTimeSum).Enabled);
    C.ARealTimeSumExecute(false);
    EXPECT_FALSE(Rig.Cfg.EnableRTSum);
}

// ---- The receive mode over the simulated spectrometer ------------------------

TEST(ComPortSetup, ListsRateIndexAndHeldName) {
    EXPECT_EQ(ComPortChoices({"/dev/ttyUSB0"}).mid(15),
              (QStringList{"COM16", "/dev/ttyUSB0", "SIM"}));
    EXPECT_EQ(BaudRateChoices().mid(12, 3), (QStringList{"128000", "256000", "230400"}));
    const struct {
        const char* Text;
        int Current, Index;
    } cases[] = {{"19200", 5, 7},   {"10000", 5, 5}, {" 1024000 ", 0, 18},
                 {"230400", 0, 14}, {"", 11, 11},    {"019200", 3, 3}};
    for (const auto& c : cases)
        EXPECT_EQ(BaudIndexOfText(c.Text, static_cast<std::uint8_t>(c.Current)), c.Index) << c.Text;
    EXPECT_EQ(BaudRateText(25), "9600"); // a hand-edited index: what the port uses

    TComSettings port;
    port.Parity = 2;
    ApplyComChoice(port, " ABCDEFGHIJKL ", 7);
    EXPECT_EQ(port.PortName, "ABCDEFGHIJ");
    EXPECT_EQ(port.BaudRate, 7);
    EXPECT_EQ(port.Parity, 2); // the rest of the record stays
}

TEST_F(LinkSession, HandshakeRunsInStageOrderAndChangesAreSentAgain) {
    Rig.Engine->SetReceiveMode(true);
    ASSERT_TRUE(Rig.Receiver->Opened());
    EXPECT_EQ(Rig.View.Panels[PanelPort], QStringLiteral("SIM"));
    EXPECT_EQ(Rig.View.Panels[PanelBaud], QStringLiteral("9600 бод"));
    EXPECT_TRUE(Rig.View.Errors.isEmpty());

    ASSERT_TRUE(Rig.RunUntilLinked());
    EXPECT_EQ(Rig.Commands, (std::vector<int>{150, 111, 122, 133}));
    EXPECT_EQ(Rig.View.Panels[PanelProgram], QStringLiteral("PR: 7"));
    EXPECT_EQ(Rig.View.Panels[PanelSerial], QStringLiteral("S/N: 42"));
    EXPECT_TRUE(Rig.View.Messages.contains(QStringLiteral("Tm01. PROGRAMMA=7")));
    EXPECT_TRUE(Rig.View.Messages.contains(QStringLiteral("Tm33. Ukorr=32768")));
    // Nothing more goes out once the stages are acknowledged.
    Rig.Run(1000);
    EXPECT_EQ(Rig.Commands.size(), 4u);
    EXPECT_FALSE(Rig.View.Messages.contains(HandshakeFailedText));

    // A change sends its own stage again (the instrument taking every
    // group's change is the window's receive tests).
    C.BotFieldChange(1000);
    ASSERT_TRUE(Rig.RunUntilLinked(2000));
    EXPECT_EQ(Rig.Commands.back(), CmdSweepBounds);
    EXPECT_EQ(Rig.Sim().PoleMin(), 1000);
    C.CorrEditChange(3200);
    ASSERT_TRUE(Rig.RunUntilLinked(2000));
    EXPECT_EQ(Rig.Commands.back(), CmdCorrection);
    EXPECT_EQ(Rig.Sim().Ukorr(), 32768 + 3200);
}

TEST_F(LinkSession, ASweepFillsTheStoreBetweenTheBounds) {
    Rig.Engine->SetReceiveMode(true);
    C.BotFieldChange(20000);
    C.TopFieldChange(30000);
    ASSERT_TRUE(Rig.RunUntilLinked());
    // Start from a sweep that begins after the handshake.
    Rig.State().SweepPhase = 0;
    ASSERT_TRUE(Rig.RunUntil([&] { return Rig.State().SweepPhase == 1; }, 10000));
    ASSERT_TRUE(Rig.RunUntil([&] { return Rig.State().SweepPhase == 2; }, 10000));

    const TPointTable& store = *Rig.Store;
    const int fill = Rig.State().FillCount;
    EXPECT_EQ(fill, Rig.Sim().DPole());
    EXPECT_GT(fill, 1);
    EXPECT_EQ(FirstValidPoint(store, 0, MaxFieldCode), 20000);
    const int last = LastValidPoint(store, 0, MaxFieldCode);
    EXPECT_GE(last, 30000 - fill);
    EXPECT_LE(last, 30000 + fill - 1);
    for (int code = 20000; code <= last; ++code) {
        ASSERT_TRUE(IsValidSlot(store[code])) << code;
        ASSERT_EQ(store[code].X, code);
    }
    EXPECT_EQ(Rig.View.Panels[PanelDirection], BackwardSweepText);
    EXPECT_GT(Rig.View.Plotted, 100);
}

// A run of sweeps watching the engine ends with the reason.
TEST_F(LinkSession, SilentInstrumentEndsTheHandshakeAfterTwentyOneCommands) {
    TRunRecord record;
    TAcquireRun run(*Rig.Engine, Rig.Cfg, *Rig.Store, 1, record.Callbacks());
    Rig.Engine->SetReceiveMode(true);
    Rig.Sim().SetAnswering(false);
    Rig.Run(21 * KavTimerMs);
    EXPECT_EQ(Rig.Commands, std::vector<int>(21, CmdLinkRequest));
    EXPECT_EQ(Rig.View.Messages.count(HandshakeFailedText), 1);
    EXPECT_TRUE(run.Done());
    EXPECT_EQ(record.Complete, false);
    EXPECT_EQ(record.Reason, QStringLiteral("the spectrometer did not take the parameters"));
    Rig.Run(2000);
    EXPECT_EQ(Rig.Commands.size(), 21u);
    EXPECT_EQ(Rig.View.Messages.count(HandshakeFailedText), 1);
    EXPECT_EQ(Rig.State().SendCount, 0);

    // A handshake reset starts it again.
    Frame(TmHandshakeReset, {});
    Rig.Run(KavTimerMs);
    EXPECT_EQ(Rig.Commands.size(), 22u);
}

TEST_F(LinkSession, PortThatCannotOpenIsReportedAndTheHandshakeGivesUp) {
    Rig.Cfg.Port.PortName = QStringLiteral("COM9");
    bool ended = true;
    Rig.Engine->OnHandshakeEnd = [&](bool ok) { ended = ok; };
    Rig.Engine->SetReceiveMode(true);
    EXPECT_FALSE(Rig.Receiver->Opened());
    ASSERT_EQ(Rig.View.Errors.size(), 1);
    EXPECT_EQ(Rig.View.Errors[0], QStringLiteral("Невозможно инициализировать порт COM9"));
    EXPECT_EQ(Rig.View.Messages, Rig.View.Errors); // the line in the emptied message window
    EXPECT_EQ(Rig.View.Panels[PanelPort], QString());
    EXPECT_TRUE(Rig.Engine->ReceiveMode());
    Rig.Run(21 * KavTimerMs);
    EXPECT_EQ(Rig.View.Messages.count(HandshakeFailedText), 1);
    EXPECT_FALSE(ended);
}

TEST_F(LinkSession, AnalysisModeClosesTheLinkAndDisablesTheGroups) {
    Rig.Cfg.AutoSave = true;
    Rig.Cfg.WorkDir = QStringLiteral("/nonexistent");
    Rig.Engine->SetReceiveMode(true);
    ASSERT_TRUE(Rig.RunUntilLinked());
    EXPECT_TRUE(Rig.Controls().Action(TAcqAction::Receive).Checked);
    EXPECT_FALSE(Rig.Controls().Action(TAcqAction::Receive).Enabled);
    EXPECT_TRUE(Rig.Controls().Action(TAcqAction::RealTimeLpf).Enabled);

    Rig.Engine->SetReceiveMode(false);
    EXPECT_FALSE(Rig.Receiver->Opened());
    EXPECT_FALSE(Rig.Engine->KavTimer().isActive());
    EXPECT_FALSE(Rig.Engine->LPFTimer().isActive());
    EXPECT_EQ(Rig.View.Panels[PanelPort], QStringLiteral("SIM"));
    EXPECT_EQ(Rig.View.Panels[PanelBaud], ClosedPortText);
    EXPECT_EQ(Rig.View.Panels[PanelAutoSave], QString());
    const TControlsState& s = S();
    EXPECT_FALSE(s.Gain.Enabled || s.Speed.Enabled || s.Correction.Enabled || s.Bounds.Enabled);
    EXPECT_FALSE(s.Gain.LabelEnabled || s.Bounds.LabelsEnabled);
    EXPECT_FALSE(s.Action(TAcqAction::RealTimeLpf).Enabled);
    EXPECT_TRUE(s.Action(TAcqAction::Analysis).Checked);
    EXPECT_FALSE(s.Action(TAcqAction::Analysis).Enabled);
    EXPECT_TRUE(s.Action(TAcqAction::Receive).Enabled);
    EXPECT_FALSE(Rig.Cfg.Mode);
}

TEST_F(LinkSession, AdcRequestsAreAnsweredAndDrawnAtTheLastField) {
    Rig.Engine->SetReceiveMode(true);
    ASSERT_TRUE(Rig.RunUntil([&] { return Rig.Linked() && Rig.State().LastField >= 0; }, 3000));
    Rig.Engine->SetAdcView(true);
    EXPECT_TRUE(Rig.View.AdcShown);
    EXPECT_TRUE(Rig.Engine->ADCTimer().isActive());
    EXPECT_TRUE(Rig.Controls().Action(TAcqAction::AdcInput).Checked);
    Rig.Engine->ADCTimerTimer();
    EXPECT_EQ(Rig.Commands.back(), CmdAdcRequest);
    ASSERT_TRUE(Rig.RunUntil([&] { return !Rig.View.Points.empty(); }, 1000));
    const auto& p = Rig.View.Points.back();
    EXPECT_EQ(p.Ordinate, Rig.Engine->AdcValue() / 2 + 2048);
    EXPECT_EQ(p.Colour, Rig.Cfg.DisplayColors.ADC2);
    EXPECT_GT(Rig.Engine->AdcValue(), 0);
    EXPECT_EQ(Rig.Readings.AdcValue, Rig.Engine->AdcValue());
    EXPECT_EQ(Rig.View.AdcText, Rig.Format.ADCToStr(Rig.Engine->AdcValue()));

    Rig.Engine->AAdcInputExecute();
    EXPECT_FALSE(Rig.View.AdcShown);
    EXPECT_FALSE(Rig.Engine->ADCTimer().isActive());
    EXPECT_FALSE(Rig.Engine->AdcView());
}

// ---- A run of a number of sweeps (kavtool acquire) ----------------------------

// The operator holds the speed at the instrument and it differs from the
// settings: the run takes the instrument's speed, says so once and saves.
TEST_F(AcquireRun, ManualSpeedIsTakenSaidAndTheSweepsSaved) {
    QTemporaryDir dir;
    Rig.Cfg.WorkDir = dir.path();
    Rig.Cfg.Rapid = 10; // " 1 мин"
    TRunRecord record;
    TAcquireRun run(*Rig.Engine, Rig.Cfg, *Rig.Store, 2, record.Callbacks());
    Rig.Engine->SetReceiveMode(true);
    Rig.Sim().SetManualSpeed(15); // "30 сек", row 11
    ASSERT_TRUE(Rig.RunUntil([&] { return run.Done(); }, 30000)) << run.Ready();
    EXPECT_EQ(record.Complete, true) << record.Reason.toStdString();
    EXPECT_EQ(record.Notes, QStringList{QStringLiteral(
                                "the sweep speed is under manual control at the spectrometer: "
                                "sweeps are taken at its speed 11 \"30 сек\", not at Rapid=10 "
                                "\" 1 мин\"")});
    ASSERT_EQ(record.Files.size(), 2);
    auto store = std::make_unique<TPointTable>();
    auto raw = std::make_unique<TPointTable>();
    ASSERT_EQ(LoadSpectrumFile(record.Files[1], *store, *raw), TLoadOutcome::Loaded);
    EXPECT_EQ((*store)[ParSpeed].X, 11);
    EXPECT_GT(LastValidPoint(*store, 0, MaxFieldCode), 60000);
}
