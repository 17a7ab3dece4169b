#include "app/main_actions.h"

#include "app/tool_icon_painter.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCoreApplication>
#include <QKeySequence>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>

namespace {

enum TInitial : unsigned {
    Plain = 0,
    Off = 1,      // disabled at start
    Marked = 2,   // check mark shown at start
    Checkable = 4 // shows a check mark (toggling or set by its handler)
};

struct TActionRow {
    QAction* TMainActions::*Member;
    const char* Name;
    const char* Category;
    const char* Caption;
    const char* Hint;
    unsigned Initial;
};

// The action list: name, category, caption, hint, initial state.
const TActionRow ActionRows[] = {
    {&TMainActions::AAllView, "AAllView", "View",
     QT_TRANSLATE_NOOP("MainActions", "Показать &весь спектр"),
     QT_TRANSLATE_NOOP("MainActions", "Показать весь спектр"), Plain},
    {&TMainActions::AOpenFile, "AOpenFile", "Spectr",
     QT_TRANSLATE_NOOP("MainActions", "&Открыть..."),
     QT_TRANSLATE_NOOP("MainActions", "Открыть спектр из файла"), Plain},
    {&TMainActions::ASaveFileAs, "ASaveFileAs", "Spectr",
     QT_TRANSLATE_NOOP("MainActions", "&Сохранить..."),
     QT_TRANSLATE_NOOP("MainActions", "Сохранить спектр"), Off},
    {&TMainActions::ACloseSpectr, "ACloseSpectr", "Spectr",
     QT_TRANSLATE_NOOP("MainActions", "&Закрыть"),
     QT_TRANSLATE_NOOP("MainActions", "Убрать текущий спектр"), Plain},
    {&TMainActions::AResetDiap, "AResetDiap", "Razv",
     QT_TRANSLATE_NOOP("MainActions", "&Расширить диапазон перестройки"),
     QT_TRANSLATE_NOOP("MainActions", "Расширить диапазон пересройки до максимума"), Plain},
    {&TMainActions::AIncScale, "AIncScale", "View",
     QT_TRANSLATE_NOOP("MainActions", "&Увеличить масштаб ординаты"), "", Plain},
    {&TMainActions::ADecScale, "ADecScale", "View",
     QT_TRANSLATE_NOOP("MainActions", "Уме&ньшить масштаб ординаты"), "", Plain},
    {&TMainActions::AVisir1, "AVisir1", "View", QT_TRANSLATE_NOOP("MainActions", "Визир &1"), "",
     Checkable},
    {&TMainActions::AVisir2, "AVisir2", "View", QT_TRANSLATE_NOOP("MainActions", "Визир &2"), "",
     Checkable},
    {&TMainActions::AAnalyse, "AAnalyse", "Spectr", QT_TRANSLATE_NOOP("MainActions", "&Анализ"),
     QT_TRANSLATE_NOOP("MainActions", "Анализ принятых спектров"), Checkable},
    {&TMainActions::AReceive, "AReceive", "Spectr", QT_TRANSLATE_NOOP("MainActions", "&Прием"),
     QT_TRANSLATE_NOOP("MainActions", "Прием спектров от спектрометра"), Checkable},
    {&TMainActions::AMessageView, "AMessageView", "View",
     QT_TRANSLATE_NOOP("MainActions", "&Окно сообщений"), "", Checkable},
    {&TMainActions::ASetupCom, "ASetupCom", "Setup",
     QT_TRANSLATE_NOOP("MainActions", "&Выбор порта..."), "", Plain},
    {&TMainActions::AStop, "AStop", "Razv", QT_TRANSLATE_NOOP("MainActions", "&СТОП"),
     QT_TRANSLATE_NOOP("MainActions", "Остановить развертку"), Plain},
    {&TMainActions::AStart, "AStart", "Razv", QT_TRANSLATE_NOOP("MainActions", "&ПУСК"),
     QT_TRANSLATE_NOOP("MainActions", "Продолжить развертку"), Off},
    {&TMainActions::ARepaint, "ARepaint", "View", QT_TRANSLATE_NOOP("MainActions", "&Перерисовать"),
     "", Plain},
    {&TMainActions::AExit, "AExit", "Spectr", QT_TRANSLATE_NOOP("MainActions", "&Выход"), "",
     Plain},
    {&TMainActions::AMouseSelect, "AMouseSelect", "Razv",
     QT_TRANSLATE_NOOP("MainActions", "&Определить  мышью"),
     QT_TRANSLATE_NOOP("MainActions", "Определить границы мышью"), Checkable},
    {&TMainActions::AOpenUnits, "AOpenUnits", "Setup",
     QT_TRANSLATE_NOOP("MainActions", "&Единицы измерения..."), "", Plain},
    {&TMainActions::AADCView, "AADCView", "View", QT_TRANSLATE_NOOP("MainActions", "ВХОД  &АЦП"),
     QT_TRANSLATE_NOOP("MainActions", "Текущие измерения по входу АЦП"), Checkable},
    {&TMainActions::AToolBar, "AToolBar", "View",
     QT_TRANSLATE_NOOP("MainActions", "Панель &инструментов"),
     QT_TRANSLATE_NOOP("MainActions", "Показать/скрыть панель инструментов"), Marked | Checkable},
    {&TMainActions::AAutoSave, "AAutoSave", "Setup",
     QT_TRANSLATE_NOOP("MainActions", "&Автосохранение..."), "", Plain},
    {&TMainActions::AFilterSetup, "AFilterSetup", "Functions",
     QT_TRANSLATE_NOOP("MainActions", "&ФНЧ..."), "", Plain},
    {&TMainActions::AFilter, "AFilter", "Functions", QT_TRANSLATE_NOOP("MainActions", "ФНЧ"),
     QT_TRANSLATE_NOOP("MainActions", "Фильтрация текущего спектра"), Plain},
    {&TMainActions::ARealTime, "ARealTime", "Setup",
     QT_TRANSLATE_NOOP("MainActions", "&Прием спектров..."), "", Plain},
    {&TMainActions::APrint, "APrint", "Spectr", QT_TRANSLATE_NOOP("MainActions", "Печать"),
     QT_TRANSLATE_NOOP("MainActions", "Печать спектра с текущими установками принтера"), Plain},
    {&TMainActions::APrintSetup, "APrintSetup", "Spectr",
     QT_TRANSLATE_NOOP("MainActions", "Печа&ть спектра..."), "", Plain},
    {&TMainActions::AColorSetup, "AColorSetup", "Setup",
     QT_TRANSLATE_NOOP("MainActions", "&Цвета..."), "", Plain},
    {&TMainActions::APrintForm, "APrintForm", "Spectr",
     QT_TRANSLATE_NOOP("MainActions", "Печать &главного окна"), "", Plain},
    {&TMainActions::ASwLPF, "ASwLPF", "Setup", QT_TRANSLATE_NOOP("MainActions", "ФНЧ(р)"),
     QT_TRANSLATE_NOOP("MainActions", "ФНЧ реального времени"), Checkable},
    {&TMainActions::ASWSum, "ASWSum", "Setup", QT_TRANSLATE_NOOP("MainActions", "Сумма"),
     QT_TRANSLATE_NOOP("MainActions", "Накопление спектров"), Checkable},
    {&TMainActions::AAbout, "AAbout", "Setup", QT_TRANSLATE_NOOP("MainActions", "&О программе..."),
     "", Plain},
    {&TMainActions::AIntegr, "AIntegr", "Functions", QT_TRANSLATE_NOOP("MainActions", "&Интеграл"),
     QT_TRANSLATE_NOOP("MainActions", "Подсчет интеграла"), Plain},
    {&TMainActions::AGlissSetup, "AGlissSetup", "Functions",
     QT_TRANSLATE_NOOP("MainActions", "&Сглаживание..."), "", Plain},
    {&TMainActions::AGliss, "AGliss", "Functions", QT_TRANSLATE_NOOP("MainActions", "Сглаживание"),
     QT_TRANSLATE_NOOP("MainActions", "Сглаживание спектра"), Plain},
    {&TMainActions::ABackUp, "ABackUp", "Functions", QT_TRANSLATE_NOOP("MainActions", "&Отмена"),
     QT_TRANSLATE_NOOP("MainActions", "Вернуться к предыдущему"), Off},
    {&TMainActions::AEqualize, "AEqualize", "Functions",
     QT_TRANSLATE_NOOP("MainActions", "&Выравнивание"),
     QT_TRANSLATE_NOOP("MainActions", "Выравнивание спектра"), Plain},
    {&TMainActions::AMinMax, "AMinMax", "Functions", QT_TRANSLATE_NOOP("MainActions", "MinMax"),
     QT_TRANSLATE_NOOP("MainActions", "Поиск экстремумов"), Plain},
    {&TMainActions::AStandVisir, "AStandVisir", "View",
     QT_TRANSLATE_NOOP("MainActions", "Ус&тановить визиры"), "", Plain},
    {&TMainActions::AMinMaxSetup, "AMinMaxSetup", "Functions",
     QT_TRANSLATE_NOOP("MainActions", "&Поиск экстремумов..."), "", Plain},
    {&TMainActions::ADivision, "ADivision", "Functions",
     QT_TRANSLATE_NOOP("MainActions", "О&тношение пиков"),
     QT_TRANSLATE_NOOP("MainActions", "Нахождение отношения двух пиков"), Plain},
    {&TMainActions::ACalcFrecDFPG, "ACalcFrecDFPG", "Functions",
     QT_TRANSLATE_NOOP("MainActions", "&Расcчитать частоту по ДФПГ"),
     QT_TRANSLATE_NOOP("MainActions", "Используется Визир 1"), Plain},
    {&TMainActions::AGShow, "AGShow", "Functions",
     QT_TRANSLATE_NOOP("MainActions", "Отображать &g-фактор"), "", Checkable},
    {&TMainActions::AExport, "AExport", "Spectr", QT_TRANSLATE_NOOP("MainActions", "&Экспорт..."),
     QT_TRANSLATE_NOOP("MainActions", "Записать спектр или рисунок графика для других программ"),
     Plain},
    {&TMainActions::AImport, "AImport", "Spectr", QT_TRANSLATE_NOOP("MainActions", "&Импорт..."),
     QT_TRANSLATE_NOOP("MainActions", "Открыть спектр другой программы"), Plain},
    {&TMainActions::AFitLines, "AFitLines", "Functions",
     QT_TRANSLATE_NOOP("MainActions", "&Аппроксимация линий..."),
     QT_TRANSLATE_NOOP("MainActions", "Аппроксимация линий между визирами"), Plain},
    {&TMainActions::AAnalysisResults, "AAnalysisResults", "Functions",
     QT_TRANSLATE_NOOP("MainActions", "Ре&зультаты анализа..."),
     QT_TRANSLATE_NOOP("MainActions", "Снова показать окно результатов аппроксимации и сравнения"),
     Off},
    {&TMainActions::ACompare, "ACompare", "Spectr",
     QT_TRANSLATE_NOOP("MainActions", "С&равнить с..."),
     QT_TRANSLATE_NOOP("MainActions", "Наложить спектр сравнения на текущий"), Plain},
    {&TMainActions::ACompareOff, "ACompareOff", "Spectr",
     QT_TRANSLATE_NOOP("MainActions", "&Убрать сравнение"),
     QT_TRANSLATE_NOOP("MainActions", "Убрать спектр сравнения"), Off},
};

struct TIconRow {
    QAction* TMainActions::*Member;
    TToolGlyph Glyph;
};

// Images of the tool bar's buttons, of the AAllView button and of the sweep
// group's buttons.
const TIconRow IconRows[] = {
    {&TMainActions::ASaveFileAs, TToolGlyph::Save},
    {&TMainActions::AOpenFile, TToolGlyph::Open},
    {&TMainActions::ACloseSpectr, TToolGlyph::Close},
    {&TMainActions::APrint, TToolGlyph::Print},
    {&TMainActions::AReceive, TToolGlyph::Receive},
    {&TMainActions::AAnalyse, TToolGlyph::Analyse},
    {&TMainActions::ABackUp, TToolGlyph::Undo},
    {&TMainActions::AGliss, TToolGlyph::Smooth},
    {&TMainActions::AEqualize, TToolGlyph::Level},
    {&TMainActions::AIntegr, TToolGlyph::Integral},
    {&TMainActions::AMinMax, TToolGlyph::Extrema},
    {&TMainActions::ASwLPF, TToolGlyph::LowPass},
    {&TMainActions::ASWSum, TToolGlyph::Sum},
    {&TMainActions::AAllView, TToolGlyph::WholeSpectrum},
    {&TMainActions::AStop, TToolGlyph::Stop},
    {&TMainActions::AStart, TToolGlyph::Start},
    {&TMainActions::AResetDiap, TToolGlyph::WidenRange},
    {&TMainActions::AMouseSelect, TToolGlyph::MouseSelect},
};

struct TShortcutRow {
    QAction* TMainActions::*Member;
    QKeySequence::StandardKey Key;
    const char* Otherwise; // where the platform defines no key for it
};

// The desktop's usual keys, as the platform defines them (on Linux desktops
// Ctrl+O, Ctrl+S, Ctrl+P, Ctrl+Z, Ctrl+Q, Ctrl++, Ctrl+-, F5); the menus
// show them beside the captions.
const TShortcutRow ShortcutRows[] = {
    {&TMainActions::AOpenFile, QKeySequence::Open, "Ctrl+O"},
    {&TMainActions::ASaveFileAs, QKeySequence::Save, "Ctrl+S"},
    {&TMainActions::APrintSetup, QKeySequence::Print, "Ctrl+P"},
    {&TMainActions::ABackUp, QKeySequence::Undo, "Ctrl+Z"},
    {&TMainActions::AExit, QKeySequence::Quit, "Ctrl+Q"},
    {&TMainActions::AIncScale, QKeySequence::ZoomIn, "Ctrl++"},
    {&TMainActions::ADecScale, QKeySequence::ZoomOut, "Ctrl+-"},
    {&TMainActions::ARepaint, QKeySequence::Refresh, "F5"},
};

struct TMenuTitle {
    const char* Name;
    const char* Title;
};

// The menus of the bar by object name.
const TMenuTitle MenuTitles[] = {
    {"SpectrMenu", QT_TRANSLATE_NOOP("MainActions", "&Спектр")},
    {"ViewMenu", QT_TRANSLATE_NOOP("MainActions", "&Вид")},
    {"RazvMenu", QT_TRANSLATE_NOOP("MainActions", "&Развертка")},
    {"FunctionsMenu", QT_TRANSLATE_NOOP("MainActions", "&Функции")},
    {"SetupMenu", QT_TRANSLATE_NOOP("MainActions", "&Настройка")},
};

} // namespace

