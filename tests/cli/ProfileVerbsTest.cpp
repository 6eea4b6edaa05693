// diff and apply over setting groups whose "receiver" is a table: what is compared, what is
// sent, what is read back, and what stops everything before anything is sent.
#include "cli/ProfileVerbs.h"
#include "cli/ReceiverSession.h"
#include "cli/SettingsVerbs.h"

#include <gmock/gmock.h>

#include <QDir>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>

namespace kestrava {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

// The receiver's side of the fake groups.
struct FakeReceiver {
    SettingValues values{
        {"Collect.Interval", "5"}, {"Collect.Name", "KV"}, {"Radio.Send0", "459.225006"}};
    std::vector<std::string> writes;  // the group names written, in order
    std::string ignores;              // a key whose set the receiver acknowledges but ignores
    std::vector<std::string> secrets; // write-only values received
};

class FakeGroup : public SettingGroup {
public:
    FakeGroup(FakeReceiver& receiver, std::string name, std::vector<SettingKey> keys)
        : m_receiver(receiver), m_name(std::move(name)), m_keys(std::move(keys)) {}

    std::vector<SettingKey> keys() const override { return m_keys; }
    CliOutcome read(ReceiverSession&, SettingValues& values) override {
        for (const SettingKey& key : m_keys) {
            if (key.readable) {
                values[key.name()] = m_receiver.values[key.name()];
            }
        }
        return {};
    }
    CliOutcome check(const SettingValues& values) const override {
        for (const auto& [name, value] : values) {
            if (value == "bad") {
                return {kCliRefused, "Please input valid " + name};
            }
        }
        return {};
    }
    CliOutcome write(ReceiverSession&, const SettingValues& values) override {
        m_receiver.writes.push_back(m_name);
        for (const SettingKey& key : m_keys) {
            const auto found = values.find(key.name());
            if (found == values.end()) {
                continue;
            }
            if (!key.readable) {
                m_receiver.secrets.push_back(found->second);
            } else if (key.name() != m_receiver.ignores) {
                m_receiver.values[key.name()] = found->second;
            }
        }
        return {};
    }

private:
    FakeReceiver& m_receiver;
    std::string m_name;
    std::vector<SettingKey> m_keys;
};

class ProfileVerbsTest : public ::testing::Test {
protected:
    ProfileVerbsTest() : session(sessionErrors) {
        std::vector<std::unique_ptr<SettingGroup>> groups;
        groups.push_back(std::make_unique<FakeGroup>(
            receiver, "collect",
            std::vector<SettingKey>{{"Collect", "Interval", "", true, SettingCompare::Number},
                                    {"Collect", "Name", "", true, SettingCompare::Text}}));
        groups.push_back(std::make_unique<FakeGroup>(
            receiver, "radio",
            std::vector<SettingKey>{{"Radio", "Send0", "", true, SettingCompare::Frequency}}));
        groups.push_back(std::make_unique<FakeGroup>(
            receiver, "passwords", std::vector<SettingKey>{{"Passwords", "Remote", "", false}}));
        settings = std::make_unique<SettingsVerbs>(std::move(groups));
    }

    std::string profile(const std::string& text) {
        const std::string path =
            QDir(folder.path()).filePath(QStringLiteral("p.ini")).toStdString();
        std::ofstream(path) << text;
        return path;
    }

    int diff(const std::string& text) {
        out.str({});
        err.str({});
        return ProfileVerbs::diff(session, *settings, {profile(text)}, out, err);
    }

    int apply(const std::string& text, bool dryRun = false) {
        out.str({});
        err.str({});
        std::vector<std::string> args{profile(text)};
        if (dryRun) {
            args.push_back("--dry-run");
        }
        return ProfileVerbs::apply(session, *settings, args, out, err);
    }

