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
#include <array>
#include <gtest/gtest.h>
#include <tuple>

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

    // Margins left, right, top, bottom: as stored, as shown, as typed.
    using TMargins = std::array<int, 4>;
    void Store(TMargins m) { std::tie(Cfg.PrnL, Cfg.PrnR, Cfg.PrnT, Cfg.PrnB) = std::tuple_cat(m); }
    TMargins Stored() const { return {Cfg.PrnL, Cfg.PrnR, Cfg.PrnT, Cfg.PrnB}; }
    static std::array<QSpinBox*, 4> Edits(TPrintSetupForm& f) {
        return {f.LeftEdit, f.RightEdit, f.TopEdit, f.BotEdit};
    }
    static TMargins Shown(TPrintSetupForm& f, int (QSpinBox::*what)() const = &QSpinBox::value) {
        TMargins m;
        for (int k = 0; k < 4; ++k)
            m[k] = (Edits(f)[k]->*what)();
        return m;
    }
    static void Type(TPrintSetupForm& f, TMargins m) {
        for (int k = 0; k < 4; ++k)
            Edits(f)[k]->setValue(m[k]);
    }
};

TEST_F(PrintSetup, ShowsThePrinterTheStoredOrientationAndMargins) {
    Store({20, 21, 22, 23});
    auto form = Form();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Печать спектра"));
    EXPECT_EQ(form->PrnName->text(), QStringLiteral("PDF"));
    EXPECT_TRUE(form->PrnName->isReadOnly());
    // Orientation 1 (the default) turns the printer to landscape.
    EXPECT_TRUE(form->LandscapeItem->isChecked());
    EXPECT_EQ(Printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(std::pair(form->Area().HorzSize, form->Area().VertSize), std::pair(290, 203));
    EXPECT_EQ(form->Paper(), (TPaperSize{297, 210}));
    EXPECT_EQ(form->Offsets(), (TPaperOffsets{3, 3}));
    EXPECT_EQ(Shown(*form), (TMargins{20, 21, 22, 23}));
    EXPECT_EQ(Shown(*form, &QSpinBox::minimum), (TMargins{3, 3, 3, 3}));
    EXPECT_EQ(Shown(*form, &QSpinBox::maximum), (TMargins{200, 200, 200, 200}));
}

TEST_F(PrintSetup, MarginsBelowTheUnprintableStripAreRaisedAtOnceEvenOnCancel) {
    // A printer that cannot reach 30 points at the top and bottom: 276 mm
    // high, 10 mm offsets there, 3 mm at the sides.
    Printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10, 30, 10, 30), QPageLayout::Point));
    Cfg.Orientation = 0;
    Store({1, 15, 4, 12});
    auto form = Form();
    EXPECT_EQ(form->Offsets(), (TPaperOffsets{3, 10}));
    EXPECT_EQ(Shown(*form, &QSpinBox::minimum), (TMargins{3, 3, 10, 10}));
    EXPECT_EQ(Shown(*form), (TMargins{3, 15, 10, 12}));

    form->RightEdit->setValue(40);
    form->CancelBtn->click();
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(Stored(), (TMargins{3, 15, 10, 12})); // the edit's change is not stored
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
        Type(*form, {25, 15, 15, 30});
        form->CancelBtn->click();
        EXPECT_EQ(Cfg.Orientation, 1);
        EXPECT_EQ(Stored(), (TMargins{15, 15, 15, 15}));
    }
    auto form = Form();
    // Cancel left the printer in portrait; the dialog shows the stored
    // orientation again.
    EXPECT_TRUE(form->LandscapeItem->isChecked());
    form->PortraitItem->click();
    Type(*form, {25, 26, 27, 30});
    form->OkBtn->click();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(Cfg.Orientation, 0);
    EXPECT_EQ(Stored(), (TMargins{25, 26, 27, 30}));
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
    EXPECT_EQ(Stored(), (TMargins{3, 3, 3, 15}));
    EXPECT_EQ(form->RightEdit->text(), QStringLiteral("3"));
}

// Margins that leave no room for the plot are refused on OK, naming them
// and the paper's side; nothing is stored and the dialog stays.
TEST_F(PrintSetup, MarginsThatLeaveNoRoomAreRefusedNamingThem) {
    Cfg.Orientation = 0; // A4 portrait: 210 x 297 mm
    const QString none = "Поля не оставляют места для спектра: ";
    const QString wide = "слева %1 мм и справа %2 мм на бумаге шириной 210 мм";
    const QString high = "сверху %1 мм и снизу %2 мм на бумаге высотой 297 мм";
    const struct {
        TMargins Typed;
        QString Warning; // empty: accepted
    } cases[] = {
        {{110, 100, 15, 15}, none + wide.arg(110).arg(100) + "."},
        {{15, 15, 150, 147}, none + high.arg(150).arg(147) + "."},
        {{105, 105, 200, 100}, none + wide.arg(105).arg(105) + "; " + high.arg(200).arg(100) + "."},
        {{100, 100, 140, 140}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Typed[0]);
        Warnings.clear();
        Store({15, 15, 15, 15});
        auto form = Form();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        Type(*form, c.Typed);
        form->OkBtn->click();
        EXPECT_EQ(Warnings, c.Warning.isEmpty() ? QStringList() : QStringList{c.Warning});
        EXPECT_EQ(form->isVisible(), !c.Warning.isEmpty());
        EXPECT_EQ(form->result() == QDialog::Accepted, c.Warning.isEmpty());
        EXPECT_EQ(Stored(), (c.Warning.isEmpty() ? c.Typed : TMargins{15, 15, 15, 15}));
        if (!c.Warning.isEmpty()) {
            EXPECT_EQ(QApplication::focusWidget(),
                      c.Typed[0] + c.Typed[1] >= 210 ? form->LeftEdit : form->TopEdit);
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
