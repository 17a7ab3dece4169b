#include "app_fixture.h"

#include "app/about_dialog.h"
#include "kav_version.h"
#include "view/plot_widget.h"
#include "view/view_bounds_widget.h"

#include <QScrollBar>

#include <QAction>
#include <QFrame>
#include <QToolBar>
#include <QToolButton>

namespace {

struct TActionsTest : ::testing::Test {
    TAppDir Dir;
    TScriptedPort Port;
    std::unique_ptr<TKavMainForm> W = ShowWindow(Port);

    QAction* Find(const char* name) const {
        return W->findChild<QAction*>(QString::fromLatin1(name));
    }
};

// The names of the actions of a menu in order, "-" for a separator, the
// submenu by its title.
QStringList Entries(const QList<QAction*>& actions) {
    QStringList out;
    for (const QAction* a : actions) {
        if (a->isSeparator())
            out << QStringLiteral("-");
        else if (a->menu())
            out << a->menu()->title();
        else
            out << a->objectName();
    }
    return out;
}

QList<QAction*> MenuActions(QMainWindow& w, const QString& title) {
    for (QAction* top : w.menuBar()->actions())
        if (top->text() == title)
            return top->menu()->actions();
    return {};
}

} // namespace

TEST_F(TActionsTest, EveryActionHasItsCaptionHintCategoryAndInitialState) {
    struct Row {
        const char* Name;
        const char* Category;
        const char* Caption;
        const char* Hint;
        bool Enabled;
        bool Checkable;
        bool Checked;
    };
    // Disabled: at start by the action list, or because its dialog or its
    // printout is not in the program yet. The window starts in receive mode
    // (the default Mode), where AReceive is checked and disabled.
    const Row rows[] = {
        {"AAllView", "View", "Показать весь спектр", "Показать весь спектр", true, false, false},
        {"AOpenFile", "Spectr", "Открыть...", "Открыть спектр из файла", true, false, false},
        {"ASaveFileAs", "Spectr", "Сохранить...", "Сохранить спектр", false, false, false},
        {"ACloseSpectr", "Spectr", "Закрыть", "Убрать текущий спектр", true, false, false},
        {"AResetDiap", "Razv", "Расширить диапазон перестройки",
         "Расширить диапазон пересройки до максимума", true, false, false},
        {"AIncScale", "View", "Увеличить масштаб ординаты", "", true, false, false},
        {"ADecScale", "View", "Уменьшить масштаб ординаты", "", true, false, false},
        {"AVisir1", "View", "Визир 1", "", true, true, false},
        {"AVisir2", "View", "Визир 2", "", true, true, false},
        {"AAnalyse", "Spectr", "Анализ", "Анализ принятых спектров", true, true, false},
        {"AReceive", "Spectr", "Прием", "Прием спектров от спектрометра", false, true, true},
        {"AMessageView", "View", "Окно сообщений", "", true, true, false},
        {"ASetupCom", "Setup", "Выбор порта...", "", true, false, false},
        {"AStop", "Razv", "СТОП", "Остановить развертку", true, false, false},
        {"AStart", "Razv", "ПУСК", "Продолжить развертку", false, false, false},
        {"ARepaint", "View", "Перерисовать", "", true, false, false},
        {"AExit", "Spectr", "Выход", "", true, false, false},
        {"AMouseSelect", "Razv", "Определить  мышью", "Определить границы мышью", true, true,
         false},
        {"AOpenUnits", "Setup", "Единицы измерения...", "", true, false, false},
        {"AADCView", "View", "ВХОД  АЦП", "Текущие измерения по входу АЦП", true, true, false},
        {"AToolBar", "View", "Панель инструментов", "Показать/скрыть панель инструментов", true,
         true, true},
        {"AAutoSave", "Setup", "Автосохранение...", "", true, false, false},
        {"AFilterSetup", "Functions", "ФНЧ...", "", true, false, false},
        {"AFilter", "Functions", "ФНЧ", "Фильтрация текущего спектра", true, false, false},
        {"ARealTime", "Setup", "Прием спектров...", "", true, false, false},
        {"APrint", "Spectr", "Печать", "Печать спектра с текущими установками принтера", true,
         false, false},
        {"APrintSetup", "Spectr", "Печать спектра...", "", true, false, false},
        {"AColorSetup", "Setup", "Цвета...", "", true, false, false},
        {"APrintForm", "Spectr", "Печать главного окна", "", true, false, false},
        {"ASwLPF", "Setup", "ФНЧ(р)", "ФНЧ реального времени", true, true, false},
        {"ASWSum", "Setup", "Сумма", "Накопление спектров", true, true, false},
        {"AAbout", "Setup", "О программе...", "", true, false, false},
        {"AIntegr", "Functions", "Интеграл", "Подсчет интеграла", true, false, false},
        {"AGlissSetup", "Functions", "Сглаживание...", "", true, false, false},
        {"AGliss", "Functions", "Сглаживание", "Сглаживание спектра", true, false, false},
        {"ABackUp", "Functions", "Отмена", "Вернуться к предыдущему", false, false, false},
        {"AEqualize", "Functions", "Выравнивание", "Выравнивание спектра", true, false, false},
        {"AMinMax", "Functions", "MinMax", "Поиск экстремумов", true, false, false},
        {"AStandVisir", "View", "Установить визиры", "", true, false, false},
        {"AMinMaxSetup", "Functions", "Поиск экстремумов...", "", true, false, false},
        {"ADivision", "Functions", "Отношение пиков", "Нахождение отношения двух пиков", true,
         false, false},
        {"ACalcFrecDFPG", "Functions", "Расcчитать частоту по ДФПГ", "Используется Визир 1", true,
         false, false},
        {"AGShow", "Functions", "Отображать g-фактор", "", true, true, false},
        {"AExport", "Spectr", "Экспорт...", "Записать спектр или рисунок графика для других программ",
         true, false, false},
        {"AImport", "Spectr", "Импорт...", "Открыть спектр другой программы", true, false, false},
    };
    int named = 0;
    for (QAction* a : W->findChildren<QAction*>())
        named += a->objectName().startsWith(u'A') && a->property("category").isValid();
    EXPECT_EQ(named, static_cast<int>(std::size(rows)));
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Name);
        QAction* a = Find(r.Name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->property("category").toString(), QString::fromLatin1(r.Category));
        EXPECT_EQ(a->text(), QString::fromUtf8(r.Caption));
        EXPECT_EQ(a->statusTip(), QString::fromUtf8(r.Hint));
        EXPECT_EQ(a->isEnabled(), r.Enabled);
        EXPECT_EQ(a->isCheckable(), r.Checkable);
        EXPECT_EQ(a->isChecked(), r.Checked);
    }
}

