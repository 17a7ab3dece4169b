#include "app/main_actions.h"

#include "app/tool_icon_painter.h"

#include <QAction>
#include <QApplication>
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
    {&TMainActions::AAllView, "AAllView", "View", "Показать &весь спектр", "Показать весь спектр",
     Plain},
    {&TMainActions::AOpenFile, "AOpenFile", "Spectr", "&Открыть...", "Открыть спектр из файла",
     Plain},
    {&TMainActions::ASaveFileAs, "ASaveFileAs", "Spectr", "&Сохранить...", "Сохранить спектр", Off},
    {&TMainActions::ACloseSpectr, "ACloseSpectr", "Spectr", "&Закрыть", "Убрать текущий спектр",
     Plain},
    {&TMainActions::AResetDiap, "AResetDiap", "Razv", "&Расширить диапазон перестройки",
     "Расширить диапазон пересройки до максимума", Plain},
    {&TMainActions::AIncScale, "AIncScale", "View", "&Увеличить масштаб ординаты", "", Plain},
    {&TMainActions::ADecScale, "ADecScale", "View", "Уме&ньшить масштаб ординаты", "", Plain},
    {&TMainActions::AVisir1, "AVisir1", "View", "Визир &1", "", Checkable},
    {&TMainActions::AVisir2, "AVisir2", "View", "Визир &2", "", Checkable},
    {&TMainActions::AAnalyse, "AAnalyse", "Spectr", "&Анализ", "Анализ принятых спектров",
     Checkable},
    {&TMainActions::AReceive, "AReceive", "Spectr", "&Прием", "Прием спектров от спектрометра",
     Checkable},
    {&TMainActions::AMessageView, "AMessageView", "View", "&Окно сообщений", "", Checkable},
    {&TMainActions::ASetupCom, "ASetupCom", "Setup", "&Выбор порта...", "", Plain},
    {&TMainActions::AStop, "AStop", "Razv", "&СТОП", "Остановить развертку", Plain},
    {&TMainActions::AStart, "AStart", "Razv", "&ПУСК", "Продолжить развертку", Off},
    {&TMainActions::ARepaint, "ARepaint", "View", "&Перерисовать", "", Plain},
    {&TMainActions::AExit, "AExit", "Spectr", "&Выход", "", Plain},
    {&TMainActions::AMouseSelect, "AMouseSelect", "Razv", "&Определить  мышью",
     "Определить границы мышью", Checkable},
    {&TMainActions::AOpenUnits, "AOpenUnits", "Setup", "&Единицы измерения...", "", Plain},
    {&TMainActions::AADCView, "AADCView", "View", "ВХОД  &АЦП", "Текущие измерения по входу АЦП",
     Checkable},
    {&TMainActions::AToolBar, "AToolBar", "View", "Панель &инструментов",
     "Показать/скрыть панель инструментов", Marked | Checkable},
    {&TMainActions::AAutoSave, "AAutoSave", "Setup", "&Автосохранение...", "", Plain},
    {&TMainActions::AFilterSetup, "AFilterSetup", "Functions", "&ФНЧ...", "", Plain},
    {&TMainActions::AFilter, "AFilter", "Functions", "ФНЧ", "Фильтрация текущего спектра", Plain},
    {&TMainActions::ARealTime, "ARealTime", "Setup", "&Прием спектров...", "", Plain},
    {&TMainActions::APrint, "APrint", "Spectr", "Печать",
     "Печать спектра с текущими установками принтера", Plain},
    {&TMainActions::APrintSetup, "APrintSetup", "Spectr", "Печа&ть спектра...", "", Plain},
    {&TMainActions::AColorSetup, "AColorSetup", "Setup", "&Цвета...", "", Plain},
    {&TMainActions::APrintForm, "APrintForm", "Spectr", "Печать &главного окна", "", Plain},
    {&TMainActions::ASwLPF, "ASwLPF", "Setup", "ФНЧ(р)", "ФНЧ реального времени", Checkable},
    {&TMainActions::ASWSum, "ASWSum", "Setup", "Сумма", "Накопление спектров", Checkable},
    {&TMainActions::AAbout, "AAbout", "Setup", "&О программе...", "", Plain},
    {&TMainActions::AIntegr, "AIntegr", "Functions", "&Интеграл", "Подсчет интеграла", Plain},
    {&TMainActions::AGlissSetup, "AGlissSetup", "Functions", "&Сглаживание...", "", Plain},
    {&TMainActions::AGliss, "AGliss", "Functions", "Сглаживание", "Сглаживание спектра", Plain},
    {&TMainActions::ABackUp, "ABackUp", "Functions", "&Отмена", "Вернуться к предыдущему", Off},
    {&TMainActions::AEqualize, "AEqualize", "Functions", "&Выравнивание", "Выравнивание спектра",
     Plain},
    {&TMainActions::AMinMax, "AMinMax", "Functions", "MinMax", "Поиск экстремумов", Plain},
    {&TMainActions::AStandVisir, "AStandVisir", "View", "Ус&тановить визиры", "", Plain},
    {&TMainActions::AMinMaxSetup, "AMinMaxSetup", "Functions", "&Поиск экстремумов...", "", Plain},
    {&TMainActions::ADivision, "ADivision", "Functions", "О&тношение пиков",
     "Нахождение отношения двух пиков", Plain},
    {&TMainActions::ACalcFrecDFPG, "ACalcFrecDFPG", "Functions", "&Расcчитать частоту по ДФПГ",
     "Используется Визир 1", Plain},
    {&TMainActions::AGShow, "AGShow", "Functions", "Отображать &g-фактор", "", Checkable},
    {&TMainActions::AExport, "AExport", "Spectr", "&Экспорт...",
     "Записать спектр или рисунок графика для других программ", Plain},
    {&TMainActions::AImport, "AImport", "Spectr", "&Импорт...", "Открыть спектр другой программы",
     Plain},
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

} // namespace

