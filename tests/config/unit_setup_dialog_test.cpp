#include "config/settings_store.h"
#include "config/unit_setup_dialog.h"
#include "qstring_printer.h"
#include "scripted_dialog_port.h"
#include "view/qt_app.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <memory>

namespace {

using TAnswer = TDialogPort::TAnswer;

struct TUnitSetupTest : ::testing::Test {
    TKavCfg Cfg{};
    TScriptedDialogPort Port;
    int Writes = 0;
    QString WriteFailure; // a reason makes the write fail
    std::unique_ptr<TUnitSetupForm> Dialog;

    void SetUp() override { SetDefaults(Cfg, QStringLiteral("/tmp")); }

    TUnitSetupForm& Open() {
        auto writer = [this](QString* reason) {
            ++Writes;
            if (WriteFailure.isEmpty())
                return true;
            *reason = WriteFailure;
            return false;
        };
        Dialog = std::make_unique<TUnitSetupForm>(Cfg, Port, QChar(','), writer);
        Dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(Dialog.get()));
        return *Dialog;
    }
    QLineEdit* Edit(const char* name) const {
        return Dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    void ClickLock(TAnswer answer) {
        Port.Answers.push_back(answer);
        QTest::mouseClick(Dialog->EnableBox(), Qt::LeftButton, {},
                          QPoint(8, Dialog->EnableBox()->height() / 2));
    }
    // The page of a widget comes to the front, as the user would bring it.
    void ShowPageOf(const QWidget* w) {
        QTabWidget* pages = Dialog->PageControl();
        for (int k = 0; k < pages->count(); ++k)
            if (pages->widget(k)->isAncestorOf(w))
                pages->setCurrentIndex(k);
    }
    void Retype(QLineEdit* edit, const char* text) {
        ShowPageOf(edit);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, QString::fromUtf8(text));
    }
    void ClickOk() { QTest::mouseClick(Dialog->OKBtn(), Qt::LeftButton); }
    bool Accepted() const { return !Dialog->isVisible() && Dialog->result() == QDialog::Accepted; }
};

} // namespace

TEST_F(TUnitSetupTest, ShowsEveryRecordAndSelectionOnTheFirstPage) {
    Cfg.RazvUnits[3].X1 = 3360.125;
    Cfg.ADCUnit = 4;
    Cfg.AmpUnit = 9; // outside the group: no item is checked
    Open();
    EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Выбор измеряемых параметров"));
    EXPECT_EQ(Dialog->PageControl()->currentIndex(), 0);
    EXPECT_EQ(Edit("RazvMin3")->text(), QStringLiteral("3360,1"));
    EXPECT_EQ(Edit("CorrMin0")->text(), QStringLiteral("-32767"));
    EXPECT_EQ(Dialog->findChild<QLabel*>("CorrLbl1")->text(), QStringLiteral("мВ"));
    EXPECT_EQ(Dialog->RadioGroup(TUnitGroup::ADC)->checkedId(), 4);
    EXPECT_EQ(Dialog->RadioGroup(TUnitGroup::Amp)->checkedId(), -1);
    for (const QLineEdit* e : Dialog->findChildren<QLineEdit*>())
        EXPECT_TRUE(e->isReadOnly()) << e->objectName().toStdString();
    EXPECT_FALSE(Dialog->ChangesLocked());
    EXPECT_FALSE(Dialog->EnableBox()->isChecked());

    // OK without any change: every value passes through its shown text, the
    // untouched selection stays, and the file is written.
    ClickOk();
    EXPECT_TRUE(Accepted());
    EXPECT_EQ(Cfg.RazvUnits[3].X1, 3360.1);
    EXPECT_EQ(Cfg.AmpUnit, 9);
    EXPECT_EQ(Writes, 1);
}

TEST_F(TUnitSetupTest, TypingTakesDigitsTheSeparatorAndMinusOnly) {
    Open();
    ClickLock(TAnswer::Yes);
    QLineEdit* e = Edit("AmpMax1");
    ASSERT_FALSE(e->isReadOnly());
    Retype(e, "1.2,5-a x");
    EXPECT_EQ(e->text(), QStringLiteral("12,5-"));
    QTest::keyClick(e, Qt::Key_Backspace); // dropped as well
    EXPECT_EQ(e->text(), QStringLiteral("12,5-"));
    QTest::keyClick(e, Qt::Key_Home);
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, QStringLiteral("-"));
    EXPECT_EQ(e->text(), QStringLiteral("-2,5-"));
}

TEST_F(TUnitSetupTest, AnythingButYesKeepsTheValuesLockedAndTheFileUnwritten) {
    for (TAnswer answer : {TAnswer::No, TAnswer::Cancel}) {
        SCOPED_TRACE(static_cast<int>(answer));
        Writes = 0;
        Open();
        ClickLock(answer);
        EXPECT_EQ(Port.Confirms.back(), TUnitSetupForm::ConfirmText);
        EXPECT_FALSE(Dialog->EnableBox()->isChecked());
        EXPECT_TRUE(Dialog->ChangesLocked());
        EXPECT_TRUE(Edit("RazvMax1")->isReadOnly());
        // The selection can still change.
        QTest::mouseClick(Dialog->findChild<QRadioButton*>("RazvItem2"), Qt::LeftButton, {},
                          QPoint(6, 6));
        ClickOk();
        EXPECT_TRUE(Accepted());
        EXPECT_EQ(Cfg.RazvUnit, 2);
        EXPECT_EQ(Writes, 0);
    }
}

