// A line that goes away or falls silent, under the receive mode and under a
// run of sweeps (kavtool acquire), on the simulated spectrometer and on a
// pseudo-terminal.
#include "acq_rig.h"
#include "acquisition/acquire_run.h"
#include "link/protocol.h"
#include "pty_instrument.h"
#include "qstring_printer.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {

const QString SimLost = QStringLiteral("Порт SIM недоступен: связь потеряна (Input/output error)");

int StoredPoints(const TPointTable& store) {
    int n = 0;
    for (int code = 0; code <= MaxDataFieldCode; ++code)
        n += store[code].Y <= 4095;
    return n;
}

} // namespace

TEST(LinkLoss, ThePortIsClosedThePointsKeptTheReasonToldOnceAndReceiveOpensItAgain) {
    TAcqRig rig;
    rig.Engine->SetReceiveMode(true);
    ASSERT_TRUE(rig.RunUntil(
        [&] { return rig.Linked() && rig.State().SweepPhase == 1 && rig.State().LastField > 0; },
        5000));
    rig.Run(300);
    const int before = StoredPoints(*rig.Store);
    ASSERT_GT(before, 10);

    rig.Line().Unplug(QStringLiteral("Input/output error"));
    rig.Run(10);
    EXPECT_EQ(rig.View.LinkLosses, QStringList{SimLost});
    EXPECT_TRUE(rig.View.Messages.contains(SimLost));
    EXPECT_EQ(rig.View.Panels[PanelPort], QStringLiteral("SIM"));
    EXPECT_EQ(rig.View.Panels[PanelBaud], ClosedPortText);
    EXPECT_EQ(rig.View.Panels[PanelDirection], QString());
    EXPECT_EQ(rig.Receiver->Device(), nullptr);
    EXPECT_FALSE(rig.Engine->KavTimer().isActive());
    EXPECT_TRUE(rig.State().LinkLost);
    EXPECT_TRUE(rig.Engine->ReceiveMode());
    const TActionState receive = rig.ControlsView.Last.Action(TAcqAction::Receive);
    EXPECT_TRUE(receive.Enabled && !receive.Checked);
    const int kept = StoredPoints(*rig.Store);
    EXPECT_GE(kept, before);

    // Nothing more is sent or said while the port is closed.
    const std::size_t sent = rig.Commands.size();
    rig.Run(6000);
    EXPECT_EQ(rig.Commands.size(), sent);
    EXPECT_EQ(rig.View.LinkLosses.size(), 1);
    EXPECT_EQ(rig.View.Messages.count(SimLost), 1);
    EXPECT_FALSE(rig.View.Messages.contains(HandshakeFailedText));
    EXPECT_EQ(StoredPoints(*rig.Store), kept);

    // A port that is still missing leaves it so, with the box.
    rig.DeviceMissing = true;
    rig.Engine->OpenLink();
    EXPECT_EQ(rig.View.Errors, QStringList{QStringLiteral("Невозможно инициализировать порт SIM")});
    EXPECT_TRUE(rig.State().LinkLost);
    EXPECT_FALSE(rig.Engine->KavTimer().isActive());

    // Back: the port opens, the handshake runs, the points stay until the
    // next sweep begins.
    rig.DeviceMissing = false;
    rig.Engine->OpenLink();
    ASSERT_TRUE(rig.Receiver->Opened());
    EXPECT_FALSE(rig.State().LinkLost);
    EXPECT_TRUE(rig.Engine->KavTimer().isActive());
    const TActionState back = rig.ControlsView.Last.Action(TAcqAction::Receive);
    EXPECT_TRUE(!back.Enabled && back.Checked);
    EXPECT_EQ(StoredPoints(*rig.Store), kept);
    ASSERT_TRUE(rig.RunUntilLinked());
    EXPECT_GT(rig.Commands.size(), sent);
}

// ---- A run of sweeps -----------------------------------------------------------

namespace {

// A run of five sweeps on the simulated spectrometer at "30 сек"; the run's
// clock is the rig's.
struct AcquireWatch : ::testing::Test {
    TAcqRig Rig;
    QTemporaryDir Dir;
    TRunRecord Record;
    std::optional<TAcquireRun> Run;

    void Start(TAcquirePatience patience) {
        Rig.Cfg.WorkDir = Dir.path();
        Rig.Cfg.Rapid = 11;
        Run.emplace(*Rig.Engine, Rig.Cfg, *Rig.Store, 5, Record.Callbacks(), patience);
        Rig.Engine->SetReceiveMode(true);
        Run->Tick(Rig.ElapsedMs);
    }
    // Moves the rig and the run's clock on until done() or the limit.
    template <class F> bool Until(F done, int limitMs) {
        for (int t = 0; t < limitMs && !done(); t += 10) {
            Rig.Run(10);
            Run->Tick(Rig.ElapsedMs);
        }
        return done();
    }
    bool Saved(int n) {
        return Until([&] { return Record.Files.size() >= n; }, 30000);
    }
    QStringList FilesOnDisk() const { return QDir(Dir.path()).entryList({"*.kav"}, QDir::Files); }
};

} // namespace

