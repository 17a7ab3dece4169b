#include "config/auto_save_setup_dialog.h"
#include "config/auto_save_texts.h"
#include "config/settings_store.h"
#include "qstring_printer.h"
#include "view/qt_app.h"

#include <QCheckBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

namespace {

struct TAutoSaveSetupTest : ::testing::Test {
    QTemporaryDir Work;
    QTemporaryDir Other;
    TKavCfg Cfg{};

    void SetUp() override { SetDefaults(Cfg, Work.path()); }

    // A folder picked in the tree as the user would click it.
    static void Pick(TAutoSaveSetupFrm& d, const QString& path) {
        const QModelIndex index = d.DirModel()->index(path);
        ASSERT_TRUE(index.isValid());
        d.DirView()->scrollTo(index);
        d.DirView()->setCurrentIndex(index);
    }
    // Typed key by key; QTest's own typing knows Latin letters only.
    static void Type(QWidget* w, const QString& text) {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    static void Retype(QAbstractSpinBox* spin, const QString& text) {
        spin->selectAll();
        QTest::keyClicks(spin, text);
    }
};

} // namespace

TEST_F(TAutoSaveSetupTest, ShowsTheSettingsTheExampleAndTheFreeSpace) {
    Cfg.NumbMask = 123456789; // beyond the field: shown at its bound
    Cfg.SaveStep = 0;
    TAutoSaveSetupFrm d(Cfg);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Настройка автоматическго сохранения спектров"));
    EXPECT_EQ(d.Directory()->text(), Work.path());
    EXPECT_TRUE(d.Directory()->isReadOnly());
    EXPECT_EQ(d.Info()->text(), FreeSpaceText(Work.path()));
    EXPECT_FALSE(d.OnBox()->isChecked());
    EXPECT_EQ(d.NameMask()->text(), QStringLiteral("Спектр"));
    EXPECT_EQ(d.NumbMask()->value(), 99999999);
    EXPECT_EQ(d.SaveStep()->value(), 1);
    EXPECT_EQ(d.Exam()->text(), QStringLiteral("Спектр99999999.kav"));
    EXPECT_TRUE(d.DirView()->selectionModel()->selectedIndexes().isEmpty());
}

TEST_F(TAutoSaveSetupTest, TheExampleFollowsTheMaskAndTheNumber) {
    TAutoSaveSetupFrm d(Cfg);
    d.show();
    d.NameMask()->selectAll();
    Type(d.NameMask(), QStringLiteral("ЭПР проба."));
    EXPECT_EQ(d.Exam()->text(), QStringLiteral("ЭПР_проба_00000001.kav"));
    Retype(d.NumbMask(), QStringLiteral("42"));
    EXPECT_EQ(d.Exam()->text(), QStringLiteral("ЭПР_проба_00000042.kav"));
    d.NameMask()->selectAll();
    QTest::keyClick(d.NameMask(), Qt::Key_Delete);
    EXPECT_EQ(d.Exam()->text(), QStringLiteral("00000042.kav"));
}

TEST_F(TAutoSaveSetupTest, OkWithSavingOffKeepsWorkDirAndWritesTheRest) {
    TAutoSaveSetupFrm d(Cfg);
    d.show();
    Pick(d, Other.path());
    EXPECT_EQ(d.Directory()->text(), Other.path());
    EXPECT_EQ(d.Info()->text(), FreeSpaceText(Other.path()));
    d.NameMask()->selectAll();
    Type(d.NameMask(), QStringLiteral("Образец"));
    Retype(d.NumbMask(), QStringLiteral("7"));
    Retype(d.SaveStep(), QStringLiteral("3"));
    QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(Cfg.WorkDir, Work.path());
    EXPECT_FALSE(Cfg.AutoSave);
    EXPECT_EQ(Cfg.NameMask, QStringLiteral("Образец"));
    EXPECT_EQ(Cfg.NumbMask, 7);
    EXPECT_EQ(Cfg.SaveStep, 3);
}

TEST_F(TAutoSaveSetupTest, OkWithSavingOnTakesTheChosenDirectory) {
    TAutoSaveSetupFrm d(Cfg);
    d.show();
    QTest::mouseClick(d.OnBox(), Qt::LeftButton, {}, QPoint(8, d.OnBox()->height() / 2));
    Pick(d, Other.path());
    QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
    EXPECT_TRUE(Cfg.AutoSave);
    EXPECT_EQ(Cfg.WorkDir, Other.path());
}

TEST_F(TAutoSaveSetupTest, CancelChangesNothing) {
    const TKavCfg before = Cfg;
    TAutoSaveSetupFrm d(Cfg);
    d.show();
    QTest::mouseClick(d.OnBox(), Qt::LeftButton, {}, QPoint(8, d.OnBox()->height() / 2));
    Pick(d, Other.path());
    Retype(d.SaveStep(), QStringLiteral("9"));
    QTest::mouseClick(d.CancelBtn(), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_TRUE(Cfg == before);
}
