// kestrava-cli caster and status: the caster check against a real caster on loopback (str2str),
// from the command line and with the receiver's own network settings, and the live fix from the
// emulator's NMEA.
#include "cli/CasterVerb.h"
#include "cli/PortVerbs.h"
#include "ntrip/Rtcm3Framer.h"
#include "ntrip/StationPosition.h"
#include "support/ServedEmulator.h"
#include "support/Str2StrCaster.h"
#include "support/VerbRun.h"

#include <gmock/gmock.h>

#include <sstream>

namespace kestrava {
namespace {

using ::testing::HasSubstr;

using test::VerbRun;

VerbRun caster(const std::vector<std::string>& args) {
    return test::captureRun(
        [&](std::ostream& out, std::ostream& err) { return CasterVerb::run(args, out, err); });
}

VerbRun onReceiver(const test::ServedEmulator& receiver, const std::vector<std::string>& args) {
    return test::runVerb(receiver.devicePath(), args);
}

std::vector<std::uint8_t> baseFrames() {
    return test::rtcmFrames(
        {StationPosition::fromGeodetic({30.2519, 120.12595, 35.2}, 7).encode(true),
         {0x43, 0x20, 1, 2, 3, 4}});
}

class CasterVerbOnRealCaster : public ::testing::Test {
protected:
    std::string address() const { return "127.0.0.1:" + std::to_string(server.port()); }

    test::Str2StrCaster server{"surveyor", "secret", "MP1",
                               "Hangzhou;RTCM 3.2;1006(1),1074(1);2;GPS+GLO;NET1;CHN;30.25;"
                               "120.13;0;0;sNTRIP;none;B;N;9600;",
                               baseFrames()};
};

TEST_F(CasterVerbOnRealCaster, listsTheMountPointsTabSeparated) {
    const VerbRun r = caster({"list", address()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "MP1\tRTCM 3.2\t1006(1),1074(1)\tGPS+GLO\tCHN\t30.25\t120.13\tB\n");
}

TEST_F(CasterVerbOnRealCaster, tellsTheOutcomesApartByWordsAndExitStatus) {
    struct Case {
        std::vector<std::string> extra;
        int status;
        const char* words;
    };
    const Case cases[] = {
        {{"MP1", "--user", "surveyor", "--password", "wrong"},
         4,
         "The caster refused the user name or password"},
        {{"MP2", "--user", "surveyor", "--password", "secret"},
         4,
         "Mount point MP2 is not on this caster"},
        {{"MP1", "--user", "surveyor", "--password", "secret", "--seconds", "2"},
         0,
         "Login accepted: RTCM 3 1006, 1074 at "},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"check", address()};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const VerbRun r = caster(args);
        EXPECT_EQ(r.status, c.status) << c.extra[0] << r.out << r.err;
        EXPECT_THAT(r.out + r.err, HasSubstr(c.words));
    }
    const VerbRun accepted = caster({"check", address(), "MP1", "--user", "surveyor", "--password",
                                     "secret", "--seconds", "2"});
    EXPECT_THAT(accepted.out, HasSubstr("RTCM 3 1074\t"));
    EXPECT_THAT(accepted.out, HasSubstr("base station 7\t30.25190 N, 120.12595 E, 35.2 m"));
}

TEST_F(CasterVerbOnRealCaster, checksExactlyWhatTheReceiverIsSetToUse) {
    test::ServedEmulator receiver;
    const std::string port = std::to_string(server.port());
    const VerbRun set =
        onReceiver(receiver, {"set", "NetParams.NetMode=0", "NetParams.CommunicationMode=0",
                              "NetParams.isUrl=false", "NetParams.IP1=127", "NetParams.IP2=0",
                              "NetParams.IP3=0", "NetParams.IP4=1", "NetParams.Port=" + port,
                              "NetParams.SourceNode=MP1", "NetParams.VRSName=surveyor",
                              "NetParams.VRSPassWord=secret"});
    ASSERT_EQ(set.status, 0) << set.err;
    const VerbRun check = onReceiver(receiver, {"caster", "check", "--seconds", "2"});
    EXPECT_EQ(check.status, 0) << check.out << check.err;
    EXPECT_THAT(check.out, HasSubstr("caster 127.0.0.1:" + port + ", mount point MP1"));
    EXPECT_THAT(check.out, HasSubstr("Login accepted: RTCM 3 1006, 1074"));

    ASSERT_EQ(onReceiver(receiver, {"set", "NetParams.VRSPassWord=typo"}).status, 0);
    EXPECT_EQ(onReceiver(receiver, {"caster", "check", "--seconds", "1"}).status, 4);
    ASSERT_EQ(onReceiver(receiver, {"set", "NetParams.NetMode=1"}).status, 0);
    const VerbRun rtk = onReceiver(receiver, {"caster", "check"});
    EXPECT_EQ(rtk.status, 2);
    EXPECT_THAT(rtk.err, HasSubstr("there is no caster to check"));
}

TEST(CasterVerb, anUnreachableCasterAndBadUsageHaveTheirOwnStatus) {
    const VerbRun nobody =
        caster({"check", "127.0.0.1:" + std::to_string(test::Str2StrCaster::freePort()), "MP1"});
    EXPECT_EQ(nobody.status, 3);
    EXPECT_THAT(nobody.err, HasSubstr("The caster cannot be reached"));
    for (const std::vector<std::string>& bad : {std::vector<std::string>{},
                                                {"list"},
                                                {"list", "host:99999"},
                                                {"check", "host"},
                                                {"check", "host", "MP", "--seconds", "x"},
                                                {"check", "host", "MP", "--bogus", "1"}}) {
        EXPECT_EQ(caster(bad).status, 1);
    }
}

TEST(StatusVerb, showsTheFixTheReceiverReportsOncePerSecond) {
    ReceiverProfile profile;
    profile.fixQuality = 5;
    profile.satellites = 17;
    profile.correctionAge = 3;
    test::ServedEmulator receiver(profile);
    ASSERT_EQ(onReceiver(receiver, {"set", "OtherParams.NMEA=0010000000000000"}).status, 0);
    const VerbRun status = onReceiver(receiver, {"status", "--seconds", "2"});
    EXPECT_EQ(status.status, 0) << status.err;
    EXPECT_THAT(status.out, HasSubstr("\tRTK float\t17 sats\tHDOP 0.9\tage 3.0 s\t30.25205667 N\t"
                                      "120.12613000 E\t35.20 m\n"));
    ASSERT_EQ(onReceiver(receiver, {"set", "OtherParams.NMEA=0100000000000000"}).status, 0);
    const VerbRun silent = onReceiver(receiver, {"status", "--seconds", "1"});
    EXPECT_EQ(silent.status, 3);
    EXPECT_THAT(silent.err, HasSubstr("Set its data output to this port"));
}

} // namespace
} // namespace kestrava