TMainActions BuildMainActions(QMainWindow* window) {
    TMainActions a;
    for (const TActionRow& row : ActionRows) {
        auto* action = new QAction(window);
        action->setObjectName(QString::fromLatin1(row.Name));
        action->setProperty("category", QString::fromLatin1(row.Category));
        action->setCheckable((row.Initial & (Checkable | Marked)) != 0);
        action->setChecked((row.Initial & Marked) != 0);
        action->setEnabled((row.Initial & Off) == 0);
        a.*row.Member = action;
    }
    for (const TIconRow& row : IconRows)
        (a.*row.Member)->setIcon(ToolIcon(row.Glyph));
    for (const TShortcutRow& row : ShortcutRows) {
        QList<QKeySequence> keys = QKeySequence::keyBindings(row.Key);
        if (keys.isEmpty())
            keys << QKeySequence(QString::fromLatin1(row.Otherwise), QKeySequence::PortableText);
        (a.*row.Member)->setShortcuts(keys);
    }
    a.RecentFilesMenu = new QMenu(window);
    a.RecentFilesMenu->setObjectName(QStringLiteral("RecentFilesMenu"));
    a.RecentFilesMenu->setEnabled(false);
    a.RecentFilesDropDown = new QMenu(window);
    a.RecentFilesDropDown->setObjectName(QStringLiteral("RecentFilesDropDown"));
    // "Настройка → Язык": each language named in itself.
    a.LanguageMenu = new QMenu(window);
    a.LanguageMenu->setObjectName(QStringLiteral("LanguageMenu"));
    auto* languages = new QActionGroup(window);
    a.ALanguageRu = new QAction(QStringLiteral("&Русский"), languages);
    a.ALanguageRu->setObjectName(QStringLiteral("ALanguageRu"));
    a.ALanguageEn = new QAction(QStringLiteral("&English"), languages);
    a.ALanguageEn->setObjectName(QStringLiteral("ALanguageEn"));
    for (QAction* language : {a.ALanguageRu, a.ALanguageEn}) {
        language->setCheckable(true);
        a.LanguageMenu->addAction(language);
    }
    a.ALanguageRu->setChecked(true);
    RetranslateMainActions(a);
    return a;
}