TEST_F(TActionsTest, FiveMenusInOrderWithTheirSeparators) {
    QStringList titles;
    for (QAction* top : W->menuBar()->actions())
        titles << top->text();
    EXPECT_EQ(titles, (QStringList{"Спектр", "Вид", "Развертка", "Функции", "Настройка"}));
    EXPECT_EQ(
        Entries(MenuActions(*W, "Спектр")),
        (QStringList{"AReceive", "AAnalyse", "-", "AOpenFile", "Последние файлы", "ASaveFileAs",
                     "AExport", "AImport", "ACloseSpectr", "-", "APrintSetup", "-", "APrintForm",
                     "-", "AExit"}));
    EXPECT_EQ(
        Entries(MenuActions(*W, "Вид")),
        (QStringList{"ARepaint", "-", "AIncScale", "ADecScale", "AAllView", "-", "AADCView", "-",
                     "AStandVisir", "AVisir1", "AVisir2", "-", "AToolBar", "-", "AMessageView"}));
    EXPECT_EQ(Entries(MenuActions(*W, "Развертка")),
              (QStringList{"AStop", "AStart", "-", "AResetDiap", "AMouseSelect"}));
    EXPECT_EQ(Entries(MenuActions(*W, "Функции")),
              (QStringList{"ABackUp", "-", "AFilterSetup", "AGlissSetup", "AEqualize", "AIntegr",
                           "AMinMaxSetup", "ADivision", "ACalcFrecDFPG", "AGShow"}));
    EXPECT_EQ(Entries(MenuActions(*W, "Настройка")),
              (QStringList{"ARealTime", "AAutoSave", "AOpenUnits", "ASetupCom", "AColorSetup", "-",
                           "AAbout"}));
    EXPECT_EQ(Entries(W->Actions().ScreenMenu->actions()),
              (QStringList{"AStandVisir", "AVisir1", "AVisir2", "-", "AAllView", "-", "ARepaint"}));
}

