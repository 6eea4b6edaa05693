// kestrava-cli's get, set and password verbs against the receiver emulator served on a
// pseudo-terminal, as kestrava-sim serves it: what the receiver holds afterwards, what is
// printed, and the exit status.
#include "cli/PortVerbs.h"
#include "cli/ReceiverSession.h"
#include "cli/SettingBindings.h"
#include "cli/SettingGroup.h"
#include "cli/SettingGroupAdapter.h"
#include "emulator/Emulator.h"
#include "support/ServedEmulator.h"
#include "support/VerbRun.h"

#include <gmock/gmock.h>

#include <QTemporaryDir>

#include <fstream>
#include <sstream>

namespace kestrava {
namespace {

using ::testing::HasSubstr;

// Wire constants, restated.
const std::string kAbc123Digest = "e99a18c428cb38d5f260853678922e03"; // MD5 of "abc123"

using ServedReceiver = test::ServedEmulator;

using test::VerbRun;

VerbRun run(const ServedReceiver& receiver, const std::vector<std::string>& verbAndArgs) {
    return test::runVerb(receiver.devicePath(), verbAndArgs);
}

std::string fieldText(const Bytes& payload, std::size_t at, std::size_t width) {
    std::string text;
    for (std::size_t i = at; i < at + width && i < payload.size() && payload[i] != 0; ++i) {
        text += static_cast<char>(payload[i]);
    }
    return text;
}

TEST(NetVerbs, setChangesTheGivenKeysAndKeepsTheRest) {
    ServedReceiver receiver;
    const VerbRun set = run(receiver, {"set", "NetParams.NetMode=0", "netparams.port=2102",
                                       "NetParams.VRSName=surveyor", "NetParams.VRSPassWord=s3cret",
                                       "NetParams.SourceNode=MOUNT1", "NetParams.isUrl=true",
                                       "NetParams.URL=caster.example.net", "NetParams.APNName=apn2",
                                       "NetParams.phoneNumber=555", "NetParams.CommunicationMode=2",
                                       "NetParams.GroupID1=42", "NetParams.GroupID2=255"});
    ASSERT_EQ(set.status, kCliOk) << set.err;
    EXPECT_EQ(set.out, "Set net params successfully\n");

    const VerbRun got = run(receiver, {"get", "NetParams"});
    ASSERT_EQ(got.status, kCliOk) << got.err;
    for (const char* line :
         {"NetMode=0\n", "Port=2102\n", "VRSName=surveyor\n", "VRSPassWord=s3cret\n",
          "SourceNode=MOUNT1\n", "isUrl=true\n", "URL=caster.example.net\n", "APNName=apn2\n",
          "phoneNumber=555\n", "CommunicationMode=2\n", "GroupID1=42\n", "GroupID2=255\n",
          "UserID=7\n", "IP1=0\n"}) { // a server name leaves the address fields empty
        EXPECT_THAT(got.out, HasSubstr(line));
    }
}

TEST(NetVerbs, aRefusedSetSendsNothingAndSaysWhy) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{"set", "NetParams.Port=70000"},
         kCliRefused,
         "The port should be an integer between 0-65535"},
        {{"set", "NetParams.GroupID2=256"},
         kCliRefused,
         "The last three digits of the User Group Id should be between 000-255"},
        // An 8-bit field: refused above 255 with its range, by the page's words where the page
        // checks it (IntRTK mode) and by the range where it does not (VRS mode).
        {{"set", "NetParams.GroupID2=1000"},
         kCliRefused,
         "NetParams.GroupID2 should be a number between 0 and 255"},
        {{"set", "NetParams.NetMode=0", "NetParams.VRSName=a", "NetParams.VRSPassWord=b",
          "NetParams.GroupID2=300"},
         kCliRefused,
         "NetParams.GroupID2 should be a number between 0 and 255"},
        {{"set", "NetParams.NetMode=0", "NetParams.VRSName=a", "NetParams.VRSPassWord=b",
          "NetParams.UserID=300"},
         kCliRefused,
         "NetParams.UserID should be a number between 0 and 255"},
        {{"set", "NetParams.UserID=256"},
         kCliRefused,
         "The sub ID should be plus integer between 000-255"},
        {{"set", "NetParams.IP1=256"},
         kCliRefused,
         "NetParams.IP1 should be a number between 0 and 255"},
        {{"set", "ANPParams.APNUsername=" + std::string(51, 'u')},
         kCliRefused,
         "The APN username must not exceed 50 bytes"},
        {{"set", "NetParams.Nope=1"}, kCliUsage, "unknown setting"},
        {{"password", "admin", "x"}, kCliUsage, "usage: password remote NEW"},
    };
    ServedReceiver receiver;
    for (const Case& c : cases) {
        const VerbRun refused = run(receiver, c.args);
        EXPECT_EQ(refused.status, c.status) << c.args.back();
        EXPECT_THAT(refused.err, HasSubstr(c.message));
    }
    receiver.stop();
    const Bytes& held = receiver.stop().settings().netParams();
    EXPECT_EQ(held[10] * 256 + held[11], 2101);
    EXPECT_EQ(fieldText(held, 89, 30), "BASE01");
    EXPECT_EQ(fieldText(receiver.stop().settings().apn(), 0, 50), "apnuser");
}

