// Chains of requests: each ends once, when its last command has been answered (or its silence,
// a newer command or a lost port cut it short), with the outcome of the command that ended it.
#include "exchange/ExchangeFixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace kestrava::test {
namespace {

using Result = RequestOutcome::Result;

class Chains : public ExchangeFixture {
protected:
    void ask(RequestChain chain, const RequestArguments& arguments = requestargs::NoArguments{}) {
        exchange->request(chain, arguments,
                          [this](const RequestOutcome& o) { outcomes.push_back(o); });
    }

    // Delivers every answer, and lets every reply timer run out on the way.
    void runOut() {
        for (int step = 0; step < 10; ++step) {
            port->pump();
            timers.advance(2000);
        }
        port->pump();
    }

    std::vector<RequestOutcome> outcomes;
};

struct ChainCase {
    const char* what;
    RequestChain chain;
    RequestArguments arguments;
    std::function<void(ReceiverProfile&)> receiver; // the receiver played
    std::function<void(FaultPlan&)> faults;         // its faults, once it is open
    std::function<void()> after;                    // once the chain is asked
    Result result;
    CommandId endedBy;
    std::int32_t kind;
};

TEST_F(Chains, eachChainEndsOnceWithTheOutcomeThatEndedIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString copy = dir.filePath(QStringLiteral("BIG00001.STH"));
    const auto bigFile = [](ReceiverProfile& p) {
        p.files = {StaticFile("BIG00001", "STH", 20000, 0x4904, 0x3BB3)};
    };
    const requestargs::StartDownload download{QStringLiteral("BIG00001"), copy, 20000};
    const auto any = [](ReceiverProfile&) {};
    const auto none = [](FaultPlan&) {};
    const auto settle = [this] { runOut(); };
    const ChainCase cases[] = {
        {"the motherboard answers", RequestChain::MainInformation, requestargs::NoArguments{}, any,
         none, settle, Result::Replied, CommandId::ReadBoardSerial, KindBoardSerialPacket},
        {"no motherboard to ask", RequestChain::MainInformation, requestargs::NoArguments{},
         [](ReceiverProfile& p) { p.board = BoardKind::Other; }, none, settle, Result::Replied,
         CommandId::ReadMainInfo, KindMainInfo},
        {"the motherboard's retries run out", RequestChain::MainInformation,
         requestargs::NoArguments{}, any, [](FaultPlan& f) { f.boardSilent = true; }, settle,
         Result::NoReply, CommandId::ReadBoardSerial, KindNone},
        {"the main information is silent", RequestChain::MainInformation,
         requestargs::NoArguments{}, any, [](FaultPlan& f) { f.dropAll = true; }, settle,
         Result::NoReply, CommandId::ReadMainInfo, KindNone},
        {"every page of the list", RequestChain::FileList, requestargs::NoArguments{},
         [](ReceiverProfile& p) { p.files = ReceiverProfile::generatedFiles(20); }, none, settle,
         Result::Replied, CommandId::ReadFileList, KindFileList},
        {"the format", RequestChain::Format, requestargs::NoArguments{}, any, none, settle,
         Result::Replied, CommandId::FormatFiles, KindFilesFormatted},
        {"no format while recording", RequestChain::Format, requestargs::NoArguments{},
         [](ReceiverProfile& p) { p.recording = true; }, none, settle, Result::Replied,
         CommandId::ReadRecordingState, KindRecordingState},
        {"the whole download", RequestChain::Download, download, bigFile, none, settle,
         Result::Replied, CommandId::NextDownloadBlock, KindDownloadDone},
        {"a download the receiver fails", RequestChain::Download, download, bigFile,
         [](FaultPlan& f) { f.downloadFailBlock = 2; }, settle, Result::Replied,
         CommandId::NextDownloadBlock, KindDownloadFailed},
        {"a download the user stops", RequestChain::Download, download, bigFile, none,
         [this] { exchange->request(CommandId::StopDownload); }, Result::Superseded,
         CommandId::StartDownload, KindNone},
        {"the voice type through the block", RequestChain::VoiceType, requestargs::SetVoiceType{2},
         any, none, settle, Result::Replied, CommandId::SetVoiceType, KindVoiceTypeSet},
        {"the volume through the block", RequestChain::Volume, requestargs::SetVolume{6}, any, none,
         settle, Result::Replied, CommandId::SetVolume, KindVolumeSet},
        {"the file naming read back", RequestChain::FileNaming,
         requestargs::SetFileNaming{QStringLiteral("AB"), QStringLiteral("1234")}, any, none,
         settle, Result::Replied, CommandId::ReadFileNaming, KindFileNaming},
        {"the location, then the RINEX flag", RequestChain::ReadStoreLocation,
         requestargs::NoArguments{}, any, none, settle, Result::Replied, CommandId::ReadVoiceBlock,
         KindRinexFlag},
        {"a silent location, then the RINEX flag", RequestChain::ReadStoreLocation,
         requestargs::NoArguments{}, any, [](FaultPlan& f) { f.dropNext = 1; }, settle,
         Result::Replied, CommandId::ReadVoiceBlock, KindRinexFlag},
        {"the location set, then the RINEX flag set", RequestChain::SetStoreLocation,
         requestargs::SetStoreLocation{true}, any, none, settle, Result::Replied,
         CommandId::SetRinexFlag, KindRinexFlagSet},
        {"a newer command", RequestChain::FileList, requestargs::NoArguments{}, any, none,
         [this] { exchange->request(CommandId::ReadCollectParams); }, Result::Superseded,
         CommandId::ReadFileList, KindNone},
        {"a newer command halfway", RequestChain::VoiceType, requestargs::SetVoiceType{2}, any,
         none,
         [this] {
             port->pump(1); // the block read is answered: the set is on its way
             exchange->request(CommandId::ReadCollectParams);
         },
         Result::Superseded, CommandId::SetVoiceType, KindNone},
        {"the port closed halfway", RequestChain::SetStoreLocation,
         requestargs::SetStoreLocation{false}, any, none,
         [this] {
             port->pump(2); // the location is set and the block read: the flag is on its way
             exchange->closePort();
         },
         Result::PortLost, CommandId::SetRinexFlag, KindNone},
        {"a chain without its arguments", RequestChain::VoiceType, requestargs::NoArguments{}, any,
         none, nullptr, Result::NotSent, CommandId::ReadVoiceBlock, KindNone},
        {"a chain given another's arguments", RequestChain::Download, requestargs::SetVolume{3},
         any, none, nullptr, Result::NotSent, CommandId::StartDownload, KindNone},
        {"a chain given arguments it takes none of", RequestChain::FileList,
         requestargs::SetVolume{3}, any, none, nullptr, Result::NotSent, CommandId::ReadFileList,
         KindNone},
    };
    for (const ChainCase& c : cases) {
        SCOPED_TRACE(c.what);
        outcomes.clear();
        exchange.reset(); // a fresh receiver each time: the exchange goes before its port
        port.reset();
        ReceiverProfile profile;
        c.receiver(profile);
        start(profile);
        if (c.chain == RequestChain::MainInformation) {
            openQuietly();
        } else {
            openAndPump();
        }
        c.faults(faults());
        ask(c.chain, c.arguments);
        if (c.after) {
            c.after();
        }
        ASSERT_EQ(outcomes.size(), 1u);
        EXPECT_EQ(outcomes.front().command, c.endedBy);
        EXPECT_EQ(outcomes.front().result, c.result);
        EXPECT_EQ(outcomes.front().kind, c.kind);
        runOut(); // nothing that follows reports it again
        EXPECT_EQ(outcomes.size(), 1u);
    }
}

// What came of the commands a chain went on from: the store location the RINEX flag followed,
// the set the file naming read confirms.
TEST_F(Chains, aChainsOutcomeListsTheCommandsBeforeTheOneThatEndedIt) {
    struct Step {
        CommandId command;
        Result result;
        std::int32_t kind;
        std::int32_t value;
    };
    struct StepCase {
        const char* what;
        RequestChain chain;
        RequestArguments arguments;
        int dropNext;
        std::vector<Step> steps;
    };
    const StepCase cases[] = {
        {"the location on the card",
         RequestChain::ReadStoreLocation,
         requestargs::NoArguments{},
         0,
         {{CommandId::ReadStoreLocation, Result::Replied, KindStoreLocation, 1}}},
        {"a silent location",
         RequestChain::ReadStoreLocation,
         requestargs::NoArguments{},
         1,
         {{CommandId::ReadStoreLocation, Result::NoReply, KindNone, -1}}},
        {"the naming set",
         RequestChain::FileNaming,
         requestargs::SetFileNaming{QStringLiteral("AB"), QStringLiteral("1234")},
         0,
         {{CommandId::SetFileNaming, Result::Replied, KindFileNamingSet, 0}}},
        {"one command only",
         RequestChain::Format,
         requestargs::NoArguments{},
         0,
         {{CommandId::ReadRecordingState, Result::Replied, KindRecordingState, 0}}},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.what);
        outcomes.clear();
        exchange.reset();
        port.reset();
        start();
        openAndPump();
        faults().dropNext = c.dropNext;
        ask(c.chain, c.arguments);
        runOut();
        ASSERT_EQ(outcomes.size(), 1u);
        const std::vector<RequestOutcome>& steps = outcomes.front().steps;
        ASSERT_EQ(steps.size(), c.steps.size());
        for (std::size_t i = 0; i < steps.size(); ++i) {
            EXPECT_EQ(steps[i].command, c.steps[i].command);
            EXPECT_EQ(steps[i].result, c.steps[i].result);
            EXPECT_EQ(steps[i].kind, c.steps[i].kind);
            EXPECT_EQ(steps[i].value, c.steps[i].value);
            EXPECT_FALSE(steps[i].reply.has_value());
        }
    }
}

TEST_F(Chains, aChainWithThePortClosedSendsNothing) {
    start();
    ask(RequestChain::FileList);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes.front().result, Result::NotSent);
    EXPECT_TRUE(port->writes().empty());
}

// The chain sends what the commands it is made of send: the list asked for from its first page.
TEST_F(Chains, theFileListStartsAtTheFirstPageEveryTime) {
    ReceiverProfile profile;
    profile.files = ReceiverProfile::generatedFiles(12);
    start(profile);
    openAndPump();
    ask(RequestChain::FileList);
    port->pump();
    ask(RequestChain::FileList);
    port->pump();
    EXPECT_EQ(port->countWrites(kReadFileListHead), 4); // two pages, twice
    EXPECT_EQ(view.fileRows.size(), 24);
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes.back().result, Result::Replied);
}

} // namespace
} // namespace kestrava::test
