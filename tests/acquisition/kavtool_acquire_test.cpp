// kavtool acquire and listen, run as built, against the simulated spectrometer.

#include "config/settings_store.h"
#include "kavtool_run.h"
#include "link/protocol.h"
#include "link/test_app.h"
#include "pty_instrument.h"
#include "temp_files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <grp.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

struct KavtoolAcquire : ::testing::Test {
    TTempFiles Files;
    QString Ini = Files.Path(QStringLiteral("Kav.ini"));
    void SetUp() override {
        TestApp();
        ASSERT_TRUE(Files.Dir.isValid());
        WriteIni(5);
    }
    void WriteIni(std::int32_t numbMask) {
        TKavCfg cfg;
        SetDefaults(cfg, Files.Dir.path());
        cfg.Port.TimeOut = 20; // a quick poll: the run takes a few seconds
        cfg.Rapid = 11;        // "30 сек", not the simulator's own speed
        cfg.NameMask = QStringLiteral("Проба");
        cfg.NumbMask = numbMask;
        ASSERT_TRUE(SaveSettings(cfg, {}, Ini, u'.'));
    }
};

} // namespace

TEST_F(KavtoolAcquire, ThreeSweepsAreSavedAndReadBackWithTheirParameters) {
    const QString out = Files.Path(QStringLiteral("spectra"));
    const TKavtoolRun r = RunKavtool({"acquire", "--port", "SIM", "--ini", Ini, "--sweeps", "3",
                                      "--out", out, "--sim-speed", "10"});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.contains(QStringLiteral("Tm01. PROGRAMMA=7")));
    EXPECT_TRUE(r.Out.contains(QStringLiteral("Tm22. KodAmpl=1")));
    EXPECT_EQ(r.Err.count(QStringLiteral("sweep ")), 3) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.contains(QStringLiteral("sweep 3/3: ")));

    const QStringList files = QDir(out).entryList({"*.kav"}, QDir::Files, QDir::Name);
    ASSERT_EQ(files, (QStringList{"Проба00000005.kav", "Проба00000006.kav", "Проба00000007.kav"}));
    for (const QString& f : files) {
        const TKavtoolRun info = RunKavtool({"info", QDir(out).filePath(f)});
        ASSERT_EQ(info.Exit, 0) << info.Err.toStdString();
        EXPECT_FALSE(info.Out.contains(QStringLiteral("points: 0\n"))) << info.Out.toStdString();
        // The settings' speed was chosen again after the link came up.
        for (const char* line : {"ParProgram (65531) = 7", "ParSerial (65532) = 42",
                                 "ParSpeed (65533) = 11", "dropped: none"})
            EXPECT_TRUE(info.Out.contains(line)) << line << " in\n" << info.Out.toStdString();
    }
}

// A port that cannot open ends the run with one line and the system's
// reason; a device path is used whole.
TEST_F(KavtoolAcquire, PortThatCannotOpenEndsWithOneLineAndTheReason) {
    const QString path = Files.Path("serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0");
    Files.Write(Files.Path("plain"), "not a device");
    const struct {
        QString Port, Reason;
    } cases[] = {{"ttyNOPE9", "No such file or directory"},
                 {path, "No such file or directory"},
                 {Files.Path("plain"), "Inappropriate ioctl for device"}};
    for (const auto& c : cases) {
        const QString line =
            "kavtool: Невозможно инициализировать порт " + c.Port + ": " + c.Reason;
        for (const QStringList& args :
             {QStringList{"acquire", "--port", c.Port, "--ini", Ini, "--out", Files.Dir.path()},
              QStringList{"listen", "--port", c.Port, "--ini", Ini}}) {
            const TKavtoolRun r = RunKavtool(args);
            EXPECT_EQ(r.Exit, 1);
            EXPECT_EQ(r.Err, line + "\n");
            EXPECT_EQ(r.Out, QString());
        }
    }
    EXPECT_TRUE(QDir(Files.Dir.path()).entryList({"*.kav"}).isEmpty());
}