TEST_F(TActionsTest, ToolBarInOrderWithDropDownShortCaptionAndContextMenu) {
    QToolBar* bar = W->MainBar();
    EXPECT_EQ(bar->height(), TKavMainForm::ToolBarHeight);
    EXPECT_EQ(Entries(bar->actions()),
              (QStringList{"ASaveFileAs", "AOpenFile", "ACloseSpectr", "APrint", "-", "AReceive",
                           "AAnalyse", "-", "ABackUp", "AGliss", "AEqualize", "AIntegr", "AMinMax",
                           "-", "ASwLPF", "ASWSum"}));
    auto* open = qobject_cast<QToolButton*>(bar->widgetForAction(Find("AOpenFile")));
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->menu(), W->Actions().RecentFilesDropDown);
    EXPECT_EQ(open->popupMode(), QToolButton::MenuButtonPopup);
    auto* equalize = qobject_cast<QToolButton*>(bar->widgetForAction(Find("AEqualize")));
    EXPECT_EQ(equalize->text(), QStringLiteral("Выравн."));
    for (const char* name : {"ASwLPF", "ASWSum"}) {
        QWidget* button = bar->widgetForAction(Find(name));
        EXPECT_EQ(button->contextMenuPolicy(), Qt::ActionsContextMenu);
        EXPECT_TRUE(button->actions().contains(Find("ARealTime")));
        EXPECT_EQ(button->actions().size(), 2); // its own action and ARealTime
    }
}

TEST_F(TActionsTest, ToolBarToggleMovesThePlotPanel) {
    QAction* toggle = MenuItem(*W, "Вид", "Панель инструментов");
    ASSERT_NE(toggle, nullptr);
    QApplication::processEvents();
    const QRect before = W->ScreenPanel()->geometry();
    const QPoint top = W->ScreenPanel()->mapTo(W.get(), QPoint(0, 0));
    toggle->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_FALSE(W->MainBar()->isVisible());
    const QPoint movedTop = W->ScreenPanel()->mapTo(W.get(), QPoint(0, 0));
    EXPECT_EQ(movedTop.y(), top.y() - TKavMainForm::ToolBarHeight);
    EXPECT_EQ(W->ScreenPanel()->height(), before.height() + TKavMainForm::ToolBarHeight);
    toggle->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(W->MainBar()->isVisible());
    EXPECT_EQ(W->ScreenPanel()->mapTo(W.get(), QPoint(0, 0)), top);
}

TEST_F(TActionsTest, AboutBoxShowsNameVersionAndPurpose) {
    MenuItem(*W, "Настройка", "О программе...")->trigger();
    EXPECT_EQ(Port.Dialogs, 1);
    EXPECT_TRUE(Port.DialogLabels.contains(QStringLiteral("Kav7 — КАВ")));
    EXPECT_TRUE(Port.DialogLabels.contains(QStringLiteral("Версия ") + KAV_VERSION_STRING));
    EXPECT_TRUE(Port.DialogLabels.contains(TKavAboutForm::PurposeText()));
}

TEST_F(TActionsTest, PrintFormPrintsAnImageOfTheWindow) {
    MenuItem(*W, "Спектр", "Печать главного окна")->trigger();
    EXPECT_EQ(Port.PrintedSize, W->size() * W->devicePixelRatio());
}

TEST_F(TActionsTest, ViewActionsChangeTheShownRangeAndScale) {
    W->Settings().ViewMin = 1000;
    W->Settings().ViewMax = 2000;
    MenuItem(*W, "Вид", "Увеличить масштаб ординаты")->trigger();
    MenuItem(*W, "Вид", "Увеличить масштаб ординаты")->trigger();
    EXPECT_EQ(W->Settings().OrdScale, 2);
    EXPECT_EQ(W->Plot()->Geometry().OrdScale, 2);
    MenuItem(*W, "Вид", "Уменьшить масштаб ординаты")->trigger();
    EXPECT_EQ(W->Settings().OrdScale, 1);
    MenuItem(*W, "Вид", "Показать весь спектр")->trigger();
    EXPECT_EQ(W->Settings().OrdScale, 0);
    EXPECT_EQ(W->Settings().ViewMin, 0);
    EXPECT_EQ(W->Settings().ViewMax, 65519);
    EXPECT_EQ(W->Plot()->Geometry().ViewMax, 65519);
}

TEST_F(TActionsTest, HorizontalScrollMovesTheViewKeepingItsWidth) {
    // A narrower view first, through the editors' own rule.
    TViewBoundsWidget* b = W->ViewBounds();
    ASSERT_NE(b, nullptr);
    b->SetBounds(10000, 20000);
    W->HorizontalScroll()->setValue(30000);
    EXPECT_EQ(W->Settings().ViewMin, 30000);
    EXPECT_EQ(W->Settings().ViewMax, 40000);
    EXPECT_EQ(W->Plot()->Geometry().ViewMin, 30000);
}

TEST_F(TActionsTest, ResetDiapSetsTheWidestSweepBounds) {
    W->Settings().PoleMin = 100;
    W->Settings().PoleMax = 2000;
    MenuItem(*W, "Развертка", "Расширить диапазон перестройки")->trigger();
    EXPECT_EQ(W->Settings().PoleMin, 0);
    EXPECT_EQ(W->Settings().PoleMax, 65519);
}