TEST(NetVerbs, whatGetPrintsSetWritesToAnotherReceiver) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string file = folder.filePath(QStringLiteral("link.ini")).toStdString();
    Bytes first;
    {
        ServedReceiver source;
        ASSERT_EQ(run(source, {"set", "NetParams.Port=9000", "ANPParams.APNUsername=field"}).status,
                  kCliOk);
        const VerbRun got = run(source, {"get"});
        ASSERT_EQ(got.status, kCliOk) << got.err;
        EXPECT_EQ(got.out.substr(0, 72),
                  "[NetParams]\nAPNName=cmnet\nCommunicationMode=0\nGroupID1=1234\n"
                  "GroupID2=56\n");
        EXPECT_THAT(got.out, HasSubstr("[ANPParams]\nAPNUsername=field\nAPNPassWord=apnpass\n"));
        std::ofstream(file) << got.out;
        source.stop();
        first = source.stop().settings().netParams();
    }
    ReceiverProfile other;
    other.serialNumber = "KS999999";
    ServedReceiver target(other);
    const VerbRun set = run(target, {"set", "--from", file});
    ASSERT_EQ(set.status, kCliOk) << set.err;
    target.stop();
    EXPECT_EQ(target.stop().settings().netParams(), first);
    EXPECT_EQ(fieldText(target.stop().settings().apn(), 0, 50), "field");
}

TEST(NetVerbs, aSilentReceiverEndsInNoReplyWithinTheBoundedWait) {
    FaultPlan silent;
    silent.dropAll = true;
    ServedReceiver receiver({}, silent);
    const VerbRun got = run(receiver, {"get", "NetParams"});
    EXPECT_EQ(got.status, kCliNoReply);
    EXPECT_EQ(got.err, "No reply from receiver\n");

    // The groups themselves, once the port is open without the main information.
    std::ostringstream err;
    ReceiverSession session(err);
    ASSERT_EQ(session.open(QString::fromStdString(receiver.devicePath()), false),
              ReceiverSession::OpenResult::Ok);
    SettingValues values;
    const auto group = [](SettingGroupId id) {
        return SettingGroupAdapter(*SettingBindings::find(id));
    };
    const CliOutcome read = group(SettingGroupId::NetParams).read(session, values);
    EXPECT_EQ(read.status, kCliNoReply);
    EXPECT_EQ(read.message, "No reply from receiver");
    values = {{"ANPParams.APNUsername", "u"}, {"ANPParams.APNPassWord", "p"}};
    const CliOutcome write = group(SettingGroupId::ApnParams).write(session, values);
    EXPECT_EQ(write.status, kCliNoReply);
}

TEST(PasswordVerb, remoteAndWifiPasswordsAreConfirmedOrRefusedWithThePagesWords) {
    {
        ServedReceiver receiver;
        const VerbRun remote = run(receiver, {"password", "remote", "abc123"});
        EXPECT_EQ(remote.status, kCliOk) << remote.err;
        EXPECT_EQ(remote.out, "Set remote password successfully\n");
        const VerbRun noWifi = run(receiver, {"password", "wifi", "abcdefgh"});
        EXPECT_EQ(noWifi.status, kCliRefused);
        receiver.stop();
        EXPECT_EQ(receiver.stop().settings().remoteDigest(), kAbc123Digest);
    }
    {
        ServedReceiver receiver(*ReceiverProfile::named("wifi"));
        const VerbRun shortOne = run(receiver, {"password", "wifi", "abc"});
        EXPECT_EQ(shortOne.status, kCliRefused);
        EXPECT_EQ(shortOne.err, "The password must 8-30 chars\n");
        const VerbRun wifi = run(receiver, {"password", "wifi", "newWifi2024"});
        EXPECT_EQ(wifi.status, kCliOk) << wifi.err;
        receiver.stop();
        EXPECT_EQ(receiver.stop().settings().wifiPassword(), "newWifi2024");
    }
    {
        ReceiverProfile profile = *ReceiverProfile::named("wifi");
        profile.wifiResult = 3;
        ServedReceiver receiver(profile);
        const VerbRun refused = run(receiver, {"password", "wifi", "newWifi2024"});
        EXPECT_EQ(refused.status, kCliFailed);
        EXPECT_EQ(refused.err, "Old wifi password is wrong\n");
    }
}

} // namespace
} // namespace kestrava