// A serial device of the group dialout, opened by a user outside it: the
// reason says what to do. Needs root to give a pseudo-terminal that group
// and to run kavtool as another user.
TEST_F(KavtoolAcquire, APortOfAGroupTheUserIsNotInSaysToJoinIt) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to hand a device to the group dialout";
    const group* dialout = ::getgrnam("dialout");
    if (dialout == nullptr || QStandardPaths::findExecutable("setpriv").isEmpty())
        GTEST_SKIP() << "no group dialout or no setpriv on this machine";
    // The build tree may sit in a folder only its owner can enter (a
    // checkout under a private temporary folder): kavtool cannot start as
    // another user there, whatever the port.
    const QStringList asNobody{"--reuid=65534", "--regid=65534", "--clear-groups", KAVTOOL_PATH};
    if (RunProgram("setpriv", asNobody + QStringList{"--version"}).Exit != 0)
        GTEST_SKIP() << "kavtool cannot start as user nobody from this build tree";
    TPtyLine line(9);
    ASSERT_TRUE(line.Ok());
    const QByteArray slave = line.SlavePath.toLocal8Bit();
    ASSERT_EQ(::chown(slave.constData(), 0, dialout->gr_gid), 0);
    ASSERT_EQ(::chmod(slave.constData(), 0660), 0);
    const TKavtoolRun r =
        RunProgram("setpriv", asNobody + QStringList{"listen", "--port", line.SlavePath});
    EXPECT_EQ(r.Exit, 1) << r.Err.toStdString();
    EXPECT_EQ(r.Err, "kavtool: Невозможно инициализировать порт " + line.SlavePath +
                         ": Permission denied — добавьте пользователя в группу dialout\n");
}

// The automatic-save number at the end of its range: the run saves what it
// can name and then ends with one line, taking no name twice; at the last
// number it does not start.
TEST_F(KavtoolAcquire, TheLastAutoSaveNumberEndsTheRunWithoutOverwriting) {
    const QString out = Files.Path("spectra");
    WriteIni(2147483646);
    const TKavtoolRun r = RunKavtool({"acquire", "--port", "SIM", "--ini", Ini, "--sweeps", "3",
                                      "--out", out, "--sim-speed", "10"});
    const QString last = "NumbMask=2147483647 is the last number of an automatic-save name: no "
                         "sweep is saved under a name used before\n";
    EXPECT_EQ(r.Exit, 1);
    EXPECT_EQ(r.Err.count("kavtool: " + last), 1) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.contains("sweep 1/3: "));
    EXPECT_FALSE(r.Err.contains("sweep 2/3: "));
    EXPECT_EQ(QDir(out).entryList({"*.kav"}, QDir::Files), QStringList{"Проба2147483646.kav"});

    WriteIni(2147483647);
    const TKavtoolRun atLast = RunKavtool({"acquire", "--port", "SIM", "--ini", Ini, "--out", out});
    EXPECT_EQ(atLast.Exit, 1);
    EXPECT_EQ(atLast.Err, "kavtool: settings file \"" + Ini + "\": " + last);
}

// A speed outside the table could never be chosen: the run does not start.
TEST_F(KavtoolAcquire, RapidOutsideTheSpeedTableEndsWithTheReason) {
    for (const auto& [text, read] : {std::pair{"12", "12"}, {"-5", "251"}}) {
        Files.Write(Ini, QByteArray("[Main]\r\nRapid=") + text + "\r\n");
        const TKavtoolRun r =
            RunKavtool({"acquire", "--port", "SIM", "--ini", Ini, "--out", Files.Dir.path()});
        EXPECT_EQ(r.Exit, 1);
        EXPECT_EQ(r.Err, QStringLiteral("kavtool: settings file \"%1\": Rapid=%2 selects no sweep "
                                        "speed (0..11)\n")
                             .arg(Ini, read));
    }
}

TEST_F(KavtoolAcquire, BadArgumentsAreUsageErrors) {
    EXPECT_EQ(RunKavtool({"acquire", "--sweeps", "3"}).Exit, 2);
    EXPECT_EQ(RunKavtool({"acquire", "--port", "SIM", "--sweeps", "0"}).Exit, 2);
    EXPECT_EQ(RunKavtool({"listen"}).Exit, 2);
}

