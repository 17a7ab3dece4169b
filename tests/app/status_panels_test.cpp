// The twelve status panels stay in view while the pointer rests on a tool
// button or a menu item: the actions' hints are tool tips, never status-bar
// messages (which would hide every panel).

#include "app_fixture.h"

#include <QToolButton>

namespace {

using TStatusPanelsTest = TWindowTest;

// Every panel is shown and no message covers the bar.
void ExpectAllPanelsShown(TKavMainForm& w, const QString& where) {
    SCOPED_TRACE(where.toStdString());
    TKavStatusBar* bar = Bar(w);
    EXPECT_EQ(bar->currentMessage(), QString());
    for (int k = 0; k < TKavStatusBar::PanelCount; ++k)
        EXPECT_TRUE(bar->PanelLabel(k)->isVisible()) << "panel " << k;
}

} // namespace

TEST_F(TStatusPanelsTest, PointerOnAToolButtonOrAMenuItemLeavesThePanelsInView) {
    Bar(*W)->SetPanel(10, QStringLiteral("НАКОПЛ [1 из 2]"));
    int hinted = 0;
    for (QToolButton* button : Find<QToolBar>(*W, "MainBar")->findChildren<QToolButton*>()) {
        QAction* action = button->defaultAction();
        if (!action || !button->isVisible())
            continue;
        QTest::mouseMove(button);
        QApplication::processEvents();
        ExpectAllPanelsShown(*W, action->objectName());
        if (!action->toolTip().isEmpty() && action->toolTip() != action->text()) {
            ++hinted;
            EXPECT_EQ(button->toolTip(), action->toolTip()) << action->objectName().toStdString();
        }
    }
    EXPECT_GE(hinted, 10); // "ФНЧ(р)", "Сумма", "Печать", "Прием" and the rest
    QTest::mouseMove(Plot(*W));

    // Every item of every menu, as the pointer moving down the open menu
    // makes it the active one.
    for (QAction* top : W->menuBar()->actions()) {
        QMenu* menu = top->menu();
        if (!menu)
            continue;
        menu->popup(W->mapToGlobal(QPoint(0, 0)));
        QApplication::processEvents();
        for (QAction* item : menu->actions()) {
            if (item->isSeparator())
                continue;
            menu->setActiveAction(item);
            QApplication::processEvents();
            ExpectAllPanelsShown(*W, top->text() + QStringLiteral(" / ") + item->text());
        }
        menu->hide();
    }
    EXPECT_EQ(Bar(*W)->Panel(10), QStringLiteral("НАКОПЛ [1 из 2]"));
}
