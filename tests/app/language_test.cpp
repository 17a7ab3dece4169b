// The English interface: every text of the window, its menus, panels and
// option dialogs leaves Russian behind but data (unit names, each language's
// own name); the switch at run time goes both ways.
#include "app/main_window.h"
#include "app/qt_translation.h"
#include "app_fixture.h"
#include "base/instrument_tables.h"
#include "option_dialogs.h"
#include "print/printout_texts.h"
#include "processing/analysis_overlay.h"
#include "processing/analysis_results_window.h"
#include "scripted_port.h"
#include "view/status_bar_widget.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>

namespace {

// Every text a widget tree shows: window titles, labels, buttons, group
// titles, tabs, list items, table cells and headers, menus with their
// actions and tool tips.
QStringList Texts(const QWidget& root) {
    QStringList out{root.windowTitle(), root.toolTip()};
    for (const QWidget* w : root.findChildren<QWidget*>()) {
        out << w->toolTip();
        if (const auto* l = qobject_cast<const QLabel*>(w))
            out << l->text();
        if (const auto* b = qobject_cast<const QAbstractButton*>(w))
            out << b->text();
        if (const auto* g = qobject_cast<const QGroupBox*>(w))
            out << g->title();
        if (const auto* t = qobject_cast<const QTabWidget*>(w))
            for (int k = 0; k < t->count(); ++k)
                out << t->tabText(k);
        if (const auto* m = qobject_cast<const QMenu*>(w))
            out << m->title();
        if (const auto* c = qobject_cast<const QComboBox*>(w))
            for (int k = 0; k < c->count(); ++k)
                out << c->itemText(k);
        if (const auto* t = qobject_cast<const QTableWidget*>(w)) {
            for (int c = 0; c < t->columnCount(); ++c)
                if (const QTableWidgetItem* h = t->horizontalHeaderItem(c))
                    out << h->text();
            for (int r = 0; r < t->rowCount(); ++r)
                for (int c = 0; c < t->columnCount(); ++c)
                    if (const QTableWidgetItem* i = t->item(r, c))
                        out << i->text();
        }
    }
    for (const QAction* a : root.findChildren<QAction*>())
        out << a->text() << a->toolTip() << a->iconText();
    return out;
}

// The Cyrillic left once the data are taken out: the unit names of the
// settings (amplitudes also with their prefixes milli and micro) and the
// name "Русский" of the language itself.
QStringList Cyrillic(const QStringList& texts, const TKavCfg& cfg) {
    QStringList data{QStringLiteral("Русский"), cfg.NameMask, QStringLiteral("образец")};
    for (const TMeasureUnit& u : cfg.RazvUnits)
        data << u.Name;
    for (const TMeasureUnit& u : cfg.ADCUnits)
        data << u.Name;
    for (const TMeasureUnit& u : cfg.AmpUnits)
        data << u.Name << QStringLiteral("мк") + u.Name << QStringLiteral("м") + u.Name;
    for (const TMeasureUnit& u : cfg.CorrUnits)
        data << u.Name;
    std::sort(data.begin(), data.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    static const QRegularExpression cyrillic(QStringLiteral("[А-Яа-яЁё]"));
    QStringList left;
    for (QString t : texts) {
        const QString shown = t;
        for (const QString& d : data)
            if (!d.isEmpty())
                t.replace(d, QString());
        if (t.contains(cyrillic))
            left << shown;
    }
    left.removeDuplicates();
    return left;
}

void Settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

struct TLanguageTest : ::testing::Test {
    TAppDir Dir;
    TScriptedPort Port;
    ~TLanguageTest() override {
        InstallLanguage(TLanguage::Ru);
        Settle();
    }
};

TEST_F(TLanguageTest, EnglishFromKavIniLeavesNoRussianButDataAndSwitchesBackAtOnce) {
    Dir.WriteIni("[Main]\r\nLanguage=en\r\n");
    TShownWindow w = ShowWindow(Port);
    Settle();
    EXPECT_EQ(w.Session->Settings().Language, TLanguage::En);
    EXPECT_TRUE(Act(*w, "ALanguageEn")->isChecked());
    const QStringList english = Texts(*w);
    EXPECT_EQ(Cyrillic(english, w.Session->Settings()), QStringList());
    EXPECT_TRUE(english.contains(QStringLiteral("&Open..."))) << english.join('|').toStdString();
    EXPECT_TRUE(english.contains(QStringLiteral("Se&ttings")));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Kavis. EPR spectrometer"));

    // "Настройка → Язык → Русский": today's texts at once, and kept.
    Act(*w, "ALanguageRu")->trigger();
    Settle();
    EXPECT_EQ(w.Session->Settings().Language, TLanguage::Ru);
    EXPECT_TRUE(Act(*w, "ALanguageRu")->isChecked());
    EXPECT_EQ(Act(*w, "AOpenFile")->text(), QStringLiteral("&Открыть..."));
    EXPECT_EQ(Act(*w, "AOpenFile")->toolTip(), QStringLiteral("Открыть спектр из файла"));
    EXPECT_EQ(Act(*w, "AEqualize")->iconText(), QStringLiteral("Выравн."));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Kavis. Спектрометр ЭПР"));
    const QStringList russian = Texts(*w);
    for (const char* text : {"&Спектр", "&Настройка", "&Язык", "Последние &файлы",
                             "Скорость развертки", "Границы развёртки"})
        EXPECT_TRUE(russian.contains(QString::fromUtf8(text))) << text;
    EXPECT_FALSE(russian.contains(QStringLiteral("&Open...")));
    // Every action's caption and hint as the operator has always read them,
    // odd spacing and spelling included.
    const char* const actions[][3] = {
        {"AAllView", "Показать весь спектр", "Показать весь спектр"},
        {"AOpenFile", "Открыть...", "Открыть спектр из файла"},
        {"ASaveFileAs", "Сохранить...", "Сохранить спектр"},
        {"ACloseSpectr", "Закрыть", "Убрать текущий спектр"},
        {"AResetDiap", "Расширить диапазон перестройки",
         "Расширить диапазон пересройки до максимума"},
        {"AIncScale", "Увеличить масштаб ординаты", ""},
        {"ADecScale", "Уменьшить масштаб ординаты", ""},
        {"AVisir1", "Визир 1", ""},
        {"AVisir2", "Визир 2", ""},
        {"AAnalyse", "Анализ", "Анализ принятых спектров"},
        {"AReceive", "Прием", "Прием спектров от спектрометра"},
        {"AMessageView", "Окно сообщений", ""},
        {"ASetupCom", "Выбор порта...", ""},
        {"AStop", "СТОП", "Остановить развертку"},
        {"AStart", "ПУСК", "Продолжить развертку"},
        {"ARepaint", "Перерисовать", ""},
        {"AExit", "Выход", ""},
        {"AMouseSelect", "Определить  мышью", "Определить границы мышью"},
        {"AOpenUnits", "Единицы измерения...", ""},
        {"AADCView", "ВХОД  АЦП", "Текущие измерения по входу АЦП"},
        {"AToolBar", "Панель инструментов", "Показать/скрыть панель инструментов"},
        {"AAutoSave", "Автосохранение...", ""},
        {"AFilterSetup", "ФНЧ...", ""},
        {"AFilter", "ФНЧ", "Фильтрация текущего спектра"},
        {"ARealTime", "Прием спектров...", ""},
        {"APrint", "Печать", "Печать спектра с текущими установками принтера"},
        {"APrintSetup", "Печать спектра...", ""},
        {"AColorSetup", "Цвета...", ""},
        {"APrintForm", "Печать главного окна", ""},
        {"ASwLPF", "ФНЧ(р)", "ФНЧ реального времени"},
        {"ASWSum", "Сумма", "Накопление спектров"},
        {"AAbout", "О программе...", ""},
        {"AIntegr", "Интеграл", "Подсчет интеграла"},
        {"AGlissSetup", "Сглаживание...", ""},
        {"AGliss", "Сглаживание", "Сглаживание спектра"},
        {"ABackUp", "Отмена", "Вернуться к предыдущему"},
        {"AEqualize", "Выравнивание", "Выравнивание спектра"},
        {"AMinMax", "MinMax", "Поиск экстремумов"},
        {"AStandVisir", "Установить визиры", ""},
        {"AMinMaxSetup", "Поиск экстремумов...", ""},
        {"ADivision", "Отношение пиков", "Нахождение отношения двух пиков"},
        {"ACalcFrecDFPG", "Расcчитать частоту по ДФПГ", "Используется Визир 1"},
        {"AGShow", "Отображать g-фактор", ""},
        {"AExport", "Экспорт...", "Записать спектр или рисунок графика для других программ"},
        {"AImport", "Импорт...", "Открыть спектр другой программы"},
        {"AFitLines", "Аппроксимация линий...", "Аппроксимация линий между визирами"},
        {"ACompare", "Сравнить с...", "Наложить спектр сравнения на текущий"},
        {"ACompareOff", "Убрать сравнение", "Убрать спектр сравнения"},
        {"AAnalysisResults", "Результаты анализа...",
         "Снова показать окно результатов аппроксимации и сравнения"},
    };
    for (const auto& [name, caption, hint] : actions) {
        SCOPED_TRACE(name);
        const QAction* a = Act(*w, name);
        EXPECT_EQ(Caption(a->text()), QString::fromUtf8(caption));
        if (*hint) {
            EXPECT_EQ(a->toolTip(), QString::fromUtf8(hint));
        }
    }

    Act(*w, "ALanguageEn")->trigger();
    Settle();
    EXPECT_EQ(Act(*w, "AOpenFile")->text(), QStringLiteral("&Open..."));
    EXPECT_EQ(Cyrillic(Texts(*w), w.Session->Settings()), QStringList());
    w->close();
    EXPECT_NE(Dir.IniText().indexOf("Language=en"), -1);
}

TEST_F(TLanguageTest, EveryOptionDialogAndThePrintoutInEnglish) {
    ASSERT_TRUE(InstallLanguage(TLanguage::En));
    TKavCfg cfg{};
    SetDefaults(cfg, Dir.Dir.path());
    TScriptedPort port;
    std::vector<std::unique_ptr<QWidget>> dialogs;
    for (const TDialogCase& c : OptionDialogs)
        dialogs.push_back(c.Make(cfg, port));
    auto results = std::make_unique<TAnalysisResultsWindow>();
    results->ShowResults({}, {{QStringLiteral("B0"), QStringLiteral("3148"), {}}});
    dialogs.push_back(std::move(results));
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d->metaObject()->className());
        EXPECT_EQ(Cyrillic(Texts(*d), cfg), QStringList());
    }
    EXPECT_EQ(PrintJobTitle(), QStringLiteral("KAV spectrum"));
    EXPECT_EQ(Cyrillic({PrintoutHeader(false, QStringLiteral("/data/образец.kav"),
                                       QStringLiteral("20"), SpeedName(7))},
                       cfg),
              QStringList());
    ASSERT_TRUE(InstallProgramLanguage(TLanguage::Ru));
    EXPECT_EQ(PrintJobTitle(), QStringLiteral("Спектр КАВ"));
}

