// Settings text as the command line reads it (set --from, diff, apply): with the window's own
// reader of recvcfg.ini, so that a file means the same to both, and refused where the window
// would ignore part of it.
#include "cli/IniText.h"
#include "exchange/TextCodec.h"
#include "settings/IniFile.h"

#include <gmock/gmock.h>

#include <sstream>

namespace kestrava {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

std::string utf16File(std::u16string_view text) {
    std::string bytes("\xFF\xFE");
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

std::u16string ascii(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

struct ReadCase {
    const char* name;
    std::string text;
    std::string section;
    std::string key;
    std::string value;
};

class IniTextReads : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniTextReads, aValueAsTheWindowReadsTheSameFile) {
    const ReadCase& c = GetParam();
    std::istringstream in(c.text);
    std::vector<IniText::Entry> entries;
    std::string error;
    ASSERT_TRUE(IniText::parse(in, entries, error)) << error;
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].section, c.section);
    EXPECT_EQ(entries[0].key, c.key);
    EXPECT_EQ(entries[0].value, c.value);

    const CodePage page = TextCodec::codePage();
    const IniDocument window = IniFile::decode(c.text, page);
    const auto value = window.value(ascii(c.section), ascii(c.key));
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(window.valueBytes(ascii(c.section), ascii(c.key)).value_or(page.fromUtf16(*value)),
              c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniTextReads,
    ::testing::Values(
        ReadCase{"doubleQuotesAreDropped", "[NetParams]\nVRSName=\"surveyor\"\n", "NetParams",
                 "VRSName", "surveyor"},
        ReadCase{"singleQuotesKeepTheBlanksInside", "[NetParams]\nVRSName= ' a b ' \n", "NetParams",
                 "VRSName", " a b "},
        ReadCase{"quotesInsideStay", "[A]\nk=say \"hi\"\n", "A", "k", "say \"hi\""},
        ReadCase{"anUnmatchedQuoteStays", "[A]\nk=\"x\n", "A", "k", "\"x"},
        ReadCase{"blanksAroundNamesAndValue", "  [ A ]  \r\n  k  =  v w \r\n", "A", "k", "v w"},
        ReadCase{"bytesOfAnotherCodePage", "[NetParams]\nSourceNode=caf\xE9\n", "NetParams",
                 "SourceNode", "caf\xE9"},
        ReadCase{"utf16File", utf16File(u"[A]\r\nk=v\r\n"), "A", "k", "v"},
        ReadCase{"utf8ByteOrderMark", "\xEF\xBB\xBF[A]\nk=v\n", "A", "k", "v"},
        ReadCase{"aHashKeyIsAComment", "[A]\n#k=1\n# note\n;k=3\nk=2\n", "A", "k", "2"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

struct TwiceCase {
    const char* name;
    std::string text;
    std::string again; // the line given again
    std::string first; // the line it repeats
};

class IniTextTwice : public ::testing::TestWithParam<TwiceCase> {};

TEST_P(IniTextTwice, isRefusedNamingBothLines) {
    std::istringstream in(GetParam().text);
    std::vector<IniText::Entry> entries;
    std::string error;
    EXPECT_FALSE(IniText::parse(in, entries, error));
    EXPECT_THAT(error, AllOf(HasSubstr(GetParam().again), HasSubstr(GetParam().first)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniTextTwice,
    ::testing::Values(TwiceCase{"sameKey", "[A]\nk=1\nk=2\n", "line 3:", "line 2"},
                      TwiceCase{"keyInOtherCase", "[A]\nK=1\n\nk=2\n", "line 4:", "line 2"},
                      TwiceCase{"sectionAgain", "[A]\nk=1\n[B]\nx=1\n[a]\nj=2\n",
                                "line 5:", "line 1"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(IniTextWrite, quotesWhatTheReaderWouldChangeSoItReadsBackAsItWas) {
    const std::vector<std::string> values{"plain", " lead", "trail ", "\"q\"", "'s'", "\"half", ""};
    std::vector<IniText::Entry> written;
    for (std::size_t i = 0; i < values.size(); ++i) {
        written.push_back({"A", "k" + std::to_string(i), values[i], 0});
    }
    std::stringstream text;
    IniText::write(written, text);
    std::vector<IniText::Entry> read;
    std::string error;
    ASSERT_TRUE(IniText::parse(text, read, error)) << error;
    ASSERT_EQ(read.size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(read[i].value, values[i]);
    }
    EXPECT_THAT(text.str(), HasSubstr("\nk0=plain\n"));
}

} // namespace
} // namespace kestrava
