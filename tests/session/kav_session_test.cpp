// The session core the window stands on, without a widget: the start, the
// receive mode, the results a new spectrum clears, and the exit's save.
#include "acquisition/acq_rig.h"
#include "disk_limits.h"
#include "qstring_printer.h"
#include "spectrum/spectrum_file.h"
#include "temp_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct KavSession : ::testing::Test, TTempFiles {
    TAcqRig Rig;
    QString Ini = Path("Kav.ini");

    bool Timers() { return Rig.Engine->KavTimer().isActive() || Rig.Engine->LPFTimer().isActive(); }
};

// The defaults a start falls back on, as a fresh record gets them.
TKavCfg StartDefaults() {
    TKavCfg cfg{};
    SetDefaults(cfg, QDir::currentPath());
    SaveUnitSnapshot(cfg);
    return cfg;
}

} // namespace

TEST_F(KavSession, StartReadsKavIniOrKeepsTheDefaultsAndSaysWhy) {
    const struct {
        const char* Kind;
        QString Reason; // empty: the file is read (or missing) without a word
    } cases[] = {{"missing", {}},
                 {"file", {}},
                 {"folder", SystemReason(EISDIR)},
                 {"fifo", "Is a FIFO"},
                 {"large", QStringLiteral("в нём больше 1048576 байт")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Kind);
        const QString ini = Path(QStringLiteral("%1/Kav.ini").arg(c.Kind));
        ASSERT_TRUE(QDir(Dir.path()).mkpath(c.Kind));
        const QByteArray kind(c.Kind);
        if (kind == "file")
            Write(ini, "[Main]\r\nMode=0\r\nToolBar=0\r\n");
        else if (kind == "folder")
            ASSERT_TRUE(QDir().mkdir(ini));
        else if (kind == "fifo")
            ASSERT_EQ(::mkfifo(QFile::encodeName(ini).constData(), 0600), 0);
        else if (kind == "large")
            Write(ini, QByteArray(MaxSettingsFileBytes + 1, ';'));
        // What an earlier start left must not survive this one.
        Rig.Cfg.WorkDir = "/elsewhere/";
        Rig.Cfg.Mode = false;
        (*Rig.Store)[100] = TPointSlot{100, 7};
        EXPECT_EQ(Rig.Session.LoadStartupSettings(ini), c.Reason.isEmpty());
        EXPECT_EQ(Rig.Session.StartupWarning(),
                  c.Reason.isEmpty() ? QString()
                                     : StartupSettingsNotReadText.arg(ini + ": " + c.Reason));
        TKavCfg expected = StartDefaults();
        if (kind == "file")
            expected.Mode = expected.ToolBar = false;
        EXPECT_EQ(Rig.Cfg, expected);
        EXPECT_FALSE(IsValidSlot((*Rig.Store)[100]));
    }
}

// The start enters the mode of the setting Mode; in analysis mode the last
// file opens again. The engine, the session and the setting never disagree,
// and the shut-down stops every timer and closes the port.
TEST_F(KavSession, ReceiveModeIsOneStateAndTheShutDownStopsTheEngine) {
    auto store = std::make_unique<TPointTable>();
    ClearPoints(*store);
    (*store)[2000] = TPointSlot{2000, 3000};
    ASSERT_TRUE(SaveSpectrumFile(Path("last.kav"), *store));
    const struct {
        bool Mode;
        QString LastOpen;
        bool Opened; // the last file is shown
    } cases[] = {{true, Path("last.kav"), false},
                 {false, Path("last.kav"), true},
                 {false, Path("gone.kav"), false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Mode);
        Rig.Session.SetReceiveMode(!c.Mode);
        ClearPoints(*Rig.Store);
        Rig.Cfg.Mode = c.Mode;
        Rig.Cfg.LastOpen = c.LastOpen;
        Rig.Cfg.ADCEnable = !c.Mode;
        Rig.Session.EnterStartMode();
        EXPECT_EQ(Rig.Session.Receiving(), c.Mode);
        EXPECT_EQ(Rig.Engine->ReceiveMode(), c.Mode);
        EXPECT_EQ(Timers(), c.Mode);
        EXPECT_EQ(Rig.Receiver->Opened(), c.Mode);
        EXPECT_EQ(Rig.Receiver->PollTimer().isActive(), c.Mode);
        EXPECT_EQ(IsValidSlot((*Rig.Store)[2000]), c.Opened);
        EXPECT_EQ(Rig.Engine->ADCTimer().isActive(), !c.Mode);
        EXPECT_TRUE(Rig.View.Errors.isEmpty()) << Rig.View.Errors.join('\n').toStdString();
    }
    Rig.Session.SetReceiveMode(true);
    Rig.Engine->SetAdcView(true);
    ASSERT_TRUE(Rig.Engine->ADCTimer().isActive() && Timers() && Rig.Receiver->Opened());
    Rig.Session.ShutDown();
    EXPECT_FALSE(Timers() || Rig.Engine->ADCTimer().isActive());
    EXPECT_FALSE(Rig.Receiver->Opened() || Rig.Receiver->PollTimer().isActive());
}

