#include "config/settings_store.h"
#include "qstring_printer.h"
#include "scripted_dialog_port.h"
#include "view/color_setup_dialog.h"
#include "view/qt_app.h"

#include <QFrame>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

constexpr TColorValue Red = 255;
constexpr TColorValue Blue = 16711680;
constexpr TColorValue Olive = 0x008080;

struct TColorSetupTest : ::testing::Test {
    TKavCfg Cfg{};
    TScriptedDialogPort Port;

    void SetUp() override { SetDefaults(Cfg, QStringLiteral("/tmp")); }

    static void ClickPanel(TColorSetupForm& d, const char* name) {
        auto* panel = d.findChild<QFrame*>(QString::fromLatin1(name));
        ASSERT_TRUE(panel) << name;
        for (int k = 0; k < d.Sheets()->count(); ++k)
            if (d.Sheets()->widget(k)->isAncestorOf(panel))
                d.Sheets()->setCurrentIndex(k);
        QTest::mouseClick(panel, Qt::LeftButton);
    }
};

} // namespace

TEST_F(TColorSetupTest, ChosenColoursGoToTheirSetsAndGridStays) {
    Cfg.PrinterColors.Grid = 0x123456;
    TColorSetupForm d(Cfg, Port);
    d.show();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Настройка цветов"));
    ASSERT_EQ(d.Sheets()->count(), 3);
    EXPECT_EQ(d.Sheets()->tabText(2), QStringLiteral("Файл BMP"));

    Port.Colours = {Red, Olive, std::nullopt, Blue};
    ClickPanel(d, "PVisir2");    // printer Visir2 -> red
    ClickPanel(d, "Graph2");     // screen AddGraph -> olive
    ClickPanel(d, "BText");      // chooser cancelled: unchanged
    ClickPanel(d, "BackGround"); // screen background -> blue
    // Each chooser starts at the colour of its own set and row.
    EXPECT_EQ(Port.ColourStarts,
              (std::vector<TColorValue>{Blue, Cfg.DisplayColors.AddGraph, Cfg.BMPColors.Text,
                                        Cfg.DisplayColors.BackGround}));
    EXPECT_EQ(d.PanelColor(1, 7), Red);

    const TKavCfg before = Cfg;
    QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(Cfg.PrinterColors.Visir2, Red);
    EXPECT_EQ(Cfg.DisplayColors.AddGraph, Olive);
    EXPECT_EQ(Cfg.DisplayColors.BackGround, Blue);
    EXPECT_EQ(Cfg.BMPColors, before.BMPColors);
    EXPECT_EQ(Cfg.PrinterColors.Grid, 0x123456u);
    TColorSet printer = before.PrinterColors;
    printer.Visir2 = Red;
    EXPECT_EQ(Cfg.PrinterColors, printer);
}

TEST_F(TColorSetupTest, CancelLeavesEverySetAsItWas) {
    const TKavCfg before = Cfg;
    TColorSetupForm d(Cfg, Port);
    d.show();
    Port.Colours = {Red, Red};
    ClickPanel(d, "Text");
    ClickPanel(d, "BVisir1");
    QTest::mouseClick(d.CancelBtn(), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_TRUE(Cfg == before);
}
