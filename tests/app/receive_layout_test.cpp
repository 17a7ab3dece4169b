// The receive mode's texts fit the window at its default and its minimum
// size: the labels of the groups under the instrument's or the computer's
// control, the selectors' rows, the port panels.

#include "receive_fixture.h"

#include <QLabel>
#include <QLineEdit>

namespace {

QRect InWindow(const QWidget* w, const QWidget* window) {
    return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
}

void ExpectWholeText(const QLabel* label, const QWidget* window) {
    SCOPED_TRACE(label->text().toStdString());
    EXPECT_TRUE(label->isVisible());
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
    EXPECT_TRUE(window->rect().contains(InWindow(label, window)));
}

} // namespace

class TReceiveLayoutTest : public ::testing::TestWithParam<QSize> {};

TEST_P(TReceiveLayoutTest, LabelsRowsAndPortPanelsShowTheirWholeText) {
    TAppDir dir;
    WriteReceiveIni(dir, "COM12", "Rapid=3\r\n");
    TScriptedPort port;
    auto w = ShowWindow(port);
    w->resize(GetParam());
    QApplication::processEvents();
    ASSERT_EQ(w->size(), GetParam());
    TInstrumentGroupsWidget* g = w->InstrumentGroups();
    // Under manual control ("РУЧН. УПР."), then the computer's ("ПЭВМ"),
    // with the widest rows of both lists.
    for (int gain : {0xC9, 0x09}) {
        Deliver(*w, Point(100, 2048, gain, gain & 0x80 ? 0x89 : 0x09));
        g->AmpBox()->setCurrentIndex(7);
        QApplication::processEvents();
        for (const QLabel* label :
             {g->AmpLbl(), g->SpeedLbl(), g->CorrLbl(), g->BotLbl(), g->TopLbl()})
            ExpectWholeText(label, w.get());
        EXPECT_EQ(g->SpeedBox()->currentText(), "128 мин");
        EXPECT_EQ(g->AmpBox()->currentText(), "200");
        for (const QComboBox* box : {g->AmpBox(), g->SpeedBox()})
            EXPECT_GE(box->width(), box->minimumSizeHint().width());
    }
    // The port panels show their whole text at the default size; on a
    // narrower window they give way first, and their hint holds the text.
    for (int k : {0, 1}) {
        SCOPED_TRACE(k);
        const QLabel* panel = w->StatusPanels()->PanelLabel(k);
        if (GetParam().width() >= 760)
            ExpectWholeText(panel, w.get());
        EXPECT_EQ(panel->toolTip(), panel->text());
    }
    EXPECT_EQ(w->StatusPanels()->Panel(1), "9600 бод");
}

INSTANTIATE_TEST_SUITE_P(Sizes, TReceiveLayoutTest,
                         ::testing::Values(QSize(760, 500), QSize(500, 450)));
