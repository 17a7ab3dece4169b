#pragma once

class QAction;
class QFont;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

// Every action of the main window. Each QAction carries its name as object
// name, its category in the property "category", its caption, and its hint
// as tool tip and status tip.
struct TMainActions {
    QAction* AAllView = nullptr;
    QAction* AOpenFile = nullptr;
    QAction* ASaveFileAs = nullptr;
    QAction* ACloseSpectr = nullptr;
    QAction* AResetDiap = nullptr;
    QAction* AIncScale = nullptr;
    QAction* ADecScale = nullptr;
    QAction* AVisir1 = nullptr;
    QAction* AVisir2 = nullptr;
    QAction* AAnalyse = nullptr;
    QAction* AReceive = nullptr;
    QAction* AMessageView = nullptr;
    QAction* ASetupCom = nullptr;
    QAction* AStop = nullptr;
    QAction* AStart = nullptr;
    QAction* ARepaint = nullptr;
    QAction* AExit = nullptr;
    QAction* AMouseSelect = nullptr;
    QAction* AOpenUnits = nullptr;
    QAction* AADCView = nullptr;
    QAction* AToolBar = nullptr;
    QAction* AAutoSave = nullptr;
    QAction* AFilterSetup = nullptr;
    QAction* AFilter = nullptr;
    QAction* ARealTime = nullptr;
    QAction* APrint = nullptr;
    QAction* APrintSetup = nullptr;
    QAction* AColorSetup = nullptr;
    QAction* APrintForm = nullptr;
    QAction* ASwLPF = nullptr;
    QAction* ASWSum = nullptr;
    QAction* AAbout = nullptr;
    QAction* AIntegr = nullptr;
    QAction* AGlissSetup = nullptr;
    QAction* AGliss = nullptr;
    QAction* ABackUp = nullptr;
    QAction* AEqualize = nullptr;
    QAction* AMinMax = nullptr;
    QAction* AStandVisir = nullptr;
    QAction* AMinMaxSetup = nullptr;
    QAction* ADivision = nullptr;
    QAction* ACalcFrecDFPG = nullptr;
    QAction* AGShow = nullptr;
    QAction* AExport = nullptr;
    QAction* AImport = nullptr;
    QAction* AFitLines = nullptr;
    QAction* AAnalysisResults = nullptr;
    QAction* ACompare = nullptr;
    QAction* ACompareOff = nullptr;

    // The submenu "Последние файлы" and the open button's drop-down.
    QMenu* RecentFilesMenu = nullptr;
    QMenu* RecentFilesDropDown = nullptr;
    // The plot's pop-up menu (ScreenMenu).
    QMenu* ScreenMenu = nullptr;
    // The right-click menu of the two real-time switches: ARealTime.
    QMenu* RealTimeMenu = nullptr;
    // "Настройка → Язык" with its two exclusive, checkable languages.
    QMenu* LanguageMenu = nullptr;
    QAction* ALanguageRu = nullptr;
    QAction* ALanguageEn = nullptr;
};

// Creates the actions with their captions, hints, categories, initial
// states and the desktop's usual keys, owned by the window. Actions whose dialog or engine the
// program does not have yet are disabled.
TMainActions BuildMainActions(QMainWindow* window);

// Puts the captions, hints and menu titles into the program's language
// (after a change of language; BuildMainActions calls it once).
void RetranslateMainActions(TMainActions& actions);

// The five menus "Спектр", "Вид", "Развертка", "Функции", "Настройка" in
// order with their separators, the recent-files submenu included. Every menu
// and item has an underlined letter (Alt+letter, or the letter in an open
// menu), and F10 opens the first menu.
void BuildMainMenus(QMenuBar* bar, TMainActions& actions);

// The tool bar MainBar, left to right, with the open button's drop-down and
// the context menu of the two real-time buttons.
void BuildMainToolBar(QToolBar* bar, TMainActions& actions);

// The window's default width: the tool bar shows every button at it.
constexpr int MainBarFitWidth = 760;

// Gives the tool bar's buttons the caption font `font`, a point smaller at a
// time (not below MinimumCaptionPoints) while the bar is wider than `width`:
// desktops differ in their font (9 points in Qt's default, "Sans 10" or
// "Cantarell 11" from GTK), and the captions under the icons make up most of
// the bar's width.
constexpr double MinimumCaptionPoints = 6;
void FitToolBarCaptions(QToolBar* bar, QFont font, int width);

// The plot's pop-up menu.
void BuildScreenMenu(QWidget* owner, TMainActions& actions);
