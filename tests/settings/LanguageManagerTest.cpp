#include "settings/LanguageManager.h"

#include "settings/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace kestrava {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

const std::string kBom = "\xFF\xFE";

// ---- The line reader --------------------------------------------------------------------------

struct LinesCase {
    const char* name;
    std::string bytes;
    std::vector<std::u16string> lines;
};

class CStdioFileExLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(CStdioFileExLines, splitsAsTheLineRulesSay) {
    CStdioFileEx file;
    file.openBytes(GetParam().bytes);
    std::vector<std::u16string> lines;
    std::u16string line;
    while (file.readLine(line)) {
        lines.push_back(line);
    }
    EXPECT_EQ(lines, GetParam().lines);
    EXPECT_FALSE(file.failed());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CStdioFileExLines,
    ::testing::Values(
        LinesCase{"crLfEndsAndIsRemoved", test::Utf16Le(u"ab\r\ncd\r\n"), {u"ab", u"cd"}},
        LinesCase{"lastLineWithoutBreak", test::Utf16Le(u"ab\r\ncd"), {u"ab", u"cd"}},
        LinesCase{"lineOfOnlyCrLfStays", test::Utf16Le(u"\r\n\r\nx"), {u"\r\n", u"\r\n", u"x"}},
        LinesCase{"loneLfAndCrAreCharacters", test::Utf16Le(u"a\nb\rc\r\n"), {u"a\nb\rc"}},
        LinesCase{"trailingOddByteEndsTheFile", test::Utf16Le(u"ab") + "c", {u"ab"}},
        LinesCase{"emptyFile", "", {}},
        LinesCase{"maxLineSplits",
                  test::Utf16Le(std::u16string(1024, u'x') + u"yz\r\n"),
                  {std::u16string(1024, u'x'), u"yz"}},
        LinesCase{"crLfRightAtTheLimit",
                  test::Utf16Le(std::u16string(1022, u'x') + u"\r\nz"),
                  {std::u16string(1022, u'x'), u"z"}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// ---- Lookups ----------------------------------------------------------------------------------

class LanguageManagerTest : public ::testing::Test {
protected:
    LanguageManagerTest() { std::filesystem::create_directories(m_folder / "lang"); }

    void writeLanguage(const std::string& name, const std::u16string& lines,
                       const std::string& bom = kBom) {
        test::WriteBytes(m_folder / "lang" / (name + ".lang"), bom + test::Utf16Le(lines));
    }
    LanguageManager manager() {
        LanguageManager m(m_folder.path(), m_folder / "lang");
        m.initialise();
        return m;
    }

    test::TempFolder m_folder;
};

TEST_F(LanguageManagerTest, withoutAnySettingsEveryTextIsEnglishInArial15) {
    LanguageManager m(m_folder / "nowhere", m_folder / "nolang");
    m.initialise();
    EXPECT_EQ(m.language(), u"english.lang");
    EXPECT_EQ(m.font(), (UiFont{u"Arial", 15}));
    EXPECT_EQ(m.translate(u"Set"), u"Set");
    EXPECT_TRUE(m.languageList().empty());
    EXPECT_FALSE(std::filesystem::exists(m_folder / "nowhere" / "langsetting.ini"));
}

TEST_F(LanguageManagerTest, defaultLanguageReadsTheDoubledExtensionFile) {
    writeLanguage("english.lang", u"Set\r\nSET!\r\n");
    EXPECT_EQ(manager().translate(u"Set"), u"SET!");
}

struct LookupCase {
    const char* name;
    std::u16string file;
    std::u16string english;
    std::u16string expected;
};

class LanguageLookup : public LanguageManagerTest,
                       public ::testing::WithParamInterface<LookupCase> {};

TEST_P(LanguageLookup, findsTheLineAfterTheFirstMatch) {
    writeLanguage("chinese", GetParam().file);
    auto m = manager();
    m.chooseLanguage(u"chinese");
    EXPECT_EQ(m.translate(GetParam().english), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageLookup,
    ::testing::Values(
        LookupCase{"plainPair", u"Open\r\n\u6253\u5F00\r\nSet\r\n\u8BBE\u7F6E\r\n", u"Set",
                   u"\u8BBE\u7F6E"},
        LookupCase{"keyLineIsTrimmed", u"  Set  \r\nx\r\n", u"Set", u"x"},
        LookupCase{"translationIsNotTrimmed", u"Set\r\n  x \t\r\n", u"Set", u"  x \t"},
        LookupCase{"caseMatters", u"set\r\nx\r\n", u"Set", u"Set"},
        LookupCase{"keyOnLastLineGivesEmpty", u"Open\r\nA\r\nSet", u"Set", u""},
        LookupCase{"translationLinesTakePart", u"Open\r\nSet\r\nSet\r\nS\r\n", u"Set", u"Set"},
        LookupCase{"emptyTranslation", u"Set\r\n\r\nOpen\r\n", u"Set", u"\r\n"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(LanguageManagerTest, fileWithoutByteOrderMarkLosesItsFirstCharacter) {
    writeLanguage("chinese", u"Set\r\nx\r\nOpen\r\ny\r\n", "");
    auto m = manager();
    m.chooseLanguage(u"chinese");
    EXPECT_EQ(m.translate(u"Set"), u"Set");
    EXPECT_EQ(m.translate(u"et"), u"x");
    EXPECT_EQ(m.translate(u"Open"), u"y");
}

TEST_F(LanguageManagerTest, changedFileTakesEffectAtTheNextLookup) {
    writeLanguage("chinese", u"Set\r\nA\r\n");
    auto m = manager();
    m.chooseLanguage(u"chinese");
    EXPECT_EQ(m.translate(u"Set"), u"A");
    writeLanguage("chinese", u"Set\r\nB\r\n");
    EXPECT_EQ(m.translate(u"Set"), u"B");
}

// ---- Settings ---------------------------------------------------------------------------------

TEST_F(LanguageManagerTest, choosingALanguageCreatesTheUtf16SettingsFile) {
    auto m = manager();
    ASSERT_TRUE(m.chooseLanguage(u"chinese"));
    EXPECT_EQ(m.language(), u"chinese");
    EXPECT_EQ(test::ReadBytes(m_folder / "langsetting.ini"),
              kBom + test::Utf16Le(u"[Setting]\r\nLanguage=chinese\r\nFont=Arial\r\nSize=15\r\n"));
}

TEST_F(LanguageManagerTest, settingsAreReadBackAndTheFontIsKeptForTheRun) {
    test::WriteBytes(m_folder / "langsetting.ini",
                     kBom + test::Utf16Le(u"; mine\r\n[setting]\r\nsize = 20\r\n"
                                          u"Font=\u5B8B\u4F53\r\nLanguage=english\r\n"));
    auto m = manager();
    EXPECT_EQ(m.language(), u"english");
    EXPECT_EQ(m.font(), (UiFont{u"\u5B8B\u4F53", 20}));
    ASSERT_TRUE(m.chooseLanguage(u"chinese"));
    EXPECT_EQ(test::ReadBytes(m_folder / "langsetting.ini"),
              kBom + test::Utf16Le(u"; mine\r\n[setting]\r\nsize=20\r\nFont=\u5B8B\u4F53\r\n"
                                   u"Language=chinese\r\n"));
}

struct SizeCase {
    const char* name;
    std::u16string size;
    std::int32_t height;
};

class LanguageFontSize : public LanguageManagerTest,
                         public ::testing::WithParamInterface<SizeCase> {};

TEST_P(LanguageFontSize, theFontHeightStaysInAUsableRangeAndTheTextAsWritten) {
    const std::string file = kBom + test::Utf16Le(u"[Setting]\r\nSize=" + GetParam().size +
                                                  u"\r\nFont=Arial\r\nLanguage=english\r\n");
    test::WriteBytes(m_folder / "langsetting.ini", file);
    auto m = manager();
    EXPECT_EQ(m.font().height, GetParam().height);
    EXPECT_EQ(m.fontSize(), GetParam().size);
    ASSERT_TRUE(m.chooseLanguage(u"english"));
    EXPECT_EQ(test::ReadBytes(m_folder / "langsetting.ini"), file);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageFontSize,
    ::testing::Values(SizeCase{"usual", u"20", 20}, SizeCase{"largest", u"72", 72},
                      SizeCase{"int32Max", u"2147483647", 72},
                      SizeCase{"beyondInt32", u"99999999999", 72}, SizeCase{"tooSmall", u"3", 8},
                      SizeCase{"zeroIsTheDefault", u"0", 0},
                      SizeCase{"negative", u"-2147483648", 0}, SizeCase{"notANumber", u"big", 0}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(LanguageManagerTest, startingRemovesTheStaleTemporariesOfTheSettingsFile) {
    // 2^31 - 1 is above any process id a system hands out.
    const auto stale = m_folder / "langsetting.ini.tmp2147483647-0";
    const auto other = m_folder / "recvcfg.ini.tmp2147483647-0";
    for (const auto& file : {stale, other}) {
        test::WriteBytes(file, "partial");
        std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now() -
                                                   std::chrono::minutes(1));
    }
    manager();
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(other));
}

TEST_F(LanguageManagerTest, failedSettingsWriteIsReportedButTheLanguageChanges) {
    LanguageManager m(m_folder / "missing-folder", m_folder / "lang");
    m.initialise();
    EXPECT_FALSE(m.chooseLanguage(u"chinese"));
    EXPECT_EQ(m.language(), u"chinese");
}

TEST_F(LanguageManagerTest, languageListNamesTheLangFilesOnly) {
    writeLanguage("chinese", u"");
    writeLanguage("english", u"");
    writeLanguage("v1.2", u"");
    test::WriteBytes(m_folder / "lang" / "readme.txt", "");
    std::filesystem::create_directories(m_folder / "lang" / "folder.lang");
    auto m = manager();
    const auto list = m.languageList();
    EXPECT_THAT(list, UnorderedElementsAre(u"chinese", u"english", u"v1.2"));
    m.chooseLanguage(u"chin");
    const auto selected = m.initialSelection(list);
    ASSERT_TRUE(selected.has_value());
    EXPECT_EQ(list[*selected], u"chinese");
    m.chooseLanguage(u"english.lang");
    EXPECT_FALSE(m.initialSelection(list).has_value());
}

} // namespace
} // namespace kestrava
