// The option dialogs of "Настройка" and of the processing, driven through
// their controls, and the calibration of the units.
#include "config/auto_save_setup_dialog.h"
#include "config/auto_save_texts.h"
#include "config/real_time_setup_dialog.h"
#include "config/settings_store.h"
#include "config/unit_calibration.h"
#include "config/unit_setup_dialog.h"
#include "processing/compare_setup_dialog.h"
#include "processing/fit_setup_dialog.h"
#include "processing/gliss_setup_dialog.h"
#include "processing/low_pass_setup_dialog.h"
#include "processing/min_max_setup_dialog.h"
#include "qstring_printer.h"
#include "scripted_port.h"
#include "view/qt_app.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QEnterEvent>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStorageInfo>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

namespace {

// The free-space line of a folder, within a margin: others write to the disk.
void ExpectFreeSpaceOf(const QString& shown, const QString& folder) {
    const QStorageInfo storage(folder);
    const QString prefix = QStringLiteral("На диске %1 осталось ").arg(storage.rootPath());
    ASSERT_TRUE(shown.startsWith(prefix) && shown.endsWith(QStringLiteral(" Мбайт")))
        << shown.toStdString();
    bool ok = false;
    const qint64 shownMiB = shown.mid(prefix.size()).chopped(6).toLongLong(&ok);
    ASSERT_TRUE(ok) << shown.toStdString();
    EXPECT_NEAR(double(shownMiB), double(storage.bytesAvailable() / 1048576), 1024.0);
}

struct TSetupDialogTest : ::testing::Test {
    QTemporaryDir Work;
    QTemporaryDir Other;
    TKavCfg Cfg{};