// A new spectrum (the first show, the receive action) leaves nothing of the
// last one's results on show: no counts, no peak ratio, no area; clearing
// for a new spectrum drops the lists too.
TEST_F(KavSession, ANewSpectrumClearsEveryResult) {
    const struct {
        const char* Name;
        std::function<void()> Act;
        bool Lists; // the lists go too
    } acts[] = {
        {"clear", [&] { Rig.Session.ClearResultsForNewSpectrum(); }, true},
        {"first show", [&] { Rig.Session.EnterStartMode(); }, true},
        {"receive action", [&] { Rig.Session.AReceiveExecute(); }, false},
    };
    for (const auto& c : acts) {
        SCOPED_TRACE(c.Name);
        TSpectrumResults& r = Rig.Results;
        r.MaxCount = r.MinCount = r.PairCount = 2;
        r.MaxPositions = r.MinPositions = r.PairAmplitudes = {5, 9};
        r.TibaAmp = r.TitanAmp = 40;
        r.Area = 12.5;
        c.Act();
        EXPECT_EQ(r.MaxCount + r.MinCount + r.PairCount + r.TibaAmp, 0);
        EXPECT_EQ(r.Area, -1);
        if (c.Lists) {
            EXPECT_TRUE(r.MaxPositions.empty() && r.MinPositions.empty() &&
                        r.PairAmplitudes.empty());
            EXPECT_EQ(r.TitanAmp, 0);
        }
    }
}

// The exit writes the settings; when it cannot (a full disk, a folder it may
// not write) the operator tries again, closes without saving or stays open
// exactly as before. The save runs as user nobody, so that the folder's mode
// binds even under root.
TEST_F(KavSession, AnExitThatCannotSaveRetriesClosesOrStaysOpen) {
    using A = TSettingsSaveAnswer;
    const struct {
        const char* Name;
        mode_t DirMode;
        rlim_t Limit;
        std::vector<A> Answers; // a retry after a full disk makes room
        int Err;
        bool Closes, Saved;
    } cases[] = {
        {"writable", 0777, RLIM_INFINITY, {}, 0, true, true},
        {"full, stay open", 0777, 512, {A::StayOpen}, EFBIG, false, false},
        {"read-only, close", 0555, RLIM_INFINITY, {A::CloseWithoutSaving}, EACCES, true, false},
        {"full, room made, retry", 0777, 512, {A::Retry}, EFBIG, true, true},
        {"read-only twice", 0555, RLIM_INFINITY, {A::Retry, A::StayOpen}, EACCES, false, false},
    };
    const QByteArray previous = "[Main]\r\nToolBar=1\r\n[Port]\r\nPortName=SIM\r\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TAcqRig rig; // a program of its own for each exit
        Write(Ini, previous);
        ASSERT_TRUE(rig.Session.LoadStartupSettings(Ini));
        rig.Session.SetReceiveMode(true);
        ASSERT_TRUE(rig.Receiver->Opened());
        TWindowFacts facts;
        facts.ToolBarShown = false;
        QStringList reasons;
        const auto ask = [&](const QString& reason) {
            reasons << reason;
            if (c.Limit != RLIM_INFINITY) {
                const rlimit room{RLIM_INFINITY, RLIM_INFINITY};
                setrlimit(RLIMIT_FSIZE, &room);
            }
            return c.Answers[reasons.size() - 1];
        };
        ASSERT_EQ(::chmod(QFile::encodeName(Dir.path()).constData(), c.DirMode), 0);
        const bool root = ::geteuid() == 0;
        ASSERT_TRUE(!root || ::seteuid(65534) == 0);
        const bool closes =
            UnderFileSizeLimit(c.Limit, [&] { return rig.Session.SaveAtExit(facts, ask); });
        ASSERT_TRUE(!root || ::seteuid(0) == 0);
        ::chmod(QFile::encodeName(Dir.path()).constData(), 0700);
        EXPECT_EQ(closes, c.Closes);
        const QString reason =
            QStringLiteral("Ошибка записи файла настроек %1: %2").arg(Ini, SystemReason(c.Err));
        EXPECT_EQ(reasons, QStringList(c.Answers.size(), reason));
        EXPECT_EQ(Entries(), QStringList{"Kav.ini"});
        if (c.Saved)
            EXPECT_TRUE(Read(Ini).contains("ToolBar=0")) << Read(Ini).toStdString();
        else
            EXPECT_EQ(Read(Ini), previous);
        // The settings in force are the ones written, or stay as they were.
        EXPECT_EQ(rig.Cfg.ToolBar, !c.Saved);
        // Closing stops the engine and closes the port; staying open goes on
        // receiving.
        EXPECT_EQ(rig.Engine->KavTimer().isActive() || rig.Engine->LPFTimer().isActive(),
                  !c.Closes);
        EXPECT_EQ(rig.Receiver->Opened(), !c.Closes);
        EXPECT_TRUE(rig.Session.Receiving());
    }
}
