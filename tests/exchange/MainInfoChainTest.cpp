// The main information chain: open, main information, motherboard information, retries, and
// what the panel shows.
#include "exchange/ExchangeFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrava::test {
namespace {

// ---- The chain by motherboard ---------------------------------------------------------------

struct BoardCase {
    const char* name;
    BoardKind board;
    bool eFlag;
    bool sFlag;
    Byte module;
    const char* version;      // panel text
    const char* boardType;    // panel text
    const char* moduleName;   // panel text
    int serialRequests;       // packets 02 00 06 00 06 03
    int versionRequests;      // "\r\nlog version\r\n"
    const char* boardSerial;  // motherboard serial shown, empty when none is read
    const char* boardVersion; // motherboard version shown
    const char* finalTip;
};

class MainInfoChain : public ExchangeFixture, public ::testing::WithParamInterface<BoardCase> {};

TEST_P(MainInfoChain, fillsThePanelAndAsksTheRightMotherboard) {
    const BoardCase& c = GetParam();
    ReceiverProfile profile;
    profile.board = c.board;
    profile.otherBoardCode = 2;
    profile.eFlag = c.eFlag;
    profile.sFlag = c.sFlag;
    profile.gprsModule = c.module;
    start(profile);

    openAndPump();

    ASSERT_TRUE(view.panel.has_value());
    EXPECT_EQ(view.panel->receiverVersion, QString::fromLatin1(c.version));
    EXPECT_EQ(view.panel->receiverSerial, QStringLiteral("KS260107"));
    EXPECT_EQ(view.panel->motherboardType, QString::fromLatin1(c.boardType));
    EXPECT_EQ(view.panel->moduleName, QString::fromLatin1(c.moduleName));
    EXPECT_EQ(view.panel->moduleFirmwareVersion, QStringLiteral("1.2"));
    EXPECT_EQ(view.panel->moduleHardwareVersion, QStringLiteral("1.0"));
    EXPECT_FALSE(view.panel->staticOnly);
    EXPECT_EQ(port->countWrites(kReadMainInfo), 1);
    EXPECT_EQ(port->countWrites(kReadBoardSerial), c.serialRequests);
    EXPECT_EQ(port->countWrites(kLogVersion), c.versionRequests);
    EXPECT_EQ(view.motherboardSerial, QString::fromLatin1(c.boardSerial));
    EXPECT_EQ(view.motherboardVersion, QString::fromLatin1(c.boardVersion));
    EXPECT_EQ(view.tip, QString::fromLatin1(c.finalTip));
    EXPECT_FALSE(timers.isRunning(TIMER_MAIN_INFO));
    EXPECT_FALSE(timers.isRunning(TIMER_BOARD_INFO));
    EXPECT_EQ(chainEnded, true);

    // Nothing is retried once the chain has ended.
    port->clearWrites();
    timers.advance(20000);
    port->pump();
    EXPECT_TRUE(port->writes().empty());
    EXPECT_THAT(view.tips, ::testing::Not(::testing::Contains(
                               QStringLiteral("Mother board information cannot be readed"))));
}

INSTANTIATE_TEST_SUITE_P(
    Boards, MainInfoChain,
    ::testing::Values(
        BoardCase{"packetBoardCode4", BoardKind::Packet, true, false, 3, "2.5  E", "Trimble",
                  "UC864", 1, 0, "5309K41207", "4.81", "Read main information successfully"},
        BoardCase{"textBoardCode0", BoardKind::Text, false, true, 10, "2.5  CS", "Novatel",
                  "WISO218", 0, 1, "5309K41207", "7.08.10", "Read main information successfully"},
        BoardCase{"otherBoardCode2AsksNothing", BoardKind::Other, true, true, 11, "2.5  ES",
                  "Unknown", "Unknown", 0, 0, "", "", "Reading main infomation..."}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// ---- Receiver types -------------------------------------------------------------------------

TEST_F(ExchangeFixture, staticOnlyReceiverEmptiesTheModuleRowsAndStaysStaticUntilClosed) {
    ReceiverProfile profile = *ReceiverProfile::named("static");
    start(profile);
    openAndPump();

    ASSERT_TRUE(view.panel.has_value());
    EXPECT_TRUE(view.panel->staticOnly);
    EXPECT_EQ(view.panel->receiverTypeCode, '5');
    EXPECT_TRUE(view.panel->moduleName.isEmpty());
    EXPECT_EQ(view.panel->moduleFirmwareVersion, QString());
    EXPECT_EQ(view.panel->moduleHardwareVersion, QString());
    EXPECT_FALSE(port->holdInput());
    EXPECT_TRUE(exchange->staticOnly());

    exchange->closePort();
    port->pump();
    EXPECT_FALSE(exchange->staticOnly());
    EXPECT_EQ(view.tip, QStringLiteral("Port closed"));
    EXPECT_FALSE(view.panel.has_value());
}

TEST_F(ExchangeFixture, typeFromZOnHoldsTheInputOpen) {
    start(*ReceiverProfile::named("wifi"));
    openAndPump();
    ASSERT_TRUE(view.panel.has_value());
    EXPECT_EQ(view.panel->receiverTypeCode, 'Z');
    EXPECT_FALSE(view.panel->staticOnly);
    EXPECT_TRUE(port->holdInput());
}

TEST_F(ExchangeFixture, moduleVersionsOfZeroLeaveTheirValuesAlone) {
    ReceiverProfile profile;
    profile.moduleFirmware = 0;
    profile.moduleHardware = 0;
    start(profile);
    openAndPump();
    ASSERT_TRUE(view.panel.has_value());
    EXPECT_FALSE(view.panel->moduleFirmwareVersion.has_value());
    EXPECT_FALSE(view.panel->moduleHardwareVersion.has_value());
}

// ---- Silence --------------------------------------------------------------------------------

struct SilentBoardCase {
    const char* name;
    BoardKind board;
    const Bytes* request;
};

class SilentMotherboard : public ExchangeFixture,
                          public ::testing::WithParamInterface<SilentBoardCase> {};

TEST_P(SilentMotherboard, isAskedFiveTimesThenGivenUp) {
    ReceiverProfile profile;
    profile.board = GetParam().board;
    FaultPlan faults;
    faults.boardSilent = true;
    start(profile, faults);
    openAndPump();
    EXPECT_EQ(port->countWrites(*GetParam().request), 1);

    for (int retry = 0; retry < 10; ++retry) {
        timers.advance(2000);
        port->pump();
    }

    EXPECT_EQ(port->countWrites(*GetParam().request), 5);
    EXPECT_EQ(view.tip, QStringLiteral("Mother board information cannot be readed"));
    EXPECT_EQ(exchange->moduleRetryCount(), 4);
    EXPECT_FALSE(timers.isRunning(TIMER_BOARD_INFO));
    EXPECT_EQ(chainEnded, true);
    EXPECT_TRUE(view.panel.has_value());
}

INSTANTIATE_TEST_SUITE_P(Boards, SilentMotherboard,
                         ::testing::Values(SilentBoardCase{"packet", BoardKind::Packet,
                                                           &kReadBoardSerial},
                                           SilentBoardCase{"text", BoardKind::Text, &kLogVersion}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(ExchangeFixture, silentReceiverIsReportedOnceAndNotAskedAgain) {
    FaultPlan faults;
    faults.dropAll = true;
    start({}, faults);
    openAndPump();
    EXPECT_EQ(view.tip, QStringLiteral("Reading main infomation..."));

    timers.advance(3000);
    EXPECT_EQ(view.tip, QStringLiteral("No reply from receiver"));
    EXPECT_FALSE(timers.isRunning(TIMER_MAIN_INFO));
    EXPECT_EQ(chainEnded, false);

    timers.advance(30000);
    port->pump();
    EXPECT_EQ(port->countWrites(kReadMainInfo), 1);
    EXPECT_FALSE(view.panel.has_value());
}

TEST_F(ExchangeFixture, lateMotherboardReplyStillFillsThePanel) {
    FaultPlan plan;
    plan.boardSilent = true;
    start({}, plan);
    openAndPump();
    timers.advance(2000); // one retry out, still silent
    faults().boardSilent = false;
    timers.advance(2000);
    port->pump();
    EXPECT_EQ(view.motherboardSerial, QStringLiteral("5309K41207"));
    EXPECT_EQ(view.tip, QStringLiteral("Read main information successfully"));
    EXPECT_FALSE(timers.isRunning(TIMER_BOARD_INFO));
}

// ---- Open, close, update --------------------------------------------------------------------

TEST_F(ExchangeFixture, openFailureShowsTheBoxAndSendsNothing) {
    start();
    port->setOpenFails(true);
    EXPECT_FALSE(exchange->openPort(QStringLiteral("sim")));
    EXPECT_EQ(view.messages, QStringList{QStringLiteral("Open fail")});
    EXPECT_TRUE(port->writes().empty());
    EXPECT_EQ(view.tip, QString()); // the tip line was never touched
    EXPECT_EQ(exchange->tipKey(), QStringLiteral("Please open the port first"));
}

TEST_F(ExchangeFixture, openUsesNormalBaudRateAndUpdateReadsAgain) {
    start();
    openAndPump();
    EXPECT_EQ(port->baudRate(), 19200);
    const int clears = view.mainInfoClears;

    exchange->update();
    port->pump();
    EXPECT_EQ(view.mainInfoClears, clears + 1);
    EXPECT_EQ(port->countWrites(kReadMainInfo), 2);
    EXPECT_TRUE(view.panel.has_value());
}

} // namespace
} // namespace kestrava::test
