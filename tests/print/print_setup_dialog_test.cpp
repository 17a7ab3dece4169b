#include "print/print_setup_dialog.h"
#include "print/printout_job_painter.h"
#include "qstring_printer.h"
#include "view/canvas_checks.h"
#include "view/qt_app.h"

#include "config/settings_store.h"

#include <QDir>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The program's printer on a machine without one: a PDF writer on A4 with
// margins of 10 points (203 x 290 mm printable, 3 mm offsets).
struct PrintSetup : ::testing::Test {
    TKavCfg Cfg{};
    QPrinter Printer{QPrinter::HighResolution};
    std::vector<QPrinter*> SetupCalls;
    std::function<bool(QPrinter&)> SetupAnswer;

    PrintSetup() {
        SetDefaults(Cfg, QDir::tempPath());
        UsePdfOutput(Printer);
    }

    QStringList Warnings;

    std::unique_ptr<TPrintSetupForm> Form() {
        return std::make_unique<TPrintSetupForm>(
            Cfg, Printer,
            [this](QPrinter& p) {
                SetupCalls.push_back(&p);
                return SetupAnswer && SetupAnswer(p);
            },
            [this](const QString& text) { Warnings << text; });
    }
    static QImage Preview(TPrintSetupForm& form) { return form.Sample->grab().toImage(); }
};

TEST_F(PrintSetup, ShowsThePrinterTheStoredOrientationAndMargins) {
    Cfg.PrnL = 20;
    Cfg.PrnR = 21;
    Cfg.PrnT = 22;
    Cfg.PrnB = 23;
    auto form = Form();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Печать спектра"));
    EXPECT_EQ(form->PrnName->text(), QStringLiteral("PDF"));
    EXPECT_TRUE(form->PrnName->isReadOnly());
    // Orientation 1 (the default) turns the printer to landscape.
    EXPECT_TRUE(form->LandscapeItem->isChecked());
    EXPECT_EQ(Printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(form->Area().HorzSize, 290);
    EXPECT_EQ(form->Area().VertSize, 203);
    EXPECT_EQ(form->Paper(), (TPaperSize{297, 210}));
    EXPECT_EQ(form->Offsets(), (TPaperOffsets{3, 3}));
    EXPECT_EQ(form->LeftEdit->value(), 20);
    EXPECT_EQ(form->RightEdit->value(), 21);
    EXPECT_EQ(form->TopEdit->value(), 22);
    EXPECT_EQ(form->BotEdit->value(), 23);
    for (const QSpinBox* edit : {form->LeftEdit, form->RightEdit, form->TopEdit, form->BotEdit}) {
        EXPECT_EQ(edit->minimum(), 3);
        EXPECT_EQ(edit->maximum(), 200);
    }
}

TEST_F(PrintSetup, MarginsBelowTheUnprintableStripAreRaisedAtOnceEvenOnCancel) {
    // A printer that cannot reach 30 points at the top and bottom: 276 mm
    // high, 10 mm offsets there, 3 mm at the sides.
    Printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10, 30, 10, 30), QPageLayout::Point));
    Cfg.Orientation = 0;
    Cfg.PrnL = 1;
    Cfg.PrnR = 15;
    Cfg.PrnT = 4;
    Cfg.PrnB = 12;
    auto form = Form();
    EXPECT_EQ(form->Offsets(), (TPaperOffsets{3, 10}));
    EXPECT_EQ(form->LeftEdit->minimum(), 3);
    EXPECT_EQ(form->TopEdit->minimum(), 10);
    EXPECT_EQ(form->BotEdit->minimum(), 10);
    EXPECT_EQ(form->LeftEdit->value(), 3);
    EXPECT_EQ(form->TopEdit->value(), 10);
    EXPECT_EQ(form->BotEdit->value(), 12);

    form->RightEdit->setValue(40);
    form->CancelBtn->click();
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(Cfg.PrnL, 3);
    EXPECT_EQ(Cfg.PrnR, 15); // the edit's change is not stored
    EXPECT_EQ(Cfg.PrnT, 10);
    EXPECT_EQ(Cfg.PrnB, 12);
    EXPECT_EQ(Cfg.Orientation, 0);
}

