// The main window: its actions, menus and tool bar, its start and close with
// Kav.ini, and the option dialogs of its menus, scripted and modal.

#include "app_fixture.h"

#include "app/about_dialog.h"
#include "app/dialog_wiring.h"
#include "app/message_box_port.h"
#include "config/unit_setup_dialog.h"
#include "kav_version.h"
#include "processing/min_max_setup_dialog.h"
#include "processing/processing_actions.h"
#include "scripted_port.h"
#include "view/display_color_painter.h"
#include "view/view_bounds_widget.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

// The names of the actions of a menu in order, "-" for a separator, the
// submenu by its title.
QStringList Entries(const QList<QAction*>& actions) {
    QStringList out;
    for (const QAction* a : actions)
        out << (a->isSeparator() ? QStringLiteral("-")
                : a->menu()      ? Caption(a->menu()->title())
                                 : a->objectName());
    return out;
}

using TActionsTest = TWindowTest;

// Every panel is shown and no message covers the bar.
void ExpectAllPanelsShown(TKavMainForm& w, const QString& where) {
    SCOPED_TRACE(where.toStdString());
    TKavStatusBar* bar = Bar(w);
    EXPECT_EQ(bar->currentMessage(), QString());
    for (int k = 0; k < TKavStatusBar::PanelCount; ++k)
        EXPECT_TRUE(bar->PanelLabel(k)->isVisible()) << "panel " << k;
}

} // namespace

// In receive mode (the default) AReceive is checked and disabled. No action
// has a status tip: it would hide the status panels.
TEST_F(TActionsTest, EveryActionStartsInItsStateWithoutAStatusTip) {
    QStringList named, disabled, checkable, checked;
    for (QAction* a : W->findChildren<QAction*>()) {
        if (!a->objectName().startsWith(u'A') || !a->property("category").isValid())
            continue;
        named << a->objectName();
        EXPECT_EQ(a->statusTip(), QString()) << a->objectName().toStdString();
        for (auto [list, on] : {std::pair{&disabled, !a->isEnabled()},
                                {&checkable, a->isCheckable()},
                                {&checked, a->isChecked()}})
            if (on)
                *list << a->objectName();
    }
    EXPECT_EQ(named.size(), 49);
    for (QStringList* list : {&disabled, &checkable, &checked})
        list->sort();
    EXPECT_EQ(disabled, (QStringList{"AAnalysisResults", "ABackUp", "ACompareOff", "AReceive",
                                     "ASaveFileAs", "AStart"}));
    EXPECT_EQ(checkable,
              (QStringList{"AADCView", "AAnalyse", "AGShow", "AMessageView", "AMouseSelect",
                           "AReceive", "ASWSum", "ASwLPF", "AToolBar", "AVisir1", "AVisir2"}));
    EXPECT_EQ(checked, (QStringList{"AReceive", "AToolBar"}));
}

