#include "app_fixture.h"

#include "view/display_color.h"
#include "view/plot_widget.h"
#include "view/status_bar_widget.h"

#include <QAction>
#include <QFileInfo>
#include <QFrame>
#include <QToolBar>
#include <cerrno>
#include <cstring>

namespace {

QByteArray Ini(const QString& lastOpen, int mode, int toolBar, const char* position,
               const QString& recent = QString()) {
    QByteArray text = "[Position]\r\n";
    text += position;
    text += "[Main]\r\nMode=" + QByteArray::number(mode) +
            "\r\nToolBar=" + QByteArray::number(toolBar) + "\r\nLastOpen=" + lastOpen.toLatin1() +
            "\r\nRapid=6\r\nHandMade=kept\r\n";
    if (!recent.isEmpty())
        text += "[RecentFiles]\r\n0=" + recent.toLatin1() + "\r\n";
    return text;
}

const char* const NormalPlace = "Left=40\r\nTop=30\r\nWidth=700\r\nHeight=480\r\nState=0\r\n";

} // namespace

TEST(StartUp, AnalysisModeReopensTheLastFileAndPlacesTheWindow) {
    TAppDir dir;
    const QString file = dir.Path("line.kav");
    WriteTestSpectrum(file);
    dir.WriteIni(Ini(file, 0, 1, NormalPlace, file));
    TScriptedPort port;
    auto w = ShowWindow(port);
    EXPECT_EQ(w->size(), QSize(700, 480));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Kavis - line.kav"));
    EXPECT_EQ(QApplication::applicationDisplayName(), QStringLiteral("Kavis - line.kav"));
    EXPECT_TRUE(w->Actions().ASaveFileAs->isEnabled());
    EXPECT_EQ(w->Points()[1000].X, 1000);
    // The file's records fill their panels once the blanking has run.
    EXPECT_EQ(w->StatusPanels()->Panel(5), QStringLiteral("PR: 3"));
    EXPECT_EQ(w->StatusPanels()->Panel(6), QStringLiteral("S/N: 7"));
    EXPECT_EQ(w->StatusPanels()->Panel(10), QStringLiteral("НАКОПЛ: 4"));
    EXPECT_EQ(w->StatusPanels()->Panel(7), QString());
    // The recent files are in both menus, the submenu enabled.
    const QString caption = QStringLiteral("0 - ") + file;
    ASSERT_EQ(w->Actions().RecentFilesMenu->actions().size(), 1);
    EXPECT_EQ(w->Actions().RecentFilesMenu->actions()[0]->text(), caption);
    EXPECT_EQ(w->Actions().RecentFilesDropDown->actions()[0]->text(), caption);
    EXPECT_TRUE(w->Actions().RecentFilesMenu->isEnabled());
    EXPECT_TRUE(port.Errors.isEmpty());
}

TEST(StartUp, ModeOnOrAMissingFileOpensNothing) {
    for (int mode : {1, 0}) {
        SCOPED_TRACE(mode);
        TAppDir dir;
        const QString file = dir.Path("line.kav");
        if (mode == 1)
            WriteTestSpectrum(file);
        dir.WriteIni(Ini(file, mode, 1, NormalPlace));
        TScriptedPort port;
        auto w = ShowWindow(port);
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Kavis. Спектрометр ЭПР"));
        EXPECT_FALSE(w->Actions().ASaveFileAs->isEnabled());
        EXPECT_EQ(w->Points()[1000].Y, EmptyY);
        EXPECT_EQ(w->IsReceiving(), mode == 1);
        EXPECT_FALSE(w->Actions().RecentFilesMenu->isEnabled());
        EXPECT_TRUE(port.Errors.isEmpty());
        // Every panel is blank after the first show but the port's: its
        // name, and its rate or "<Закрыт>".
        EXPECT_EQ(w->StatusPanels()->Panel(0), QStringLiteral("COM1"));
        EXPECT_EQ(w->StatusPanels()->Panel(1),
                  mode == 1 ? QStringLiteral("9600 бод") : QStringLiteral("<Закрыт>"));
        for (int k = 2; k < TKavStatusBar::PanelCount; ++k)
            EXPECT_EQ(w->StatusPanels()->Panel(k), QString()) << k;
    }
}

