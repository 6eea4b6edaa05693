// Profiles against the receiver emulator on a pseudo-terminal, through the verbs as a user runs
// them: get a receiver's settings, edit them, diff, apply, and prove it.
#include "cli/PortVerbs.h"
#include "support/ServedEmulator.h"
#include "support/VerbRun.h"

#include <gmock/gmock.h>

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace kestrava {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

using test::VerbRun;

VerbRun run(const test::ServedEmulator& receiver, const std::vector<std::string>& verb) {
    return test::runVerb(receiver.devicePath(), verb);
}

std::string replaceLine(std::string text, const std::string& key, const std::string& value) {
    const auto at = text.find('\n' + key + '=');
    EXPECT_NE(at, std::string::npos) << key;
    const auto end = text.find('\n', at + 1);
    return text.substr(0, at + 1) + key + '=' + value + text.substr(end);
}

class ProfileOnReceiver : public ::testing::Test {
protected:
    std::string write(const std::string& name, const std::string& text) {
        const std::string path =
            QDir(folder.path()).filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    QTemporaryDir folder;
};

TEST_F(ProfileOnReceiver, editedKeysAreExactlyWhatDiffShowsAndApplyMakesDiffEmpty) {
    test::ServedEmulator receiver;
    const VerbRun got = run(receiver, {"get", "NetParams", "CollectParams"});
    ASSERT_EQ(got.status, 0) << got.err;
    std::string profile = replaceLine(got.out, "Port", "2105");
    profile = replaceLine(profile, "CutOff", "12");
    const std::string path = write("base.ini", profile);

    const VerbRun before = run(receiver, {"diff", path});
    EXPECT_EQ(before.status, 1) << before.err;
    EXPECT_THAT(before.out, HasSubstr("CollectParams.CutOff: receiver "));
    EXPECT_THAT(before.out, HasSubstr(", profile 12\n"));
    EXPECT_THAT(before.out, HasSubstr("NetParams.Port: receiver "));
    EXPECT_EQ(std::count(before.out.begin(), before.out.end(), '\n'), 2) << before.out;

    const VerbRun applied = run(receiver, {"apply", path});
    EXPECT_EQ(applied.status, 0) << applied.err << applied.out;
    EXPECT_THAT(applied.out, HasSubstr("NetParams.Port: set\n"));
    EXPECT_THAT(applied.out, HasSubstr("CollectParams.CutOff: set\n"));
    EXPECT_THAT(applied.out, HasSubstr("NetParams.APNName: unchanged\n"));

    const VerbRun after = run(receiver, {"diff", path});
    EXPECT_EQ(after.status, 0) << after.out << after.err;
    EXPECT_THAT(after.out, IsEmpty());
}

TEST_F(ProfileOnReceiver, aSetTheReceiverIgnoresMakesApplyFailAndNameTheKey) {
    FaultPlan faults;
    faults.ignoreSetOf = ('F' << 8) | 'J'; // the collection parameters
    test::ServedEmulator receiver({}, faults);
    const std::string path = write("p.ini", "[CollectParams]\nCollecInterval=7\nCutOff=10\n");
    const VerbRun applied = run(receiver, {"apply", path});
    EXPECT_NE(applied.status, 0);
    EXPECT_THAT(applied.out, HasSubstr("CollectParams.CollecInterval: FAILED (receiver "));
}

TEST_F(ProfileOnReceiver, anInvalidValueStopsEverythingBeforeAnySetIsSent) {
    test::ServedEmulator receiver;
    const std::string path =
        write("p.ini", "[CollectParams]\nCutOff=13\n[FileParams]\nFilePrefix=AB\n");
    const VerbRun applied = run(receiver, {"apply", path});
    EXPECT_EQ(applied.status, 2);
    EXPECT_THAT(applied.err, HasSubstr("The prefix can only be one letter"));
    const Emulator& emulator = receiver.stop();
    EXPECT_NE(emulator.settings().collect()[1], 13) << "the valid group was sent all the same";
}

TEST_F(ProfileOnReceiver, aDryRunSendsNoSet) {
    test::ServedEmulator receiver;
    const std::string path = write("p.ini", "[CollectParams]\nCutOff=11\n");
    const VerbRun dry = run(receiver, {"apply", path, "--dry-run"});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_THAT(dry.out, HasSubstr("CollectParams.CutOff: would set "));
    const Emulator& emulator = receiver.stop();
    EXPECT_NE(emulator.settings().collect()[1], 11);
}

TEST_F(ProfileOnReceiver, theWindowsSettingsFileAppliesWhole) {
    // The file a first run writes, with the caster login a user fills in before it is usable.
    std::ifstream in(std::string(KESTRAVA_TEST_DATA_DIR) + "/recvcfg_first_run.ini",
                     std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    text = replaceLine(text, "VRSName", "surveyor");
    text = replaceLine(text, "VRSPassWord", "secret");
    const std::string path = write("recvcfg.ini", text);

    test::ServedEmulator receiver;
    const VerbRun applied = run(receiver, {"apply", path});
    EXPECT_EQ(applied.status, 0) << applied.err << applied.out;
    EXPECT_THAT(applied.err, HasSubstr("OtherParams.FWPath is a setting of the program"));
    EXPECT_THAT(applied.out, HasSubstr("HZParams.HZSend15: "));
    EXPECT_THAT(applied.out, HasSubstr("OtherParams.NMEA: sent, not verifiable\n"));
    EXPECT_THAT(applied.out, Not(HasSubstr("FAILED")));
    // The server is given by its address, so the name is not sent and cannot be proved.
    EXPECT_THAT(applied.out, HasSubstr("NetParams.URL: not sent (unused with the other values)"));
    const VerbRun after = run(receiver, {"diff", path});
    EXPECT_EQ(after.status, 0) << after.out << after.err;
}

TEST_F(ProfileOnReceiver, theWindowsSettingsFileWithWhatItReadFromAReceiverApplies) {
    // The radio, band and static voice keys the window keeps once it has read or set them.
    std::ifstream in(std::string(KESTRAVA_TEST_DATA_DIR) + "/recvcfg_first_run.ini",
                     std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    text = replaceLine(text, "VRSName", "surveyor\r");
    text = replaceLine(text, "VRSPassWord", "secret\r");
    text = replaceLine(text, "HZReceive15", "460.725098\r\nAirBaud=9600\r");
    text = replaceLine(text, "Volume", "10\r\nStaticVoice=0\r\nBand2G=2\r\nBand3G=5\r");
    const std::string path = write("recvcfg.ini", text);

    test::ServedEmulator receiver;
    const VerbRun applied = run(receiver, {"apply", path});
    EXPECT_EQ(applied.status, 0) << applied.err << applied.out;
    for (const char* line : {"HZParams.AirBaud: set\n", "OtherParams.StaticVoice: set\n",
                             "OtherParams.Band2G: set\n", "OtherParams.Band3G: set\n"}) {
        EXPECT_THAT(applied.out, HasSubstr(line));
    }
    EXPECT_THAT(applied.out, Not(HasSubstr("FAILED")));
    const VerbRun after = run(receiver, {"diff", path});
    EXPECT_EQ(after.status, 0) << after.out << after.err;
    const Emulator& emulator = receiver.stop();
    EXPECT_FALSE(emulator.settings().staticVoice());
    EXPECT_EQ(emulator.settings().bands(), (std::array<Byte, 2>{2, 5}));
}

} // namespace
} // namespace kestrava