TEST_F(TActionsTest, MenusAndToolBarInOrderWithTheirSeparators) {
    const std::pair<const char*, QStringList> menus[] = {
        {"Спектр",
         {"AReceive", "AAnalyse", "-", "AOpenFile", "Последние файлы", "ASaveFileAs", "AExport",
          "AImport", "ACloseSpectr", "-", "ACompare", "ACompareOff", "-", "APrintSetup", "-",
          "APrintForm", "-", "AExit"}},
        {"Вид",
         {"ARepaint", "-", "AIncScale", "ADecScale", "AAllView", "-", "AADCView", "-",
          "AStandVisir", "AVisir1", "AVisir2", "-", "AToolBar", "-", "AMessageView"}},
        {"Развертка", {"AStop", "AStart", "-", "AResetDiap", "AMouseSelect"}},
        {"Функции",
         {"ABackUp", "-", "AFilterSetup", "AGlissSetup", "AEqualize", "AIntegr", "AMinMaxSetup",
          "ADivision", "ACalcFrecDFPG", "AGShow", "-", "AFitLines", "AAnalysisResults"}},
        {"Настройка",
         {"ARealTime", "AAutoSave", "AOpenUnits", "ASetupCom", "AColorSetup", "Язык", "-",
          "AAbout"}},
    };
    const QList<QAction*> bar = W->menuBar()->actions();
    ASSERT_EQ(bar.size(), static_cast<int>(std::size(menus)));
    for (int k = 0; k < bar.size(); ++k) {
        EXPECT_EQ(Caption(bar[k]->text()), QString::fromUtf8(menus[k].first));
        EXPECT_EQ(Entries(bar[k]->menu()->actions()), menus[k].second);
    }
    EXPECT_EQ(Entries(Find<QMenu>(*W, "ScreenMenu")->actions()),
              (QStringList{"AStandVisir", "AVisir1", "AVisir2", "-", "AAllView", "-", "ARepaint"}));

    // The tool bar, its drop-down of recent files, a short caption and the
    // context menus of the real-time switches.
    QToolBar* tools = Find<QToolBar>(*W, "MainBar");
    EXPECT_EQ(tools->height(), TKavMainForm::ToolBarHeight);
    EXPECT_EQ(Entries(tools->actions()),
              (QStringList{"ASaveFileAs", "AOpenFile", "ACloseSpectr", "APrint", "-", "AReceive",
                           "AAnalyse", "-", "ABackUp", "AGliss", "AEqualize", "AIntegr", "AMinMax",
                           "-", "ASwLPF", "ASWSum"}));
    const auto button = [&](const char* name) {
        return qobject_cast<QToolButton*>(
            tools->widgetForAction(W->findChild<QAction*>(QString::fromLatin1(name))));
    };
    ASSERT_NE(button("AOpenFile"), nullptr);
    EXPECT_EQ(button("AOpenFile")->menu(), Find<QMenu>(*W, "RecentFilesDropDown"));
    EXPECT_EQ(button("AOpenFile")->popupMode(), QToolButton::MenuButtonPopup);
    EXPECT_EQ(button("AEqualize")->text(), QStringLiteral("Выравн."));
    // A right click on either real-time switch opens a menu that holds
    // "Прием спектров..." alone, not the switch's own action.
    for (const char* name : {"ASwLPF", "ASWSum"}) {
        SCOPED_TRACE(name);
        QToolButton* b = button(name);
        const QPoint at = b->rect().center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, b->mapToGlobal(at));
        QApplication::sendEvent(b, &click);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(Entries(menu->actions()), QStringList{"ARealTime"});
        menu->close();
    }
}

// The panels stay in view while the pointer rests on a tool button or a menu
// item: the actions' hints are tool tips, never status-bar messages.
TEST_F(TActionsTest, PointerOnAToolButtonOrAMenuItemLeavesThePanelsInView) {
    Bar(*W)->SetPanel(10, QStringLiteral("НАКОПЛ [1 из 2]"));
    int hinted = 0;
    for (QToolButton* button : Find<QToolBar>(*W, "MainBar")->findChildren<QToolButton*>()) {
        QAction* action = button->defaultAction();
        if (!action || !button->isVisible())
            continue;
        QTest::mouseMove(button);
        QApplication::processEvents();
        ExpectAllPanelsShown(*W, action->objectName());
        if (!action->toolTip().isEmpty() && action->toolTip() != action->text()) {
            ++hinted;
            EXPECT_EQ(button->toolTip(), action->toolTip()) << action->objectName().toStdString();
        }
    }
    EXPECT_GE(hinted, 10); // "ФНЧ(р)", "Сумма", "Печать", "Прием" and the rest
    QTest::mouseMove(Plot(*W));

    // Every item of every menu, as the pointer moving down the open menu
    // makes it the active one.
    for (QAction* top : W->menuBar()->actions()) {
        QMenu* menu = top->menu();
        if (!menu)
            continue;
        menu->popup(W->mapToGlobal(QPoint(0, 0)));
        QApplication::processEvents();
        for (QAction* item : menu->actions()) {
            if (item->isSeparator())
                continue;
            menu->setActiveAction(item);
            QApplication::processEvents();
            ExpectAllPanelsShown(*W, top->text() + QStringLiteral(" / ") + item->text());
        }
        menu->hide();
    }
    EXPECT_EQ(Bar(*W)->Panel(10), QStringLiteral("НАКОПЛ [1 из 2]"));
}

TEST_F(TActionsTest, AboutBox) {
    Item("Настройка", "О программе...")->trigger();
    EXPECT_EQ(Port.Dialogs, 1);
    EXPECT_TRUE(Port.DialogLabels.contains(QStringLiteral("Kav7 — КАВ")));
    EXPECT_TRUE(Port.DialogLabels.contains(QStringLiteral("Версия ") + KAV_VERSION_STRING));
    EXPECT_TRUE(Port.DialogLabels.contains(TKavAboutForm::PurposeText()));
}