TEST(StartUp, ThePlotIsPaintedOnceOnTheWayToTheFirstShownWindow) {
    // Analysis mode re-opening the last file in a maximised window; receive
    // mode in a normal one.
    const char* const maximised = "Left=40\r\nTop=30\r\nWidth=700\r\nHeight=480\r\nState=2\r\n";
    for (int mode : {0, 1}) {
        SCOPED_TRACE(mode);
        TAppDir dir;
        const QString file = dir.Path("line.kav");
        WriteTestSpectrum(file);
        dir.WriteIni(Ini(file, mode, 1, mode == 0 ? maximised : NormalPlace));
        TScriptedPort port;
        auto w = ShowWindow(port);
        TPlotWidget* plot = w->Plot();
        EXPECT_EQ(plot->FullPaintCount(), 1);
        // That paint is the whole picture at the plot's final size.
        const QImage shown = plot->Canvas().copy();
        EXPECT_EQ(shown.size(), plot->size());
        plot->ScreenBoxPaint();
        EXPECT_EQ(plot->Canvas(), shown);
        const TPlotGeometry& g = plot->Geometry();
        const QRgb graph = ToRgb(w->Settings().DisplayColors.Graph);
        EXPECT_EQ(shown.pixel(g.XOfCode(20000), g.PointY(w->Points()[20000].Y)) == graph,
                  mode == 0);
    }
}

TEST(StartUp, HiddenToolBarStartsWithThePlotMovedUp) {
    TAppDir dir;
    dir.WriteIni(Ini(QString(), 1, 0, NormalPlace));
    TScriptedPort port;
    auto w = ShowWindow(port);
    EXPECT_FALSE(w->Actions().AToolBar->isChecked());
    EXPECT_FALSE(w->MainBar()->isVisible());
    TAppDir other;
    other.WriteIni(Ini(QString(), 1, 1, NormalPlace));
    auto shown = ShowWindow(port);
    QApplication::processEvents();
    EXPECT_EQ(w->ScreenPanel()->mapTo(w.get(), QPoint(0, 0)).y(),
              shown->ScreenPanel()->mapTo(shown.get(), QPoint(0, 0)).y() -
                  TKavMainForm::ToolBarHeight);
}

TEST(ShutDown, WritesPlacementToolBarAndKeepsModeAndUnknownKeys) {
    TAppDir dir;
    dir.WriteIni(Ini(QString(), 0, 1, NormalPlace));
    TScriptedPort port;
    auto w = ShowWindow(port);
    w->resize(620, 470);
    w->Actions().AToolBar->trigger();
    ASSERT_TRUE(w->close());
    const TKavCfg saved = dir.ReadBack();
    EXPECT_FALSE(saved.Mode);
    EXPECT_FALSE(saved.ToolBar);
    EXPECT_EQ(saved.Position.State, 0);
    EXPECT_EQ(saved.Position.Width, 620);
    EXPECT_EQ(saved.Position.Height, 470);
    EXPECT_EQ(saved.Rapid, 6);
    EXPECT_TRUE(dir.IniText().contains("HandMade=kept"));
}

TEST(ShutDown, MaximisedWindowStoresStateAndKeepsTheNormalBounds) {
    TAppDir dir;
    dir.WriteIni(Ini(QString(), 1, 1, NormalPlace));
    TScriptedPort port;
    auto w = ShowWindow(port);
    w->setWindowState(Qt::WindowMaximized);
    QApplication::processEvents();
    ASSERT_TRUE(w->close());
    const TKavCfg saved = dir.ReadBack();
    EXPECT_EQ(saved.Position.State, 2);
    EXPECT_EQ(saved.Position.Left, 40);
    EXPECT_EQ(saved.Position.Top, 30);
    EXPECT_EQ(saved.Position.Width, 700);
    EXPECT_EQ(saved.Position.Height, 480);
    EXPECT_TRUE(saved.Mode);
}

