// No text is cut and nothing sticks out: the main window at its default and
// minimum size, every option dialog at 1 and 1.5 times the font, in Russian
// and English. With $KAV7_SCREENSHOT_DIR set, the documentation's pictures.

#include "app_fixture.h"
#include "option_dialogs.h"

#include "app/qt_translation.h"
#include "scripted_port.h"
#include "view/status_bar_widget.h"
#include "view/view_bounds_widget.h"
#include "view/visir_controller.h"
#include "view/visir_panel_widget.h"

#include <QAbstractButton>
#include <QLayout>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>

namespace {

// The label shows its whole text inside the window.
void ExpectWholeText(const QLabel* label, const QWidget* window) {
    SCOPED_TRACE(label->text().toStdString());
    EXPECT_TRUE(label->isVisible());
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
    EXPECT_TRUE(window->rect().contains(InWindow(label, window)));
}

// The main window at its default size and at its minimum.
struct TWindowSize {
    QSize Size;
    const char* Picture;
};

class TWindowLayoutTest : public ::testing::TestWithParam<TWindowSize> {
protected:
    TAppDir Dir;
    TScriptedPort Port;
    TShownWindow W;

    bool Default() const { return GetParam().Size.width() >= 760; }
    void Show() {
        W = ShowWindow(Port);
        W->resize(GetParam().Size);
        QApplication::processEvents();
        ASSERT_EQ(W->size(), GetParam().Size);
    }
};

} // namespace

TEST_P(TWindowLayoutTest, ProcessedSpectrumFitsTheWindow) {
    Show();
    WriteTestSpectrum(Dir.Path("sample.kav"));
    Port.OpenAnswers << Dir.Path("sample.kav");
    MenuItem(*W, "Спектр", "Открыть...")->trigger();
    // The integral at the minimum size, the peak ratio at the default one.
    W.Session->Settings().VisKoord1 = Default() ? 8000 : 26000;
    W.Session->Settings().VisKoord2 = Default() ? 60000 : 41000;
    MenuItem(*W, "Вид", "Установить визиры")->trigger();
    W->findChild<QAction*>("AMinMax")->trigger();
    MenuItem(*W, "Функции", Default() ? "Отношение пиков" : "Интеграл")->trigger();
    EXPECT_TRUE(Default() ? W.Session->Results().TibaAmp != 0 && W.Session->Results().MaxCount > 0
                          : W.Session->Results().Area >= 0);
    EXPECT_TRUE(Port.Warnings.isEmpty());
    QApplication::processEvents();

    // Nothing is laid out narrower than it needs.
    const QWidget* central = W->centralWidget();
    EXPECT_LE(central->minimumSizeHint().width(), central->width());
    EXPECT_LE(central->minimumSizeHint().height(), central->height());
    TInstrumentGroupsWidget* g = W->findChild<TInstrumentGroupsWidget*>();
    const std::vector<QWidget*> row = {g->CorrectionGroup(), g->GainGroup(), g->SpeedGroup(),
                                       g->BoundsGroup()};
    auto* bounds = Find<TViewBoundsWidget>(*W, "ViewBounds");
    const std::vector<QWidget*> strip = {Find<TVisirPanelWidget>(*W, "VisPan1"),
                                         Find<TVisirPanelWidget>(*W, "VisPan2"),
                                         bounds->MinView(),
                                         bounds->MinViewExt(),
                                         bounds->MaxView(),
                                         bounds->MaxViewExt(),
                                         W->findChild<QWidget*>("AllBtn")};
    for (const auto* set : {&row, &strip}) {
        for (size_t i = 0; i < set->size(); ++i) {
            const QWidget* a = (*set)[i];
            SCOPED_TRACE(a->objectName().toStdString() + " " + a->metaObject()->className());
            EXPECT_TRUE(a->isVisible());
            EXPECT_TRUE(W->rect().contains(InWindow(a, W.get()))) << a->width();
            EXPECT_GE(a->width(), a->minimumSizeHint().width())
                << (a->layout() ? a->layout()->minimumSize().width() : -1) << " "
                << QFontMetrics(a->font()).horizontalAdvance(a->property("title").toString());
            for (size_t j = i + 1; j < set->size(); ++j)
                EXPECT_FALSE(InWindow(a, W.get()).intersects(InWindow((*set)[j], W.get()))) << j;
        }
    }
    // The plot sits above the strip, the strip above the groups.
    EXPECT_LT(InWindow(Plot(*W), W.get()).bottom(),
              InWindow(Find<TVisirPanelWidget>(*W, "VisPan1"), W.get()).top());
    EXPECT_LT(InWindow(Find<TVisirPanelWidget>(*W, "VisPan2"), W.get()).bottom(),
              InWindow(g->CorrectionGroup(), W.get()).top());
    EXPECT_GE(Plot(*W)->height(), 100);
    EXPECT_EQ(g->CorrectionGroup()->height(), 66);
    // The status panels used by the display show their whole text.
    for (int k : {3, 4, 5, 6, 7, 8, 9, 10})
        ExpectWholeText(Bar(*W)->PanelLabel(k), W.get());
    SavePicture(*W, QString::fromLatin1(GetParam().Picture));
}