TEST_F(PrintSetup, APrinterWithoutUnprintableStripTakesZeroMargins) {
    Printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Point));
    auto form = Form();
    EXPECT_EQ(form->Offsets(), (TPaperOffsets{0, 0}));
    form->LeftEdit->setValue(0);
    EXPECT_EQ(form->LeftEdit->value(), 0);
    form->OkBtn->click();
    EXPECT_EQ(Cfg.PrnL, 0);
}

TEST_F(PrintSetup, OrientationClickTurnsThePaperAndThePreview) {
    Cfg.Orientation = 0;
    auto form = Form();
    ASSERT_TRUE(form->PortraitItem->isChecked());
    EXPECT_EQ(form->Paper(), (TPaperSize{210, 297}));
    const TSampleGeometry portrait = form->SampleGeometry();

    form->LandscapeItem->click();
    EXPECT_EQ(Printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(form->Paper(), (TPaperSize{297, 210}));
    EXPECT_EQ(form->Area().HorzSize, 290);
    EXPECT_EQ(form->Offsets(), (TPaperOffsets{3, 3}));
    // The preview as drawn, at the size the box has once it is laid out.
    const QImage image = Preview(*form);
    const TSampleGeometry landscape = form->SampleGeometry();
    ASSERT_EQ(image.size(), form->Sample->size());
    const auto aspect = [](const TSampleRect& r) {
        return static_cast<double>(r.Right - r.Left) / (r.Bottom - r.Top);
    };
    EXPECT_NEAR(aspect(portrait.Page), 203.0 / 290, 0.02);
    EXPECT_NEAR(aspect(landscape.Page), 290.0 / 203, 0.02);

    // The group's colour around a white page with a black outline, the plot
    // in the printer colours, its middle line.
    const TSampleRect& page = landscape.Page;
    const TSampleRect& plot = landscape.Plot;
    const int midX = (plot.Left + plot.Right) / 2;
    const int midY = (page.Top + page.Bottom) / 2;
    EXPECT_EQ(image.pixel(0, 0), form->SampleGroup->palette().color(QPalette::Window).rgb());
    EXPECT_EQ(image.pixel(page.Left, midY), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(page.Right - 1, midY), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(page.Left + 1, midY), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(plot.Left, plot.Top + 3), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(midX, plot.Bottom - 1), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(midX, landscape.GridY), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(midX, landscape.GridY - 3), qRgb(255, 255, 255));

    // A wider margin moves the plot's edge in the preview.
    form->LeftEdit->setValue(60);
    EXPECT_GT(form->SampleGeometry().Plot.Left, plot.Left + 20);
}

TEST_F(PrintSetup, OkStoresOrientationAndMarginsCancelStoresNothing) {
    {
        auto form = Form();
        form->PortraitItem->click();
        form->LeftEdit->setValue(25);
        form->BotEdit->setValue(30);
        form->CancelBtn->click();
        EXPECT_EQ(Cfg.Orientation, 1);
        EXPECT_EQ(Cfg.PrnL, 15);
        EXPECT_EQ(Cfg.PrnB, 15);
    }
    auto form = Form();
    // Cancel left the printer in portrait; the dialog shows the stored
    // orientation again.
    EXPECT_TRUE(form->LandscapeItem->isChecked());
    form->PortraitItem->click();
    form->LeftEdit->setValue(25);
    form->RightEdit->setValue(26);
    form->TopEdit->setValue(27);
    form->BotEdit->setValue(30);
    form->OkBtn->click();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(Cfg.Orientation, 0);
    EXPECT_EQ(Cfg.PrnL, 25);
    EXPECT_EQ(Cfg.PrnR, 26);
    EXPECT_EQ(Cfg.PrnT, 27);
    EXPECT_EQ(Cfg.PrnB, 30);
}

// A margin typed below its field's lower bound, or left with no number,
// reads as the lower bound (the printer's strip: 3 mm here), not as the
// value the field had before.
TEST_F(PrintSetup, AMarginTypedBelowItsBoundOrEmptiedIsTheBound) {
    auto form = Form();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const struct {
        QSpinBox* Edit;
        const char* Text;
    } typed[] = {{form->RightEdit, "1"}, {form->TopEdit, ""}, {form->LeftEdit, "2"}};
    for (const auto& t : typed) {
        t.Edit->setFocus();
        t.Edit->selectAll();
        QTest::keyClick(t.Edit, Qt::Key_Delete);
        QTest::keyClicks(t.Edit, QString::fromLatin1(t.Text));
    }
    QTest::mouseClick(form->OkBtn, Qt::LeftButton);
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(Cfg.PrnR, 3);
    EXPECT_EQ(Cfg.PrnT, 3);
    EXPECT_EQ(Cfg.PrnL, 3);
    EXPECT_EQ(Cfg.PrnB, 15);
    EXPECT_EQ(form->RightEdit->text(), QStringLiteral("3"));
}

// Margins that leave no room for the plot are refused on OK, naming them
// and the paper's side; nothing is stored and the dialog stays.
TEST_F(PrintSetup, MarginsThatLeaveNoRoomAreRefusedNamingThem) {
    Cfg.Orientation = 0; // A4 portrait: 210 x 297 mm
    const struct {
        int L, R, T, B;
        const char* Warning; // nullptr: accepted
    } cases[] = {
        {110, 100, 15, 15,
         "Поля не оставляют места для спектра: слева 110 мм и справа 100 мм на бумаге шириной "
         "210 мм."},
        {15, 15, 150, 147,
         "Поля не оставляют места для спектра: сверху 150 мм и снизу 147 мм на бумаге высотой "
         "297 мм."},
        {105, 105, 200, 100,
         "Поля не оставляют места для спектра: слева 105 мм и справа 105 мм на бумаге шириной "
         "210 мм; сверху 200 мм и снизу 100 мм на бумаге высотой 297 мм."},
        {100, 100, 140, 140, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.L);
        Warnings.clear();
        Cfg.PrnL = Cfg.PrnR = Cfg.PrnT = Cfg.PrnB = 15;
        auto form = Form();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->LeftEdit->setValue(c.L);
        form->RightEdit->setValue(c.R);
        form->TopEdit->setValue(c.T);
        form->BotEdit->setValue(c.B);
        form->OkBtn->click();
        if (c.Warning) {
            EXPECT_EQ(Warnings, QStringList{QString::fromUtf8(c.Warning)});
            EXPECT_TRUE(form->isVisible());
            EXPECT_NE(form->result(), QDialog::Accepted);
            EXPECT_EQ(Cfg.PrnL, 15);
            EXPECT_EQ(Cfg.PrnT, 15);
            EXPECT_EQ(QApplication::focusWidget(),
                      c.L + c.R >= 210 ? form->LeftEdit : form->TopEdit);
        } else {
            EXPECT_TRUE(Warnings.isEmpty());
            EXPECT_EQ(form->result(), QDialog::Accepted);
            EXPECT_EQ(Cfg.PrnL, 100);
            EXPECT_EQ(Cfg.PrnB, 140);
        }
    }
}

TEST_F(PrintSetup, ThePlatformPrinterSetupRefreshesTheDialogWhenConfirmed) {
    auto form = Form();
    SetupAnswer = [](QPrinter&) { return false; };
    form->PrnSetupPrn->click();
    ASSERT_EQ(SetupCalls.size(), 1u);
    EXPECT_EQ(SetupCalls[0], &Printer);
    EXPECT_TRUE(form->LandscapeItem->isChecked());

    // The user picks portrait A3 in the platform's dialog.
    SetupAnswer = [](QPrinter& p) {
        p.setPageSize(QPageSize(QPageSize::A3));
        p.setPageOrientation(QPageLayout::Portrait);
        return true;
    };
    form->PrnSetupPrn->click();
    EXPECT_TRUE(form->PortraitItem->isChecked());
    EXPECT_EQ(form->Paper(), (TPaperSize{297, 420}));
    EXPECT_EQ(form->PrnName->text(), QStringLiteral("PDF"));
    form->OkBtn->click();
    EXPECT_EQ(Cfg.Orientation, 0);
}

} // namespace
