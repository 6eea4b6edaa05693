// kestrava-cli's radio, band, voice and NMEA settings and its voice and snr verbs, against the
// receiver emulator served on a pseudo-terminal as kestrava-sim serves it.
#include "protocol/NmeaOutputChoice.h"
#include "support/ServedEmulator.h"
#include "support/VerbRun.h"

#include <gmock/gmock.h>

namespace kestrava {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

using test::ServedEmulator;
using test::VerbRun;

class CliOnEmulator : public ::testing::Test {
protected:
    VerbRun run(const std::vector<std::string>& args) {
        return test::runVerb(sim.devicePath(), args);
    }

    ServedEmulator sim;
};

TEST_F(CliOnEmulator, getHZParamsConnectsTheRadioAndPrintsTheTableAndAirBaud) {
    const VerbRun got = run({"get", "HZParams"});
    ASSERT_EQ(got.status, 0) << got.err;
    EXPECT_THAT(got.out, HasSubstr("[HZParams]\n"));
    EXPECT_THAT(got.out, ::testing::ContainsRegex("HZSend0=[0-9]+\\.[0-9][0-9][0-9]\n"));
    EXPECT_THAT(got.out, ::testing::ContainsRegex("HZReceive15=[0-9]+\\.[0-9][0-9][0-9]\n"));
    EXPECT_THAT(got.out, HasSubstr("AirBaud=19200\n"));
    EXPECT_THAT(got.out, Not(HasSubstr("NMEA")));
    sim.inspect([](Emulator& emulator) { EXPECT_TRUE(emulator.radioConnected()); });
}

TEST_F(CliOnEmulator, setOneChannelKeepsTheOthersAndRefusesAnyOtherSeparator) {
    std::uint16_t before = 0;
    sim.inspect([&](Emulator& emulator) { before = emulator.radio().receive()[7]; });
    const VerbRun set = run({"set", "HZParams.HZSend3=463.125", "HZParams.AirBaud=9600"});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_THAT(set.out, HasSubstr("Set radio frequency successfully"));
    sim.inspect([&](Emulator& emulator) {
        EXPECT_EQ(emulator.radio().transmit()[3], 18525); // 463.125 MHz in 25 kHz steps
        EXPECT_EQ(emulator.radio().receive()[7], before);
        EXPECT_EQ(emulator.radio().airRate(), RadioModule::kRate9600);
    });

    const VerbRun refused = run({"set", "HZParams.HZSend3=463x125"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_THAT(refused.err,
                HasSubstr("Please make sure the frequency value is with the format xxx.xxx"));
    sim.inspect([](Emulator& emulator) { EXPECT_EQ(emulator.radio().transmit()[3], 18525); });
}

TEST_F(CliOnEmulator, bandIndexesAreCheckedAgainstTheModulesLists) {
    const VerbRun set = run({"set", "OtherParams.Band2G=2", "OtherParams.Band3G=5"});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_THAT(set.out, HasSubstr("Set frequency band successfully"));
    sim.inspect([](Emulator& emulator) {
        EXPECT_EQ(emulator.settings().bands()[0], 2);
        EXPECT_EQ(emulator.settings().bands()[1], 5);
    });
    const VerbRun refused = run({"set", "OtherParams.Band2G=4"}); // UC864 has four 2G items
    EXPECT_EQ(refused.status, 2);
    EXPECT_THAT(refused.err, HasSubstr("Please choose baudrate to set"));
}

TEST_F(CliOnEmulator, voiceTypeAndVolumeAreSetAndReadBack) {
    const VerbRun set = run({"set", "OtherParams.Voice=3", "OtherParams.Volume=4"});
    ASSERT_EQ(set.status, 0) << set.err;
    const VerbRun got = run({"get", "OtherParams"});
    ASSERT_EQ(got.status, 0) << got.err;
    EXPECT_THAT(got.out, HasSubstr("Voice=3\n"));
    EXPECT_THAT(got.out, HasSubstr("Volume=4\n"));
    EXPECT_EQ(run({"set", "OtherParams.Volume=11"}).status, 2);
}

TEST_F(CliOnEmulator, voiceVerbSwitchesTheVoice) {
    const VerbRun off = run({"voice", "off"});
    ASSERT_EQ(off.status, 0) << off.err;
    EXPECT_EQ(off.out, "Close voice successfully\n");
    sim.inspect([](Emulator& emulator) { EXPECT_FALSE(emulator.settings().voiceOn()); });
    EXPECT_EQ(run({"voice", "loud"}).status, 1);
}

TEST_F(CliOnEmulator, nmeaOutputIsSentToTheBoard) {
    const VerbRun set = run({"set", "OtherParams.NMEA=1000000000001500"});
    ASSERT_EQ(set.status, 0) << set.err;
    sim.inspect([](Emulator& emulator) {
        EXPECT_EQ(emulator.board().periodMs(1, NmeaOutputChoice::ZDA), 200u);
    });
    const VerbRun refused = run({"set", "OtherParams.NMEA=10000000000015"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_THAT(refused.err, HasSubstr("16 digits"));
}

TEST(CliOnUnknownBoard, nmeaOutputIsRefusedWithTheReason) {
    ReceiverProfile profile;
    profile.board = BoardKind::Other;
    ServedEmulator sim(profile);
    const VerbRun refused =
        test::runVerb(sim.devicePath(), {"set", "OtherParams.NMEA=0010101010101010"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_THAT(refused.err, HasSubstr("The motherboard type is unknown"));
}

TEST_F(CliOnEmulator, snrPrintsTheModemsLinesAndStopsTheTest) {
    const VerbRun snr = run({"snr", "--seconds", "2"});
    ASSERT_EQ(snr.status, 0) << snr.err;
    EXPECT_THAT(snr.out, HasSubstr("+CSQ: "));
    sim.inspect([](Emulator& emulator) { EXPECT_FALSE(emulator.signalTestRunning()); });
    EXPECT_EQ(run({"snr", "--seconds", "0"}).status, 1);
    EXPECT_EQ(run({"snr", "2"}).status, 1);
}

} // namespace
} // namespace kestrava
