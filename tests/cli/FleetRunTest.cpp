// A commissioning station: one verb on several emulated receivers at once, each on its own
// pseudo-terminal, with a summary and a CSV report; one receiver that refuses a set and one that
// is silent get rows of their own while the others complete.
#include "cli/FleetRun.h"
#include "cli/LinePrefixer.h"
#include "support/ServedEmulator.h"

#include <gmock/gmock.h>

#include <QDir>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>
#include <thread>

namespace kestrava {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

std::string contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::vector<std::string> lines(const std::string& text, const std::string& end = "\n") {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t at = text.find(end, start);
        out.push_back(text.substr(start, at - start));
        start = at == std::string::npos ? text.size() : at + end.size();
    }
    return out;
}

ReceiverProfile withSerial(const char* serial) {
    ReceiverProfile profile;
    profile.serialNumber = serial;
    return profile;
}

TEST(FleetRun, everyReceiverGetsItsOwnRowAndTheWorstStatusIsTheExit) {
    test::ServedEmulator first(withSerial("KS000001"));
    test::ServedEmulator second(withSerial("KS000002"));
    FaultPlan ignoring;
    ignoring.ignoreSetOf = ('F' << 8) | 'J'; // the collection parameters
    test::ServedEmulator refusing(withSerial("KS000003"), ignoring);
    FaultPlan mute;
    mute.dropAll = true;
    test::ServedEmulator silent(withSerial("KS000004"), mute);

    QTemporaryDir folder;
    const std::string profile = QDir(folder.path()).filePath("base.ini").toStdString();
    std::ofstream(profile) << "[NetParams]\nPort=2105\n[CollectParams]\nCutOff=12\n";
    const std::string report = QDir(folder.path()).filePath("day.csv").toStdString();

    FleetRun::Options options;
    options.ports = {first.devicePath(), second.devicePath(), refusing.devicePath(),
                     silent.devicePath()};
    options.verbAndArgs = {"apply", profile};
    options.reportPath = report;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(FleetRun::run(options, out, err), 4) << out.str() << err.str();
    EXPECT_THAT(out.str(), HasSubstr(first.devicePath() + ": NetParams.Port: set\n"));
    EXPECT_THAT(out.str(), HasSubstr(refusing.devicePath() + ": CollectParams.CutOff: FAILED"));
    EXPECT_THAT(err.str(), HasSubstr(silent.devicePath() + ": No reply from receiver"));

    const std::vector<std::string> rows = lines(contents(report), "\r\n");
    ASSERT_EQ(rows.size(), 5u) << contents(report);
    EXPECT_EQ(rows[0], "start,verb,profile,profile_sha256,port,serial,version,motherboard,result,"
                       "set,unchanged,failed,seconds");
    const auto row = [&rows](std::size_t i) { return rows[i].substr(rows[i].find(",apply,")); };
    EXPECT_THAT(row(1), HasSubstr("," + first.devicePath() + ",KS000001,"));
    EXPECT_THAT(row(1), HasSubstr(",done,2,0,0,"));
    EXPECT_THAT(row(2), HasSubstr(",KS000002,"));
    EXPECT_THAT(row(2), HasSubstr(",done,2,0,0,"));
    EXPECT_THAT(row(3), HasSubstr(",KS000003,"));
    EXPECT_THAT(row(3), HasSubstr(",failed,1,0,1,"));
    EXPECT_THAT(row(4), HasSubstr("," + silent.devicePath() + ",,,,no reply,0,0,0,"));
    EXPECT_THAT(rows[1], HasSubstr(",apply," + profile + ","));

    // The summary on standard output says the same.
    EXPECT_THAT(out.str(), HasSubstr("\nport "));
    EXPECT_THAT(out.str(),
                ::testing::ContainsRegex("KS000003 +2.5  E +[A-Za-z]+ +failed +1 +0 +1"));

    // A second batch appends to the day's file, under the same header.
    options.ports = {first.devicePath()};
    std::ostringstream again;
    EXPECT_EQ(FleetRun::run(options, again, err), 0);
    const std::vector<std::string> more = lines(contents(report), "\r\n");
    ASSERT_EQ(more.size(), 6u);
    EXPECT_THAT(more[5], HasSubstr(",done,0,2,0,")); // already as the profile says

    EXPECT_EQ(first.stop().settings().collect()[1], 12);
    EXPECT_EQ(second.stop().settings().collect()[1], 12);
}

