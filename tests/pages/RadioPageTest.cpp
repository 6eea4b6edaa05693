// The Radio page's channel list and air baud rate show what they are handed.
#include "FindControl.h"

#include "pages/CDialogRadioManager.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

using namespace kestrava;

TEST(RadioPage, initialisingShowsSixteenEmptyChannelsAndNoAirBaud) {
    CDialogRadioManager page;
    page.InitRadioPage();
    for (int row = 0; row < 16; ++row) {
        EXPECT_EQ(page.CellText(row, 0), QStringLiteral("%1").arg(row, 2, 10, QLatin1Char('0')));
        EXPECT_EQ(page.CellText(row, 1), "000.000");
        EXPECT_EQ(page.CellText(row, 2), "000.000");
    }
    EXPECT_EQ(page.CellText(16, 0), "");
    EXPECT_TRUE(page.Is460Band());
    EXPECT_EQ(page.AirBaudIndex(), -1);
    EXPECT_TRUE(FindControl<QLineEdit>(page, 1019)->isHidden());
}

TEST(RadioPage, channelTableIsShownWithThreeDecimals) {
    CDialogRadioManager page;
    page.InitRadioPage();
    ChannelTable table{};
    float frequency = 459.225f;
    for (ChannelPair& pair : table) {
        pair = {frequency, frequency};
        frequency += 0.1f;
    }
    table[3] = {230.625f, 9.5f};
    page.ShowChannelTable(table);
    EXPECT_EQ(page.CellText(0, 1), "459.225");
    EXPECT_EQ(page.CellText(15, 2), "460.725");
    EXPECT_EQ(page.CellText(3, 1), "230.625");
    EXPECT_EQ(page.CellText(3, 2), "9.500");
    EXPECT_EQ(page.CellText(15, 0), "15");
}

TEST(RadioPage, airBaudSelects19200OnlyFor19200) {
    CDialogRadioManager page;
    page.InitRadioPage();
    for (const auto& [rate, item] :
         {std::pair{19200, 1}, std::pair{9600, 0}, std::pair{38400, 0}, std::pair{0, 0}}) {
        page.ShowAirBaud(rate);
        EXPECT_EQ(page.AirBaudIndex(), item) << rate;
    }
}