TEST_F(KavtoolAcquire, ListenPrintsFramesUntilTerminated) {
    QProcess p;
    p.start(QStringLiteral(KAVTOOL_PATH),
            {"listen", "--port", "SIM", "--ini", Ini, "--sim-speed", "10"});
    ASSERT_TRUE(p.waitForStarted());
    QByteArray seen;
    for (int i = 0; i < 200 && !seen.contains("frame 2: point"); ++i) {
        p.waitForReadyRead(100);
        seen += p.readAllStandardOutput();
    }
    EXPECT_TRUE(seen.contains("frame 50: link ready")) << seen.toStdString();
    EXPECT_TRUE(seen.contains("frame 2: point field="));
    EXPECT_TRUE(seen.contains("Tm01. PROGRAMMA=7"));
    p.terminate(); // SIGTERM
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(p.readAllStandardError().contains("frame(s) received"));
}

// ---- A line that drops or falls silent, on a pseudo-terminal ----------------

namespace {

// kavtool acquire on a pseudo-terminal whose instrument side the test plays.
// A pseudo-terminal has no CTS, so the handshake's commands are not sent and
// it is given up after 21 ticks (about five seconds); each case ends well
// before that.
struct KavtoolOnAPty : KavtoolAcquire {
    TPtyLine Line{8};
    QProcess Tool;
    QByteArray Out, Err;

    void Launch(const QStringList& options) {
        ASSERT_TRUE(Line.Ok());
        Tool.start(QStringLiteral(KAVTOOL_PATH),
                   QStringList{"acquire", "--port", Line.Link, "--ini", Ini, "--out",
                               Files.Path("spectra")} +
                       options);
        ASSERT_TRUE(Tool.waitForStarted());
    }
    // Waits for a text on stdout (or stderr); false after ten seconds.
    bool Said(const QByteArray& text, QByteArray& seen) {
        QElapsedTimer timer;
        timer.start();
        while (!seen.contains(text) && timer.elapsed() < 10000) {
            Tool.waitForReadyRead(100);
            seen += &seen == &Out ? Tool.readAllStandardOutput() : Tool.readAllStandardError();
        }
        return seen.contains(text);
    }
    // The exit status and all of stderr once it has ended by itself.
    std::pair<int, QString> Ended() {
        if (!Tool.waitForFinished(20000)) {
            Tool.kill();
            Tool.waitForFinished();
            return {-1, QString()};
        }
        return {Tool.exitCode(), QString::fromUtf8(Err + Tool.readAllStandardError())};
    }
};

} // namespace

TEST_F(KavtoolOnAPty, ALineThatDropsEndsTheRunWithItsReason) {
    Launch({});
    // The port is open once the first command is tried.
    ASSERT_TRUE(Said("Отсутствует сигнал CTS", Out)) << Out.toStdString();
    const QByteArray frames =
        TPtyInstrument::Frame(TmUnitIdentity, {3, 17}) + TPtyInstrument::Frame(5, {});
    Line.WriteSome(frames.constData(), static_cast<int>(frames.size()));
    ASSERT_TRUE(Said("Tm01. PROGRAMMA=3", Out));
    Line.CloseMaster();
    const auto [exit, err] = Ended();
    EXPECT_EQ(exit, 1);
    EXPECT_TRUE(err.contains("kavtool: the line to the spectrometer dropped: Порт " + Line.Link +
                             " недоступен: связь потеряна (Input/output error)\n"))
        << err.toStdString();
    EXPECT_TRUE(err.contains("acquired 0 sweep(s)"));
}

// Asked to wait, it opens the same name again once a device is there: here a
// new pseudo-terminal behind the same link, which then stays silent, so the
// run ends at the stated silence.
TEST_F(KavtoolOnAPty, AskedToWaitItOpensThePortAgainAndEndsOnSilence) {
    Launch({"--reconnect", "8", "--silence", "1"});
    ASSERT_TRUE(Said("Отсутствует сигнал CTS", Out)) << Out.toStdString();
    Line.CloseMaster();
    ASSERT_TRUE(Said("opening " + Line.Link.toUtf8(), Err));
    ASSERT_TRUE(Err.contains("every 2 s for up to 8 s")) << Err.toStdString();
    TPtyLine back(8); // the same link, to a new device
    ASSERT_TRUE(back.Ok());
    const auto [exit, err] = Ended();
    EXPECT_EQ(exit, 1);
    EXPECT_TRUE(err.contains("kavtool: " + Line.Link + " is open again\n")) << err.toStdString();
    EXPECT_TRUE(err.contains("kavtool: no frame from the spectrometer for 1 s\n"));
}
