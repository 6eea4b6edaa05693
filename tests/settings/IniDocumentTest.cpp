#include "settings/IniDocument.h"
#include "settings/IniFile.h"

#include "settings/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrava {
namespace {

std::u16string text(const char* ascii) {
    return std::u16string(ascii, ascii + std::char_traits<char>::length(ascii));
}

// ---- Reading ----------------------------------------------------------------------------------

struct ReadCase {
    const char* name;
    const char* file;
    const char* section;
    const char* key;
    const char* expected;
};

class IniRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, returnsTheValueAsTheProfileFunctionsDo) {
    const auto& c = GetParam();
    const IniDocument document(text(c.file));
    EXPECT_EQ(document.readString(text(c.section), text(c.key), u"FALLBACK"), text(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniRead,
    ::testing::Values(
        ReadCase{"plain", "[A]\r\nk=v\r\n", "A", "k", "v"},
        ReadCase{"sectionAndKeyIgnoreCase", "[NetParams]\r\nPort=7\r\n", "netparams", "PORT", "7"},
        ReadCase{"whiteSpaceAroundNamesAndValue", "  [ A ]  \r\n  k  =  v w \t\r\n", "A", "k",
                 "v w"},
        ReadCase{"onePairOfDoubleQuotes", "[A]\r\nk=\"\"v\"\"\r\n", "A", "k", "\"v\""},
        ReadCase{"singleQuotes", "[A]\r\nk= 'v ' \r\n", "A", "k", "v "},
        ReadCase{"unmatchedQuotesStay", "[A]\r\nk=\"v'\r\n", "A", "k", "\"v'"},
        ReadCase{"lfOnlyLines", "[A]\nx=1\nk=v\n", "A", "k", "v"},
        ReadCase{"lastLineWithoutBreak", "[A]\r\nk=v", "A", "k", "v"},
        ReadCase{"valueHoldsEquals", "[A]\r\nk=a=b\r\n", "A", "k", "a=b"},
        ReadCase{"emptyValueIsNotMissing", "[A]\r\nk=\r\n", "A", "k", ""},
        ReadCase{"firstKeyWins", "[A]\r\nk=1\r\nk=2\r\n", "A", "k", "1"},
        ReadCase{"firstSectionWins", "[A]\r\nk=1\r\n[A]\r\nk=2\r\n", "A", "k", "1"},
        ReadCase{"keyOfAnotherSection", "[A]\r\nx=1\r\n[B]\r\nk=2\r\n", "A", "k", "FALLBACK"},
        ReadCase{"commentIsNoKey", "[A]\r\n;k=1\r\n", "A", ";k", "FALLBACK"},
        ReadCase{"lineWithoutEqualsIsNoKey", "[A]\r\nk\r\n", "A", "k", "FALLBACK"},
        ReadCase{"missingSection", "[A]\r\nk=1\r\n", "B", "k", "FALLBACK"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// ---- Writing ----------------------------------------------------------------------------------

struct WriteCase {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

class IniWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, changesOnlyWhatItMust) {
    const auto& c = GetParam();
    IniDocument document(text(c.before));
    document.writeString(text(c.section), text(c.key), text(c.value));
    EXPECT_EQ(document.text(), text(c.after));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWrite,
    ::testing::Values(WriteCase{"intoEmptyFile", "", "A", "k", "v", "[A]\r\nk=v\r\n"},
                      WriteCase{"replacesInPlaceKeepingSpelling",
                                "[a]\r\n; note\r\nKEY = old\r\nz=1\r\n", "A", "key", "new",
                                "[a]\r\n; note\r\nKEY=new\r\nz=1\r\n"},
                      WriteCase{"appendsAfterLastLineOfSection", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n",
                                "A", "k", "v", "[A]\r\nx=1\r\nk=v\r\n\r\n[B]\r\ny=2\r\n"},
                      WriteCase{"appendsToHeadingWithoutBreak", "[Setting]", "Setting", "Language",
                                "chinese", "[Setting]\r\nLanguage=chinese\r\n"},
                      WriteCase{"createsMissingSectionAtEnd", "; top\r\n[B]\r\ny=2", "A", "k", "v",
                                "; top\r\n[B]\r\ny=2\r\n[A]\r\nk=v\r\n"},
                      WriteCase{"lfFileBecomesCrLf", "[A]\nx=1\n", "A", "x", "2", "[A]\r\nx=2\r\n"},
                      WriteCase{"lineBreakCannotInjectKeys", "[A]\r\n", "A", "k", "v\r\n[B]\r\nx=1",
                                "[A]\r\nk=v\r\n"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(IniDeleteSection, removesEveryCopyAndKeepsTheRest) {
    IniDocument document(u"; head\r\n[A]\r\nk=1\r\n; inside\r\n[B]\r\nj=2\r\n[a]\r\nk=3\r\n");
    document.deleteSection(u"A");
    EXPECT_EQ(document.text(), u"; head\r\n[B]\r\nj=2\r\n");
    EXPECT_FALSE(document.hasSection(u"A"));
    document.deleteSection(u"missing");
    EXPECT_EQ(document.text(), u"; head\r\n[B]\r\nj=2\r\n");
}

// ---- Encodings --------------------------------------------------------------------------------

TEST(IniEncodingTest, fileWithByteOrderMarkIsReadAndWrittenAsUtf16) {
    const auto page = Latin1CodePage();
    const std::string bytes = "\xFF\xFE" + test::Utf16Le(u"[Setting]\r\nFont=\u5B8B\u4F53\r\n");
    auto document = IniFile::decode(bytes, page);
    EXPECT_EQ(document.encoding(), IniEncoding::Utf16Le);
    EXPECT_EQ(document.readString(u"setting", u"font", u""), u"\u5B8B\u4F53");
    EXPECT_EQ(IniFile::encode(document, page), bytes);
}

TEST(IniEncodingTest, utf16FileWithTrailingOddByteDropsIt) {
    const std::string bytes = "\xFF\xFE" + test::Utf16Le(u"[A]\r\nk=v") + "\x41";
    const auto document = IniFile::decode(bytes, Latin1CodePage());
    EXPECT_EQ(document.readString(u"A", u"k", u""), u"v");
}

TEST(IniEncodingTest, eightBitFileGoesThroughTheCallersCodePage) {
    CodePage upper; // a code page where byte 'x' is the character 'X' and back
    upper.toUtf16 = [](std::string_view bytes) {
        std::u16string out;
        for (char c : bytes) {
            out.push_back(c == 'x' ? u'X' : static_cast<char16_t>(static_cast<unsigned char>(c)));
        }
        return out;
    };
    upper.fromUtf16 = [](std::u16string_view textIn) {
        std::string out;
        for (char16_t c : textIn) {
            out.push_back(c == u'X' ? 'x' : static_cast<char>(c));
        }
        return out;
    };
    auto document = IniFile::decode("[A]\r\nk=x\r\n", upper);
    EXPECT_EQ(document.encoding(), IniEncoding::CodePage);
    EXPECT_EQ(document.readString(u"A", u"k", u""), u"X");
    document.writeString(u"A", u"j", u"XX");
    EXPECT_EQ(IniFile::encode(document, upper), "[A]\r\nk=x\r\nj=xx\r\n");
}

TEST(IniFileTest, latin1RoundTripsEveryByteOfUnknownLines) {
    std::string bytes = "[Other]\r\n";
    for (int b = 0x20; b < 0x100; ++b) {
        bytes.push_back(static_cast<char>(b));
    }
    bytes += "\r\n";
    test::TempFolder folder;
    test::WriteBytes(folder / "x.ini", bytes);
    IniDocument document;
    ASSERT_EQ(IniFile::load(folder / "x.ini", Latin1CodePage(), document),
              IniFile::LoadState::Loaded);
    document.writeString(u"New", u"k", u"v");
    ASSERT_TRUE(IniFile::save(folder / "x.ini", document, Latin1CodePage()));
    EXPECT_EQ(test::ReadBytes(folder / "x.ini"), bytes + "[New]\r\nk=v\r\n");
    EXPECT_EQ(IniFile::load(folder / "none.ini", Latin1CodePage(), document),
              IniFile::LoadState::Missing);
}

} // namespace
} // namespace kestrava
