// What kavtool and its two parts load, and what a kavtool whose parts are
// missing still does: the file commands start with Qt Core alone, drawing
// loads Qt Gui in kavtool-paint, a port loads Qt Serial Port in kavtool-port.

#include "kavtool_run.h"
#include "qstring_printer.h"
#include "temp_files.h"

#include <QDir>
#include <QFile>
#include <cstring>
#include <gtest/gtest.h>

namespace {

using TRun = TKavtoolRun;

TEST(KavtoolParts, EachProgramLoadsOnlyWhatItsCommandsUse) {
    const QStringList drawing{"libQt6Gui",  "libQt6Widgets", "libQt6PrintSupport", "libQt6Svg",
                              "libQt6DBus", "libfontconfig", "libfreetype",        "libGL"};
    const QStringList serial{"libQt6SerialPort", "libudev"};
    const struct {
        const char* Program;
        QStringList Loads, LoadsNot;
    } programs[] = {
        {KAVTOOL_PATH, {"libQt6Core.so"}, drawing + serial},
        {KAVTOOL_PAINT_PATH, {"libQt6Gui.so"}, serial},
        {KAVTOOL_PORT_PATH, {"libQt6SerialPort.so", "libudev.so"}, drawing},
    };
    for (const auto& p : programs) {
        const TRun ldd = RunProgram("ldd", {p.Program});
        ASSERT_EQ(ldd.Exit, 0) << p.Program << ": " << ldd.Err.toStdString();
        for (const QString& library : p.Loads)
            EXPECT_TRUE(ldd.Out.contains(library)) << p.Program << " " << library.toStdString();
        for (const QString& library : p.LoadsNot)
            EXPECT_FALSE(ldd.Out.contains(library)) << p.Program << " " << library.toStdString();
    }
}

// A kavtool copied without its parts runs every file command; acquire and
// listen say in one line which part they could not run and why, and their
// help, which kavtool prints itself, still comes.
TEST(KavtoolParts, WithoutItsSerialLinePartOnlyThePortCommandsFail) {
    const TTempFiles files;
    ASSERT_TRUE(QDir(files.Dir.path()).mkpath("alone/bin"));
    const QString alone = files.Path("alone/bin/kavtool");
    ASSERT_TRUE(QFile::copy(KAVTOOL_PATH, alone));
    ASSERT_TRUE(QFile::setPermissions(alone, QFile::ReadOwner | QFile::ExeOwner));
    files.Write("s.tsv", "100\t1000\n30000\t3000\n60000\t2000\n");
    const TKavtoolOptions options{files.Dir.path()};

    TRun r = RunProgram(alone, {"import", files.Path("s.tsv"), "-o", files.Path("s.kav")}, options);
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    r = RunProgram(alone, {"info", files.Path("s.kav")}, options);
    EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, RunKavtool({"info", files.Path("s.kav")}, options).Out);

    const QStringList port[] = {
        {"acquire", "--port", "SIM", "--out", files.Dir.path()},
        {"listen", "--port", "SIM"},
        {"--lang", "en", "listen", "--port", "SIM"},
    };
    for (const QStringList& args : port) {
        r = RunProgram(alone, args, options);
        const std::string what = args.join(' ').toStdString() + " -> " + r.Err.toStdString();
        EXPECT_EQ(r.Exit, 1) << what;
        EXPECT_EQ(r.Out, QString()) << what;
        EXPECT_EQ(r.Err.count(u'\n'), 1) << what;
        EXPECT_TRUE(r.Err.startsWith("kavtool: cannot run the serial-line part of kavtool"))
            << what;
        EXPECT_TRUE(r.Err.contains("libexec/kav7/kavtool-port")) << what;
        EXPECT_TRUE(r.Err.contains(QString::fromLocal8Bit(std::strerror(ENOENT)))) << what;
    }
    EXPECT_TRUE(QDir(files.Dir.path()).entryList({"*.kav"}).contains("s.kav"));
    EXPECT_EQ(QDir(files.Dir.path()).entryList({"*.kav"}).size(), 1);

    r = RunProgram(alone, {"acquire", "--help"}, options);
    EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.startsWith("usage: kavtool acquire")) << r.Out.toStdString();
}

// The part run on its own (not as kavtool runs it) names what it is for.
TEST(KavtoolParts, TheSerialLinePartRunAloneRefusesOtherCommands) {
    for (const QStringList& args : {QStringList{}, QStringList{"process", "a.kav", "dpph"}}) {
        const TRun r = RunProgram(KAVTOOL_PORT_PATH, args);
        EXPECT_EQ(r.Exit, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.Out, QString());
        EXPECT_EQ(r.Err, "kavtool-port: kavtool runs it for acquire and listen; see kavtool "
                         "--help\n");
    }
}

} // namespace
