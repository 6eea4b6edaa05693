#include "cli/SettingsVerbs.h"
#include "cli/IniText.h"

#include <gmock/gmock.h>

#include <fstream>
#include <sstream>

namespace kestrava {
namespace {

using ::testing::HasSubstr;

// A group with two readable keys and one that cannot be read back.
class TwoKeyGroup : public SettingGroup {
public:
    std::vector<SettingKey> keys() const override {
        return {{"CollectParams", "CollecInterval", "seconds", true},
                {"CollectParams", "CutOff", "degrees", true},
                {"Passwords", "Remote", "text", false}};
    }
    CliOutcome read(ReceiverSession&, SettingValues&) override { return {}; }
    CliOutcome write(ReceiverSession&, const SettingValues&) override { return {}; }
};

SettingsVerbs verbs() {
    std::vector<std::unique_ptr<SettingGroup>> groups;
    groups.push_back(std::make_unique<TwoKeyGroup>());
    return SettingsVerbs(std::move(groups));
}

struct AssignmentCase {
    std::vector<std::string> args;
    bool ok;
    std::string expected; // the canonical name set, or a piece of the error
};

class SetArguments : public ::testing::TestWithParam<AssignmentCase> {};

TEST_P(SetArguments, areCheckedBeforeThePortIsOpened) {
    const AssignmentCase& c = GetParam();
    SettingValues changes;
    std::string error;
    const bool ok = verbs().parseAssignments(c.args, changes, error);
    EXPECT_EQ(ok, c.ok) << error;
    if (c.ok) {
        EXPECT_EQ(changes.count(c.expected), 1u);
    } else {
        EXPECT_THAT(error, HasSubstr(c.expected));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetArguments,
    ::testing::Values(
        AssignmentCase{{"collectparams.cutoff=10"}, true, "CollectParams.CutOff"},
        AssignmentCase{{"CollectParams.CollecInterval=5"}, true, "CollectParams.CollecInterval"},
        AssignmentCase{{"Passwords.Remote=abc=def"}, true, "Passwords.Remote"},
        AssignmentCase{{"CollectParams.Interval=5"}, false, "unknown setting"},
        AssignmentCase{{"CutOff=5"}, false, "Section.Key=value"},
        AssignmentCase{{"CollectParams.CutOff"}, false, "Section.Key=value"},
        AssignmentCase{{}, false, "which settings"}, AssignmentCase{{"--from"}, false, "usage"},
        AssignmentCase{{"--from", "/nonexistent/profile.ini"}, false, "cannot read"}));

TEST(SetArguments, valueKeepsEverythingAfterTheFirstEqualsSign) {
    SettingValues changes;
    std::string error;
    ASSERT_TRUE(verbs().parseAssignments({"Passwords.Remote=a=b c"}, changes, error));
    EXPECT_EQ(changes["Passwords.Remote"], "a=b c");
}

TEST(IniText, whatWriteProducesParseReadsBack) {
    const std::vector<IniText::Entry> written{{"NetParams", "Port", "2101", 0},
                                              {"ANPParams", "UserName", "user one", 0},
                                              {"NetParams", "URL", "a=b", 0}};
    std::stringstream text;
    IniText::write(written, text);
    EXPECT_EQ(text.str(), "[NetParams]\nPort=2101\nURL=a=b\n\n[ANPParams]\nUserName=user one\n");
    std::vector<IniText::Entry> read;
    std::string error;
    ASSERT_TRUE(IniText::parse(text, read, error)) << error;
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[1].value, "a=b");
    EXPECT_EQ(read[2].section, "ANPParams");
}

struct MalformedCase {
    std::string text;
    std::string error;
};

class IniTextMalformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(IniTextMalformed, namesTheLine) {
    std::istringstream in(GetParam().text);
    std::vector<IniText::Entry> entries;
    std::string error;
    EXPECT_FALSE(IniText::parse(in, entries, error));
    EXPECT_THAT(error, HasSubstr(GetParam().error));
}

INSTANTIATE_TEST_SUITE_P(Cases, IniTextMalformed,
                         ::testing::Values(MalformedCase{"Port=1\n", "line 1"},
                                           MalformedCase{"[A]\n; note\n\nnot a pair\n", "line 4"},
                                           MalformedCase{"[A\nK=1\n", "malformed section"},
                                           MalformedCase{"[A]\n=1\n", "line 2"}));

TEST(IniText, toleratesCrLfBlanksCommentsAndAByteOrderMark) {
    std::istringstream in("\xEF\xBB\xBF[S]\r\n  Key =  value one \r\n# c\r\n");
    std::vector<IniText::Entry> entries;
    std::string error;
    ASSERT_TRUE(IniText::parse(in, entries, error)) << error;
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].section, "S");
    EXPECT_EQ(entries[0].key, "Key");
    EXPECT_EQ(entries[0].value, "value one");
}

} // namespace
} // namespace kestrava