TEST_F(AcquireWatch, ASilentInstrumentEndsTheRunAfterTheStatedTime) {
    Start({});
    ASSERT_TRUE(Saved(1));
    Rig.Sim().SetSilent(true);
    Rig.Run(20); // the frames already on their way are handed over
    Run->Tick(Rig.ElapsedMs);
    const int silentFrom = Rig.ElapsedMs;
    EXPECT_FALSE(Until([&] { return Run->Done(); }, 9900));
    ASSERT_TRUE(Until([&] { return Run->Done(); }, 200));
    EXPECT_LE(Rig.ElapsedMs - silentFrom, 10000);
    EXPECT_EQ(Record.Complete, false);
    EXPECT_EQ(Record.Reason, QStringLiteral("no frame from the spectrometer for 10 s"));
    EXPECT_EQ(FilesOnDisk().size(), Record.Files.size());
}

TEST_F(AcquireWatch, ALineThatDropsEndsTheRunAtOnceKeepingTheCompleteSweeps) {
    Start({});
    ASSERT_TRUE(Saved(2));
    Rig.Line().Unplug(QStringLiteral("Input/output error"));
    ASSERT_TRUE(Until([&] { return Run->Done(); }, 20));
    EXPECT_EQ(Record.Complete, false);
    EXPECT_EQ(Record.Reason, QStringLiteral("the line to the spectrometer dropped: ") + SimLost);
    EXPECT_EQ(Record.Files.size(), 2);
    EXPECT_EQ(FilesOnDisk().size(), 2);
}

// Asked to wait, the run tries the port every two seconds; a port that comes
// back takes the run on to its last sweep, one that does not ends it.
TEST_F(AcquireWatch, AskedToWaitTheRunOpensThePortAgainWhenItComesBack) {
    TAcquirePatience patience;
    patience.ReconnectMs = 6000;
    Start(patience);
    ASSERT_TRUE(Saved(2));
    Rig.Line().Unplug(QStringLiteral("Input/output error"));
    Rig.DeviceMissing = true;
    EXPECT_FALSE(Until([&] { return Run->Done(); }, 3000));
    EXPECT_EQ(Record.Notes.last(), "the line to the spectrometer dropped: " + SimLost +
                                       "; opening SIM again every 2 s for up to 6 s");
    Rig.DeviceMissing = false;
    ASSERT_TRUE(Until([&] { return Run->Done(); }, 60000));
    EXPECT_TRUE(Record.Notes.contains(QStringLiteral("SIM is open again")));
    EXPECT_EQ(Record.Complete, true) << Record.Reason.toStdString();
    EXPECT_EQ(FilesOnDisk().size(), 5);
}

TEST_F(AcquireWatch, AskedToWaitTheRunEndsWhenThePortDoesNotComeBackInTime) {
    TAcquirePatience patience;
    patience.ReconnectMs = 6000;
    Start(patience);
    ASSERT_TRUE(Saved(1));
    Rig.Line().Unplug(QStringLiteral("Input/output error"));
    Rig.DeviceMissing = true;
    ASSERT_TRUE(Until([&] { return !Rig.Receiver->Device(); }, 20));
    const int lostAt = Rig.ElapsedMs;
    EXPECT_FALSE(Until([&] { return Run->Done(); }, 5900));
    ASSERT_TRUE(Until([&] { return Run->Done(); }, 200));
    EXPECT_LE(Rig.ElapsedMs - lostAt, 6010);
    EXPECT_EQ(Record.Reason, "SIM did not come back within 6 s (" + SimLost + ")");
    EXPECT_EQ(FilesOnDisk().size(), Record.Files.size());
}

// ---- On a pseudo-terminal --------------------------------------------------------

// The test plays the instrument: it takes the handshake, sends one whole
// sweep and part of the next, and closes its side of the line.
TEST(AcquireOnAPseudoTerminal, ALineThatDropsEndsTheRunKeepingTheCompleteSweep) {
    TPtyRig pty(7);
    TAcqRig& rig = pty.Rig;
    QTemporaryDir dir;
    rig.Cfg.WorkDir = dir.path();
    rig.Cfg.Rapid = 10; // KodRapid 8, what the instrument reports
    TRunRecord record;
    TAcquireRun run(*rig.Engine, rig.Cfg, *rig.Store, 3, record.Callbacks());
    ASSERT_TRUE(pty.Open());
    ASSERT_TRUE(pty.TickUntil([&] { return run.Ready(); }));

    auto sweep = [](int from, int count) {
        QByteArray frames = TPtyInstrument::Frame(TmSweepStart, {0xFF, 0xEF, 0, 0, 0, 0});
        for (int code = from; code < from + count; ++code)
            frames += TPtyInstrument::Frame(
                TmDataPoint, {code >> 8, code & 0xFF, 0x08, 0x00 + code % 200, 0x01, 0x08});
        return frames;
    };
    pty.Poll(sweep(1000, 300) + TPtyInstrument::Frame(TmBackwardSweep, {0, 0, 0, 0, 0x03, 0xE8}));
    ASSERT_EQ(record.Files.size(), 1);
    pty.Poll(sweep(1000, 120));
    EXPECT_FALSE(run.Done());

    pty.Line.CloseMaster();
    ASSERT_TRUE(PumpUntil([&] {
        rig.Receiver->PollTick();
        return run.Done();
    }));
    EXPECT_EQ(record.Complete, false);
    EXPECT_TRUE(record.Reason.startsWith("the line to the spectrometer dropped: Порт " +
                                         pty.Line.Link + " недоступен: связь потеряна ("))
        << record.Reason.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList({"*.kav"}, QDir::Files).size(), 1);
    EXPECT_EQ(rig.View.LinkLosses.size(), 1);
}
