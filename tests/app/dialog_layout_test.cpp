#include "config/auto_save_setup_dialog.h"
#include "config/real_time_setup_dialog.h"
#include "config/settings_store.h"
#include "config/unit_setup_dialog.h"
#include "processing/gliss_setup_dialog.h"
#include "processing/low_pass_setup_dialog.h"
#include "processing/min_max_setup_dialog.h"
#include "scripted_dialog_port.h"
#include "view/color_setup_dialog.h"
#include "view/qt_app.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <functional>
#include <memory>

// Every option dialog at the default font and at 1.5 times its size: no text
// is cut, nothing sticks out of the dialog. With $KAV7_SCREENSHOT_DIR set,
// each dialog (each page of the tabbed ones) is written there as a PNG,
// "-150" added to the name at the larger font.

namespace {

struct TDialogCase {
    const char* Picture;
    int Page; // the tab shown; -1 for a dialog without tabs
    std::function<std::unique_ptr<QDialog>(TKavCfg&, TDialogPort&)> Make;
};

std::unique_ptr<QDialog> UnitSetup(TKavCfg& cfg, TDialogPort& port) {
    return std::make_unique<TUnitSetupForm>(cfg, port, QChar(','), nullptr);
}
// The folder tree shows a small tree of its own in the pictures, not the
// test machine's.
std::unique_ptr<QDialog> AutoSave(TKavCfg& cfg, TDialogPort&) {
    static QTemporaryDir root;
    const QDir base(root.path());
    for (const char* sub : {"spectra/2024", "spectra/2025", "spectra/dpph", "calibration"})
        base.mkpath(QString::fromLatin1(sub));
    cfg.WorkDir = base.filePath(QStringLiteral("spectra"));
    cfg.AutoSave = true;
    auto d = std::make_unique<TAutoSaveSetupFrm>(cfg);
    d->DirView()->setRootIndex(d->DirModel()->index(base.path()));
    return d;
}
std::unique_ptr<QDialog> RealTime(TKavCfg& cfg, TDialogPort&) {
    auto d = std::make_unique<TRealTimeSetupForm>(cfg);
    d->ShowHelp(1); // the longest help text
    return d;
}
std::unique_ptr<QDialog> LowPass(TKavCfg& cfg, TDialogPort&) {
    return std::make_unique<TLowPassSetupForm>(cfg);
}
std::unique_ptr<QDialog> Gliss(TKavCfg& cfg, TDialogPort&) {
    return std::make_unique<TGlissSetupForm>(cfg);
}
std::unique_ptr<QDialog> MinMax(TKavCfg& cfg, TDialogPort&) {
    return std::make_unique<TMinMaxSetupForm>(cfg);
}
std::unique_ptr<QDialog> Colours(TKavCfg& cfg, TDialogPort& port) {
    return std::make_unique<TColorSetupForm>(cfg, port);
}

const TDialogCase Cases[] = {
    {"unit-setup-razv", 0, UnitSetup},   {"unit-setup-amp", 1, UnitSetup},
    {"unit-setup-corr", 2, UnitSetup},   {"unit-setup-adc", 3, UnitSetup},
    {"auto-save-setup", -1, AutoSave},   {"real-time-setup", -1, RealTime},
    {"low-pass-setup", -1, LowPass},     {"gliss-setup", -1, Gliss},
    {"min-max-setup", -1, MinMax},       {"color-setup-display", 0, Colours},
    {"color-setup-printer", 1, Colours},
};

QRect InDialog(const QWidget* w, const QWidget* dialog) {
    return QRect(w->mapTo(dialog, QPoint(0, 0)), w->size());
}

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
    const QRect area = dialog.rect();
    for (const QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        SCOPED_TRACE(Describe(w));
        EXPECT_TRUE(area.contains(InDialog(w, &dialog)));
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            if (label->wordWrap()) {
                EXPECT_GE(label->height(), label->heightForWidth(label->width()));
                continue;
            }
        }
        if (qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
            qobject_cast<const QSpinBox*>(w)) {
            EXPECT_GE(w->width(), w->sizeHint().width());
            EXPECT_GE(w->height(), w->sizeHint().height());
        }
        if (qobject_cast<const QGroupBox*>(w)) {
            EXPECT_GE(w->width(), w->minimumSizeHint().width());
        }
        if (const auto* bar = qobject_cast<const QTabBar*>(w)) {
            EXPECT_GE(bar->width(), bar->sizeHint().width());
        }
        if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
            // The frame and the inner margins take 8 pixels of the width.
            EXPECT_GE(edit->width() - 8, edit->fontMetrics().horizontalAdvance(edit->text()));
        }
    }
}

class TDialogLayoutTest : public ::testing::TestWithParam<double> {
protected:
    void SetUp() override {
        Saved = QApplication::font();
        QFont scaled = Saved;
        scaled.setPointSizeF(Saved.pointSizeF() * GetParam());
        QApplication::setFont(scaled);
        SetDefaults(Cfg, QDir::tempPath());
    }
    void TearDown() override { QApplication::setFont(Saved); }

    QFont Saved;
    TKavCfg Cfg{};
    TScriptedDialogPort Port;
};

} // namespace

TEST_P(TDialogLayoutTest, NoTextIsCutAndEveryDialogFitsItsContents) {
    const QString dir = qEnvironmentVariable("KAV7_SCREENSHOT_DIR");
    // The settings as an operator has them (in the pictures), and with the
    // longest value text and unit name the dialogs show.
    TKavCfg usual = Cfg;
    usual.RazvUnits[3].X1 = 3360.125;
    usual.RazvUnit = 3;
    TKavCfg longest = Cfg;
    longest.RazvUnits[3].X1 = -0.000012345;
    longest.ADCUnits[4].X2 = -1.2345e-15;
    longest.ADCUnits[4].Name = QStringLiteral("мкВ/Э");
    for (const TDialogCase& c : Cases) {
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
            if (!dir.isEmpty() && cfg == &usual) {
                const QString suffix = GetParam() == 1.0 ? QString() : QStringLiteral("-150");
                const QString name =
                    QString::fromLatin1(c.Picture) + suffix + QStringLiteral(".png");
                EXPECT_TRUE(dialog->grab().save(QDir(dir).filePath(name), "PNG"));
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, TDialogLayoutTest, ::testing::Values(1.0, 1.5));
