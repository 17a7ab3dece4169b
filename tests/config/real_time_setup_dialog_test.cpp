#include "config/real_time_setup_dialog.h"
#include "config/settings_store.h"
#include "qstring_printer.h"
#include "view/qt_app.h"

#include <QApplication>
#include <QCheckBox>
#include <QEnterEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace {

struct TRealTimeSetupTest : ::testing::Test {
    TKavCfg Cfg{};

    void SetUp() override { SetDefaults(Cfg, QStringLiteral("/tmp")); }

    static void Click(QCheckBox* box) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
    static void Enter(QWidget* w) {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(w, &enter);
    }
    static int ShownHelp(const TRealTimeSetupForm& d) {
        int shown = -1;
        for (int k = 0; k < 3; ++k)
            if (d.Help(k)->isVisible())
                shown = shown == -1 ? k : 99;
        return shown;
    }
};

} // namespace

TEST_F(TRealTimeSetupTest, ShowsTheSettingsAtTheFieldsBounds) {
    Cfg.EnableRTSum = true;
    Cfg.RTNumb = 1;
    Cfg.RTLPFConst = 5000;
    Cfg.ShowFirst = true;
    TRealTimeSetupForm d(Cfg);
    d.show();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Обработка  при приеме спектров"));
    EXPECT_FALSE(d.EnLPF()->isChecked());
    EXPECT_TRUE(d.EnSum()->isChecked());
    EXPECT_EQ(d.SumConst()->value(), 2);
    EXPECT_EQ(d.LPFConst()->value(), 2000);
    EXPECT_TRUE(d.ShowFirstBox()->isChecked());
    EXPECT_TRUE(d.ShowFirstBox()->isEnabled());
    EXPECT_EQ(ShownHelp(d), -1);
    QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
    EXPECT_EQ(Cfg.RTNumb, 2);
    EXPECT_EQ(Cfg.RTLPFConst, 2000);
}

TEST_F(TRealTimeSetupTest, TheRawTraceNeedsTheFilterOrTheSum) {
    TRealTimeSetupForm off(Cfg); // both off in the defaults
    EXPECT_FALSE(off.ShowFirstBox()->isEnabled());

    Cfg.EnableRTLPF = true;
    Cfg.ShowFirst = true;
    TRealTimeSetupForm d(Cfg);
    d.show();
    Click(d.EnLPF()); // both off now
    EXPECT_FALSE(d.ShowFirstBox()->isChecked());
    EXPECT_FALSE(d.ShowFirstBox()->isEnabled());
    Click(d.EnSum());
    EXPECT_TRUE(d.ShowFirstBox()->isEnabled());
    EXPECT_FALSE(d.ShowFirstBox()->isChecked());
    Click(d.ShowFirstBox());
    Click(d.EnLPF()); // on again beside the sum: the mark stays
    EXPECT_TRUE(d.ShowFirstBox()->isChecked());

    QTest::keyClick(d.SumConst(), Qt::Key_Up);
    QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_TRUE(Cfg.EnableRTLPF);
    EXPECT_TRUE(Cfg.EnableRTSum);
    EXPECT_TRUE(Cfg.ShowFirst);
    EXPECT_EQ(Cfg.RTNumb, 10);
    EXPECT_EQ(Cfg.RTLPFConst, 25);
}

TEST_F(TRealTimeSetupTest, TheHelpFollowsTheMouse) {
    TRealTimeSetupForm d(Cfg);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    Enter(d.SumGroup());
    EXPECT_EQ(ShownHelp(d), 1);
    EXPECT_EQ(d.Help(1)->text(), TRealTimeSetupForm::HelpTexts[1]);
    Enter(d.ShowFirstPanel());
    EXPECT_EQ(ShownHelp(d), 2);
    Enter(d.FilterGroup());
    EXPECT_EQ(ShownHelp(d), 0);
    EXPECT_EQ(d.Help(0)->text(), QStringLiteral("Фильтрация низких частот будет производиться "
                                                "сразу при приеме спектров."));
}

TEST_F(TRealTimeSetupTest, CancelChangesNothing) {
    const TKavCfg before = Cfg;
    TRealTimeSetupForm d(Cfg);
    d.show();
    Click(d.EnLPF());
    Click(d.ShowFirstBox());
    QTest::keyClick(d.LPFConst(), Qt::Key_Up);
    QTest::mouseClick(d.CancelBtn(), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_TRUE(Cfg == before);
}