// A fit's results in the window beside the main one follow the switch at
// once, rows included, and come back in Russian.
struct TLanguageWindowTest : TWindowTest {
    ~TLanguageWindowTest() override {
        InstallLanguage(TLanguage::Ru);
        Settle();
    }
};

TEST_F(TLanguageWindowTest, FitResultsWindowFollowsTheSwitchRowsIncluded) {
    OpenTestSpectrum();
    TKavCfg& cfg = W.Session->Settings();
    cfg.Visir1 = cfg.Visir2 = true;
    cfg.VisKoord1 = 30000;
    cfg.VisKoord2 = 40000;
    Port.OnDialog = [](QDialog& d) {
        d.findChild<QSpinBox*>("LineCountEdit")->setValue(1);
        d.findChild<QComboBox*>("ShapeBox")->setCurrentIndex(0);
        d.findChild<QPushButton*>("OKBtn")->click();
    };
    Act(*W, "AFitLines")->trigger();
    Port.OnDialog = nullptr;
    ASSERT_TRUE(W.Session->Analysis().HasFit()) << Port.Errors.join('\n').toStdString();
    const TAnalysisResultsWindow& results = *W->findChild<TAnalysisResultsWindow*>();
    ASSERT_TRUE(results.isVisible());
    const QStringList russian = Texts(results);
    for (const char* text : {"Результаты", "Величина", "Копировать", "СКО остатка"})
        EXPECT_TRUE(russian.contains(QString::fromUtf8(text))) << text;

    Act(*W, "ALanguageEn")->trigger();
    Settle();
    const QStringList english = Texts(results);
    EXPECT_EQ(Cyrillic(english, cfg), QStringList());
    for (const char* text : {"Results", "Quantity", "Copy", "Residual RMS"})
        EXPECT_TRUE(english.contains(QString::fromUtf8(text))) << text;
    EXPECT_TRUE(results.ClipboardText().startsWith(QStringLiteral("Fit: Lorentzian, lines: 1")))
        << results.ClipboardText().toStdString();

    Act(*W, "ALanguageRu")->trigger();
    Settle();
    EXPECT_EQ(Texts(results), russian);

    // With the results window closed, the plot's result lines follow too:
    // what the plot shows is what a repaint draws now.
    W->findChild<TAnalysisResultsWindow*>()->close();
    Act(*W, "ALanguageEn")->trigger();
    Settle();
    TPlotWidget* plot = Plot(*W);
    const QImage shown = plot->Canvas().copy();
    plot->ScreenBoxPaint();
    EXPECT_EQ(plot->Canvas(), shown);
}