void RetranslateMainActions(TMainActions& a) {
    for (const TActionRow& row : ActionRows) {
        QAction* action = a.*row.Member;
        action->setText(QCoreApplication::translate("MainActions", row.Caption));
        // The hint is a tool tip only: a status tip would be shown as a
        // status-bar message, which hides the twelve panels. Without one
        // Qt shows the caption.
        action->setToolTip(*row.Hint ? QCoreApplication::translate("MainActions", row.Hint)
                                     : QString());
    }
    a.RecentFilesMenu->setTitle(QCoreApplication::translate("MainActions", "Последние &файлы"));
    a.LanguageMenu->setTitle(QCoreApplication::translate("MainActions", "&Язык"));
    // The tool button shows the short caption; the menu keeps the full one.
    a.AEqualize->setIconText(QCoreApplication::translate("MainActions", "Выравн."));
    for (const TMenuTitle& menu : MenuTitles) {
        if (QMenu* m = a.RecentFilesMenu->parentWidget()->findChild<QMenu*>(
                QString::fromLatin1(menu.Name)))
            m->setTitle(QCoreApplication::translate("MainActions", menu.Title));
    }
}

void BuildMainMenus(QMenuBar* bar, TMainActions& a) {
    // F10 opens the first menu, as on GNOME and Windows desktops; Alt alone
    // and Alt with a menu's underlined letter reach the bar through Qt.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), bar, [bar] {
        if (!bar->actions().isEmpty())
            bar->setActiveAction(bar->actions().constFirst());
    });
    f10->setObjectName(QStringLiteral("MenuBarKey"));

    QMenu* spectr = bar->addMenu(QCoreApplication::translate("MainActions", "&Спектр"));
    spectr->setObjectName(QStringLiteral("SpectrMenu"));
    spectr->addActions({a.AReceive, a.AAnalyse});
    spectr->addSeparator();
    spectr->addAction(a.AOpenFile);
    spectr->addMenu(a.RecentFilesMenu);
    spectr->addActions({a.ASaveFileAs, a.AExport, a.AImport, a.ACloseSpectr});
    spectr->addSeparator();
    spectr->addActions({a.ACompare, a.ACompareOff});
    spectr->addSeparator();
    spectr->addAction(a.APrintSetup);
    spectr->addSeparator();
    spectr->addAction(a.APrintForm);
    spectr->addSeparator();
    spectr->addAction(a.AExit);

    QMenu* view = bar->addMenu(QCoreApplication::translate("MainActions", "&Вид"));
    view->setObjectName(QStringLiteral("ViewMenu"));
    view->addAction(a.ARepaint);
    view->addSeparator();
    view->addActions({a.AIncScale, a.ADecScale, a.AAllView});
    view->addSeparator();
    view->addAction(a.AADCView);
    view->addSeparator();
    view->addActions({a.AStandVisir, a.AVisir1, a.AVisir2});
    view->addSeparator();
    view->addAction(a.AToolBar);
    view->addSeparator();
    view->addAction(a.AMessageView);

    QMenu* razv = bar->addMenu(QCoreApplication::translate("MainActions", "&Развертка"));
    razv->setObjectName(QStringLiteral("RazvMenu"));
    razv->addActions({a.AStop, a.AStart});
    razv->addSeparator();
    razv->addActions({a.AResetDiap, a.AMouseSelect});

    QMenu* functions = bar->addMenu(QCoreApplication::translate("MainActions", "&Функции"));
    functions->setObjectName(QStringLiteral("FunctionsMenu"));
    functions->addAction(a.ABackUp);
    functions->addSeparator();
    functions->addActions({a.AFilterSetup, a.AGlissSetup, a.AEqualize, a.AIntegr, a.AMinMaxSetup,
                           a.ADivision, a.ACalcFrecDFPG, a.AGShow});
    functions->addSeparator();
    functions->addActions({a.AFitLines, a.AAnalysisResults});

    QMenu* setup = bar->addMenu(QCoreApplication::translate("MainActions", "&Настройка"));
    setup->setObjectName(QStringLiteral("SetupMenu"));
    setup->addActions({a.ARealTime, a.AAutoSave, a.AOpenUnits, a.ASetupCom, a.AColorSetup});
    setup->addMenu(a.LanguageMenu);
    setup->addSeparator();
    setup->addAction(a.AAbout);
}

