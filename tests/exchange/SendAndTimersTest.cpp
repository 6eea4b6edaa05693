// Send operations, the reply timers, the tip line and the short reply chains.
#include "exchange/ExchangeFixture.h"
#include "exchange/FirmwareTransfer.h"
#include "settings/LanguageManager.h"
#include "settings/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace kestrava::test {
namespace {

// ---- Port closed ----------------------------------------------------------------------------

using SendOperation = std::function<void(CommandExchange&)>;

TEST_F(ExchangeFixture, everySendOperationWithThePortClosedWritesNothingAndKeepsTheTip) {
    start();
    const std::vector<SendOperation> operations = {
        [](CommandExchange& e) { e.request(CommandId::ReadMainInfo); },
        [](CommandExchange& e) { e.request(CommandId::ConnectInternalRadio); },
        [](CommandExchange& e) { e.request(CommandId::ReadAirBaud); },
        [](CommandExchange& e) { e.request(CommandId::SetAirBaud, requestargs::SetAirBaud{9600}); },
        [](CommandExchange& e) { e.request(CommandId::ReadRadioChannels); },
        [](CommandExchange& e) {
            e.request(CommandId::WriteRadioChannels,
                      requestargs::WriteRadioChannels{ChannelTable{}});
        },
        [](CommandExchange& e) { e.request(CommandId::ReadNetModuleBand); },
        [](CommandExchange& e) {
            e.request(CommandId::SetNetModuleBand, requestargs::SetNetModuleBand{1, 2});
        },
        [](CommandExchange& e) { e.request(CommandId::StartSnrTest); },
        [](CommandExchange& e) { e.request(CommandId::StopSnrTest); },
        [](CommandExchange& e) {
            e.request(CommandId::SetNmeaOutput, requestargs::SetNmeaOutput{NmeaOutputChoice{}});
        },
        [](CommandExchange& e) {
            e.request(CommandId::VoiceSwitch, requestargs::VoiceSwitch{VoiceSwitchCode::VoiceOn});
        },
        [](CommandExchange& e) {
            e.request(CommandId::ReadVoiceBlock, requestargs::ReadVoiceBlock{true, 3});
        },
        [](CommandExchange& e) {
            e.request(CommandId::SetVoiceType, requestargs::SetVoiceType{1});
        },
        [](CommandExchange& e) {
            e.request(CommandId::SetRinexFlag, requestargs::SetRinexFlag{true});
        },
        [](CommandExchange& e) { e.request(CommandId::SetVolume, requestargs::SetVolume{5}); },
        [](CommandExchange& e) { e.request(CommandId::ReadStaticVoice); },
        [](CommandExchange& e) {
            e.request(CommandId::SetStaticVoice, requestargs::SetStaticVoice{true});
        },
        [](CommandExchange& e) { e.request(CommandId::ReadCollectParams); },
        [](CommandExchange& e) {
            e.request(CommandId::SetCollectParams, requestargs::SetCollectParams{5, 10});
        },
        [](CommandExchange& e) { e.request(CommandId::ReadFileNaming); },
        [](CommandExchange& e) {
            e.request(CommandId::SetFileNaming,
                      requestargs::SetFileNaming{QStringLiteral("A"), QStringLiteral("7")});
        },
        [](CommandExchange& e) { e.request(CommandId::ReadStoreLocation); },
        [](CommandExchange& e) {
            e.request(CommandId::SetStoreLocation, requestargs::SetStoreLocation{true});
        },
        [](CommandExchange& e) { e.request(CommandId::ReadFileList); },
        [](CommandExchange& e) {
            e.request(CommandId::DeleteFiles,
                      requestargs::DeleteFiles{{QStringLiteral("KV000001.STH")}});
        },
        [](CommandExchange& e) { e.request(CommandId::ReadRecordingState); },
        [](CommandExchange& e) { e.request(CommandId::FormatFiles); },
        [](CommandExchange& e) {
            e.request(CommandId::StartDownload,
                      requestargs::StartDownload{QStringLiteral("KV000001"), "/tmp/x"});
        },
        [](CommandExchange& e) { e.request(CommandId::NextDownloadBlock); },
        [](CommandExchange& e) { e.request(CommandId::StopDownload); },
        [](CommandExchange& e) { e.request(CommandId::ReadNetParams); },
        [](CommandExchange& e) {
            e.request(CommandId::SetNetParams, requestargs::SetNetParams{NetParams{}});
        },
        [](CommandExchange& e) { e.request(CommandId::ReadApnParams); },
        [](CommandExchange& e) {
            e.request(CommandId::SetApnParams,
                      requestargs::SetApnParams{QStringLiteral("u"), QStringLiteral("p")});
        },
        [](CommandExchange& e) {
            e.request(CommandId::SetRemotePassword,
                      requestargs::SetRemotePassword{QStringLiteral("abc")});
        },
        [](CommandExchange& e) {
            e.request(CommandId::SetWifiPassword,
                      requestargs::SetWifiPassword{std::nullopt, QStringLiteral("abc")});
        },
        [](CommandExchange& e) {
            e.request(CommandId::FirmwareStart, requestargs::FirmwareStart{1, false});
        },
    };
    for (std::size_t i = 0; i < operations.size(); ++i) {
        operations[i](*exchange);
        EXPECT_TRUE(port->writes().empty()) << "operation " << i;
        EXPECT_TRUE(view.tips.isEmpty()) << "operation " << i;
        EXPECT_EQ(exchange->expectedReply().kind, KindNone) << "operation " << i;
    }
    for (int id = TIMER_FIRMWARE_START; id <= TIMER_FIRMWARE_BLOCK; ++id) {
        EXPECT_EQ(timers.starts(id), 0);
    }
    EXPECT_EQ(exchange->tipKey(), QStringLiteral("Please open the port first"));
}

// ---- Timer 2 --------------------------------------------------------------------------------

struct Timer2Case {
    const char* name;
    SendOperation send;
    int timeoutMs;
    const char* tip;
};

class RadioTimer : public ExchangeFixture, public ::testing::WithParamInterface<Timer2Case> {};

TEST_P(RadioTimer, reportsTheSilenceThatIsStillAwaited) {
    start();
    openQuietly();
    faults().dropNext = 1;
    GetParam().send(*exchange);
    port->pump();
    timers.advance(GetParam().timeoutMs - 1);
    EXPECT_NE(view.tip, QString::fromLatin1(GetParam().tip));
    timers.advance(1);
    EXPECT_EQ(view.tip, QString::fromLatin1(GetParam().tip));
    EXPECT_FALSE(timers.isRunning(TIMER_RADIO));
}

const char* const kRadioSilence =
    "No reply from receiver,please check whether connect to internal radio successfully";

INSTANTIATE_TEST_SUITE_P(
    Cases, RadioTimer,
    ::testing::Values(
        Timer2Case{"airBaudRead", [](CommandExchange& e) { e.request(CommandId::ReadAirBaud); },
                   3000, kRadioSilence},
        Timer2Case{"airBaudSet",
                   [](CommandExchange& e) {
                       e.request(CommandId::SetAirBaud, requestargs::SetAirBaud{19200});
                   },
                   3000, kRadioSilence},
        Timer2Case{"channelsRead",
                   [](CommandExchange& e) { e.request(CommandId::ReadRadioChannels); }, 3000,
                   kRadioSilence},
        Timer2Case{"channelsWritten",
                   [](CommandExchange& e) {
                       e.request(CommandId::WriteRadioChannels,
                                 requestargs::WriteRadioChannels{ChannelTable{}});
                   },
                   3000, kRadioSilence},
        // A Static page command overtook the radio read: its timer no longer speaks of the radio.
        Timer2Case{"radioReadOvertaken",
                   [](CommandExchange& e) {
                       e.request(CommandId::ReadRadioChannels);
                       e.request(CommandId::ReadCollectParams);
                   },
                   3000, "No reply from receiver"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(ExchangeFixture, storeLocationTimeoutStillReadsTheRinexFlag) {
    ReceiverProfile profile;
    start(profile);
    openQuietly();
    faults().dropNext = 1;
    std::optional<RequestOutcome> ended;
    exchange->request(RequestChain::ReadStoreLocation,
                      [&ended](const RequestOutcome& outcome) { ended = outcome; });
    port->pump();
    EXPECT_EQ(view.tip, QStringLiteral("Reading store location..."));
    EXPECT_EQ(port->countWrites(kReadVoiceBlock), 0);

    timers.advance(2000);
    port->pump();
    EXPECT_EQ(port->countWrites(kReadVoiceBlock), 1);
    ASSERT_TRUE(ended.has_value());
    EXPECT_EQ(ended->kind, KindRinexFlag);
    EXPECT_EQ(view.tip, QStringLiteral("Read Whether to record Rinex Successfully"));
    EXPECT_FALSE(timers.isRunning(TIMER_RADIO));
    ASSERT_EQ(ended->steps.size(), 1u);
    EXPECT_EQ(ended->steps[0].result, RequestOutcome::Result::NoReply);
}

TEST_F(ExchangeFixture, radioRepliesStopTheirTimer) {
    start();
    openQuietly();
    exchange->request(CommandId::ConnectInternalRadio);
    port->pump();
    EXPECT_EQ(view.messages,
              QStringList{QStringLiteral("Connect to internal radio module successfully")});
    exchange->request(CommandId::ReadRadioChannels);
    port->pump();
    EXPECT_EQ(view.tip, QStringLiteral("Read parameters successfully"));
    timers.advance(10000);
    EXPECT_EQ(view.tip, QStringLiteral("Read parameters successfully"));
}

// ---- Chains ---------------------------------------------------------------------------------

struct VoiceSetCase {
    const char* name;
    int which;
    std::size_t payloadIndex; // byte of the 32-byte block that the set changes
    Byte value;
    const char* tip;
};

class VoiceBlockSet : public ExchangeFixture, public ::testing::WithParamInterface<VoiceSetCase> {};

TEST_P(VoiceBlockSet, readsTheBlockThenSetsOnlyItsByte) {
    const VoiceSetCase& c = GetParam();
    start();
    openQuietly();
    settings.rinex = c.value != 0 ? 1 : 0; // the RINEX flag goes out as the Set stored it
    const auto before = link->emulator().settings().voiceBlock();

    switch (c.which) {
    case requestargs::ReadVoiceBlock::kVoiceType:
        exchange->request(RequestChain::VoiceType, requestargs::SetVoiceType{c.value});
        break;
    case requestargs::ReadVoiceBlock::kVolume:
        exchange->request(RequestChain::Volume, requestargs::SetVolume{c.value});
        break;
    default:
        exchange->request(CommandId::ReadVoiceBlock, requestargs::ReadVoiceBlock{true, c.which});
        break;
    }
    port->pump();

    EXPECT_EQ(exchange->pendingSetOperation(), c.which);
    EXPECT_EQ(view.tip, QString::fromLatin1(c.tip));
    auto expected = before;
    expected[c.payloadIndex] = c.value;
    EXPECT_EQ(link->emulator().settings().voiceBlock(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VoiceBlockSet,
    ::testing::Values(VoiceSetCase{"voiceType", 1, 0, 3, "Set Voice Type Successfully"},
                      VoiceSetCase{"rinexFlag", 2, 1, 1,
                                   "Set Whether to record Rinex Successfully"},
                      VoiceSetCase{"volume", 3, 31, 7, "Set volume successfully"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(ExchangeFixture, voiceReadKeepsTypeAndVolumeAsPendingAndStored) {
    start();
    openQuietly();
    std::optional<BytePair> shown;
    exchange->request(CommandId::ReadVoiceBlock, requestargs::ReadVoiceBlock{false, 1},
                      [&shown](const RequestOutcome& outcome) {
                          shown = outcome.carried<BytePair>(KindVoiceParams);
                      });
    port->pump();
    const auto block = link->emulator().settings().voiceBlock();
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->first, block[0]);
    EXPECT_EQ(exchange->pendingVoiceType(), block[0]);
    EXPECT_EQ(settings.voice, block[0]);
    EXPECT_EQ(settings.volume, exchange->pendingVolume());
    EXPECT_EQ(view.tip, QStringLiteral("Read Voice Parameter Successfully"));
}

TEST_F(ExchangeFixture, storeLocationReadAndSetEndInTheRinexFlag) {
    start();
    openQuietly();
    exchange->request(CommandId::SetStoreLocation, requestargs::SetStoreLocation{true});
    port->pump();
    EXPECT_EQ(link->emulator().settings().storeLocation(), 1);
    EXPECT_EQ(view.tip, QStringLiteral("Set Whether to record Rinex Successfully"));

    std::optional<RequestOutcome> ended;
    exchange->request(RequestChain::ReadStoreLocation,
                      [&ended](const RequestOutcome& outcome) { ended = outcome; });
    port->pump();
    ASSERT_TRUE(ended.has_value());
    ASSERT_EQ(ended->steps.size(), 1u);
    EXPECT_EQ(ended->steps[0].kind, KindStoreLocation);
    EXPECT_EQ(ended->steps[0].value, 1); // the card
    EXPECT_EQ(settings.staticLocation, 1);
    EXPECT_EQ(view.tip, QStringLiteral("Read Whether to record Rinex Successfully"));
    EXPECT_FALSE(timers.isRunning(TIMER_RADIO));
}

TEST_F(ExchangeFixture, fileNamingSetIsReadBackAndStored) {
    start();
    openQuietly();
    std::optional<TextPair> shown;
    exchange->request(RequestChain::FileNaming,
                      requestargs::SetFileNaming{QStringLiteral("B"), QStringLiteral("7")},
                      [&shown](const RequestOutcome& outcome) {
                          if (const auto* naming = outcome.record<TextPair>(KindFileNaming)) {
                              shown = *naming;
                          }
                      });
    port->pump();
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->first, "B");
    EXPECT_EQ(shown->second, "007");
    EXPECT_EQ(settings.filePrefix, "B");
    EXPECT_EQ(settings.fileSn, "007");
    // The read that confirms the Set does not pass itself off as a read the user asked for.
    EXPECT_EQ(view.tip, QStringLiteral("Set static file info successfully"));
    exchange->request(CommandId::ReadFileNaming);
    port->pump();
    EXPECT_EQ(view.tip, QStringLiteral("Read parameters successfully"));
}

// ---- Input ----------------------------------------------------------------------------------

TEST_F(ExchangeFixture, bytesReachTheDisplayWhateverIsAwaited) {
    start();
    const Byte reply[] = {0x24, 0x24, 0x56, 0x43, 0x00, 0x00, 0x15, 0x0D, 0x0A};
    exchange->onSerialData(reply, sizeof reply); // idle: not split, still shown
    EXPECT_EQ(view.echoed, sizeof reply);
    EXPECT_FALSE(view.panel.has_value());
}

// ---- Tip line and language ------------------------------------------------------------------

std::string utf16Le(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

TEST_F(ExchangeFixture, progressTipIsShownAgainInTheNewLanguage) {
    TempFolder folder;
    std::filesystem::create_directories(folder / "lang");
    std::ofstream(folder / "lang" / "pirate.lang", std::ios::binary)
        << utf16Le(u"Reading main infomation...\r\nReadin' th' main log...\r\n");
    LanguageManager language(folder.path(), folder / "lang");
    language.initialise();
    FaultPlan faults;
    faults.dropAll = true;
    start({}, faults);
    exchange->setLanguageManager(&language);
    openAndPump();
    EXPECT_EQ(view.tip, QStringLiteral("Reading main infomation..."));

    language.chooseLanguage(u"pirate");
    exchange->retranslateTip();
    EXPECT_EQ(view.tip, QStringLiteral("Readin' th' main log..."));
    EXPECT_EQ(exchange->tipKey(), QStringLiteral("Reading main infomation..."));
}

// ---- Port-closed notice ---------------------------------------------------------------------

class RecordingTransfer : public FirmwareTransfer {
public:
    void onStartReply(int) override {}
    void onBlockReply(int) override {}
    void onTimer(int) override {}
    void onPortReopened(bool portOpen) override { reopened.push_back(portOpen); }
    std::vector<bool> reopened;
};

TEST_F(ExchangeFixture, reopenRequestOpensAtTheNewRateAndContinuesTheTransfer) {
    start();
    RecordingTransfer transfer;
    exchange->setFirmwareTransfer(&transfer);
    openAndPump();
    const int opens = port->opens();

    exchange->requestReopen(115200, true);
    port->pump();
    EXPECT_EQ(port->opens(), opens + 1);
    EXPECT_EQ(port->baudRate(), 115200);
    EXPECT_EQ(transfer.reopened, std::vector<bool>{true});
    EXPECT_FALSE(exchange->reopenRequest().reopen);

    // A port the user closes produces the same notice, which then changes nothing.
    exchange->closePort();
    port->pump();
    EXPECT_FALSE(port->readerAlive());
    EXPECT_EQ(port->opens(), opens + 1);
    EXPECT_EQ(transfer.reopened.size(), 1u);
}

} // namespace
} // namespace kestrava::test