TEST_F(TActionsTest, ViewAndSweepActionsReachTheSettingsAndThePlot) {
    Item("Вид", "Увеличить масштаб ординаты")->trigger();
    Item("Вид", "Увеличить масштаб ординаты")->trigger();
    EXPECT_EQ(W.Session->Settings().OrdScale, 2);
    EXPECT_EQ(Plot(*W)->Geometry().OrdScale, 2);
    Item("Вид", "Уменьшить масштаб ординаты")->trigger();
    EXPECT_EQ(W.Session->Settings().OrdScale, 1);
    // The scroll bar moves a narrower view keeping its width.
    TKavCfg& cfg = W.Session->Settings();
    Find<TViewBoundsWidget>(*W, "ViewBounds")->SetBounds(10000, 20000);
    Find<QScrollBar>(*W, "HorzScroll")->setValue(30000);
    EXPECT_EQ(std::pair(cfg.ViewMin, cfg.ViewMax), std::pair(30000, 40000));
    EXPECT_EQ(Plot(*W)->Geometry().ViewMin, 30000);
    Item("Вид", "Показать весь спектр")->trigger();
    EXPECT_EQ(cfg.OrdScale, 0);
    EXPECT_EQ(std::pair(cfg.ViewMin, cfg.ViewMax), std::pair(0, 65519));
    EXPECT_EQ(Plot(*W)->Geometry().ViewMax, 65519);

    cfg.PoleMin = 100;
    cfg.PoleMax = 2000;
    Item("Развертка", "Расширить диапазон перестройки")->trigger();
    EXPECT_EQ(std::pair(cfg.PoleMin, cfg.PoleMax), std::pair(0, 65519));
}

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

// Kav.ini's mode, last file and placement at start, and one full paint of the
// plot on the way to the first shown window, drawn at its final size.
TEST(StartUp, TheLastFileModeAndPlaceAndOnePaintOfThePlot) {
    const char* const maximised = "Left=40\r\nTop=30\r\nWidth=700\r\nHeight=480\r\nState=2\r\n";
    const struct {
        int Mode;
        bool FileThere, Maximised;
    } cases[] = {{0, true, false}, {0, true, true}, {1, true, false}, {0, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Mode << c.FileThere << c.Maximised);
        TAppDir dir;
        const QString file = dir.Path("line.kav");
        if (c.FileThere)
            WriteTestSpectrum(file);
        const bool opened = c.Mode == 0 && c.FileThere; // receive mode opens nothing
        dir.WriteIni(
            Ini(file, c.Mode, 1, c.Maximised ? maximised : NormalPlace, opened ? file : QString()));
        TScriptedPort port;
        auto w = ShowWindow(port);
        EXPECT_TRUE(port.Errors.isEmpty());
        if (!c.Maximised) {
            EXPECT_EQ(w->size(), QSize(700, 480));
        }
        const QString title =
            opened ? QStringLiteral("Kavis - line.kav") : QStringLiteral("Kavis. Спектрометр ЭПР");
        EXPECT_EQ(w->windowTitle(), title);
        EXPECT_EQ(Act(*w, "ASaveFileAs")->isEnabled(), opened);
        // Every panel is blank after the first show but the port's (its name,
        // and its rate or "<Закрыт>") and those the file's records fill.
        QStringList panels(TKavStatusBar::PanelCount);
        panels[0] = "COM1";
        panels[1] = c.Mode == 1 ? "9600 бод" : "<Закрыт>";
        if (opened)
            std::tie(panels[5], panels[6], panels[10]) = std::tuple("PR: 3", "S/N: 7", "НАКОПЛ: 4");
        for (int k = 0; k < TKavStatusBar::PanelCount; ++k)
            EXPECT_EQ(Bar(*w)->Panel(k), panels[k]) << k;
        // The recent files are in both menus, the submenu enabled.
        EXPECT_EQ(Find<QMenu>(*w, "RecentFilesMenu")->isEnabled(), opened);
        if (opened) {
            EXPECT_EQ(QApplication::applicationDisplayName(), title);
            const QString caption = QStringLiteral("0 - ") + file;
            ASSERT_EQ(Find<QMenu>(*w, "RecentFilesMenu")->actions().size(), 1);
            EXPECT_EQ(Find<QMenu>(*w, "RecentFilesMenu")->actions()[0]->text(), caption);
            EXPECT_EQ(Find<QMenu>(*w, "RecentFilesDropDown")->actions()[0]->text(), caption);
        }

        TPlotWidget* plot = Plot(*w);
        EXPECT_EQ(plot->FullPaintCount(), 1);
        const QImage shown = plot->Canvas().copy();
        EXPECT_EQ(shown.size(), plot->size());
        plot->ScreenBoxPaint();
        EXPECT_EQ(plot->Canvas(), shown);
        const TPlotGeometry& g = plot->Geometry();
        const QRgb graph = ToRgb(w.Session->Settings().DisplayColors.Graph);
        EXPECT_EQ(shown.pixel(g.XOfCode(20000), g.PointY(w.Session->Points()[20000].Y)) == graph,
                  opened);
    }
}

