// The kestrava-sim command line: options reach the profile, timing and faults; bad ones are
// refused with a reason.
#include "emulator/SimOptions.h"

#include <gtest/gtest.h>

#include <functional>

namespace kestrava {
namespace {

using namespace std::chrono_literals;

TEST(SimOptions, optionsReachTheProfileTimingAndFaults) {
    struct Case {
        std::vector<std::string> args;
        std::function<void(const SimOptions&)> check;
    } cases[] = {
        {{},
         [](const SimOptions& o) {
             EXPECT_EQ(o.profile.receiverType, 'Q');
             EXPECT_EQ(o.profile.files.size(), 10u);
             EXPECT_FALSE(o.timing.pacing);
             EXPECT_EQ(o.timing.latency, 20ms);
         }},
        {{"--profile", "static", "--type=6"},
         [](const SimOptions& o) {
             EXPECT_EQ(o.profile.receiverType, '6');
             EXPECT_EQ(o.profile.hardwareCode, 88);
             EXPECT_TRUE(o.profile.recording);
         }},
        {{"--board", "other:7", "--hw-code", "88", "--fast-firmware", "--host-port", "2"},
         [](const SimOptions& o) {
             EXPECT_EQ(o.profile.boardCode(), 7);
             EXPECT_TRUE(o.profile.fastFirmware);
             EXPECT_EQ(o.profile.hostPort, 1);
         }},
        {{"--files", "0", "--file", "RAW00001.STH:12345", "--block-size", "1000"},
         [](const SimOptions& o) {
             ASSERT_EQ(o.profile.files.size(), 1u);
             EXPECT_EQ(o.profile.files[0].name(), "RAW00001");
             EXPECT_EQ(o.profile.files[0].extension(), "STH");
             EXPECT_EQ(o.profile.files[0].size(), 12345u);
             EXPECT_EQ(o.profile.downloadBlockSize, 1000u);
         }},
        {{"--pace", "--baud", "9600", "--latency", "5", "--log", "-", "--link", "/tmp/ttyR"},
         [](const SimOptions& o) {
             EXPECT_TRUE(o.timing.pacing);
             EXPECT_EQ(o.timing.baud, 9600u);
             EXPECT_EQ(o.timing.latency, 5ms);
             EXPECT_EQ(o.logPath, "-");
             EXPECT_EQ(o.linkPath, "/tmp/ttyR");
         }},
        {{"--drop", "2", "--split", "1:300", "--noise", "3:echo", "--delay", "4"},
         [](const SimOptions& o) {
             EXPECT_EQ(o.faults.dropNext, 2u);
             EXPECT_EQ(o.faults.splitNext, 1u);
             EXPECT_EQ(o.faults.splitGap, 300ms);
             EXPECT_EQ(o.faults.noiseNext, 3u);
             EXPECT_EQ(o.faults.noise, FaultPlan::Noise::Echo);
             EXPECT_EQ(o.faults.delayNext, 4u);
             EXPECT_EQ(o.faults.delay, 500ms);
         }},
        {{"--fw-refuse", "3:2:5", "--fw-wrong-address", "1", "--fw-fail", "2:9", "--dl-fail", "4:2",
          "--dl-dead", "6", "--board-silent", "--drop-all", "--bad-checksum", "1"},
         [](const SimOptions& o) {
             EXPECT_EQ(o.faults.firmwareRefusals, 3u);
             EXPECT_EQ(o.faults.firmwareRefusalStatus, 2);
             EXPECT_EQ(o.faults.firmwareRefusalBlock, 5);
             EXPECT_EQ(o.faults.firmwareWrongAddressBlock, 1);
             EXPECT_EQ(o.faults.firmwareFailBlock, 2);
             EXPECT_EQ(o.faults.firmwareFailStatus, 9);
             EXPECT_EQ(o.faults.downloadFailBlock, 4);
             EXPECT_EQ(o.faults.downloadFailStatus, 2);
             EXPECT_EQ(o.faults.downloadDeadBlock, 6);
             EXPECT_TRUE(o.faults.boardSilent);
             EXPECT_TRUE(o.faults.dropAll);
             EXPECT_EQ(o.faults.badChecksumNext, 1u);
         }},
        {{"--dl-twice", "3"},
         [](const SimOptions& o) {
             EXPECT_EQ(o.faults.downloadTwiceBlock, 3);
             EXPECT_EQ(o.faults.downloadTwiceGap, 0ms);
         }},
        {{"--dl-twice=0:250"},
         [](const SimOptions& o) {
             EXPECT_EQ(o.faults.downloadTwiceBlock, 0);
             EXPECT_EQ(o.faults.downloadTwiceGap, 250ms);
         }},
        {{"--fw-late", "750", "--echo"},
         [](const SimOptions& o) {
             EXPECT_EQ(o.faults.firmwareLateStart, 750ms);
             EXPECT_TRUE(o.faults.echo);
         }},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto options = SimOptions::parse(c.args, error);
        ASSERT_TRUE(options) << error;
        c.check(*options);
    }
}

TEST(SimOptions, theHelpListsTheLineFaults) {
    for (const char* option : {"--fw-late MS", "--echo"}) {
        EXPECT_NE(SimOptions::usage().find(option), std::string::npos) << option;
    }
}

TEST(SimOptions, badOptionsAreRefusedWithAReason) {
    const std::vector<std::vector<std::string>> cases = {
        {"--bogus"},
        {"--type"},
        {"--type", "QQ"},
        {"--hw-code", "97"},
        {"--profile", "x"},
        {"--block-size", "1"},
        {"--fw-refuse", "1:3"},
        {"--dl-fail", "0:3"},
        {"--dl-twice", "x"},
        {"--dl-twice", "1:2:3"},
        {"--board", "other:4"},
        {"--file", "TOOLONGNAME.STH:5"},
        {"--wifi-result", "4"},
        {"--serial", "123456789"},
        {"--pace=1"},
        {"--fw-late", "-1"},
        {"--fw-late"},
        {"--echo=1"},
    };
    for (const auto& args : cases) {
        std::string error;
        EXPECT_FALSE(SimOptions::parse(args, error)) << args.front();
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
} // namespace kestrava
