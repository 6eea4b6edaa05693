// kestrava-cli's radio, band, voice and NMEA settings and its voice and snr verbs, against the
// receiver emulator served on a pseudo-terminal as kestrava-sim serves it.
#include "cli/PortVerbs.h"
#include "emulator/Emulator.h"
#include "emulator/PtyTransport.h"
#include "emulator/SteadyClock.h"
#include "protocol/NmeaOutputChoice.h"

#include <gmock/gmock.h>

#include <atomic>
#include <functional>
#include <sstream>
#include <thread>

namespace kestrava {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// The emulator on its own pseudo-terminal, served by a thread; inspect() pauses serving.
class ServedEmulator {
public:
    explicit ServedEmulator(ReceiverProfile profile = {}) {
        std::string error;
        m_pty = PtyTransport::open(error);
        if (!m_pty) {
            ADD_FAILURE() << error;
            return;
        }
        m_emulator = std::make_unique<Emulator>(std::move(profile), m_clock);
        serve();
    }
    ~ServedEmulator() { pause(); }

    std::string device() const { return m_pty ? m_pty->slavePath() : std::string(); }

    void inspect(const std::function<void(Emulator&)>& look) {
        pause();
        look(*m_emulator);
        serve();
    }

private:
    void serve() {
        m_stop = false;
        m_thread = std::thread([this] { m_pty->serve(*m_emulator, m_clock, m_stop); });
    }
    void pause() {
        m_stop = true;
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

    SteadyClock m_clock;
    std::unique_ptr<PtyTransport> m_pty;
    std::unique_ptr<Emulator> m_emulator;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

class CliOnEmulator : public ::testing::Test {
protected:
    CliRun run(const std::vector<std::string>& args) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = PortVerbs::run(sim.device(), args, out, err);
        return {status, out.str(), err.str()};
    }

    ServedEmulator sim;
};

TEST_F(CliOnEmulator, getHZParamsConnectsTheRadioAndPrintsTheTableAndAirBaud) {
    const CliRun got = run({"get", "HZParams"});
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
    const CliRun set = run({"set", "HZParams.HZSend3=463.125", "HZParams.AirBaud=9600"});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_THAT(set.out, HasSubstr("Set radio frequency successfully"));
    sim.inspect([&](Emulator& emulator) {
        EXPECT_EQ(emulator.radio().transmit()[3], 18525); // 463.125 MHz in 25 kHz steps
        EXPECT_EQ(emulator.radio().receive()[7], before);
        EXPECT_EQ(emulator.radio().airRate(), RadioModule::kRate9600);
    });

    const CliRun refused = run({"set", "HZParams.HZSend3=463x125"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_THAT(refused.err,
                HasSubstr("Please make sure the frequency value is with the format xxx.xxx"));
    sim.inspect([](Emulator& emulator) { EXPECT_EQ(emulator.radio().transmit()[3], 18525); });
}

TEST_F(CliOnEmulator, bandIndexesAreCheckedAgainstTheModulesLists) {
    const CliRun set = run({"set", "OtherParams.Band2G=2", "OtherParams.Band3G=5"});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_THAT(set.out, HasSubstr("Set frequency band successfully"));
    sim.inspect([](Emulator& emulator) {
        EXPECT_EQ(emulator.settings().bands()[0], 2);
        EXPECT_EQ(emulator.settings().bands()[1], 5);
    });
    const CliRun refused = run({"set", "OtherParams.Band2G=4"}); // UC864 has four 2G items
    EXPECT_EQ(refused.status, 2);
    EXPECT_THAT(refused.err, HasSubstr("Please choose baudrate to set"));
}

TEST_F(CliOnEmulator, voiceTypeAndVolumeAreSetAndReadBack) {
    const CliRun set = run({"set", "OtherParams.Voice=3", "OtherParams.Volume=4"});
    ASSERT_EQ(set.status, 0) << set.err;
    const CliRun got = run({"get", "OtherParams"});
    ASSERT_EQ(got.status, 0) << got.err;
    EXPECT_THAT(got.out, HasSubstr("Voice=3\n"));
    EXPECT_THAT(got.out, HasSubstr("Volume=4\n"));
    EXPECT_EQ(run({"set", "OtherParams.Volume=11"}).status, 2);
}

TEST_F(CliOnEmulator, voiceVerbSwitchesTheVoice) {
    const CliRun off = run({"voice", "off"});
    ASSERT_EQ(off.status, 0) << off.err;
    EXPECT_EQ(off.out, "Close voice successfully\n");
    sim.inspect([](Emulator& emulator) { EXPECT_FALSE(emulator.settings().voiceOn()); });
    EXPECT_EQ(run({"voice", "loud"}).status, 1);
}

TEST_F(CliOnEmulator, nmeaOutputIsSentToTheBoard) {
    const CliRun set = run({"set", "OtherParams.NMEA=1000000000001500"});
    ASSERT_EQ(set.status, 0) << set.err;
    sim.inspect([](Emulator& emulator) {
        EXPECT_EQ(emulator.board().periodMs(1, NmeaOutputChoice::ZDA), 200u);
    });
    const CliRun refused = run({"set", "OtherParams.NMEA=10000000000015"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_THAT(refused.err, HasSubstr("16 digits"));
}

TEST(CliOnUnknownBoard, nmeaOutputIsRefusedWithTheReason) {
    ReceiverProfile profile;
    profile.board = BoardKind::Other;
    ServedEmulator sim(profile);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(PortVerbs::run(sim.device(), {"set", "OtherParams.NMEA=0010101010101010"}, out, err),
              2);
    EXPECT_THAT(err.str(), HasSubstr("The motherboard type is unknown"));
}

TEST_F(CliOnEmulator, snrPrintsTheModemsLinesAndStopsTheTest) {
    const CliRun snr = run({"snr", "--seconds", "2"});
    ASSERT_EQ(snr.status, 0) << snr.err;
    EXPECT_THAT(snr.out, HasSubstr("+CSQ: "));
    sim.inspect([](Emulator& emulator) { EXPECT_FALSE(emulator.signalTestRunning()); });
    EXPECT_EQ(run({"snr", "--seconds", "0"}).status, 1);
    EXPECT_EQ(run({"snr", "2"}).status, 1);
}

} // namespace
} // namespace kestrava
