#include "view/status_bar_widget.h"
#include "view/view_bounds_widget.h"

#include "qt_app.h"
#include "view_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

TEST(StatusBar, DesignTextsUntilTheWindowIsFirstShown) {
    QMainWindow window;
    auto* bar = new TKavStatusBar;
    window.setStatusBar(bar);
    const char* design[] = {
        "", "", "", "", "", "PR:", "S/N:", "Info", "АВТО", "ФИЛЬТР", "НАКОПЛ", ""};
    for (int k = 0; k < TKavStatusBar::PanelCount; ++k) {
        EXPECT_EQ(bar->Panel(k), QString::fromUtf8(design[k])) << k;
        EXPECT_EQ(bar->PanelLabel(k)->width(), TKavStatusBar::PanelWidths[k]) << k;
    }
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (int k = 0; k < TKavStatusBar::PanelCount; ++k)
        EXPECT_EQ(bar->Panel(k), "") << k;

    // Written panels keep their texts when the window is shown again.
    bar->SetPanel(7, QStringLiteral("dH=240"));
    bar->SetPanel(12, QStringLiteral("nowhere"));
    bar->SetPanel(-1, QStringLiteral("nowhere"));
    window.hide();
    window.show();
    EXPECT_EQ(bar->Panel(7), "dH=240");
    bar->SetPanel(7, QString());
    EXPECT_EQ(bar->Panel(7), "");
    EXPECT_EQ(bar->Panel(12), "");
}

TEST(ViewBoundsEdits, EditsSetTheViewAndTheirUnitTexts) {
    TViewFixture f;
    TViewBoundsWidget bounds(f.Cfg, f.Format);
    QSignalSpy changed(&bounds, &TViewBoundsWidget::ViewChanged);
    EXPECT_EQ(bounds.MinView()->minimum(), 0);
    EXPECT_EQ(bounds.MinView()->maximum(), 65007);
    EXPECT_EQ(bounds.MaxView()->minimum(), 512);
    EXPECT_EQ(bounds.MaxView()->maximum(), 65519);
    EXPECT_EQ(bounds.MinView()->singleStep(), 10);
    EXPECT_EQ(bounds.MaxView()->toolTip(), "Верхняя граница отображения");
    EXPECT_TRUE(bounds.MinViewExt()->isReadOnly());

    bounds.MinView()->setValue(1000);
    EXPECT_EQ(f.Cfg.ViewMin, 1000);
    EXPECT_EQ(bounds.MinViewExt()->text(), "1000");
    EXPECT_EQ(changed.count(), 1);

    f.Cfg.RazvUnit = 3; // a unit change shows at the next refresh
    bounds.RefreshTexts();
    EXPECT_EQ(bounds.MaxViewExt()->text(), "3300 Э");

    // An upper bound set below the lower one pushes the lower one down.
    bounds.MaxView()->setValue(800);
    EXPECT_EQ(f.Cfg.ViewMax, 800);
    EXPECT_EQ(f.Cfg.ViewMin, 799);
    EXPECT_EQ(bounds.MinView()->value(), 799);
    EXPECT_EQ(changed.count(), 2);
}

TEST(ViewBoundsEdits, ShowAllAndTheOrdinateScale) {
    TViewFixture f;
    f.Cfg.ViewMin = 70000; // hand-edited settings file
    f.Cfg.ViewMax = 100;
    TViewBoundsWidget bounds(f.Cfg, f.Format);
    QSignalSpy changed(&bounds, &TViewBoundsWidget::ViewChanged);
    bounds.LoadFromSettings();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_LT(f.Cfg.ViewMin, f.Cfg.ViewMax);
    EXPECT_EQ(f.Cfg.ViewMin, bounds.MinView()->value());
    EXPECT_EQ(f.Cfg.ViewMax, bounds.MaxView()->value());

    bounds.AIncScaleExecute();
    bounds.AIncScaleExecute();
    EXPECT_EQ(f.Cfg.OrdScale, 2);
    bounds.ADecScaleExecute();
    EXPECT_EQ(changed.count(), 4);
    bounds.AAllViewExecute();
    EXPECT_EQ(f.Cfg.OrdScale, 0);
    EXPECT_EQ(f.Cfg.ViewMin, 0);
    EXPECT_EQ(f.Cfg.ViewMax, 65519);
    EXPECT_EQ(changed.count(), 5);
    bounds.ADecScaleExecute(); // already 0: nothing to repaint
    bounds.AAllViewExecute();  // nothing changed, still repainted
    EXPECT_EQ(changed.count(), 6);
}
