#include "app/main_actions.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
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
    {&TMainActions::AAllView, "AAllView", "View", "Показать весь спектр", "Показать весь спектр",
     Plain},
    {&TMainActions::AOpenFile, "AOpenFile", "Spectr", "Открыть...", "Открыть спектр из файла",
     Plain},
    {&TMainActions::ASaveFileAs, "ASaveFileAs", "Spectr", "Сохранить...", "Сохранить спектр", Off},
    {&TMainActions::ACloseSpectr, "ACloseSpectr", "Spectr", "Закрыть", "Убрать текущий спектр",
     Plain},
    {&TMainActions::AResetDiap, "AResetDiap", "Razv", "Расширить диапазон перестройки",
     "Расширить диапазон пересройки до максимума", Plain},
    {&TMainActions::AIncScale, "AIncScale", "View", "Увеличить масштаб ординаты", "", Plain},
    {&TMainActions::ADecScale, "ADecScale", "View", "Уменьшить масштаб ординаты", "", Plain},
    {&TMainActions::AVisir1, "AVisir1", "View", "Визир 1", "", Checkable},
    {&TMainActions::AVisir2, "AVisir2", "View", "Визир 2", "", Checkable},
    {&TMainActions::AAnalyse, "AAnalyse", "Spectr", "Анализ", "Анализ принятых спектров",
     Checkable},
    {&TMainActions::AReceive, "AReceive", "Spectr", "Прием", "Прием спектров от спектрометра",
     Checkable},
    {&TMainActions::AMessageView, "AMessageView", "View", "Окно сообщений", "", Checkable},
    {&TMainActions::ASetupCom, "ASetupCom", "Setup", "Выбор порта...", "", Plain},
    {&TMainActions::AStop, "AStop", "Razv", "СТОП", "Остановить развертку", Plain},
    {&TMainActions::AStart, "AStart", "Razv", "ПУСК", "Продолжить развертку", Off},
    {&TMainActions::ARepaint, "ARepaint", "View", "Перерисовать", "", Plain},
    {&TMainActions::AExit, "AExit", "Spectr", "Выход", "", Plain},
    {&TMainActions::AMouseSelect, "AMouseSelect", "Razv", "Определить  мышью",
     "Определить границы мышью", Checkable},
    {&TMainActions::AOpenUnits, "AOpenUnits", "Setup", "Единицы измерения...", "", Plain},
    {&TMainActions::AADCView, "AADCView", "View", "ВХОД  АЦП", "Текущие измерения по входу АЦП",
     Checkable},
    {&TMainActions::AToolBar, "AToolBar", "View", "Панель инструментов",
     "Показать/скрыть панель инструментов", Marked | Checkable},
    {&TMainActions::AAutoSave, "AAutoSave", "Setup", "Автосохранение...", "", Plain},
    {&TMainActions::AFilterSetup, "AFilterSetup", "Functions", "ФНЧ...", "", Plain},
    {&TMainActions::AFilter, "AFilter", "Functions", "ФНЧ", "Фильтрация текущего спектра", Plain},
    {&TMainActions::ARealTime, "ARealTime", "Setup", "Прием спектров...", "", Plain},
    {&TMainActions::APrint, "APrint", "Spectr", "Печать",
     "Печать спектра с текущими установками принтера", Plain},
    {&TMainActions::APrintSetup, "APrintSetup", "Spectr", "Печать спектра...", "", Plain},
    {&TMainActions::AColorSetup, "AColorSetup", "Setup", "Цвета...", "", Plain},
    {&TMainActions::APrintForm, "APrintForm", "Spectr", "Печать главного окна", "", Plain},
    {&TMainActions::ASwLPF, "ASwLPF", "Setup", "ФНЧ(р)", "ФНЧ реального времени", Checkable},
    {&TMainActions::ASWSum, "ASWSum", "Setup", "Сумма", "Накопление спектров", Checkable},
    {&TMainActions::AAbout, "AAbout", "Setup", "О программе...", "", Plain},
    {&TMainActions::AIntegr, "AIntegr", "Functions", "Интеграл", "Подсчет интеграла", Plain},
    {&TMainActions::AGlissSetup, "AGlissSetup", "Functions", "Сглаживание...", "", Plain},
    {&TMainActions::AGliss, "AGliss", "Functions", "Сглаживание", "Сглаживание спектра", Plain},
    {&TMainActions::ABackUp, "ABackUp", "Functions", "Отмена", "Вернуться к предыдущему", Off},
    {&TMainActions::AEqualize, "AEqualize", "Functions", "Выравнивание", "Выравнивание спектра",
     Plain},
    {&TMainActions::AMinMax, "AMinMax", "Functions", "MinMax", "Поиск экстремумов", Plain},
    {&TMainActions::AStandVisir, "AStandVisir", "View", "Установить визиры", "", Plain},
    {&TMainActions::AMinMaxSetup, "AMinMaxSetup", "Functions", "Поиск экстремумов...", "", Plain},
    {&TMainActions::ADivision, "ADivision", "Functions", "Отношение пиков",
     "Нахождение отношения двух пиков", Plain},
    {&TMainActions::ACalcFrecDFPG, "ACalcFrecDFPG", "Functions", "Расcчитать частоту по ДФПГ",
     "Используется Визир 1", Plain},
    {&TMainActions::AGShow, "AGShow", "Functions", "Отображать g-фактор", "", Checkable},
    {&TMainActions::AExport, "AExport", "Spectr", "Экспорт...",
     "Записать спектр или рисунок графика для других программ", Plain},
    {&TMainActions::AImport, "AImport", "Spectr", "Импорт...", "Открыть спектр другой программы",
     Plain},
    {&TMainActions::AFitLines, "AFitLines", "Functions", "Аппроксимация линий...",
     "Аппроксимация линий между визирами", Plain},
    {&TMainActions::ACompare, "ACompare", "Spectr", "Сравнить с...",
     "Наложить спектр сравнения на текущий", Plain},
    {&TMainActions::ACompareOff, "ACompareOff", "Spectr", "Убрать сравнение",
     "Убрать спектр сравнения", Off},
};

