// The Radio page's buttons and cell editor against the receiver emulator: what the user does,
// and what the radio then holds.
#include "FindControl.h"
#include "PagesOnEmulator.h"
#include "forms/RadioForm.h"

#include <gmock/gmock.h>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <memory>

namespace kestrava {
namespace {

const QString kFormat =
    QStringLiteral("Please make sure the frequency value is with the format xxx.xxx");
const QString kOpenFirst = QStringLiteral("Please open port first");

class RadioPageOnEmulator : public test::PagesOnEmulator {
protected:
    void SetUp() override { start(); }

    void press(int id) { FindControl<QAbstractButton>(radio, id)->click(); }
    QLineEdit* editor() { return FindControl<QLineEdit>(radio, 1019); }

    void edit(int row, int column, const QString& text) {
        radio.StartCellEdit(row, column);
        editor()->setText(text);
    }

    void connectRadio() {
        press(1123);
        port->pump();
        ASSERT_TRUE(emulator().radioConnected());
        host->messages.clear();
        port->clearWrites();
    }
};

// The page fills its table from the outcome of its own Read: a read asked by anyone else leaves
// what it shows alone, and a page closed before its reply comes is not touched.
TEST_F(RadioPageOnEmulator, theTableFillsFromThePagesOwnReadOnly) {
    open();
    connectRadio();
    radio.ShowChannelTable(RadioForm::defaultTable(false)); // the 230 MHz table
    const QString shown = radio.CellText(0, 1);
    ASSERT_NE(shown, QStringLiteral("459.225"));

    exchange->request(CommandId::ReadRadioChannels);
    port->pump();
    EXPECT_EQ(radio.CellText(0, 1), shown);

    press(1125); // Read Current HZ
    port->pump();
    EXPECT_EQ(radio.CellText(0, 1), QStringLiteral("459.225"));

    auto closing = std::make_unique<CDialogRadioManager>();
    closing->InitRadioPage();
    closing->SetHost(host.get());
    FindControl<QAbstractButton>(*closing, 1125)->click();
    closing.reset();
    port->pump(); // the reply finds no page: nothing to fill, nothing to crash on
    EXPECT_EQ(exchange->expectedReply().kind, KindNone);
}

TEST_F(RadioPageOnEmulator, withThePortClosedOnlyReadDefaultWorks) {
    host->answers = {true};
    for (int id : {1123, 1125, 1126, 1130, 1039}) {
        press(id);
    }
    EXPECT_EQ(host->messages, QStringList(5, kOpenFirst));
    EXPECT_TRUE(host->questions.isEmpty());
    FindControl<QRadioButton>(radio, 1016)->setChecked(true);
    press(1127);
    EXPECT_EQ(radio.CellText(0, 1), "230.625");
    EXPECT_EQ(radio.CellText(15, 2), "232.125");
    EXPECT_EQ(host->messages.size(), 5);
}

TEST_F(RadioPageOnEmulator, aCellTextBreakingTheRuleIsRefusedAndNothingIsSent) {
    open();
    connectRadio();
    const std::uint16_t before = emulator().radio().transmit()[0];
    for (const char* bad : {"46.125", "463x125"}) {
        radio.InitRadioPage();
        edit(0, 1, QString::fromLatin1(bad));
        radio.StartCellEdit(1, 2); // another cell: the bad text is refused, editing stays put
        EXPECT_EQ(radio.EditRow(), 0) << bad;
        EXPECT_EQ(radio.EditColumn(), 1) << bad;
        EXPECT_EQ(radio.CellText(0, 1), "000.000") << bad;
        press(1126);
        EXPECT_EQ(host->messages, QStringList(2, kFormat))
            << bad << ": " << host->messages.join(QLatin1Char('|')).toStdString();
        host->messages.clear();
    }
    EXPECT_TRUE(port->writes().empty());
    EXPECT_EQ(emulator().radio().transmit()[0], before);
}

TEST_F(RadioPageOnEmulator, aFrequencyOffTheRadiosStepsIsRefusedWithTheNearestOne) {
    open();
    connectRadio();
    const std::uint16_t before = emulator().radio().transmit()[3];
    const QString refusal =
        QStringLiteral("463.130 MHz is not a frequency the radio can be set to: it takes steps "
                       "of 25 kHz, the nearest is 463.125 MHz");
    edit(3, 1, QStringLiteral("463.130"));
    radio.StartCellEdit(4, 1); // leaving the cell refuses the text, editing stays put
    EXPECT_EQ(radio.EditRow(), 3);
    EXPECT_EQ(host->messages, QStringList{refusal});
    host->messages.clear();
    // The same text reaching the table another way is refused by Set with the same words.
    radio.InitRadioPage();
    edit(3, 1, QStringLiteral("463.130"));
    press(1126);
    EXPECT_THAT(host->messages, ::testing::Contains(refusal));
    EXPECT_TRUE(port->writes().empty());
    EXPECT_EQ(emulator().radio().transmit()[3], before);
}

TEST_F(RadioPageOnEmulator, theChannelColumnAndTheCellBeingEditedAreNotEditedAgain) {
    radio.StartCellEdit(2, 0);
    EXPECT_TRUE(editor()->isHidden());
    edit(2, 1, QStringLiteral("410.000"));
    radio.StartCellEdit(2, 1); // the same cell keeps what is typed
    EXPECT_EQ(editor()->text(), "410.000");
    EXPECT_FALSE(editor()->isHidden());
}

TEST_F(RadioPageOnEmulator, airBaudSetAsksFirstAndSends19200WithoutASelection) {
    open();
    connectRadio();
    auto* list = FindControl<QComboBox>(radio, 1129);
    list->setCurrentIndex(0);
    host->answers = {false, true, true};
    press(1039); // No
    EXPECT_TRUE(port->writes().empty());
    press(1039); // Yes: 9600
    port->pump();
    EXPECT_EQ(emulator().radio().airRate(), RadioModule::kRate9600);
    EXPECT_EQ(view.tip, "Set air baudrate successfully");
    list->setCurrentIndex(-1);
    press(1039); // Yes, nothing selected: 19200
    port->pump();
    EXPECT_EQ(emulator().radio().airRate(), RadioModule::kRate19200);
    EXPECT_EQ(host->questions, QStringList(3, QStringLiteral("Are you sure to set?")));

    list->setCurrentIndex(0);
    press(1130);
    port->pump();
    EXPECT_EQ(radio.AirBaudIndex(), 1);
}

TEST_F(RadioPageOnEmulator, aRadioThatWasNotConnectedTimesOutWithTheRadioText) {
    open();
    press(1125);
    port->pump();
    timers.advance(CommandExchange::kRadioTimeoutMs);
    EXPECT_EQ(view.tip, "No reply from receiver,please check whether connect to internal radio "
                        "successfully");
}

} // namespace
} // namespace kestrava