TEST(ShutDown, AFileOpenAtExitLeavesTheStoredUnitsAndSpeed) {
    TAppDir dir;
    const QString file = dir.Path("stopped.kav");
    // The file's sweep unit 3 differs from the stored one, and it was
    // recorded while the sweep was stopped.
    WriteTestSpectrum(file, TSpectrumRecords{2, 3150, 3450, 1, 1, 1});
    dir.WriteIni(Ini(file, 0, 1, NormalPlace));
    TScriptedPort port;
    auto w = ShowWindow(port);
    ASSERT_EQ(w->windowTitle(), QStringLiteral("Kavis - stopped.kav"));
    EXPECT_DOUBLE_EQ(w->Settings().RazvUnits[3].X1, 3150);
    EXPECT_EQ(w->Settings().Rapid, 2);
    ASSERT_TRUE(w->close());
    const TKavCfg saved = dir.ReadBack();
    TKavCfg defaults{};
    SetDefaults(defaults, dir.Dir.path());
    EXPECT_DOUBLE_EQ(saved.RazvUnits[3].X1, defaults.RazvUnits[3].X1);
    EXPECT_DOUBLE_EQ(saved.RazvUnits[3].X2, defaults.RazvUnits[3].X2);
    EXPECT_NEAR(saved.RazvUnits[3].KoeffK, defaults.RazvUnits[3].KoeffK, 1e-12);
    EXPECT_NEAR(saved.RazvUnits[3].KoeffB, defaults.RazvUnits[3].KoeffB, 1e-9);
    EXPECT_EQ(saved.Rapid, 6);
    EXPECT_EQ(saved.LastOpen, file);
}

TEST(ShutDown, FailedSaveKeepsTheWindowOpenAndTheNextCloseRetries) {
    TAppDir dir;
    TScriptedPort port;
    auto w = ShowWindow(port);
    // A directory where the settings file should be: it cannot be written.
    ASSERT_TRUE(QDir(dir.Dir.path()).mkdir("Kav.ini"));
    w->Settings().VisKoord1 = 1234;
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    ASSERT_EQ(port.Errors.size(), 1);
    EXPECT_TRUE(port.Errors[0].contains(QStringLiteral("Kav.ini")));
    ASSERT_TRUE(QDir(dir.Dir.path()).rmdir("Kav.ini"));
    EXPECT_TRUE(w->close());
    EXPECT_EQ(dir.ReadBack().VisKoord1, 1234);
}

TEST(ShutDown, ExitClosesWithoutAQuestion) {
    TAppDir dir;
    TScriptedPort port;
    auto w = ShowWindow(port);
    MenuItem(*w, "Спектр", "Выход")->trigger();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(QFile::exists(dir.Path("Kav.ini")));
    EXPECT_TRUE(port.Warnings.isEmpty() && port.Infos.isEmpty() && port.Errors.isEmpty());
}

TEST(StartUp, ASettingsFileThatCannotBeReadIsReportedOnceAndKept) {
    TAppDir dir;
    ASSERT_TRUE(QDir(dir.Dir.path()).mkdir("Kav.ini"));
    TScriptedPort port;
    auto w = ShowWindow(port);
    ASSERT_EQ(port.Warnings.size(), 1);
    EXPECT_EQ(port.Warnings[0],
              StartupSettingsNotReadText.arg(dir.Path("Kav.ini") + ": " +
                                             QString::fromLocal8Bit(std::strerror(EISDIR))));
    // The exit does not put a file in its place.
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(QFileInfo(dir.Path("Kav.ini")).isDir());
}