    QTemporaryDir folder;
    std::ostringstream sessionErrors;
    ReceiverSession session;
    FakeReceiver receiver;
    std::unique_ptr<SettingsVerbs> settings;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(ProfileVerbsTest, diffNamesExactlyTheKeysThatDiffer) {
    EXPECT_EQ(diff("[Collect]\nInterval=05\nName=KW\n[Radio]\nSend0=459.325\n"), 1);
    EXPECT_EQ(out.str(), "Collect.Name: receiver KV, profile KW\n"
                         "Radio.Send0: receiver 459.225006, profile 459.325\n");
}

TEST_F(ProfileVerbsTest, frequenciesCompareAsTheFloatTheFrameIsBuiltFrom) {
    EXPECT_EQ(diff("[Radio]\nSend0=459.225\n"), 0) << out.str();
    EXPECT_THAT(out.str(), IsEmpty());
}

TEST_F(ProfileVerbsTest, applySendsOnlyTheGroupsThatDifferAndProvesEachKey) {
    EXPECT_EQ(apply("[Collect]\nInterval=5\nName=KW\n[Radio]\nSend0=459.225\n"), 0) << err.str();
    EXPECT_EQ(receiver.writes, std::vector<std::string>{"collect"});
    EXPECT_EQ(out.str(), "Collect.Interval: unchanged\n"
                         "Collect.Name: set\n"
                         "Radio.Send0: unchanged\n");
    EXPECT_EQ(diff("[Collect]\nInterval=5\nName=KW\n[Radio]\nSend0=459.225\n"), 0);
}

TEST_F(ProfileVerbsTest, aSetTheReceiverDidNotTakeFailsAndNamesTheKey) {
    receiver.ignores = "Collect.Name";
    EXPECT_NE(apply("[Collect]\nName=KW\n"), 0);
    EXPECT_EQ(out.str(), "Collect.Name: FAILED (receiver KV)\n");
}

TEST_F(ProfileVerbsTest, anInvalidValueStopsEverythingBeforeAnythingIsSent) {
    EXPECT_EQ(apply("[Collect]\nName=KW\n[Radio]\nSend0=bad\n"), kCliRefused);
    EXPECT_THAT(receiver.writes, IsEmpty());
    EXPECT_THAT(err.str(), HasSubstr("Radio.Send0"));
}

TEST_F(ProfileVerbsTest, aDryRunSendsNothingAndSaysWhatItWouldSend) {
    EXPECT_EQ(apply("[Collect]\nName=KW\n[Passwords]\nRemote=abc123\n", true), 0);
    EXPECT_THAT(receiver.writes, IsEmpty());
    EXPECT_EQ(out.str(), "Collect.Name: would set KV -> KW\n"
                         "Passwords.Remote: would send abc123\n");
}

TEST_F(ProfileVerbsTest, writeOnlyKeysAreSentButNotVerifiable) {
    EXPECT_EQ(apply("[Passwords]\nRemote=abc123\n"), 0);
    EXPECT_EQ(receiver.secrets, std::vector<std::string>{"abc123"});
    EXPECT_EQ(out.str(), "Passwords.Remote: sent, not verifiable\n");
}

struct LoadCase {
    std::string text;
    bool ok;
    std::string said; // in the error, or in the notes
};

class ProfileLoad : public ProfileVerbsTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(ProfileLoad, programKeysAreSkippedWithANoteAndUnknownKeysStopTheLoad) {
    SettingValues values;
    std::ostringstream notes;
    std::string error;
    const bool ok = ProfileVerbs::load(profile(GetParam().text), *settings, values, notes, error);
    EXPECT_EQ(ok, GetParam().ok) << error;
    EXPECT_THAT(ok ? notes.str() : error, HasSubstr(GetParam().said));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileLoad,
    ::testing::Values(
        LoadCase{"[OtherParams]\nFWPath=/tmp/a.098.kvb\nFWType=1\n[collect]\ninterval=3\n", true,
                 "OtherParams.FWPath is a setting of the program"},
        LoadCase{"[Collect]\nIntervall=3\n", false,
                 "line 2: unknown setting \"Collect.Intervall\""},
        LoadCase{"[OtherParams]\nFWPath=x\n", false, "no receiver settings"},
        LoadCase{"Interval=3\n", false, "before any [Section]"},
        LoadCase{"[Collect]\nInterval=3\nName=KW\ninterval=4\n", false,
                 "line 4: Collect.interval is given again (first on line 2)"}));

TEST_F(ProfileVerbsTest, aQuotedValueIsSentAsTheWindowReadsIt) {
    EXPECT_EQ(apply("[Collect]\nName=\"KW\"\n"), 0) << err.str();
    EXPECT_EQ(receiver.values["Collect.Name"], "KW");
    EXPECT_EQ(out.str(), "Collect.Name: set\n");
}

} // namespace
} // namespace kestrava