TEST(StartUp, AHiddenToolBarLeavesItsHeightToThePlotUntilShown) {
    TAppDir dir;
    dir.WriteIni(Ini(QString(), 1, 0, NormalPlace));
    TScriptedPort port;
    auto w = ShowWindow(port);
    QAction* toggle = MenuItem(*w, "Вид", "Панель инструментов");
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_FALSE(Find<QToolBar>(*w, "MainBar")->isVisible());
    QApplication::processEvents();
    const auto top = [&] { return Find<QFrame>(*w, "ScreenPanel")->mapTo(w.get(), QPoint(0, 0)); };
    const QPoint hiddenTop = top();
    const int hiddenHeight = Find<QFrame>(*w, "ScreenPanel")->height();
    toggle->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(toggle->isChecked() && Find<QToolBar>(*w, "MainBar")->isVisible());
    EXPECT_EQ(top().y(), hiddenTop.y() + TKavMainForm::ToolBarHeight);
    EXPECT_EQ(Find<QFrame>(*w, "ScreenPanel")->height(),
              hiddenHeight - TKavMainForm::ToolBarHeight);
    toggle->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(Find<QToolBar>(*w, "MainBar")->isVisible());
    EXPECT_EQ(top(), hiddenTop);
}

// A Kav.ini that is a folder, a FIFO or an endless device is not read: the
// window says why once, and the exit does not put a file in its place.
TEST(StartUp, ASettingsFileThatCannotBeReadIsReportedOnceAndKept) {
    const struct {
        const char* Kind;
        QString Reason;
    } cases[] = {{"folder", QString::fromLocal8Bit(std::strerror(EISDIR))},
                 {"fifo", "Is a FIFO"},
                 {"zero", "Is a character device"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Kind);
        TAppDir dir;
        const QString ini = dir.Path("Kav.ini");
        const QByteArray name = QFile::encodeName(ini);
        if (QByteArray(c.Kind) == "folder")
            ASSERT_TRUE(QDir(dir.Dir.path()).mkdir("Kav.ini"));
        else if (QByteArray(c.Kind) == "fifo")
            ASSERT_EQ(::mkfifo(name.constData(), 0600), 0);
        else
            ASSERT_TRUE(QFile::link("/dev/zero", ini));
        struct stat before {};
        ASSERT_EQ(::lstat(name.constData(), &before), 0);
        TScriptedPort port;
        auto w = ShowWindow(port);
        QApplication::processEvents();
        ASSERT_EQ(port.Warnings.size(), 1);
        EXPECT_EQ(port.Warnings[0], StartupSettingsNotReadText.arg(ini + ": " + c.Reason));
        EXPECT_TRUE(w.Session->Receiving()); // the default mode
        EXPECT_FALSE(w->close());
        struct stat after {};
        ASSERT_EQ(::lstat(name.constData(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode);
    }
}

// A last file or a recent file that is a FIFO: the start passes it by, a
// click on its menu item reports it at once, and the window goes on.
TEST(StartUp, ASpecialFileAsTheLastOrARecentFileDoesNotStopTheWindow) {
    TAppDir dir;
    const QString fifo = dir.Path("fifo.kav");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    dir.WriteIni(Ini(fifo, 0, 1, NormalPlace, fifo));
    TScriptedPort port;
    auto w = ShowWindow(port);
    EXPECT_TRUE(port.Errors.isEmpty());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Kavis. Спектрометр ЭПР"));
    ASSERT_EQ(Find<QMenu>(*w, "RecentFilesMenu")->actions().size(), 1);
    Find<QMenu>(*w, "RecentFilesMenu")->actions()[0]->trigger();
    ASSERT_EQ(port.Errors.size(), 1);
    EXPECT_EQ(port.Errors[0],
              QStringLiteral("Не удалось прочитать файл \"%1\": Is a FIFO").arg(fifo));
    // The open dialog meets the same.
    port.OpenAnswers << fifo;
    MenuItem(*w, "Спектр", "Открыть...")->trigger();
    ASSERT_EQ(port.Errors.size(), 2);
    EXPECT_EQ(port.Errors[1], port.Errors[0]);
    EXPECT_EQ(w.Session->RecentFiles(), QStringList{fifo});
}

// Exit writes the placement (maximised: the state and the normal bounds),
// the tool bar and the mode, and keeps the keys it does not know.
TEST(ShutDown, ExitWritesPlacementToolBarAndModeAndKeepsUnknownKeys) {
    for (const bool maximised : {false, true}) {
        SCOPED_TRACE(maximised);
        TAppDir dir;
        dir.WriteIni(Ini(QString(), maximised, 1, NormalPlace));
        TScriptedPort port;
        auto w = ShowWindow(port);
        if (maximised) {
            w->setWindowState(Qt::WindowMaximized);
            QApplication::processEvents();
        } else {
            w->resize(620, 470);
            Act(*w, "AToolBar")->trigger();
        }
        MenuItem(*w, "Спектр", "Выход")->trigger();
        EXPECT_FALSE(w->isVisible());
        EXPECT_TRUE(port.Warnings.isEmpty() && port.Infos.isEmpty() && port.Errors.isEmpty());
        const TKavCfg saved = dir.ReadBack();
        EXPECT_EQ(saved.Mode, maximised);
        EXPECT_EQ(saved.ToolBar, maximised);
        const auto& at = saved.Position;
        EXPECT_EQ(at.State, maximised ? TWindowState::Maximized : TWindowState::Normal);
        EXPECT_EQ(QSize(at.Width, at.Height), maximised ? QSize(700, 480) : QSize(620, 470));
        if (maximised) {
            EXPECT_EQ(QPoint(at.Left, at.Top), QPoint(40, 30));
        }
        EXPECT_EQ(saved.Rapid, 6);
        EXPECT_TRUE(dir.IniText().contains("HandMade=kept"));
    }
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
    EXPECT_DOUBLE_EQ(w.Session->Settings().RazvUnits[3].X1, 3150);
    EXPECT_EQ(w.Session->Settings().Rapid, 2);
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

namespace {

// Answers the box of a settings file that cannot be written at close; with
// no answer scripted, as a port that cannot ask: an error, kept open.
struct TSaveFailurePort : TScriptedPort {
    QList<TSettingsSaveAnswer> ExitAnswers;
    QStringList Asked;
    TSettingsSaveAnswer SettingsNotSaved(const QString& text) override {
        Asked << text;
        return ExitAnswers.isEmpty() ? TScriptedPort::SettingsNotSaved(text)
                                     : ExitAnswers.takeFirst();
    }
};

} // namespace

TEST(ShutDown, ASettingsFileThatCannotBeWrittenDoesNotTrapTheOperator) {
    TAppDir dir;
    WriteReceiveIni(dir, "COM1");
    TSaveFailurePort port;
    auto w = ShowWindow(port);
    // A directory in the file's place: the write fails, for root as well.
    const QString ini = dir.Path("Kav.ini");
    ASSERT_TRUE(QFile::remove(ini));
    ASSERT_TRUE(QDir().mkdir(ini));

    // Kept open: nothing changes, receiving goes on.
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    ASSERT_EQ(port.Asked.size(), 1);
    EXPECT_TRUE(port.Asked[0].contains("Kav.ini"));
    ASSERT_EQ(port.Errors.size(), 1);
    EXPECT_TRUE(port.Errors[0].startsWith(TMessagePort::SettingsNotSavedText));
    EXPECT_TRUE(w.Session->Engine().KavTimer().isActive());

    // Tried again (it fails again), then closed without saving.
    port.ExitAnswers = {TSettingsSaveAnswer::Retry, TSettingsSaveAnswer::CloseWithoutSaving};
    EXPECT_TRUE(w->close());
    EXPECT_EQ(port.Asked.size(), 3);
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w.Session->Engine().KavTimer().isActive());
    EXPECT_FALSE(w.Session->Receiver().Opened());
    ASSERT_TRUE(QDir().rmdir(ini));
    EXPECT_FALSE(QFile::exists(ini)); // nothing was written
}

namespace {

using TAnswer = TMessagePort::TAnswer;

// Each option dialog's OK brings the window in line; Cancel changes nothing.
using TDialogWiringTest = TDialogWindowTest;

} // namespace

TEST_F(TDialogWiringTest, CancelInEveryDialogChangesNothing) {
    const TKavCfg before = W.Session->Settings();
    const char* const items[][2] = {
        {"Настройка", "Единицы измерения..."},
        {"Настройка", "Автосохранение..."},
        {"Настройка", "Прием спектров..."},
        {"Настройка", "Цвета..."},
        {"Функции", "ФНЧ..."},
        {"Функции", "Сглаживание..."},
        {"Функции", "Поиск экстремумов..."},
    };
    for (const auto& item : items)
        Run(item[0], item[1], Cancel);
    EXPECT_EQ(Opened, (QStringList{"TUnitSetupForm", "TAutoSaveSetupFrm", "TRealTimeSetupForm",
                                   "TColorSetupForm", "TLowPassSetupForm", "TGlissSetupForm",
                                   "TMinMaxSetupForm"}));
    EXPECT_TRUE(W.Session->Settings() == before);
    EXPECT_FALSE(Act(*W, "ABackUp")->isEnabled());
    EXPECT_TRUE(Port.Warnings.isEmpty());
    EXPECT_FALSE(QFile::exists(Dir.Path("Kav.ini")));
    // Only the extremum-search dialog outlives its opening.
    QStringList left;
    for (const QDialog* d : W->findChildren<QDialog*>())
        if (Opened.contains(QString::fromLatin1(d->metaObject()->className())))
            left << QString::fromLatin1(d->metaObject()->className());
    EXPECT_EQ(left, QStringList{"TMinMaxSetupForm"});
}

TEST_F(TDialogWiringTest, CalibrationOkTakesTheSnapshotRefreshesTheTextsAndWritesKavIni) {
    Run("Настройка", "Единицы измерения...", [](QDialog& d) {
        auto* item = Child<QRadioButton>(d, "RazvItem3");
        QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(6, item->height() / 2));
        Ok(d);
    });
    const TKavCfg& cfg = W.Session->Settings();
    EXPECT_EQ(cfg.RazvUnit, 3);
    EXPECT_EQ(cfg.RazvUnits[7], cfg.RazvUnits[3]); // the snapshot
    EXPECT_EQ(Find<TViewBoundsWidget>(*W, "ViewBounds")->MinViewExt()->text(),
              QStringLiteral("3000 Э"));
    EXPECT_EQ(Find<TViewBoundsWidget>(*W, "ViewBounds")->MaxViewExt()->text(),
              QStringLiteral("3300 Э"));
    // The sweep bounds' boxes too, and they keep the new unit when the
    // controls are shown again.
    EXPECT_EQ(W->findChild<TInstrumentGroupsWidget*>()->TopFieldExt()->text(),
              QStringLiteral("3300 Э"));
    EXPECT_EQ(W.Session->Engine().Controls().State().Bounds.TopText, QStringLiteral("3300 Э"));
    EXPECT_EQ(Dir.ReadBack().RazvUnit, 3);

    // Refused unlocking: the file is not written again.
    QFile::remove(Dir.Path("Kav.ini"));
    Port.Answers = {TAnswer::No};
    Run("Настройка", "Единицы измерения...", TickAndOk("EnableBox"));
    EXPECT_EQ(Port.Confirms, QStringList{TUnitSetupForm::ConfirmText});
    EXPECT_FALSE(QFile::exists(Dir.Path("Kav.ini")));
}

// With a file open, OK stores the instrument's calibration and what the
// operator changed, never the field bounds the file brought.
TEST_F(TDialogWiringTest, CalibrationOkWithAFileOpenStoresOnlyWhatTheOperatorChanged) {
    OpenTestSpectrum(); // its sweep unit 3: 3100 .. 3400 Э
    TKavCfg defaults{};
    SetDefaults(defaults, Dir.Dir.path());
    const double low = defaults.RazvUnits[3].X1;
    // The field range of sweep unit 3 shown, and as stored.
    const auto shown = [&] {
        return std::pair(W.Session->Settings().RazvUnits[3].X1,
                         W.Session->Settings().RazvUnits[3].X2);
    };
    const auto stored = [&] {
        const TKavCfg c = Dir.ReadBack();
        return std::pair(c.RazvUnits[3].X1, c.RazvUnits[3].X2);
    };
    Run("Настройка", "Единицы измерения...", Ok);
    EXPECT_EQ(shown().first, 3100); // the file's, still shown
    EXPECT_EQ(stored(), std::pair(low, defaults.RazvUnits[3].X2));

    // An edit of the field's upper end is the operator's: it is stored, and
    // it is what the closed file leaves in force.
    Port.Answers = {TAnswer::Yes};
    Run("Настройка", "Единицы измерения...", [](QDialog& d) {
        Tick(d, "EnableBox");
        auto* max = Child<QLineEdit>(d, "RazvMax3");
        max->selectAll();
        QTest::keyClicks(max, QStringLiteral("3500"));
        Ok(d);
    });
    EXPECT_EQ(stored(), std::pair(low, 3500.0));
    Item("Спектр", "Закрыть")->trigger();
    EXPECT_EQ(shown(), std::pair(low, 3500.0));
    ASSERT_TRUE(W->close());
    EXPECT_EQ(stored(), std::pair(low, 3500.0));
}

TEST_F(TDialogWiringTest, AutoSaveAndRealTimeOkSetTheirPanelAndButtons) {
    Run("Настройка", "Автосохранение...", TickAndOk("OnBox"));
    EXPECT_TRUE(W.Session->Settings().AutoSave);
    EXPECT_EQ(Bar(*W)->Panel(8), QStringLiteral("АВТО"));
    Run("Настройка", "Автосохранение...", TickAndOk("OnBox"));
    EXPECT_FALSE(W.Session->Settings().AutoSave);
    EXPECT_TRUE(Bar(*W)->Panel(8).isEmpty());

    Run("Настройка", "Прием спектров...", TickAndOk("EnLPF"));
    EXPECT_TRUE(Act(*W, "ASwLPF")->isChecked());
    EXPECT_FALSE(Act(*W, "ASWSum")->isChecked());
    // One state: the controls know the check too, so the button blinks.
    EXPECT_TRUE(W.Session->Engine().Controls().State().Action(TAcqAction::RealTimeLpf).Checked);
}

TEST_F(TDialogWiringTest, FilterAndSmoothingRunAfterOk) {
    OpenTestSpectrum();
    const auto raw = std::make_unique<TPointTable>(W.Session->Points());
    auto changedSlots = [&] {
        int n = 0;
        for (int k = 0; k < PointSlotCount; ++k)
            n += W.Session->Points()[k].Y != (*raw)[k].Y;
        return n;
    };
    Run("Функции", "ФНЧ...", [](QDialog& d) {
        QTest::keyClick(Child<QSpinBox>(d, "ConstEdit"), Qt::Key_Up);
        Ok(d);
    });
    EXPECT_EQ(W.Session->Settings().LPFConst, 11);
    EXPECT_TRUE(Act(*W, "ABackUp")->isEnabled());
    EXPECT_GT(changedSlots(), 1000);

    Act(*W, "ABackUp")->trigger();
    ASSERT_EQ(changedSlots(), 0);
    Run("Функции", "Сглаживание...", TickAndOk("AutoBox"));
    EXPECT_TRUE(W.Session->Settings().AutoGliss);
    EXPECT_TRUE(Act(*W, "ABackUp")->isEnabled());
    EXPECT_GT(changedSlots(), 0);
}

TEST_F(TDialogWiringTest, ExtremumSearchOkStoresThenAsksForTheVisirs) {
    TMinMaxSetupForm* created = W->findChild<TMinMaxSetupForm*>();
    Run("Функции", "Поиск экстремумов...", [](QDialog& d) {
        QTest::keyClick(Child<QSpinBox>(d, "NoiseEdit"), Qt::Key_Up);
        Ok(d);
    });
    EXPECT_EQ(W.Session->Settings().FindMaxNoise, 30);
    EXPECT_EQ(Port.Warnings, QStringList{TProcessingActions::MinMaxVisirWarning});
    EXPECT_EQ(W->findChild<TMinMaxSetupForm*>(), created);
    // The next opening shows the stored value, and Cancel searches nothing.
    Run("Функции", "Поиск экстремумов...", [](QDialog& d) {
        EXPECT_EQ(Child<QSpinBox>(d, "NoiseEdit")->value(), 30);
        Cancel(d);
    });
    EXPECT_EQ(Port.Warnings.size(), 1);
}

TEST_F(TDialogWiringTest, ColourOkRepaintsThePlotInTheNewBackground) {
    constexpr TColorValue Navy = 0x800000;
    const int plotArea = Plot(*W)->Canvas().width() * Plot(*W)->Canvas().height();
    ASSERT_LT(PixelsOf(*W, Navy), plotArea / 2);
    Port.Colours = {Navy};
    Run("Настройка", "Цвета...", [](QDialog& d) {
        QTest::mouseClick(Child<QFrame>(d, "BackGround"), Qt::LeftButton);
        Ok(d);
    });
    EXPECT_EQ(W.Session->Settings().DisplayColors.BackGround, Navy);
    EXPECT_GT(PixelsOf(*W, Navy), plotArea / 2);
    EXPECT_EQ(Find<QFrame>(*W, "ScreenPanel")->palette().color(QPalette::Window), ToQColor(Navy));
}

namespace {

// An operator played by timers for modal dialogs and boxes: each step, in
// turn, waits for a modal window of type T (named `name`, when given).
class TOperator {
public:
    template <class T> TOperator& Then(std::function<bool(T&)> act, const char* name = nullptr) {
        Steps.push_back([act, name](QWidget* modal) {
            auto* w = qobject_cast<T*>(modal);
            if (!w || (name && w->objectName() != QLatin1StringView(name)))
                return false;
            return act(*w);
        });
        return *this;
    }
    void Start() { Poll(); }
    bool Done() const { return Next == Steps.size(); }

private:
    // The next poll is due before a step runs: a step may open a modal box.
    void Poll() {
        if (Done())
            return;
        QTimer::singleShot(10, &Context, [this] { Poll(); });
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        // A step that never finds its window fails rather than hangs.
        if (++Polls > 1000) {
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            return;
        }
        const std::size_t step = Next++;
        if (!Steps[step](modal))
            --Next;
    }

    QObject Context; // no poll outlives the operator
    std::vector<std::function<bool(QWidget*)>> Steps;
    std::size_t Next = 0;
    int Polls = 0;
};

} // namespace

TEST(ModalDialogs, TheBoxesReturnWhatTheUserChose) {
    TMessageBoxPort port;
    constexpr TColorValue Olive = 0x008080;
    const std::pair<QMessageBox::StandardButton, TAnswer> answers[] = {
        {QMessageBox::Yes, TAnswer::Yes},
        {QMessageBox::No, TAnswer::No},
        {QMessageBox::Cancel, TAnswer::Cancel},
    };
    TOperator user;
    for (const auto& [button, answer] : answers)
        user.Then<QMessageBox>([button = button](QMessageBox& box) {
            EXPECT_EQ(box.text(), QStringLiteral("Изменить?"));
            EXPECT_EQ(box.standardButtons(),
                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.button(button)->click();
            return true;
        });
    // The colour chooser starts at the colour and may be cancelled.
    user.Then<QColorDialog>([](QColorDialog& d) {
            EXPECT_EQ(d.currentColor(), ToQColor(Olive));
            d.setCurrentColor(QColor(255, 0, 0));
            d.accept();
            return true;
        })
        .Then<QColorDialog>([](QColorDialog& d) {
            d.reject();
            return true;
        })
        .Start();
    for (const auto& [button, answer] : answers)
        EXPECT_EQ(port.Confirm(QStringLiteral("Изменить?")), answer);
    EXPECT_EQ(port.ChooseColor(Olive), std::optional<TColorValue>(255));
    EXPECT_EQ(port.ChooseColor(Olive), std::nullopt);
    EXPECT_TRUE(user.Done());
}

// From the menu to the file: the calibration unlocked with Yes, a value
// typed, OK.
TEST(ModalDialogs, AnOperatorCalibratesTheField) {
    TAppDir dir;
    TMessageBoxPort port;
    auto w = ShowWindow(port);
    port.SetParent(w.get());

    TOperator user;
    user.Then<QDialog>(
            [](QDialog& d) {
                d.findChild<QCheckBox*>("EnableBox")->click();
                return true;
            },
            "TUnitSetupForm")
        .Then<QMessageBox>([](QMessageBox& box) {
            EXPECT_EQ(box.text(), TUnitSetupForm::ConfirmText);
            box.button(QMessageBox::Yes)->click();
            return true;
        })
        .Then<QDialog>(
            [](QDialog& d) {
                auto* max = d.findChild<QLineEdit*>("RazvMax3");
                if (max->isReadOnly())
                    return false; // the answer has not reached the dialog yet
                max->selectAll();
                QTest::keyClicks(max, QStringLiteral("3400"));
                QTest::mouseClick(d.findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
                return true;
            },
            "TUnitSetupForm")
        .Start();
    MenuItem(*w, "Настройка", "Единицы измерения...")->trigger();
    ASSERT_TRUE(user.Done());
    EXPECT_EQ(w.Session->Settings().RazvUnits[3].X2, 3400);
    EXPECT_EQ(dir.ReadBack().RazvUnits[3].X2, 3400);
}