void BuildMainToolBar(QToolBar* bar, TMainActions& a) {
    bar->addActions({a.ASaveFileAs, a.AOpenFile, a.ACloseSpectr, a.APrint});
    if (auto* open = qobject_cast<QToolButton*>(bar->widgetForAction(a.AOpenFile))) {
        open->setMenu(a.RecentFilesDropDown);
        open->setPopupMode(QToolButton::MenuButtonPopup);
    }
    bar->addSeparator();
    bar->addActions({a.AReceive, a.AAnalyse});
    bar->addSeparator();
    bar->addActions({a.ABackUp, a.AGliss, a.AEqualize, a.AIntegr, a.AMinMax});
    // The tool button shows the short caption; the menu keeps the full one.
    bar->addSeparator();
    bar->addActions({a.ASwLPF, a.ASWSum});
    // The overflow button, shown on a narrow window: the style's picture is
    // black and vanishes on a dark tool bar.
    if (auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setIcon(ToolIcon(TToolGlyph::More));
    // A menu of its own: a button's list of actions holds the button's own
    // action too, which the menu does not show.
    a.RealTimeMenu = new QMenu(bar);
    a.RealTimeMenu->setObjectName(QStringLiteral("RealTimeMenu"));
    a.RealTimeMenu->addAction(a.ARealTime);
    for (QAction* realTime : {a.ASwLPF, a.ASWSum}) {
        QWidget* button = bar->widgetForAction(realTime);
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(button, &QWidget::customContextMenuRequested, a.RealTimeMenu,
                         [menu = a.RealTimeMenu, button](const QPoint& at) {
                             menu->popup(button->mapToGlobal(at));
                         });
    }
}

void FitToolBarCaptions(QToolBar* bar, QFont font, int width) {
    const QList<QToolButton*> buttons = bar->findChildren<QToolButton*>();
    for (;;) {
        for (QToolButton* button : buttons)
            button->setFont(font);
        bar->layout()->invalidate();
        if (bar->sizeHint().width() <= width || font.pointSizeF() - 1 < MinimumCaptionPoints)
            return;
        font.setPointSizeF(font.pointSizeF() - 1);
    }
}

void BuildScreenMenu(QWidget* owner, TMainActions& a) {
    a.ScreenMenu = new QMenu(owner);
    a.ScreenMenu->setObjectName(QStringLiteral("ScreenMenu"));
    a.ScreenMenu->addActions({a.AStandVisir, a.AVisir1, a.AVisir2});
    a.ScreenMenu->addSeparator();
    a.ScreenMenu->addAction(a.AAllView);
    a.ScreenMenu->addSeparator();
    a.ScreenMenu->addAction(a.ARepaint);
}