struct TIconRow {
    QAction* TMainActions::*Member;
    QStyle::StandardPixmap Pixmap;
};

// Images of the tool bar's buttons and of the AAllView button.
const TIconRow IconRows[] = {
    {&TMainActions::ASaveFileAs, QStyle::SP_DialogSaveButton},
    {&TMainActions::AOpenFile, QStyle::SP_DialogOpenButton},
    {&TMainActions::ACloseSpectr, QStyle::SP_DialogCloseButton},
    {&TMainActions::APrint, QStyle::SP_FileDialogDetailedView},
    {&TMainActions::AReceive, QStyle::SP_MediaPlay},
    {&TMainActions::AAnalyse, QStyle::SP_FileDialogContentsView},
    {&TMainActions::ABackUp, QStyle::SP_ArrowBack},
    {&TMainActions::AGliss, QStyle::SP_BrowserReload},
    {&TMainActions::AEqualize, QStyle::SP_ToolBarHorizontalExtensionButton},
    {&TMainActions::AIntegr, QStyle::SP_DialogApplyButton},
    {&TMainActions::AMinMax, QStyle::SP_ArrowUp},
    {&TMainActions::ASwLPF, QStyle::SP_MediaSeekForward},
    {&TMainActions::ASWSum, QStyle::SP_MediaSkipForward},
    {&TMainActions::AAllView, QStyle::SP_TitleBarMaxButton},
    {&TMainActions::AStop, QStyle::SP_MediaStop},
    {&TMainActions::AStart, QStyle::SP_MediaPlay},
    {&TMainActions::AResetDiap, QStyle::SP_ArrowRight},
    {&TMainActions::AMouseSelect, QStyle::SP_ArrowDown},
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
    QStyle* style = window->style();
    for (const TIconRow& row : IconRows)
        (a.*row.Member)->setIcon(style->standardIcon(row.Pixmap));
    a.RecentFilesMenu = new QMenu(QStringLiteral("Последние файлы"), window);
    a.RecentFilesMenu->setObjectName(QStringLiteral("RecentFilesMenu"));
    a.RecentFilesMenu->setEnabled(false);
    a.RecentFilesDropDown = new QMenu(window);
    a.RecentFilesDropDown->setObjectName(QStringLiteral("RecentFilesDropDown"));
    return a;
}

void BuildMainMenus(QMenuBar* bar, TMainActions& a) {
    QMenu* spectr = bar->addMenu(QStringLiteral("Спектр"));
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

    QMenu* view = bar->addMenu(QStringLiteral("Вид"));
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

    QMenu* razv = bar->addMenu(QStringLiteral("Развертка"));
    razv->setObjectName(QStringLiteral("RazvMenu"));
    razv->addActions({a.AStop, a.AStart});
    razv->addSeparator();
    razv->addActions({a.AResetDiap, a.AMouseSelect});

    QMenu* functions = bar->addMenu(QStringLiteral("Функции"));
    functions->setObjectName(QStringLiteral("FunctionsMenu"));
    functions->addAction(a.ABackUp);
    functions->addSeparator();
    functions->addActions({a.AFilterSetup, a.AGlissSetup, a.AEqualize, a.AIntegr, a.AMinMaxSetup,
                           a.ADivision, a.ACalcFrecDFPG, a.AGShow});
    functions->addSeparator();
    functions->addAction(a.AFitLines);

    QMenu* setup = bar->addMenu(QStringLiteral("Настройка"));
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

void BuildScreenMenu(QWidget* owner, TMainActions& a) {
    a.ScreenMenu = new QMenu(owner);
    a.ScreenMenu->setObjectName(QStringLiteral("ScreenMenu"));
    a.ScreenMenu->addActions({a.AStandVisir, a.AVisir1, a.AVisir2});
    a.ScreenMenu->addSeparator();
    a.ScreenMenu->addAction(a.AAllView);
    a.ScreenMenu->addSeparator();
    a.ScreenMenu->addAction(a.ARepaint);
}