// The panels the receive mode wrote follow the switch at once, with the
// numbers they showed; a panel written by someone else since stays.
TEST_F(TLanguageTest, ReceivePanelsFollowTheSwitchAtOnce) {
    WriteReceiveIni(Dir, QStringLiteral("COM1"),
                    "AutoSave=1\r\nWorkDir=" + Dir.Dir.path().toUtf8() +
                        "/\r\nEnableRTLPF=1\r\nEnableRTSum=1\r\nRTNumb=4\r\n");
    TShownWindow w = ShowWindow(Port);
    Deliver(*w.Session, SweepStart());
    TKavStatusBar* bar = Bar(*w);
    const QStringList ru = Panels(*w, {1, 7, 8, 10});
    EXPECT_EQ(ru.mid(1, 2), (QStringList{"Рабочий ход", "АВТО"}));
    EXPECT_TRUE(ru[3].startsWith(QStringLiteral("НАКОПЛ ["))) << ru[3].toStdString();
    bar->SetPanel(9, QStringLiteral("другое"));
    // The labels of the groups the instrument may take over.
    auto groupLabels = [&w] {
        QStringList texts;
        for (const char* name : {"CorrLbl", "AmpLbl", "SpeedLbl"})
            texts << Find<QLabel>(*w, name)->text();
        return texts;
    };
    const QStringList ruLabels = groupLabels();
    EXPECT_EQ(ruLabels, QStringList(3, QStringLiteral("РУЧН.УПР.")));

    Act(*w, "ALanguageEn")->trigger();
    Settle();
    EXPECT_EQ(groupLabels(), QStringList(3, QStringLiteral("MANUAL")));
    EXPECT_TRUE(bar->Panel(1).endsWith(QStringLiteral(" baud"))) << bar->Panel(1).toStdString();
    EXPECT_EQ(Panels(*w, {7, 8, 9}), (QStringList{"Forward sweep", "AUTO", "другое"}));
    EXPECT_EQ(QString(bar->Panel(10))
                  .replace(QStringLiteral("ACCUM ["), QStringLiteral("НАКОПЛ ["))
                  .replace(QStringLiteral(" of "), QStringLiteral(" из ")),
              ru[3]);

    Act(*w, "ALanguageRu")->trigger();
    Settle();
    EXPECT_EQ(Panels(*w, {1, 7, 8, 10}), ru);
    EXPECT_EQ(groupLabels(), ruLabels);
    w->close();
}

TEST_F(TLanguageTest, PanelsAnOpenedFileFilledFollowTheSwitch) {
    const QString file = Dir.Path(QStringLiteral("line.kav"));
    WriteTestSpectrum(file);
    Dir.WriteIni("[Main]\r\nMode=0\r\nLastOpen=" + file.toUtf8() + "\r\n");
    TShownWindow w = ShowWindow(Port);
    const QStringList ru{"PR: 3", "S/N: 7", "НАКОПЛ: 4"};
    ASSERT_EQ(Panels(*w, {5, 6, 10}), ru);

    Act(*w, "ALanguageEn")->trigger();
    Settle();
    EXPECT_EQ(Panels(*w, {5, 6, 10}), (QStringList{"PR: 3", "S/N: 7", "ACCUM: 4"}));
    Bar(*w)->SetPanel(10, QStringLiteral("другое"));
    Act(*w, "ALanguageRu")->trigger();
    Settle();
    EXPECT_EQ(Bar(*w)->Panel(10), QStringLiteral("другое")); // written since: kept
    w->close();
}

} // namespace