    void SetUp() override { SetDefaults(Cfg, Work.path()); }

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
    // A folder picked in the tree as the user would click it.
    static void Pick(TAutoSaveSetupFrm& d, const QString& path) {
        const QModelIndex index = d.DirModel()->index(path);
        ASSERT_TRUE(index.isValid());
        d.DirView()->scrollTo(index);
        d.DirView()->setCurrentIndex(index);
    }
    // Typed key by key; QTest's own typing knows Latin letters only.
    static void Type(QLineEdit* w, const QString& text) {
        w->selectAll();
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    static void Retype(QAbstractSpinBox* spin, const QString& text) {
        spin->selectAll();
        QTest::keyClicks(spin, text);
    }
};
using RealTimeSetup = TSetupDialogTest;
using AutoSaveSetup = TSetupDialogTest;

using TAnswer = TMessagePort::TAnswer;

struct TUnitSetupTest : TSetupDialogTest {
    TScriptedPort Port;
    int Writes = 0;
    QString WriteFailure; // a reason makes the write fail
    std::unique_ptr<TUnitSetupForm> Dialog;

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
        Click(Dialog->EnableBox());
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

TEST_F(RealTimeSetup, TheRawTraceNeedsTheFilterOrTheSumAndTheHelpFollowsTheMouse) {
    TRealTimeSetupForm off(Cfg); // both off in the defaults
    EXPECT_FALSE(off.ShowFirstBox()->isEnabled());

    Cfg.EnableRTLPF = true;
    Cfg.ShowFirst = true;
    TRealTimeSetupForm d(Cfg);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    EXPECT_FALSE(d.EnSum()->isChecked());
    EXPECT_TRUE(d.ShowFirstBox()->isChecked() && d.ShowFirstBox()->isEnabled());
    EXPECT_EQ(ShownHelp(d), -1);
    Enter(d.SumGroup());
    EXPECT_EQ(ShownHelp(d), 1);
    Enter(d.ShowFirstPanel());
    EXPECT_EQ(ShownHelp(d), 2);
    Enter(d.FilterGroup());
    EXPECT_EQ(ShownHelp(d), 0);
    EXPECT_EQ(d.Help(0)->text(), QStringLiteral("Фильтрация низких частот будет производиться "
                                                "сразу при приеме спектров."));
    Click(d.EnLPF()); // both off now
    EXPECT_FALSE(d.ShowFirstBox()->isChecked() || d.ShowFirstBox()->isEnabled());
    Click(d.EnSum());
    EXPECT_TRUE(d.ShowFirstBox()->isEnabled());
    EXPECT_FALSE(d.ShowFirstBox()->isChecked());
    Click(d.ShowFirstBox());
    Click(d.EnLPF()); // on again beside the sum: the mark stays
    EXPECT_TRUE(d.ShowFirstBox()->isChecked());
    QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_TRUE(Cfg.EnableRTLPF && Cfg.EnableRTSum && Cfg.ShowFirst);
}

TEST_F(AutoSaveSetup, ShowsTheSettingsTheFreeSpaceAndTheExample) {
    Cfg.NumbMask = 123456789; // beyond the field: shown at its bound
    TAutoSaveSetupFrm d(Cfg);
    EXPECT_EQ(d.Directory()->text(), Work.path());
    EXPECT_TRUE(d.Directory()->isReadOnly());
    ExpectFreeSpaceOf(d.Info()->text(), Work.path());
    EXPECT_FALSE(d.OnBox()->isChecked());
    EXPECT_EQ(d.NameMask()->text(), QStringLiteral("Спектр"));
    EXPECT_EQ(d.Exam()->text(), QStringLiteral("Спектр99999999.kav"));
    EXPECT_TRUE(d.DirView()->selectionModel()->selectedIndexes().isEmpty());
    // The example follows the mask and the number.
    d.show();
    Type(d.NameMask(), QStringLiteral("ЭПР проба."));
    EXPECT_EQ(d.Exam()->text(), QStringLiteral("ЭПР_проба_99999999.kav"));
    Retype(d.NumbMask(), QStringLiteral("42"));
    EXPECT_EQ(d.Exam()->text(), QStringLiteral("ЭПР_проба_00000042.kav"));
    d.NameMask()->selectAll();
    QTest::keyClick(d.NameMask(), Qt::Key_Delete);
    EXPECT_EQ(d.Exam()->text(), QStringLiteral("00000042.kav"));
}

// OK takes the chosen folder only with saving on, the rest always.
TEST_F(AutoSaveSetup, OkTakesTheFolderOnlyWithSavingOnAndTheRestAlways) {
    for (const bool on : {false, true}) {
        SetDefaults(Cfg, Work.path());
        TAutoSaveSetupFrm d(Cfg);
        d.show();
        if (on)
            Click(d.OnBox());
        Pick(d, Other.path());
        EXPECT_EQ(d.Directory()->text(), Other.path());
        ExpectFreeSpaceOf(d.Info()->text(), Other.path());
        Type(d.NameMask(), QStringLiteral("Образец"));
        Retype(d.NumbMask(), QStringLiteral("7"));
        Retype(d.SaveStep(), QStringLiteral("3"));
        QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(Cfg.WorkDir, on ? Other.path() : Work.path());
        EXPECT_EQ(Cfg.AutoSave, on);
        EXPECT_EQ(Cfg.NameMask, QStringLiteral("Образец"));
        EXPECT_EQ(Cfg.NumbMask, 7);
        EXPECT_EQ(Cfg.SaveStep, 3);
    }
}

namespace {

// A setting of any integer type, read and written as an int.
struct TCfgField {
    std::function<int(const TKavCfg&)> Get;
    std::function<void(TKavCfg&, int)> Set;
};
template <class T> TCfgField Field(T TKavCfg::*m) {
    return {[m](const TKavCfg& c) { return static_cast<int>(c.*m); },
            [m](TKavCfg& c, int v) { c.*m = static_cast<T>(v); }};
}

using TMakeDialog = std::function<std::unique_ptr<QDialog>(TKavCfg&)>;
template <class D> std::unique_ptr<QDialog> Make(TKavCfg& cfg) {
    return std::make_unique<D>(cfg);
}

// The five option dialogs that edit the settings directly.
const struct {
    TMakeDialog Make;
    const char* Title;
    const char* FirstControl;
} OptionDialogs[] = {
    {Make<TRealTimeSetupForm>, "Обработка  при приеме спектров", "EnLPF"},
    {Make<TAutoSaveSetupFrm>, "Настройка автоматическго сохранения спектров", "OnBox"},
    {Make<TLowPassSetupForm>, "Фильтр низкой чстоты", "ConstEdit"},
    {Make<TGlissSetupForm>, "Сглаживание спектра", "ConstEdit"},
    {Make<TMinMaxSetupForm>, "Поиск экстремумов", "NoiseEdit"},
};

} // namespace

// A setting beyond a spin field shows at its bound; what is typed or stepped is
// stored on OK; text that is no number, or below the minimum, is the minimum,
// never the value the field had before.
TEST_F(TSetupDialogTest, SpinFieldsShowTheSettingAndStoreWhatIsLeftInThem) {
    const struct {
        TMakeDialog Dialog;
        const char* Name;
        TCfgField Setting;
        int Before, Shown;
        const char* Text; // typed over the field; nullptr: left as shown
        int Steps;        // then the arrow keys, up (> 0) or down
        int Stored;
    } cases[] = {
        {Make<TAutoSaveSetupFrm>, "SaveStep", Field(&TKavCfg::SaveStep), 0, 1, nullptr, 0, 1},
        {Make<TAutoSaveSetupFrm>, "SaveStep", Field(&TKavCfg::SaveStep), 5, 5, "", 0, 1},
        {Make<TAutoSaveSetupFrm>, "NumbMask", Field(&TKavCfg::NumbMask), 123456789, 99999999, "", 0,
         1},
        {Make<TRealTimeSetupForm>, "LPFConst", Field(&TKavCfg::RTLPFConst), 5000, 2000, nullptr, 0,
         2000},
        {Make<TRealTimeSetupForm>, "LPFConst", Field(&TKavCfg::RTLPFConst), 30, 30, "1", 0, 2},
        {Make<TRealTimeSetupForm>, "SumConst", Field(&TKavCfg::RTNumb), 1, 2, nullptr, 1, 3},
        {Make<TRealTimeSetupForm>, "SumConst", Field(&TKavCfg::RTNumb), 40, 40, "", 0, 2},
        {Make<TLowPassSetupForm>, "ConstEdit", Field(&TKavCfg::LPFConst), 10, 10, "5000", 0, 500},
        {Make<TLowPassSetupForm>, "ConstEdit", Field(&TKavCfg::LPFConst), 300, 300, "", 0, 2},
        {Make<TGlissSetupForm>, "ConstEdit", Field(&TKavCfg::GlissConst), 1, 2, nullptr, 1, 3},
        {Make<TGlissSetupForm>, "ConstEdit", Field(&TKavCfg::GlissConst), 300, 300, "1", 0, 2},
        // The extremum search steps by ten.
        {Make<TMinMaxSetupForm>, "NoiseEdit", Field(&TKavCfg::FindMaxNoise), 20, 20, nullptr, 1,
         30},
        {Make<TMinMaxSetupForm>, "StepEdit", Field(&TKavCfg::FindMaxStep), 100, 100, nullptr, -1,
         90},
        {Make<TMinMaxSetupForm>, "NoiseEdit", Field(&TKavCfg::FindMaxNoise), 300, 300, "", 0, 10},
        {Make<TMinMaxSetupForm>, "StepEdit", Field(&TKavCfg::FindMaxStep), 300, 300, "", 0, 50},
    };
    for (const auto& c : cases) {
        SetDefaults(Cfg, Work.path());
        c.Setting.Set(Cfg, c.Before);
        const auto d = c.Dialog(Cfg);
        SCOPED_TRACE(d->objectName().toStdString() + " " + c.Name + " " + std::to_string(c.Before));
        d->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(d.get()));
        auto* field = d->findChild<QSpinBox*>(QString::fromLatin1(c.Name));
        ASSERT_TRUE(field);
        EXPECT_EQ(field->value(), c.Shown);
        field->setFocus();
        if (c.Text) {
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Delete);
            QTest::keyClicks(field, QString::fromLatin1(c.Text));
        }
        for (int k = 0; k < std::abs(c.Steps); ++k)
            QTest::keyClick(field, c.Steps > 0 ? Qt::Key_Up : Qt::Key_Down);
        QTest::mouseClick(d->findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
        EXPECT_EQ(d->result(), QDialog::Accepted);
        EXPECT_EQ(c.Setting.Get(Cfg), c.Stored);
    }
}

// Each dialog opens on its first control, not on OK: Enter at once would
// confirm what the operator has not looked at. Cancel after every change
// keeps the settings.
TEST_F(TSetupDialogTest, OptionDialogsOpenOnTheirFirstControlAndCancelChangesNothing) {
    const TKavCfg before = Cfg;
    for (const auto& o : OptionDialogs) {
        const auto d = o.Make(Cfg);
        SCOPED_TRACE(d->objectName().toStdString());
        EXPECT_EQ(d->windowTitle(), QString::fromUtf8(o.Title));
        d->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(d.get()));
        EXPECT_EQ(d->focusWidget()->objectName(), o.FirstControl);
        for (QCheckBox* box : d->findChildren<QCheckBox*>())
            Click(box);
        for (QSpinBox* spin : d->findChildren<QSpinBox*>()) {
            QTest::keyClick(spin, Qt::Key_Up);
            Retype(spin, QStringLiteral("700"));
        }
        if (auto* autoSave = qobject_cast<TAutoSaveSetupFrm*>(d.get()))
            Pick(*autoSave, Other.path());
        QTest::mouseClick(d->findChild<QPushButton*>("CancelBtn"), Qt::LeftButton);
        EXPECT_EQ(d->result(), QDialog::Rejected);
    }
    EXPECT_TRUE(Cfg == before);
}

// The processing dialogs' switches; the one instance of the extremum search's
// dialog shows the settings afresh at every opening.
TEST_F(TSetupDialogTest, ProcessingSwitchesAreStoredAndShownAfresh) {
    TLowPassSetupForm lowPass(Cfg);
    EXPECT_EQ(lowPass.findChild<QGroupBox*>()->title(),
              QStringLiteral("Постоянная времени фильтра в отсчетах развертки"));
    TGlissSetupForm gliss(Cfg);
    gliss.show();
    Click(gliss.AutoBox());
    QTest::mouseClick(gliss.OKBtn(), Qt::LeftButton);
    EXPECT_TRUE(Cfg.AutoGliss);
    TMinMaxSetupForm d(Cfg);
    d.show();
    Click(d.AutoBox());
    QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
    EXPECT_TRUE(Cfg.AutoMinMax);
    Cfg.FindMaxNoise = 5;
    Cfg.AutoMinMax = false;
    d.show();
    EXPECT_EQ(d.NoiseEdit()->value(), 10);
    EXPECT_FALSE(d.AutoBox()->isChecked());
}

// The fit's dialog shows the stored settings, writes what OK confirms and
// nothing on Cancel; the line count cannot leave 1..4.
TEST_F(TSetupDialogTest, FitSetupWritesItsCopyOnOkOnly) {
    TFitSettings settings{2, TLineShape::Gauss, 9400};
    {
        TFitSetupForm d(settings);
        d.show();
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Аппроксимация линий"));
        EXPECT_EQ(d.LineCountEdit()->value(), 2);
        EXPECT_EQ(d.ShapeBox()->currentText(), QStringLiteral("Гаусс"));
        EXPECT_EQ(d.FrequencyEdit()->value(), 9400);
        Retype(d.LineCountEdit(), QStringLiteral("9")); // refused: above 4
        d.ShapeBox()->setCurrentIndex(2);
        d.FrequencyEdit()->setValue(0);
        QTest::mouseClick(d.CancelBtn(), Qt::LeftButton);
        EXPECT_EQ(d.result(), QDialog::Rejected);
        EXPECT_EQ(settings, (TFitSettings{2, TLineShape::Gauss, 9400}));
    }
    TFitSetupForm d(settings);
    d.show();
    Retype(d.LineCountEdit(), QStringLiteral("4"));
    d.ShapeBox()->setCurrentIndex(2);
    EXPECT_EQ(d.ShapeBox()->currentText(), QStringLiteral("Псевдо-Фойгт"));
    d.FrequencyEdit()->setValue(0);
    QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(settings, (TFitSettings{4, TLineShape::Voigt, 0}));
}

TEST_F(TSetupDialogTest, CompareSetupWritesItsCopyOnOkOnly) {
    TCompareSettings settings;
    settings.ReferenceSpins = 2e17;
    TCompareSetupForm d(settings, QChar(','));
    d.show();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Сравнение со спектром"));
    EXPECT_EQ(d.NormalizationBox()->currentText(), QStringLiteral("без нормировки"));
    EXPECT_EQ(d.SpinsEdit()->text(), QStringLiteral("2,000E+017"));
    EXPECT_TRUE(d.DifferenceBox()->isChecked());
    d.NormalizationBox()->setCurrentIndex(2);
    Click(d.ShiftBox());
    Click(d.DifferenceBox());
    d.SpinsEdit()->setText(QStringLiteral("1,5e16"));
    QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(settings.Normalization, TNormalization::Integral);
    EXPECT_TRUE(settings.FindShift);
    EXPECT_FALSE(settings.ShowDifference);
    EXPECT_EQ(settings.ReferenceSpins, 1.5e16);

    // Cancel keeps everything; a spin count that is no count is not given.
    TCompareSetupForm again(settings, QChar(','));
    again.NormalizationBox()->setCurrentIndex(0);
    QTest::mouseClick(again.CancelBtn(), Qt::LeftButton);
    EXPECT_EQ(settings.Normalization, TNormalization::Integral);
    const std::pair<const char*, double> spins[] = {
        {"", 0}, {"abc", 0}, {"-5", 0}, {"0", 0}, {"inf", 0}, {"1e400", 0}, {" 3.5E17 ", 3.5e17}};
    for (const auto& [text, value] : spins)
        EXPECT_EQ(TCompareSetupForm::SpinCountOf(QString::fromLatin1(text)), value) << text;
}

TEST(AutoSaveTexts, FreeSpaceNamesTheMountPointAndWholeMebibytes) {
    EXPECT_EQ(FreeSpaceText(QStringLiteral("/home"), 5LL << 30),
              QStringLiteral("На диске /home осталось 5120 Мбайт"));
    EXPECT_EQ(FreeSpaceText(QStringLiteral("/"), 1048575),
              QStringLiteral("На диске / осталось 0 Мбайт"));

    QTemporaryDir dir;
    ExpectFreeSpaceOf(FreeSpaceText(dir.path()), dir.path());

    EXPECT_EQ(FreeSpaceText(QString()), QStringLiteral("Каталог не задан"));
    EXPECT_EQ(FreeSpaceText(QStringLiteral("  ")), QStringLiteral("Каталог не задан"));
    EXPECT_EQ(FreeSpaceText(dir.filePath(QStringLiteral("gone"))),
              QStringLiteral("Каталог не найден"));
}

// ---- Calibration of the units ----------------------------------------------

namespace {

const QChar Comma(',');

int Row(TUnitGroup group, int unit) {
    return CalibrationRowOf(group, unit);
}

} // namespace

TEST(CalibrationText, ParsesWhatTheEditsShowAndNothingElse) {
    const std::pair<const char*, double> numbers[] = {
        {"3360,1", 3360.1}, {"-10", -10},      {"0", 0},
        {",5", 0.5},        {"1E-0006", 1e-6}, {"-1,2346E-0005", -1.2346e-5},
    };
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(ParseCalibrationText(QString::fromUtf8(text), Comma), value) << text;
    for (const char* text : {"", "-", "1,,2", "1,2,3", "3360.1", "1-2", "--1", "1E999", "NAN"})
        EXPECT_EQ(ParseCalibrationText(QString::fromUtf8(text), Comma), std::nullopt) << text;
    // With "." as the window's separator the roles swap.
    EXPECT_EQ(ParseCalibrationText(QStringLiteral("3360.1"), QChar('.')), 3360.1);
    EXPECT_EQ(ParseCalibrationText(QStringLiteral("3360,1"), QChar('.')), std::nullopt);
}

TEST_F(TSetupDialogTest, ApplyCalibrationRefusesBadFieldsAndChangesNothing) {
    struct Case {
        const char* Name;
        int Row;
        bool Max;
        const char* Text;
        TCalibrationFault Fault;
        int BlamedRow;
        const char* Warning;
    };
    const int razv0 = Row(TUnitGroup::Razv, 0);
    // Texts that are no number and equal codes are driven through the
    // dialog's own tests; here the values too large for a line.
    const Case cases[] = {
        {"equal sweep codes", razv0, false, "65519", TCalibrationFault::EqualReferences, razv0,
         "Страница \"Развёртка\", единица \"Ток электромагнита, отсчет ЦАП\": значения Min и "
         "Max равны. По ним пересчитываются единицы этой страницы, они должны различаться."},
        {"codes beyond a float", razv0, true, "1E0040", TCalibrationFault::NoLine, razv0,
         "Страница \"Развёртка\", единица \"Ток электромагнита, отсчет ЦАП\": по значениям "
         "Min и Max нельзя построить шкалу: числа слишком велики."},
        {"a line beyond a double", Row(TUnitGroup::ADC, 2), true, "1E0308",
         TCalibrationFault::NoLine, Row(TUnitGroup::ADC, 2), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TKavCfg cfg = Cfg;
        if (c.Row == Row(TUnitGroup::ADC, 2)) {
            // Reference codes 1e-30 apart and values 2e308 apart.
            cfg.ADCUnits[0].X2 = 1e-30;
            cfg.ADCUnits[2].X1 = -1e308;
        }
        const TKavCfg before = cfg;
        TCalibrationInput in = CalibrationInputFrom(cfg, Comma);
        // Changes before the bad field must not stick either.
        in.MinTexts[razv0] = QStringLiteral("5");
        in.MaxTexts[Row(TUnitGroup::Razv, 2)] = QStringLiteral("999");
        in.Selected = {2, 1, 1, 2};
        (c.Max ? in.MaxTexts : in.MinTexts)[c.Row] = QString::fromUtf8(c.Text);
        const auto refusal = ApplyCalibration(cfg, in, Comma);
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->Fault, c.Fault);
        EXPECT_EQ(refusal->Row, c.BlamedRow);
        EXPECT_TRUE(refusal->MinField && refusal->MaxField);
        if (c.Warning) {
            EXPECT_EQ(CalibrationRefusalText(*refusal), QString::fromUtf8(c.Warning));
        }
        EXPECT_TRUE(cfg == before);
    }
}

// After OK the instrument's calibration (the snapshot) takes every record with
// no file shown; with a file's field bounds shown, only the operator's edits.
TEST_F(TSetupDialogTest, TheSnapshotTakesWhatTheOperatorChanged) {
    const int razv0 = Row(TUnitGroup::Razv, 0);
    const int razv3 = Row(TUnitGroup::Razv, 3);
    const int adc1 = Row(TUnitGroup::ADC, 1);
    const double rederived = 3360.1 + (3300 - 3360.1) * 65519 / 32767.0;
    const struct {
        const char* Name;
        bool FileShown;
        std::vector<std::tuple<int, bool, const char*>> Edits; // row, Max, text
        double X1, X2;     // sweep unit 3 of the snapshot after OK
        double Value65519; // its value at the top sweep code
        double Adc1X2;     // ADC unit 1 of the snapshot after OK
    } cases[] = {
        {"no file, untouched", false, {}, 3360.1, 3300, 3300, 10},
        {"file, untouched", true, {}, 3360.1, 3300, 3300, 10},
        {"file, unit 3 Max edited", true, {{razv3, true, "3500"}}, 3360.1, 3500, 3500, 10},
        {"file, ADC edited", true, {{adc1, true, "5"}}, 3360.1, 3300, 3300, 5},
        // New sweep codes re-derive the instrument's unit 3 line, not the file's.
        {"file, sweep codes edited", true, {{razv0, true, "32767"}}, 3360.1, 3300, rederived, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TKavCfg cfg = Cfg;
        // The instrument's; the dialog's five digits show 3360,1.
        cfg.RazvUnits[3].X1 = 3360.125;
        ASSERT_TRUE(CalcUnitKoeff(cfg.RazvUnits[3], 0, 65519));
        SaveUnitSnapshot(cfg);
        if (c.FileShown) { // a file's bounds in the live unit 3
            cfg.RazvUnits[3].X1 = 3100;
            cfg.RazvUnits[3].X2 = 3250;
            ASSERT_TRUE(CalcUnitKoeff(cfg.RazvUnits[3], 0, 65519));
        }
        const TCalibrationInput shown = CalibrationInputFrom(cfg, Comma);
        TCalibrationInput accepted = shown;
        for (const auto& [row, max, text] : c.Edits)
            (max ? accepted.MaxTexts : accepted.MinTexts)[row] = QString::fromUtf8(text);
        ASSERT_FALSE(ApplyCalibration(cfg, accepted, Comma));
        const TKavCfg live = cfg;
        KeepInstrumentCalibration(cfg, shown, accepted, Comma);
        // The live records are those OK took; only the snapshot is decided.
        EXPECT_TRUE(
            std::equal(cfg.RazvUnits.begin(), cfg.RazvUnits.begin() + 4, live.RazvUnits.begin()));
        const TMeasureUnit& kept = cfg.RazvUnits[4 + 3];
        EXPECT_DOUBLE_EQ(kept.X1, c.X1);
        EXPECT_DOUBLE_EQ(kept.X2, c.X2);
        EXPECT_NEAR(UnitValue(kept, 65519), c.Value65519, 1e-6);
        EXPECT_DOUBLE_EQ(cfg.ADCUnits[5 + 1].X2, c.Adc1X2);
        if (!c.FileShown) {
            EXPECT_TRUE(std::equal(cfg.RazvUnits.begin(), cfg.RazvUnits.begin() + 4,
                                   cfg.RazvUnits.begin() + 4));
        }
    }
}

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

// Unlocked values are taken and written; locked again (unticking asks
// nothing), they are taken but the file is not written.
TEST_F(TUnitSetupTest, UnlockedValuesAreTakenAndWrittenUnlessLockedAgain) {
    for (const bool relock : {false, true}) {
        SCOPED_TRACE(relock);
        SetDefaults(Cfg, Work.path());
        Writes = 0;
        Open();
        ClickLock(TAnswer::Yes);
        EXPECT_FALSE(Dialog->ChangesLocked());
        Retype(Edit("RazvMax3"), "3500,5");
        Retype(Edit("ADCMax0"), "2047");
        if (relock) {
            Click(Dialog->EnableBox());
            EXPECT_TRUE(Dialog->ChangesLocked());
            EXPECT_TRUE(Edit("ADCMax0")->isReadOnly());
            EXPECT_EQ(Port.Confirms.size(), 2);
        }
        ClickOk();
        EXPECT_TRUE(Accepted());
        EXPECT_EQ(Cfg.RazvUnits[3].X2, 3500.5);
        EXPECT_DOUBLE_EQ(UnitValue(Cfg.RazvUnits[3], 65519), 3500.5);
        EXPECT_DOUBLE_EQ(UnitValue(Cfg.ADCUnits[1], 2047), 10);
        EXPECT_EQ(Writes, relock ? 0 : 1);
    }
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
        SetDefaults(Cfg, Work.path());
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
