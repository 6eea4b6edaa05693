// Every readable setting of the tables, through the receiver emulator on a pseudo-terminal: read,
// set to another valid value, read back. One row per key; a readable key without a row fails the
// test, so a setting added to the tables needs its row here.
#include "cli/IniText.h"
#include "cli/SettingBindings.h"
#include "cli/SettingGroupAdapter.h"
#include "cli/SettingPlans.h"
#include "support/ServedEmulator.h"
#include "support/VerbRun.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <set>
#include <sstream>

namespace kestrava {
namespace {

using test::VerbRun;

struct Row {
    std::string name; // Section.Key
    std::string a;    // the value set, or b when the receiver holds a already
    std::string b;
    int pass = 0; // the rows of one pass are set together
};

// "451.025" and on: a frequency on the radio's 25 kHz steps.
std::string megahertz(int kilohertz) {
    char text[16];
    std::snprintf(text, sizeof text, "%d.%03d", kilohertz / 1000, kilohertz % 1000);
    return text;
}

std::vector<Row> rows() {
    std::vector<Row> rows = {
        // Pass 0 keeps the IntRTK login and the IPv4 server; pass 1 turns to a VRS caster by
        // name, so the keys each one leaves unsent are proved by the other.
        {"NetParams.APNName", "apn.one", "apn.two", 0},
        {"NetParams.CommunicationMode", "2", "0", 0},
        {"NetParams.GroupID1", "4321", "1234", 0},
        {"NetParams.GroupID2", "200", "100", 0},
        {"NetParams.IP1", "10", "11", 0},
        {"NetParams.IP2", "20", "21", 0},
        {"NetParams.IP3", "30", "31", 0},
        {"NetParams.IP4", "40", "41", 0},
        {"NetParams.phoneNumber", "5550100", "5550199", 0},
        {"NetParams.Port", "2102", "2103", 0},
        {"NetParams.SourceNode", "MOUNT9", "MOUNT8", 0},
        {"NetParams.UserID", "42", "43", 0},
        {"NetParams.isUrl", "true", "false", 1},
        {"NetParams.URL", "caster.example.org", "caster.example.net", 1},
        {"NetParams.NetMode", "0", "1", 1},
        {"NetParams.VRSName", "surveyor", "surveyor2", 1},
        {"NetParams.VRSPassWord", "s3cret", "s3cret2", 1},
        {"ANPParams.APNUsername", "fielduser", "fielduser2", 0},
        {"ANPParams.APNPassWord", "fieldpass", "fieldpass2", 0},
        {"CollectParams.CollecInterval", "5", "6", 0},
        {"CollectParams.CutOff", "20", "25", 0},
        {"FileParams.FilePrefix", "K", "L", 0},
        {"FileParams.FileSN", "123", "124", 0},
        {"OtherParams.StaticLocation", "0", "1", 0},
        {"OtherParams.Rinex", "0", "1", 0},
        {"OtherParams.StaticVoice", "0", "1", 0},
        {"OtherParams.Band2G", "1", "2", 0},
        {"OtherParams.Band3G", "3", "5", 0},
        {"OtherParams.Voice", "3", "1", 0},
        {"OtherParams.Volume", "3", "7", 0},
        {"HZParams.AirBaud", "9600", "19200", 0},
    };
    for (int channel = 0; channel < 16; ++channel) {
        rows.push_back({"HZParams.HZSend" + std::to_string(channel),
                        megahertz(451025 + 100 * channel), megahertz(452050 + 100 * channel), 0});
        rows.push_back({"HZParams.HZReceive" + std::to_string(channel),
                        megahertz(461025 + 100 * channel), megahertz(462050 + 100 * channel), 0});
    }
    return rows;
}

class SettingRoundTrip : public ::testing::Test {
protected:
    // Every value get prints, by Section.Key.
    SettingValues get() {
        const VerbRun got = test::runVerb(receiver.devicePath(), {"get"});
        EXPECT_EQ(got.status, 0) << got.err;
        std::istringstream text(got.out);
        std::vector<IniText::Entry> entries;
        std::string error;
        EXPECT_TRUE(IniText::parse(text, entries, error)) << error;
        SettingValues values;
        for (const IniText::Entry& entry : entries) {
            values[entry.section + '.' + entry.key] = entry.value;
        }
        return values;
    }

    test::ServedEmulator receiver;
};

TEST_F(SettingRoundTrip, everyReadableKeyIsSetToAnotherValueAndReadBack) {
    std::map<std::string, SettingKey> keys;
    for (const SettingBinding& binding : SettingBindings::all()) {
        for (const SettingKey& key : SettingGroupAdapter(binding).keys()) {
            if (key.readable) {
                keys.emplace(key.name(), key);
            }
        }
    }
    std::set<std::string> covered;
    for (const Row& row : rows()) {
        EXPECT_EQ(keys.count(row.name), 1u) << row.name << " is no readable setting";
        covered.insert(row.name);
    }
    for (const auto& [name, key] : keys) {
        EXPECT_EQ(covered.count(name), 1u) << name << " has no row";
    }

    for (int pass = 0; pass < 2; ++pass) {
        const SettingValues before = get();
        std::vector<std::string> set = {"set"};
        SettingValues wanted;
        for (const Row& row : rows()) {
            if (row.pass != pass || keys.count(row.name) == 0) {
                continue;
            }
            ASSERT_EQ(before.count(row.name), 1u) << row.name << " is not printed by get";
            const std::string value = before.at(row.name) == row.a ? row.b : row.a;
            wanted[row.name] = value;
            set.push_back(row.name + '=' + value);
        }
        const VerbRun done = test::runVerb(receiver.devicePath(), set);
        ASSERT_EQ(done.status, 0) << done.err;
        const SettingValues after = get();
        for (const auto& [name, value] : wanted) {
            EXPECT_FALSE(SettingPlans::same(keys.at(name), before.at(name), value))
                << name << " was " << before.at(name) << " already";
            EXPECT_TRUE(SettingPlans::same(keys.at(name), after.at(name), value))
                << name << ": set " << value << ", read back " << after.at(name);
        }
    }
}

} // namespace
} // namespace kestrava
