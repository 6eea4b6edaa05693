#include "lang/TranslationCheck.h"
#include "lang/SourceTexts.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using kestrava::SourceTexts;
using kestrava::TranslationCheck;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

std::vector<std::string> englishOf(const std::vector<SourceTexts::Text>& texts) {
    std::vector<std::string> out;
    for (const auto& text : texts) {
        out.push_back(text.english);
    }
    return out;
}

const std::filesystem::path kSourceDir = std::filesystem::path(KESTRAVA_SOURCE_DIR) / "src";
const std::filesystem::path kChinese =
    std::filesystem::path(KESTRAVA_SOURCE_DIR) / "lang" / "chinese.lang";

struct ExtractCase {
    const char* name;
    const char* source;
    std::vector<std::string> texts;
    bool messages = false; // read as a file of messages for the user
};

class ExtractTest : public ::testing::TestWithParam<ExtractCase> {};

TEST_P(ExtractTest, findsTheTextsTheLookupSees) {
    EXPECT_THAT(englishOf(SourceTexts::extract(GetParam().source, {}, GetParam().messages)),
                ElementsAreArray(GetParam().texts));
}

INSTANTIATE_TEST_SUITE_P(
    Sources, ExtractTest,
    ::testing::Values(
        ExtractCase{"plainCall", R"(ShowTip(QStringLiteral("Port opened"));)", {"Port opened"}},
        ExtractCase{
            "bothBranchesOfAConditional",
            R"(x->setText(Tr(on ? QStringLiteral("Stop Test") : QStringLiteral("Test"))));)",
            {"Stop Test", "Test"}},
        ExtractCase{"captionArgumentAfterOthers",
                    R"(AddLabel(1124, group, "Tip: first");)",
                    {"Tip: first"}},
        ExtractCase{"memberCallAndQualifiedWrapper",
                    R"(m_captions.Add(read, QString::fromLatin1("Read"));)",
                    {"Read"}},
        ExtractCase{"markedTableEntries",
                    R"(const char* const k[] = {QT_TR_NOOP("Net"), "GR64", QT_TR_NOOP("Radio")};)",
                    {"Net", "Radio"}},
        ExtractCase{"adjacentLiteralsJoin", "showBox(\"one \"\n  \"two\");", {"one two"}},
        ExtractCase{"escapesResolved", R"(showBox("a \"b\"\tc");)", {"a \"b\"\tc"}},
        ExtractCase{"nestedOtherCallIsNotAText",
                    R"(ShowTip(lookup("key")); translate(m_x ? name : other);)",
                    {}},
        ExtractCase{"commentsAndCharactersIgnored",
                    "// ShowTip(\"old\")\n/* showBox(\"gone\") */ char c = '\"'; "
                    "int n = 1'000; Tr(\"kept\");",
                    {"kept"}},
        ExtractCase{"rawLiteral", "showBox(R\"(raw \"text\")\");", {"raw \"text\""}},
        ExtractCase{
            "emptyTextSkipped", R"(beginSend(""); beginSend("Reading..."))", {"Reading..."}},
        ExtractCase{"bracesAroundLiteralIsNotACall",
                    R"(for (const char* s : {"a", "b"}) { Tr(QString::fromLatin1(s)); })",
                    {}},
        ExtractCase{"returnedMessageIsNoTextElsewhere",
                    R"(QString m() { return QStringLiteral("Please choose"); })",
                    {}},
        ExtractCase{"returnedAndKeptMessages",
                    R"(QString m() { return QStringLiteral("Please choose"); }
                       const QString k = QStringLiteral("Only digits");)",
                    {"Please choose", "Only digits"},
                    true},
        ExtractCase{"comparedLiteralsAreNoMessages",
                    R"(if (t == QStringLiteral("9600") || t!=QStringLiteral("1")) {
                           return X::refuse(QStringLiteral("Bad rate")); })",
                    {"Bad rate"},
                    true},
        ExtractCase{"otherWrappersAreNoMessages",
                    R"(n.indexOf(QLatin1String("gm")); f(QStringLiteral("Shown"));)",
                    {"Shown"},
                    true}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(TranslationCheckTest, keysTheFileCannotMatchAreReported) {
    const std::vector<SourceTexts::Text> texts = {
        {"Fine text", "a.cpp", 1}, {"Two\nlines", "a.cpp", 2}, {"Trailing ", "a.cpp", 3}};
    EXPECT_THAT(englishOf(TranslationCheck::unmatchable(texts)),
                ElementsAreArray({"Two\nlines", "Trailing "}));
}

TEST(TranslationCheckTest, missingAndEmptyTranslationsAreReported) {
    const auto path = std::filesystem::temp_directory_path() / "kestrava-check-test.lang";
    {
        std::ofstream out(path, std::ios::binary);
        const std::u16string content = u"\uFEFF  Open  \r\n打开\r\nClose\r\n\r\nRead\r\n读取";
        for (char16_t unit : content) {
            out.put(static_cast<char>(unit & 0xFF));
            out.put(static_cast<char>(unit >> 8));
        }
    }
    const std::vector<SourceTexts::Text> texts = {
        {"Open", "a.cpp", 1}, {"Close", "a.cpp", 2}, {"Read", "a.cpp", 3}, {"Set", "a.cpp", 4}};
    EXPECT_THAT(englishOf(TranslationCheck::missing(texts, path)),
                ElementsAreArray({"Close", "Set"}));
    std::filesystem::remove(path);
}

// The program's own sources against the shipped language file. The texts come from the code, so
// a text added anywhere in the window, its pages or the exchange fails this until translated.
TEST(TranslationCheckTest, everyTextTheProgramShowsHasAChineseTranslation) {
    const auto texts = SourceTexts::programTexts(kSourceDir);
    ASSERT_GT(texts.size(), 100U) << "the extractor found too few texts to be reading the sources";
    const auto missing = TranslationCheck::missing(texts, kChinese);
    EXPECT_THAT(missing, IsEmpty())
        << missing.size() << " texts lack a translation in lang/chinese.lang "
        << "(scripts/lang-missing.sh lists them, scripts/lang-add.py appends translations):\n"
        << TranslationCheck::listing(missing);
}

TEST(TranslationCheckTest, everyTextTheProgramShowsCanBeALanguageFileKey) {
    const auto texts = SourceTexts::programTexts(kSourceDir);
    const auto unmatchable = TranslationCheck::unmatchable(texts);
    std::string where;
    for (const auto& text : unmatchable) {
        where += text.file + ":" + std::to_string(text.line) + ": \"" + text.english + "\"\n";
    }
    EXPECT_THAT(unmatchable, IsEmpty()) << where;
}

} // namespace
