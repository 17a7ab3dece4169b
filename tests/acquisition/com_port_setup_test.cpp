// What the COM port dialog offers and how its entries become the port
// settings.

#include "acquisition/com_port_setup.h"
#include "qstring_printer.h"

#include <gtest/gtest.h>

TEST(ComPortSetup, PortListIsNumberedNamesThenDevicesThenTheSimulator) {
    const QStringList choices = ComPortChoices({"/dev/ttyUSB0", "/dev/serial/by-id/usb-X"});
    ASSERT_EQ(choices.size(), 19);
    EXPECT_EQ(choices[0], "COM1");
    EXPECT_EQ(choices[15], "COM16");
    EXPECT_EQ(choices[16], "/dev/ttyUSB0");
    EXPECT_EQ(choices[17], "/dev/serial/by-id/usb-X");
    EXPECT_EQ(choices[18], "SIM");
    EXPECT_EQ(ComPortChoices({}).size(), 17);
}

TEST(ComPortSetup, RateTextGivesTheTableIndexOrKeepsTheOldOne) {
    const QStringList rates = BaudRateChoices();
    ASSERT_EQ(rates.size(), 19);
    EXPECT_EQ(rates[13], "256000"); // before 230400: the stored order
    EXPECT_EQ(rates[14], "230400");
    const struct {
        const char* Text;
        int Current, Index;
    } cases[] = {{"19200", 5, 7},   {"10000", 5, 5},  {" 1024000 ", 0, 18}, {"", 11, 11},
                 {"230400", 0, 14}, {"019200", 3, 3}, {"9600.0", 2, 2},     {"300", 18, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(BaudIndexOfText(c.Text, static_cast<std::uint8_t>(c.Current)), c.Index);
    }
    EXPECT_EQ(BaudRateText(7), "19200");
    EXPECT_EQ(BaudRateText(25), "9600"); // a hand-edited index: what the port uses
}

TEST(ComPortSetup, ChoiceWritesTheHeldNameAndTheIndex) {
    TComSettings port;
    port.PortName = "COM1";
    port.Parity = 2;
    ApplyComChoice(port, " COM3 ", 7);
    EXPECT_EQ(port.PortName, "COM3");
    EXPECT_EQ(port.BaudRate, 7);
    EXPECT_EQ(port.Parity, 2); // the rest of the record stays
    ApplyComChoice(port, "ABCDEFGHIJKL", 7);
    EXPECT_EQ(port.PortName, "ABCDEFGHIJ");
    ApplyComChoice(port, "/dev/serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0", 11);
    EXPECT_EQ(port.PortName, "/dev/serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0");
}
