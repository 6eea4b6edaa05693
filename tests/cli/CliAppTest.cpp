#include "cli/CliApp.h"
#include "cli/CommandCatalogue.h"
#include "support/VerbRun.h"

#include <gmock/gmock.h>

#include <sstream>
#include <string>
#include <vector>

namespace kestrava {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

using test::VerbRun;

VerbRun run(const std::vector<std::string>& args) {
    return test::runCli(args);
}

// Number of space-separated hex bytes on the first line of the output.
std::size_t firstLineBytes(const std::string& out) {
    const std::string line = out.substr(0, out.find('\n'));
    return line.empty() ? 0 : (line.size() + 1) / 3;
}

TEST(CliFrame, readMainInfoPrintsTheFrameAndTheArmedReply) {
    const VerbRun r = run({"frame", "ReadMainInfo"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "24 24 56 43 00 00 15 0d 0a\n"
                     "arms: class 0x56 'V', sub 0x43 'C', kind 1 (KindMainInfo), mode 0 "
                     "(FRAMING_DOLLAR)\n");
    EXPECT_THAT(r.err, IsEmpty());
}

TEST(CliFrame, stopSnrTestArmsNothingAndIdleFraming) {
    const VerbRun r = run({"frame", "StopSnrTest"});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.out, StartsWith("24 24 47 51 01 00 00 17 0d 0a\n"));
    EXPECT_THAT(r.out, HasSubstr("kind 0 (KindNone), mode 4 (FRAMING_IDLE)"));
}

struct FrameCase {
    std::vector<std::string> args;
    std::size_t bytesWritten;
};

class CliFrameLength : public ::testing::TestWithParam<FrameCase> {};

TEST_P(CliFrameLength, writesAsManyBytesAsTheCommandTakes) {
    std::vector<std::string> args{"frame"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const VerbRun r = run(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(firstLineBytes(r.out), GetParam().bytesWritten);
}

INSTANTIATE_TEST_SUITE_P(
    EveryShape, CliFrameLength,
    ::testing::Values(FrameCase{{"SetNetParams", "user=abc", "password=def"}, 169},
                      FrameCase{{"SetNetParams", "user=abcdefghij", "password=abcdefghij1"}, 199},
                      FrameCase{{"SetApnParams", "user=u", "password=p"}, 109},
                      FrameCase{{"SetWifiPassword", "password=abcdefgh"}, 70},
                      FrameCase{{"SetRemotePassword", "password=abc123"}, 41},
                      FrameCase{{"DeleteFiles", "names=A.DAT,B.DAT,C.DAT"}, 33},
                      FrameCase{{"FirmwareBlock", "layout=large", "data=01020304", "position=0"},
                                521},
                      FrameCase{{"FirmwareBlock", "layout=88", "data=01", "position=4096"}, 137},
                      FrameCase{{"FirmwareBlock", "layout=98", "data=01", "position=4096"}, 267},
                      FrameCase{{"WriteRadioChannels", "channels=463.125:463.125"}, 100},
                      FrameCase{{"SetAirBaud", "baud=9600"}, 12},
                      FrameCase{{"SetNmeaOutput", "board=4"}, 83},
                      FrameCase{{"SetNmeaOutput", "board=4", "clear=1"}, 93},
                      FrameCase{{"ReadBoardVersion"}, 15}));

struct BadCase {
    std::vector<std::string> args;
    int status;
    std::string message;
};

class CliRefuses : public ::testing::TestWithParam<BadCase> {};

TEST_P(CliRefuses, withAClearMessageAndNothingOnStandardOutput) {
    const VerbRun r = run(GetParam().args);
    EXPECT_EQ(r.status, GetParam().status);
    EXPECT_THAT(r.err, HasSubstr(GetParam().message));
    EXPECT_THAT(r.out, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, CliRefuses,
    ::testing::Values(
        BadCase{{"frame", "SetNetParams", "user=abcdefghijklmnopqrstuvwxyz",
                 "password=abcdefghijklmnopqrstuvwxyz"},
                2,
                "longer than 59 Base64 characters"},
        BadCase{{"frame", "NoSuchCommand"}, 1, "unknown command \"NoSuchCommand\""},
        BadCase{{"frame"}, 1, "which command?"},
        BadCase{{"frame", "ReadMainInfo", "x=1"}, 1, "unknown argument \"x\""},
        BadCase{{"frame", "SetCollectParams", "interval=0"}, 1, "must be between 1 and 255"},
        BadCase{{"frame", "SetCollectParams", "interval=five"}, 1, "not an integer"},
        BadCase{{"frame", "SetCollectParams", "interval"}, 1, "not of the form name=value"},
        BadCase{{"frame", "SetCollectParams", "cutoff=1", "cutoff=2"}, 1, "given twice"},
        BadCase{{"frame", "SetNetParams", "ip=300.1.1.1"}, 1, "dotted IPv4"},
        BadCase{{"frame", "SetNetParams", "ip=1.2.3"}, 1, "dotted IPv4"},
        BadCase{{"frame", "WriteRadioChannels", "channels=abc"}, 1, "TX:RX"},
        BadCase{{"frame", "FirmwareBlock", "layout=88", "data=0g"}, 1, "not a hex digit"},
        BadCase{{"decode", "--after", "ReadMainInfo", "2"}, 1, "whole bytes"},
        BadCase{{"decode", "--after", "ReadMainInfo", "zz"}, 1, "not a hex digit"},
        BadCase{{"decode", "--after", "ReadMainInfo"}, 1, "no reply bytes"},
        BadCase{{"decode", "ReadMainInfo", "24"}, 1, "usage"},
        BadCase{{"unknown-verb"}, 1, "unknown verb"}));

TEST(CliDecode, printsTheDeliveredReplyWithItsKindAndData) {
    const VerbRun r =
        run({"decode", "--after", "ReadCollectParams", "24 24 46 4a 02 00 05 0a 01 0d 0a"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("reply kind 12 (KindCollectParams): 5, 10\n"));
}

TEST(CliDecode, saysNoReplyForABadChecksum) {
    const VerbRun r = run({"decode", "--after", "ReadCollectParams", "2424464a0200050a020d0a"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("no reply\n"));
}

TEST(CliDecode, neverSplitsWhileNothingIsAwaited) {
    // After StopSnrTest nothing is awaited, so even a well-formed frame is only displayed.
    const VerbRun r = run({"decode", "--after", "StopSnrTest", "24 24 47 51 01 00 00 17 0d 0a"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("no reply\n"));
}

TEST(CliDecode, judgesAFirmwareAnswerAgainstTheBlockItFramed) {
    // A block of 4 bytes to address 0x1000 is acknowledged by echoing 0x1000.
    const VerbRun r = run({"decode", "--after", "FirmwareBlock", "layout=98", "data=01020304",
                           "position=0x1000", "24 24 56 58 01 00 00 00 10 00"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("reply kind 31 (KindFirmwareBlock): 0\n"));
}

TEST(CliCatalogue, everyCommandFramesWithItsDefaultsAndSurvivesAnyReply) {
    const std::vector<std::string> noise{"2424", "00ff00ff", "96058073000061", "02000700"};
    for (const CatalogueEntry& entry : CommandCatalogue::entries()) {
        const VerbRun framed = run({"frame", std::string(entry.name)});
        EXPECT_EQ(framed.status, 0) << entry.name << ": " << framed.err;
        EXPECT_GT(firstLineBytes(framed.out), 0u) << entry.name;
        for (const std::string& hex : noise) {
            const VerbRun decoded = run({"decode", "--after", std::string(entry.name), hex});
            EXPECT_EQ(decoded.status, 0) << entry.name << ": " << decoded.err;
        }
    }
}

TEST(CliHelp, listsEveryCommand) {
    const VerbRun r = run({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const CatalogueEntry& entry : CommandCatalogue::entries()) {
        EXPECT_THAT(r.out, HasSubstr("  " + std::string(entry.name))) << entry.name;
    }
}

} // namespace
} // namespace kestrava