TEST_P(TWindowLayoutTest, ReceiveLabelsRowsAndPortPanelsShowTheirWholeText) {
    WriteReceiveIni(Dir, "COM12", "Rapid=3\r\n");
    Show();
    TInstrumentGroupsWidget* g = W->findChild<TInstrumentGroupsWidget*>();
    // Under manual control ("РУЧН. УПР."), then the computer's ("ПЭВМ"),
    // with the widest rows of both lists.
    for (int gain : {0xC9, 0x09}) {
        Deliver(*W.Session, Point(100, 2048, gain, gain & 0x80 ? 0x89 : 0x09));
        g->AmpBox()->setCurrentIndex(7);
        QApplication::processEvents();
        for (const QLabel* label :
             {g->AmpLbl(), g->SpeedLbl(), g->CorrLbl(), g->BotLbl(), g->TopLbl()})
            ExpectWholeText(label, W.get());
        EXPECT_EQ(g->SpeedBox()->currentText(), "128 мин");
        EXPECT_EQ(g->AmpBox()->currentText(), "200");
        for (const QComboBox* box : {g->AmpBox(), g->SpeedBox()})
            EXPECT_GE(box->width(), box->minimumSizeHint().width());
    }
    // The port panels show their whole text at the default size; on a
    // narrower window they give way first, and their hint holds the text.
    for (int k : {0, 1}) {
        SCOPED_TRACE(k);
        const QLabel* panel = Bar(*W)->PanelLabel(k);
        if (Default())
            ExpectWholeText(panel, W.get());
        EXPECT_EQ(panel->toolTip(), panel->text());
    }
    EXPECT_EQ(Bar(*W)->Panel(1), "9600 бод");
}

// In English, receiving from the simulator: every text shows whole.
TEST(TEnglishWindowLayout, ReceivingFromTheSimulatorEverythingShowsWhole) {
    TAppDir dir;
    TScriptedPort port;
    WriteReceiveIni(dir, QStringLiteral("SIM"), "Language=en\r\n");
    TShownWindow w = ShowWindow(port);
    w->resize(760, 500);
    TKavStatusBar* bar = Bar(*w);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->Panel(7) == "Forward sweep"; }, 10000));
    QTest::qWait(1500); // a piece of the sweep on the plot
    TInstrumentGroupsWidget* g = w->findChild<TInstrumentGroupsWidget*>();
    for (const QLabel* label : {g->AmpLbl(), g->SpeedLbl(), g->CorrLbl(), g->BotLbl(), g->TopLbl()})
        ExpectWholeText(label, w.get());
    for (QWidget* group : {g->CorrectionGroup(), g->GainGroup(), g->SpeedGroup(), g->BoundsGroup()})
        EXPECT_GE(group->width(), group->minimumSizeHint().width())
            << group->objectName().toStdString();
    for (int k : {0, 1, 5, 6, 7})
        ExpectWholeText(bar->PanelLabel(k), w.get());
    for (QAction* a : Find<QToolBar>(*w, "MainBar")->actions()) {
        if (a->isSeparator())
            continue;
        SCOPED_TRACE(a->objectName().toStdString());
        QWidget* button = Find<QToolBar>(*w, "MainBar")->widgetForAction(a);
        EXPECT_TRUE(button->isVisible());
        EXPECT_LE(InWindow(button, w.get()).right(), w->width());
    }
    SavePicture(*w, QStringLiteral("main-window-receiving-en.png"));
    w->close();
    InstallLanguage(TLanguage::Ru);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TWindowLayoutTest,
                         ::testing::Values(TWindowSize{QSize(760, 500), "main-window.png"},
                                           TWindowSize{QSize(500, 450), "main-window-min.png"}));