TEST_F(TUnitSetupTest, UnlockedValuesAreTakenAndWritten) {
    Open();
    ClickLock(TAnswer::Yes);
    EXPECT_FALSE(Dialog->ChangesLocked());
    Retype(Edit("RazvMax3"), "3500,5");
    Retype(Edit("ADCMax0"), "2047");
    ClickOk();
    EXPECT_TRUE(Accepted());
    EXPECT_EQ(Cfg.RazvUnits[3].X2, 3500.5);
    EXPECT_DOUBLE_EQ(UnitValue(Cfg.RazvUnits[3], 65519), 3500.5);
    EXPECT_DOUBLE_EQ(UnitValue(Cfg.ADCUnits[1], 2047), 10);
    EXPECT_EQ(Writes, 1);
}

TEST_F(TUnitSetupTest, LockingAgainKeepsTheFileUnwritten) {
    Open();
    ClickLock(TAnswer::Yes);
    Retype(Edit("CorrMax1"), "500");
    QTest::mouseClick(Dialog->EnableBox(), Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_TRUE(Dialog->ChangesLocked());
    EXPECT_TRUE(Edit("CorrMax1")->isReadOnly());
    EXPECT_EQ(Port.Confirms.size(), 1); // unticking asks nothing
    ClickOk();
    EXPECT_TRUE(Accepted());
    EXPECT_EQ(Cfg.CorrUnits[1].X2, 500);
    EXPECT_EQ(Writes, 0);
}

TEST_F(TUnitSetupTest, ABadNumberOrEqualCodesAreRefusedWithNothingChanged) {
    struct Case {
        const char* Field;
        const char* Text;
        std::vector<const char*> Marked;
        int Page;
        const char* WarningStart;
    };
    const Case cases[] = {
        {"ADCMax4", "", {"ADCMax4"}, 3, "Страница \"Вход АЦП\", единица \"Напряженность поля, Э\""},
        {"CorrMin1", "1,,5", {"CorrMin1"}, 2, "Страница \"Коррекция\""},
        {"RazvMin2", "-", {"RazvMin2"}, 0, "Страница \"Развёртка\""},
        {"AmpMax0", "-2047", {"AmpMin0", "AmpMax0"}, 1, "Страница \"Спектр\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Field);
        SetDefaults(Cfg, QStringLiteral("/tmp"));
        const TKavCfg before = Cfg;
        Writes = 0;
        Port.Warnings.clear();
        Open();
        ClickLock(TAnswer::Yes);
        Retype(Edit("RazvMax1"), "7"); // an earlier record, valid
        QTest::mouseClick(Dialog->findChild<QRadioButton*>("RazvItem3"), Qt::LeftButton, {},
                          QPoint(6, 6));
        Retype(Edit(c.Field), c.Text);
        Dialog->PageControl()->setCurrentIndex(0);
        ClickOk();
        EXPECT_TRUE(Dialog->isVisible());
        EXPECT_NE(Dialog->result(), QDialog::Accepted);
        ASSERT_EQ(Port.Warnings.size(), 1);
        EXPECT_TRUE(Port.Warnings[0].startsWith(QString::fromUtf8(c.WarningStart)))
            << Port.Warnings[0].toStdString();
        EXPECT_EQ(Dialog->PageControl()->currentIndex(), c.Page);
        for (const char* name : c.Marked)
            EXPECT_TRUE(TUnitSetupForm::IsMarked(Edit(name))) << name;
        EXPECT_FALSE(TUnitSetupForm::IsMarked(Edit("RazvMax1")));
        EXPECT_TRUE(Cfg == before);
        EXPECT_EQ(Writes, 0);

        // Mended, the same OK goes through.
        Retype(Edit(c.Field), "9000");
        EXPECT_FALSE(TUnitSetupForm::IsMarked(Edit(c.Field)));
        ClickOk();
        EXPECT_TRUE(Accepted());
        EXPECT_EQ(Cfg.RazvUnits[1].X2, 7);
        EXPECT_EQ(Cfg.RazvUnit, 3);
        EXPECT_EQ(Writes, 1);
    }
}

TEST_F(TUnitSetupTest, ARefusedLockedFieldSaysHowToMendIt) {
    Cfg.AmpUnits[0].X2 = Cfg.AmpUnits[0].X1; // equal codes from a hand-edited Kav.ini
    Open();
    ClickOk();
    ASSERT_EQ(Port.Warnings.size(), 1);
    EXPECT_TRUE(Port.Warnings[0].endsWith(
        QStringLiteral("Чтобы исправить значение, отметьте \"Разрешить изменения\".")));
    EXPECT_TRUE(Dialog->isVisible());
}

TEST_F(TUnitSetupTest, AFailedWriteIsReportedAndTheCalibrationStands) {
    WriteFailure = QStringLiteral("Ошибка записи файла настроек /ro/Kav.ini: Permission denied");
    Open();
    ClickLock(TAnswer::Yes);
    Retype(Edit("ADCMax2"), "12");
    ClickOk();
    EXPECT_TRUE(Accepted());
    EXPECT_EQ(Port.Errors, QStringList{WriteFailure});
    EXPECT_EQ(Cfg.ADCUnits[2].X2, 12);
}

TEST_F(TUnitSetupTest, CancelChangesNothing) {
    const TKavCfg before = Cfg;
    Open();
    ClickLock(TAnswer::Yes);
    Retype(Edit("RazvMin0"), "100");
    auto* item = Dialog->findChild<QRadioButton*>("ADCItem1");
    ShowPageOf(item);
    QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(6, 6));
    QTest::mouseClick(Dialog->CancelBtn(), Qt::LeftButton);
    EXPECT_FALSE(Dialog->isVisible());
    EXPECT_TRUE(Cfg == before);
    EXPECT_EQ(Writes, 0);
}