TEST(FleetRun, getWritesOneProfilePerReceiverNamedAfterItsSerialNumber) {
    test::ServedEmulator first(withSerial("KS000011"));
    test::ServedEmulator second(withSerial("KS000012"));
    QTemporaryDir folder;
    const std::string output = QDir(folder.path()).filePath("profiles").toStdString();
    FleetRun::Options options;
    options.ports = {first.devicePath(), second.devicePath()};
    options.verbAndArgs = {"get", "CollectParams"};
    options.outputDir = output;
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(FleetRun::run(options, out, err), 0) << err.str();
    for (const char* serial : {"KS000011", "KS000012"}) {
        EXPECT_THAT(contents(output + "/" + serial + ".ini"), StartsWith("[CollectParams]\n"));
    }
    options.outputDir.clear();
    EXPECT_EQ(FleetRun::run(options, out, err), 1); // several profiles need a folder
}

TEST(FleetRun, onlyVerbsThatMakeSenseOnManyReceiversRunThere) {
    struct Case {
        std::vector<std::string> verb;
        bool allowed;
    };
    for (const Case& c :
         {Case{{"info"}, true}, Case{{"apply", "p.ini"}, true}, Case{{"files", "list"}, true},
          Case{{"files", "delete", "X"}, false}, Case{{"set", "NetParams.Port=1"}, false},
          Case{{"snr"}, false}, Case{{}, false}}) {
        EXPECT_EQ(FleetRun::allows(c.verb), c.allowed) << (c.verb.empty() ? "" : c.verb[0]);
    }
}

TEST(FleetRun, csvFieldsAreQuotedOnlyWhenTheyMustBe) {
    struct Case {
        const char* text;
        const char* field;
    };
    for (const Case& c :
         {Case{"plain", "plain"}, Case{"a,b", "\"a,b\""}, Case{"say \"hi\"", "\"say \"\"hi\"\"\""},
          Case{"two\nlines", "\"two\nlines\""}, Case{"", ""}}) {
        EXPECT_EQ(FleetRun::csvField(c.text), c.field);
    }
}

TEST(FleetRun, aPortListSkipsBlanksAndComments) {
    QTemporaryDir folder;
    const std::string path = QDir(folder.path()).filePath("ports.txt").toStdString();
    std::ofstream(path) << "# bench A\n/dev/ttyUSB0\n\n  /dev/ttyUSB1  \r\n#/dev/ttyUSB2\n";
    std::vector<std::string> ports;
    std::string error;
    ASSERT_TRUE(FleetRun::readPorts(path, ports, error));
    EXPECT_EQ(ports, (std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyUSB1"}));
    std::vector<std::string> none;
    std::ofstream(path) << "# nothing\n";
    EXPECT_FALSE(FleetRun::readPorts(path, none, error));
    EXPECT_FALSE(FleetRun::readPorts(path + ".missing", none, error));
}

TEST(LinePrefixer, linesOfSessionsRunningAtOnceNeverMix) {
    std::ostringstream target;
    std::mutex lock;
    std::vector<std::thread> writers;
    for (int i = 0; i < 4; ++i) {
        writers.emplace_back([&target, &lock, i] {
            LinePrefixer lines(target, lock, "p" + std::to_string(i) + ": ");
            std::ostream out(&lines);
            for (int n = 0; n < 200; ++n) {
                out << "line " << n << " of " << i << '\n';
            }
            out << "last of " << i; // no line end: still written
        });
    }
    for (std::thread& writer : writers) {
        writer.join();
    }
    const std::vector<std::string> written = lines(target.str());
    ASSERT_EQ(written.size(), 4u * 201u);
    for (const std::string& line : written) {
        const std::string who = line.substr(1, 1);
        EXPECT_TRUE(line.rfind("p" + who + ": line ", 0) == 0 ||
                    line == "p" + who + ": last of " + who)
            << line;
        if (line.find(" of ") != std::string::npos) {
            EXPECT_EQ(line.substr(line.size() - 1), who) << line;
        }
    }
}

} // namespace
} // namespace kestrava