namespace {

std::string Describe(const QWidget* w) {
    QString text = w->objectName();
    if (const auto* l = qobject_cast<const QLabel*>(w))
        text += QStringLiteral(" \"") + l->text() + QStringLiteral("\"");
    if (const auto* b = qobject_cast<const QAbstractButton*>(w))
        text += QStringLiteral(" \"") + b->text() + QStringLiteral("\"");
    if (const auto* g = qobject_cast<const QGroupBox*>(w))
        text += QStringLiteral(" \"") + g->title() + QStringLiteral("\"");
    return std::string(w->metaObject()->className()) + " " + text.toStdString();
}

void CheckNothingCut(const QDialog& dialog) {
    for (const QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        SCOPED_TRACE(Describe(w));
        EXPECT_TRUE(dialog.rect().contains(InWindow(w, &dialog)));
        if (const auto* label = qobject_cast<const QLabel*>(w); label && label->wordWrap()) {
            EXPECT_GE(label->height(), label->heightForWidth(label->width()));
            continue;
        }
        if (qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
            qobject_cast<const QSpinBox*>(w)) {
            EXPECT_GE(w->width(), w->sizeHint().width());
            EXPECT_GE(w->height(), w->sizeHint().height());
        }
        if (qobject_cast<const QGroupBox*>(w)) {
            EXPECT_GE(w->width(), w->minimumSizeHint().width());
        }
        if (qobject_cast<const QTabBar*>(w)) {
            EXPECT_GE(w->width(), w->sizeHint().width());
        }
        if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
            // The frame and the inner margins take 8 pixels of the width.
            EXPECT_GE(edit->width() - 8, edit->fontMetrics().horizontalAdvance(edit->text()));
        }
    }
}

// The font scale and the language of the texts.
class TDialogLayoutTest : public ::testing::TestWithParam<std::tuple<double, TLanguage>> {
protected:
    double Scale() const { return std::get<0>(GetParam()); }
    bool English() const { return std::get<1>(GetParam()) == TLanguage::En; }
    void SetUp() override {
        Saved = QApplication::font();
        QFont scaled = Saved;
        scaled.setPointSizeF(Saved.pointSizeF() * Scale());
        QApplication::setFont(scaled);
        ASSERT_TRUE(InstallLanguage(std::get<1>(GetParam())));
        SetDefaults(Cfg, QDir::tempPath());
    }
    void TearDown() override {
        QApplication::setFont(Saved);
        InstallLanguage(TLanguage::Ru);
    }

    QFont Saved;
    TKavCfg Cfg{};
    TScriptedPort Port;
};

} // namespace

TEST_P(TDialogLayoutTest, NoTextIsCutAndEveryDialogFitsItsContents) {
    // The settings as an operator has them (in the pictures), and with the
    // longest value text and unit name the dialogs show.
    TKavCfg usual = Cfg;
    usual.RazvUnits[3].X1 = 3360.125;
    usual.RazvUnit = 3;
    TKavCfg longest = Cfg;
    longest.RazvUnits[3].X1 = -0.000012345;
    longest.ADCUnits[4].X2 = -1.2345e-15;
    longest.ADCUnits[4].Name = QStringLiteral("мкВ/Э");
    for (const TDialogCase& c : OptionDialogs) {
        for (TKavCfg* cfg : {&longest, &usual}) {
            SCOPED_TRACE(std::string(c.Picture) + (cfg == &usual ? " usual" : " longest"));
            std::unique_ptr<QDialog> dialog = c.Make(*cfg, Port);
            if (c.Page >= 0)
                dialog->findChild<QTabWidget*>()->setCurrentIndex(c.Page);
            dialog->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
            // The folder tree fills in the background.
            if (auto* tree = dialog->findChild<QTreeView*>()) {
                EXPECT_TRUE(QTest::qWaitFor(
                    [tree] { return tree->model()->rowCount(tree->rootIndex()) > 0; }, 5000));
                tree->expandAll();
                QTest::qWait(200);
            }
            CheckNothingCut(*dialog);
            if (cfg == &usual)
                SavePicture(*dialog, QString::fromLatin1(c.Picture) +
                                         (Scale() == 1.0 ? "" : "-150") + (English() ? "-en" : "") +
                                         ".png");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(FontsAndLanguages, TDialogLayoutTest,
                         ::testing::Combine(::testing::Values(1.0, 1.5),
                                            ::testing::Values(TLanguage::Ru, TLanguage::En)));
