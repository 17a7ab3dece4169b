// What the COM port dialog offers and how its entries become the port
// settings.

#include "acquisition/com_port_setup.h"
#include "qstring_printer.h"

#include <gtest/gtest.h>

TEST(ComPortSetup, ListsRateIndexAndHeldName) {
    EXPECT_EQ(ComPortChoices({"/dev/ttyUSB0"}).mid(15),
              (QStringList{"COM16", "/dev/ttyUSB0", "SIM"}));
    EXPECT_EQ(BaudRateChoices().mid(12, 3), (QStringList{"128000", "256000", "230400"}));
    const struct {
        const char* Text;
        int Current, Index;
    } cases[] = {{"19200", 5, 7},   {"10000", 5, 5}, {" 1024000 ", 0, 18},
                 {"230400", 0, 14}, {"", 11, 11},    {"019200", 3, 3}};
    for (const auto& c : cases)
        EXPECT_EQ(BaudIndexOfText(c.Text, static_cast<std::uint8_t>(c.Current)), c.Index) << c.Text;
    EXPECT_EQ(BaudRateText(25), "9600"); // a hand-edited index: what the port uses

    TComSettings port;
    port.Parity = 2;
    ApplyComChoice(port, " ABCDEFGHIJKL ", 7);
    EXPECT_EQ(port.PortName, "ABCDEFGHIJ");
    EXPECT_EQ(port.BaudRate, 7);
    EXPECT_EQ(port.Parity, 2); // the rest of the record stays
}
