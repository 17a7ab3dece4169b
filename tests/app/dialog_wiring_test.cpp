#include "app_fixture.h"

#include "acquisition/acquisition_engine.h"
#include "app/dialog_wiring.h"
#include "app/instrument_groups_widget.h"
#include "config/unit_setup_dialog.h"
#include "processing/min_max_setup_dialog.h"
#include "processing/processing_actions.h"
#include "scripted_dialog_port.h"
#include "view/display_color.h"
#include "view/plot_widget.h"
#include "view/status_bar_widget.h"
#include "view/view_bounds_widget.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

// The option dialogs opened from the main window's menus: each one's OK
// brings the window in line, Cancel leaves everything as it was.

namespace {

using TAnswer = TDialogPort::TAnswer;

struct TDialogWiringTest : ::testing::Test {
    TAppDir Dir;
    TScriptedPort Port;
    TScriptedDialogPort Boxes;
    std::unique_ptr<TKavMainForm> W = ShowWindow(Port);
    QStringList Opened; // the dialogs shown, by class

    void SetUp() override { W->DialogWiring().SetDialogPort(Boxes); }

    // Runs a menu item; `play` is the user's part in its dialog, which is
    // shown meanwhile.
    void Run(const char* menu, const char* item, const std::function<void(QDialog&)>& play) {
        Port.OnDialog = [&](QDialog& d) {
            Opened << QString::fromLatin1(d.metaObject()->className());
            d.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
            play(d);
            d.hide();
        };
        QAction* action = MenuItem(*W, QString::fromUtf8(menu), QString::fromUtf8(item));
        ASSERT_TRUE(action) << item;
        ASSERT_TRUE(action->isEnabled()) << item;
        action->trigger();
        Port.OnDialog = nullptr;
    }
    static void Ok(QDialog& d) {
        QTest::mouseClick(d.findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
    }
    static void Cancel(QDialog& d) {
        QTest::mouseClick(d.findChild<QPushButton*>("CancelBtn"), Qt::LeftButton);
    }
    template <class T> static T* Child(QDialog& d, const char* name) {
        T* w = d.findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    static void Tick(QDialog& d, const char* name) {
        auto* box = Child<QAbstractButton>(d, name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
    void OpenTestSpectrum() {
        const QString file = Dir.Path(QStringLiteral("lines.kav"));
        WriteTestSpectrum(file);
        Port.OpenAnswers << file;
        MenuItem(*W, "Спектр", "Открыть...")->trigger();
    }
    int CanvasPixels(TColorValue colour) const {
        const QImage& canvas = W->Plot()->Canvas();
        int n = 0;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                n += (canvas.pixel(x, y) & 0xFFFFFF) == (ToRgb(colour) & 0xFFFFFF);
        return n;
    }
};

} // namespace

TEST_F(TDialogWiringTest, CancelInEveryDialogChangesNothing) {
    const TKavCfg before = W->Settings();
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
    EXPECT_TRUE(W->Settings() == before);
    EXPECT_FALSE(W->Actions().ABackUp->isEnabled());
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
    const TKavCfg& cfg = W->Settings();
    EXPECT_EQ(cfg.RazvUnit, 3);
    EXPECT_EQ(cfg.RazvUnits[7], cfg.RazvUnits[3]); // the snapshot
    EXPECT_EQ(W->ViewBounds()->MinViewExt()->text(), QStringLiteral("3000 Э"));
    EXPECT_EQ(W->ViewBounds()->MaxViewExt()->text(), QStringLiteral("3300 Э"));
    // The sweep bounds' boxes too, and they keep the new unit when the
    // controls are shown again.
    const TInstrumentGroupsWidget* groups = W->InstrumentGroups();
    EXPECT_EQ(groups->TopFieldExt()->text(), QStringLiteral("3300 Э"));
    EXPECT_EQ(W->Engine().Controls().State().Bounds.TopText, QStringLiteral("3300 Э"));
    EXPECT_EQ(Dir.ReadBack().RazvUnit, 3);

    // Refused unlocking: the file is not written again.
    QFile::remove(Dir.Path("Kav.ini"));
    Boxes.Answers = {TAnswer::No};
    Run("Настройка", "Единицы измерения...", [](QDialog& d) {
        Tick(d, "EnableBox");
        Ok(d);
    });
    EXPECT_EQ(Boxes.Confirms, QStringList{TUnitSetupForm::ConfirmText});
    EXPECT_FALSE(QFile::exists(Dir.Path("Kav.ini")));
}

TEST_F(TDialogWiringTest, AutoSaveOkShowsOrBlanksItsStatusPanel) {
    Run("Настройка", "Автосохранение...", [](QDialog& d) {
        Tick(d, "OnBox");
        Ok(d);
    });
    EXPECT_TRUE(W->Settings().AutoSave);
    EXPECT_EQ(W->StatusPanels()->Panel(8), QStringLiteral("АВТО"));
    Run("Настройка", "Автосохранение...", [](QDialog& d) {
        Tick(d, "OnBox");
        Ok(d);
    });
    EXPECT_FALSE(W->Settings().AutoSave);
    EXPECT_TRUE(W->StatusPanels()->Panel(8).isEmpty());
}

TEST_F(TDialogWiringTest, RealTimeOkSetsTheCheckMarksOfItsToolButtons) {
    const auto& a = W->Actions();
    Run("Настройка", "Прием спектров...", [](QDialog& d) {
        Tick(d, "EnLPF");
        Ok(d);
    });
    EXPECT_TRUE(a.ASwLPF->isChecked());
    EXPECT_FALSE(a.ASWSum->isChecked());
    // One state: the controls know the check too, so the button blinks.
    EXPECT_TRUE(W->Engine().Controls().State().Action(TAcqAction::RealTimeLpf).Checked);
}

TEST_F(TDialogWiringTest, FilterAndSmoothingRunAfterOk) {
    OpenTestSpectrum();
    const auto raw = std::make_unique<TPointTable>(W->Points());
    auto changedSlots = [&] {
        int n = 0;
        for (int k = 0; k < PointSlotCount; ++k)
            n += W->Points()[k].Y != (*raw)[k].Y;
        return n;
    };
    Run("Функции", "ФНЧ...", [](QDialog& d) {
        QTest::keyClick(Child<QSpinBox>(d, "ConstEdit"), Qt::Key_Up);
        Ok(d);
    });
    EXPECT_EQ(W->Settings().LPFConst, 11);
    EXPECT_TRUE(W->Actions().ABackUp->isEnabled());
    EXPECT_GT(changedSlots(), 1000);

    W->Actions().ABackUp->trigger();
    ASSERT_EQ(changedSlots(), 0);
    Run("Функции", "Сглаживание...", [](QDialog& d) {
        Tick(d, "AutoBox");
        Ok(d);
    });
    EXPECT_TRUE(W->Settings().AutoGliss);
    EXPECT_TRUE(W->Actions().ABackUp->isEnabled());
    EXPECT_GT(changedSlots(), 0);
}

TEST_F(TDialogWiringTest, ExtremumSearchOkStoresThenAsksForTheVisirs) {
    TMinMaxSetupForm* created = &W->DialogWiring().MinMaxSetupForm();
    Run("Функции", "Поиск экстремумов...", [](QDialog& d) {
        QTest::keyClick(Child<QSpinBox>(d, "NoiseEdit"), Qt::Key_Up);
        Ok(d);
    });
    EXPECT_EQ(W->Settings().FindMaxNoise, 30);
    EXPECT_EQ(Port.Warnings, QStringList{TProcessingActions::MinMaxVisirWarning});
    EXPECT_EQ(&W->DialogWiring().MinMaxSetupForm(), created);
    // The next opening shows the stored value, and Cancel searches nothing.
    Run("Функции", "Поиск экстремумов...", [](QDialog& d) {
        EXPECT_EQ(Child<QSpinBox>(d, "NoiseEdit")->value(), 30);
        Cancel(d);
    });
    EXPECT_EQ(Port.Warnings.size(), 1);
}

TEST_F(TDialogWiringTest, ColourOkRepaintsThePlotInTheNewBackground) {
    constexpr TColorValue Navy = 0x800000;
    const int plotArea = W->Plot()->Canvas().width() * W->Plot()->Canvas().height();
    ASSERT_LT(CanvasPixels(Navy), plotArea / 2);
    Boxes.Colours = {Navy};
    Run("Настройка", "Цвета...", [](QDialog& d) {
        QTest::mouseClick(Child<QFrame>(d, "BackGround"), Qt::LeftButton);
        Ok(d);
    });
    EXPECT_EQ(W->Settings().DisplayColors.BackGround, Navy);
    EXPECT_GT(CanvasPixels(Navy), plotArea / 2);
    EXPECT_EQ(W->ScreenPanel()->palette().color(QPalette::Window), ToQColor(Navy));
}
