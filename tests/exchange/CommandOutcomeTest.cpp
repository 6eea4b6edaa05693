// Every command ends with an outcome the user sees: its answer's, or, when the receiver stays
// silent, the reply wait's; commands that await nothing, or report their own silence, are left to
// themselves.
#include "exchange/ExchangeFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kestrava::test {
namespace {

using SendOperation = std::function<void(CommandExchange&)>;

const QString kNoReply = QStringLiteral("No reply from receiver");
const QString kNoRadioReply = QStringLiteral(
    "No reply from receiver,please check whether connect to internal radio successfully");

struct SilentCase {
    const char* name;
    SendOperation send;
    int waitMs;    // until the silence is reported
    QString shown; // what the tip says then
};

class SilentReceiver : public ExchangeFixture, public ::testing::WithParamInterface<SilentCase> {
protected:
    void SetUp() override {
        FaultPlan silent;
        silent.dropAll = true;
        start({}, silent);
        exchange->setReplyWait(CommandExchange::kReplyWaitMs);
        openQuietly();
    }
};

TEST_P(SilentReceiver, theTipSaysNoReplyOnceTheWaitIsOverAndNotBefore) {
    const SilentCase& c = GetParam();
    c.send(*exchange);
    ASSERT_FALSE(port->writes().empty());
    timers.advance(c.waitMs - 1);
    EXPECT_FALSE(view.tips.contains(c.shown)) << view.tips.join(" | ").toStdString();
    timers.advance(1);
    ASSERT_FALSE(view.tips.isEmpty());
    EXPECT_EQ(view.tips.last(), c.shown);
    // Said once: the wait does not repeat itself.
    timers.advance(10 * CommandExchange::kReplyWaitMs);
    EXPECT_EQ(view.tips.count(c.shown), 1);
}

constexpr int kWait = CommandExchange::kReplyWaitMs;

INSTANTIATE_TEST_SUITE_P(
    EveryAwaitedReply, SilentReceiver,
    ::testing::Values(
        SilentCase{"readNet", [](CommandExchange& e) { e.request(CommandId::ReadNetParams); },
                   kWait, kNoReply},
        SilentCase{"setNet",
                   [](CommandExchange& e) {
                       e.request(CommandId::SetNetParams, requestargs::SetNetParams{NetParams{}});
                   },
                   kWait, kNoReply},
        SilentCase{"readApn", [](CommandExchange& e) { e.request(CommandId::ReadApnParams); },
                   kWait, kNoReply},
        SilentCase{"setApn",
                   [](CommandExchange& e) {
                       e.request(CommandId::SetApnParams, requestargs::SetApnParams{"u", "p"});
                   },
                   kWait, kNoReply},
        SilentCase{"remotePassword",
                   [](CommandExchange& e) {
                       e.request(CommandId::SetRemotePassword,
                                 requestargs::SetRemotePassword{"abcd1234"});
                   },
                   kWait, kNoReply},
        SilentCase{"wifiPassword",
                   [](CommandExchange& e) {
                       e.request(CommandId::SetWifiPassword,
                                 requestargs::SetWifiPassword{std::nullopt, "abcd1234"});
                   },
                   kWait, kNoReply},
        SilentCase{"connectRadio",
                   [](CommandExchange& e) { e.request(CommandId::ConnectInternalRadio); }, kWait,
                   kNoReply},
        // The radio's own timer speaks for the radio commands, in its own words.
        SilentCase{"readChannels",
                   [](CommandExchange& e) { e.request(CommandId::ReadRadioChannels); },
                   CommandExchange::kRadioTimeoutMs, kNoRadioReply},
        SilentCase{"setAirBaud",
                   [](CommandExchange& e) {
                       e.request(CommandId::SetAirBaud, requestargs::SetAirBaud{9600});
                   },
                   CommandExchange::kRadioTimeoutMs, kNoRadioReply},
        SilentCase{"readBand", [](CommandExchange& e) { e.request(CommandId::ReadNetModuleBand); },
                   kWait, kNoReply},
        SilentCase{"setBand",
                   [](CommandExchange& e) {
                       e.request(CommandId::SetNetModuleBand, requestargs::SetNetModuleBand{1, 2});
                   },
                   kWait, kNoReply},
        SilentCase{"voiceOn",
                   [](CommandExchange& e) {
                       e.request(CommandId::VoiceSwitch,
                                 requestargs::VoiceSwitch{VoiceSwitchCode::VoiceOn});
                   },
                   kWait, kNoReply},
        SilentCase{"readVoice",
                   [](CommandExchange& e) {
                       e.request(CommandId::ReadVoiceBlock, requestargs::ReadVoiceBlock{false, 1});
                   },
                   kWait, kNoReply},
        SilentCase{"setVolume",
                   [](CommandExchange& e) {
                       e.request(CommandId::ReadVoiceBlock, requestargs::ReadVoiceBlock{true, 3});
                   },
                   kWait, kNoReply},
        SilentCase{"readStaticVoice",
                   [](CommandExchange& e) { e.request(CommandId::ReadStaticVoice); }, kWait,
                   kNoReply},
        SilentCase{"setStaticVoice",
                   [](CommandExchange& e) {
                       e.request(CommandId::SetStaticVoice, requestargs::SetStaticVoice{true});
                   },
                   kWait, kNoReply},
        SilentCase{"readCollect",
                   [](CommandExchange& e) { e.request(CommandId::ReadCollectParams); }, kWait,
                   kNoReply},
        SilentCase{"setCollect",
                   [](CommandExchange& e) {
                       e.request(CommandId::SetCollectParams, requestargs::SetCollectParams{5, 10});
                   },
                   kWait, kNoReply},
        SilentCase{"readNaming", [](CommandExchange& e) { e.request(CommandId::ReadFileNaming); },
                   kWait, kNoReply},
        SilentCase{"setNaming",
                   [](CommandExchange& e) {
                       e.request(CommandId::SetFileNaming, requestargs::SetFileNaming{"A", "007"});
                   },
                   kWait, kNoReply},
        // The store location's own timer reads the RINEX flag, whose silence is then told.
        SilentCase{"readLocation",
                   [](CommandExchange& e) { e.request(CommandId::ReadStoreLocation); },
                   CommandExchange::kStoreLocationTimeoutMs + kWait, kNoReply},
        SilentCase{"setLocation",
                   [](CommandExchange& e) {
                       e.request(CommandId::SetStoreLocation, requestargs::SetStoreLocation{true});
                   },
                   kWait, kNoReply},
        SilentCase{"readFiles", [](CommandExchange& e) { e.request(CommandId::ReadFileList); },
                   kWait, kNoReply},
        SilentCase{"deleteFiles",
                   [](CommandExchange& e) {
                       e.request(CommandId::DeleteFiles,
                                 requestargs::DeleteFiles{{"KV000001.STH"}});
                   },
                   kWait, kNoReply},
        SilentCase{"format", [](CommandExchange& e) { e.request(CommandId::ReadRecordingState); },
                   kWait, kNoReply},
        SilentCase{"download",
                   [](CommandExchange& e) {
                       e.request(CommandId::StartDownload,
                                 requestargs::StartDownload{"KV000001", "/nonexistent/x"});
                   },
                   kWait, kNoReply},
        SilentCase{"mainInfo", [](CommandExchange& e) { e.request(CommandId::ReadMainInfo); },
                   CommandExchange::kMainInfoTimeoutMs, kNoReply}),
    [](const auto& param) { return std::string(param.param.name); });

struct AnsweredCase {
    const char* name;
    bool readMainInfo; // the board must be known first
    SendOperation send;
    QString shown;
};

class AnsweringReceiver : public ExchangeFixture,
                          public ::testing::WithParamInterface<AnsweredCase> {};

TEST_P(AnsweringReceiver, theTipSaysWhatHappened) {
    const AnsweredCase& c = GetParam();
    start();
    exchange->setReplyWait(CommandExchange::kReplyWaitMs);
    if (c.readMainInfo) {
        openAndPump();
    } else {
        openQuietly();
    }
    view.tips.clear();
    c.send(*exchange);
    port->pump();
    timers.advance(10 * CommandExchange::kReplyWaitMs);
    ASSERT_FALSE(view.tips.isEmpty());
    EXPECT_EQ(view.tips.last(), c.shown) << view.tips.join(" | ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Replies, AnsweringReceiver,
    ::testing::Values(AnsweredCase{"apnRead", false,
                                   [](CommandExchange& e) { e.request(CommandId::ReadApnParams); },
                                   "Read parameters successfully"},
                      AnsweredCase{"deleteSelected", false,
                                   [](CommandExchange& e) {
                                       e.request(CommandId::DeleteFiles,
                                                 requestargs::DeleteFiles{
                                                     {"KV000000.STH", "KV000001.STH"}});
                                   },
                                   "Delete static files successfully"},
                      AnsweredCase{"deleteRefused", false,
                                   [](CommandExchange& e) {
                                       e.request(CommandId::DeleteFiles,
                                                 requestargs::DeleteFiles{{"NOSUCH01.STH"}});
                                   },
                                   "Fail to delete static file"},
                      // The board never answers its output commands: sent is all that can be said.
                      AnsweredCase{"dataOutput", true,
                                   [](CommandExchange& e) {
                                       e.request(CommandId::SetNmeaOutput,
                                                 requestargs::SetNmeaOutput{NmeaOutputChoice{}});
                                   },
                                   "Data output setting sent"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(ExchangeFixture, commandsThatAwaitNothingAreNotReportedSilent) {
    FaultPlan silent;
    silent.dropAll = true;
    start({}, silent);
    exchange->setReplyWait(CommandExchange::kReplyWaitMs);
    openQuietly();
    const std::vector<SendOperation> quiet = {
        [](CommandExchange& e) {
            e.request(CommandId::StartSnrTest);
        }, // its lines are echoed, never decoded
        [](CommandExchange& e) { e.request(CommandId::StopSnrTest); },
        [](CommandExchange& e) { e.request(CommandId::StopDownload); },
    };
    for (const SendOperation& send : quiet) {
        send(*exchange);
        timers.advance(10 * CommandExchange::kReplyWaitMs);
    }
    EXPECT_FALSE(view.tips.contains(kNoReply)) << view.tips.join(" | ").toStdString();
}

TEST_F(ExchangeFixture, aReplyInTimeEndsTheWaitAndALateOneStillCounts) {
    start();
    exchange->setReplyWait(CommandExchange::kReplyWaitMs);
    openQuietly();
    exchange->request(CommandId::ReadNetParams);
    port->pump();
    timers.advance(10 * CommandExchange::kReplyWaitMs);
    EXPECT_EQ(view.tips.last(), "Read parameters successfully");
    EXPECT_FALSE(view.tips.contains(kNoReply));

    // Silent past the wait, then answering: the answer is taken as it comes.
    exchange->request(CommandId::ReadCollectParams);
    timers.advance(CommandExchange::kReplyWaitMs);
    EXPECT_EQ(view.tips.last(), kNoReply);
    port->pump();
    EXPECT_EQ(view.tips.last(), "Read parameters successfully");
}

TEST_F(ExchangeFixture, aNewerCommandTakesTheWaitOver) {
    FaultPlan silent;
    silent.dropAll = true;
    start({}, silent);
    exchange->setReplyWait(CommandExchange::kReplyWaitMs);
    openQuietly();
    exchange->request(CommandId::ReadNetParams);
    timers.advance(CommandExchange::kReplyWaitMs - 100);
    exchange->request(CommandId::StopSnrTest); // awaits nothing: the read is no longer waited for
    timers.advance(10 * CommandExchange::kReplyWaitMs);
    EXPECT_FALSE(view.tips.contains(kNoReply));
}

TEST_F(ExchangeFixture, withoutAReplyWaitSilenceIsLeftToTheCaller) {
    FaultPlan silent;
    silent.dropAll = true;
    start({}, silent);
    openQuietly();
    exchange->request(CommandId::ReadNetParams);
    timers.advance(10 * CommandExchange::kReplyWaitMs);
    EXPECT_EQ(view.tips.last(), "Reading net parameters...");
}

} // namespace
} // namespace kestrava::test