TMainActions BuildMainActions(QMainWindow* window) {
    TMainActions a;
    for (const TActionRow& row : ActionRows) {
        auto* action = new QAction(QString::fromUtf8(row.Caption), window);
        action->setObjectName(QString::fromLatin1(row.Name));
        action->setProperty("category", QString::fromLatin1(row.Category));
        const QString hint = QString::fromUtf8(row.Hint);
        // The hint is a tool tip only: a status tip would be shown as a
        // status-bar message, which hides the twelve panels.
        if (!hint.isEmpty())
            action->setToolTip(hint);
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
    a.RecentFilesMenu = new QMenu(QStringLiteral("Последние &файлы"), window);
    a.RecentFilesMenu->setObjectName(QStringLiteral("RecentFilesMenu"));
    a.RecentFilesMenu->setEnabled(false);
    a.RecentFilesDropDown = new QMenu(window);
    a.RecentFilesDropDown->setObjectName(QStringLiteral("RecentFilesDropDown"));
    return a;
}

void BuildMainMenus(QMenuBar* bar, TMainActions& a) {
    // F10 opens the first menu, as on GNOME and Windows desktops; Alt alone
    // and Alt with a menu's underlined letter reach the bar through Qt.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), bar, [bar] {
        if (!bar->actions().isEmpty())
            bar->setActiveAction(bar->actions().constFirst());
    });
    f10->setObjectName(QStringLiteral("MenuBarKey"));

    QMenu* spectr = bar->addMenu(QStringLiteral("&Спектр"));
    spectr->setObjectName(QStringLiteral("SpectrMenu"));
    spectr->addActions({a.AReceive, a.AAnalyse});
    spectr->addSeparator();
    spectr->addAction(a.AOpenFile);
    spectr->addMenu(a.RecentFilesMenu);
    spectr->addActions({a.ASaveFileAs, a.AExport, a.AImport, a.ACloseSpectr});
    spectr->addSeparator();
    spectr->addAction(a.APrintSetup);
    spectr->addSeparator();
    spectr->addAction(a.APrintForm);
    spectr->addSeparator();
    spectr->addAction(a.AExit);

    QMenu* view = bar->addMenu(QStringLiteral("&Вид"));
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

    QMenu* razv = bar->addMenu(QStringLiteral("&Развертка"));
    razv->setObjectName(QStringLiteral("RazvMenu"));
    razv->addActions({a.AStop, a.AStart});
    razv->addSeparator();
    razv->addActions({a.AResetDiap, a.AMouseSelect});

    QMenu* functions = bar->addMenu(QStringLiteral("&Функции"));
    functions->setObjectName(QStringLiteral("FunctionsMenu"));
    functions->addAction(a.ABackUp);
    functions->addSeparator();
    functions->addActions({a.AFilterSetup, a.AGlissSetup, a.AEqualize, a.AIntegr, a.AMinMaxSetup,
                           a.ADivision, a.ACalcFrecDFPG, a.AGShow});

    QMenu* setup = bar->addMenu(QStringLiteral("&Настройка"));
    setup->setObjectName(QStringLiteral("SetupMenu"));
    setup->addActions({a.ARealTime, a.AAutoSave, a.AOpenUnits, a.ASetupCom, a.AColorSetup});
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
    a.AEqualize->setIconText(QStringLiteral("Выравн."));
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
