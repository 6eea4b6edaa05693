// kestrava-cli set against the receiver emulator on a pseudo-terminal: a refused value stops
// every group before anything is sent, what cannot be stored exactly is refused by its key, and
// a set is proved by reading it back.
#include "cli/PortVerbs.h"
#include "support/ServedEmulator.h"
#include "support/VerbRun.h"

#include <gmock/gmock.h>

#include <QDir>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>

namespace kestrava {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

using test::VerbRun;

VerbRun run(const test::ServedEmulator& receiver, const std::vector<std::string>& verb) {
    return test::runVerb(receiver.devicePath(), verb);
}

class SetOnReceiver : public ::testing::Test {
protected:
    std::string write(const std::string& text) {
        const std::string path = QDir(folder.path()).filePath("p.ini").toStdString();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::string value(const std::string& section, const std::string& key) {
        const VerbRun got = run(receiver, {"get", section});
        EXPECT_EQ(got.status, 0) << got.err;
        const auto at = got.out.find('\n' + key + '=');
        if (at == std::string::npos) {
            return {};
        }
        const auto start = at + key.size() + 2;
        return got.out.substr(start, got.out.find('\n', start) - start);
    }

    QTemporaryDir folder;
    test::ServedEmulator receiver;
};

TEST_F(SetOnReceiver, aRefusedValueInALaterGroupLeavesTheEarlierGroupUnsent) {
    const std::string port = value("NetParams", "Port");
    const VerbRun set = run(receiver, {"set", "NetParams.Port=2102", "CollectParams.CutOff=91"});
    EXPECT_EQ(set.status, 2);
    EXPECT_THAT(set.err, HasSubstr("cutoff"));
    EXPECT_EQ(value("NetParams", "Port"), port);

    const VerbRun from = run(
        receiver, {"set", "--from", write("[NetParams]\nPort=2103\n[FileParams]\nFileSN=1234\n")});
    EXPECT_EQ(from.status, 2);
    EXPECT_EQ(value("NetParams", "Port"), port);
}

struct InexactCase {
    const char* name;
    std::string assignment; // Section.Key=value, as a profile line under its section
    std::string section;
    std::string message;
};

class SetInexact : public ::testing::TestWithParam<InexactCase> {};

TEST_P(SetInexact, isRefusedByItsKeyBeforeAnythingIsSent) {
    const InexactCase& c = GetParam();
    test::ServedEmulator receiver;
    QTemporaryDir folder;
    const std::string path = QDir(folder.path()).filePath("p.ini").toStdString();
    std::ofstream(path, std::ios::binary)
        << "[" << c.section << "]\n"
        << c.assignment.substr(c.assignment.find('.') + 1) << "\n";
    for (const std::vector<std::string>& verb : {std::vector<std::string>{"set", c.assignment},
                                                 std::vector<std::string>{"set", "--from", path},
                                                 std::vector<std::string>{"apply", path}}) {
        const VerbRun r = run(receiver, verb);
        EXPECT_EQ(r.status, 2) << verb.front() << ": " << r.err << r.out;
        EXPECT_THAT(r.err, HasSubstr(c.message)) << verb.front();
        EXPECT_THAT(r.out, Not(HasSubstr(": set"))) << verb.front();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, SetInexact,
    ::testing::Values(
        InexactCase{"invalidUtf8", "NetParams.VRSName=sur\xffveyor", "NetParams",
                    "NetParams.VRSName: the value is not valid UTF-8 text"},
        InexactCase{"frequencyOffTheSteps", "HZParams.HZSend3=463.130", "HZParams",
                    "HZParams.HZSend3: 463.130 MHz is not a frequency the radio can be set to: it "
                    "takes steps of 25 kHz, the nearest is 463.125 MHz"},
        InexactCase{"receiveFrequencyRoundsUp", "HZParams.HZReceive0=459.240", "HZParams",
                    "the nearest is 459.250 MHz"}),
    [](const ::testing::TestParamInfo<InexactCase>& param) {
        return std::string(param.param.name);
    });

TEST_F(SetOnReceiver, aNulInsideAValueIsRefused) {
    const std::string path = write(std::string("[NetParams]\nVRSName=sur\0veyor\n", 30));
    const VerbRun from = run(receiver, {"set", "--from", path});
    EXPECT_EQ(from.status, 2) << from.err;
    EXPECT_THAT(from.err, HasSubstr("NetParams.VRSName: the value holds a NUL character"));
}

TEST_F(SetOnReceiver, aSetTheReceiverIgnoresExitsFourNamingTheKey) {
    test::ServedEmulator ignoring({}, [] {
        FaultPlan faults;
        faults.ignoreSetOf = ('F' << 8) | 'J'; // the collection parameters
        return faults;
    }());
    const VerbRun set = run(ignoring, {"set", "CollectParams.CutOff=17"});
    EXPECT_EQ(set.status, 4) << set.err << set.out;
    EXPECT_THAT(set.err, HasSubstr("CollectParams.CutOff: the receiver holds 10, not 17"));
}

TEST_F(SetOnReceiver, valuesCompareAsTheReceiverStoresThem) {
    const VerbRun set = run(receiver, {"set", "NetParams.isUrl=TRUE",
                                       "NetParams.URL=caster.example", "FileParams.FileSN=07"});
    EXPECT_EQ(set.status, 0) << set.err << set.out;
    const std::string path = write("[NetParams]\nisUrl=TRUE\nURL=caster.example\n"
                                   "[FileParams]\nFileSN=07\n");
    const VerbRun applied = run(receiver, {"apply", path});
    EXPECT_EQ(applied.status, 0) << applied.err << applied.out;
    EXPECT_THAT(applied.out, Not(HasSubstr("FAILED")));
    EXPECT_EQ(run(receiver, {"diff", path}).status, 0);
}

TEST(VerbHelp, everyVerbOnAReceiverAnswersHelpWithoutOpeningThePort) {
    for (const PortVerb& verb : PortVerbs::all()) {
        for (const char* help : {"--help", "-h"}) {
            const VerbRun got = test::runVerb("/nonexistent/port", {verb.name, help});
            EXPECT_EQ(got.status, 0) << verb.name << ": " << got.err;
            EXPECT_THAT(got.out, HasSubstr("Usage: kestrava-cli --port DEVICE " + verb.name))
                << verb.name;
            EXPECT_EQ(got.err, "") << verb.name;
        }
    }
    const VerbRun help = test::runVerb("/nonexistent/port", {"get", "--help"});
    ASSERT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("NetParams.VRSName"));
}

} // namespace
} // namespace kestrava
