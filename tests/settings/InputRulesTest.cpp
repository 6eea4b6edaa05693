#include "settings/InputRules.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrava {
namespace {

using Rule = bool (*)(std::u16string_view);

bool ByteFrom1To255(std::u16string_view text) {
    return IntegerRangeRule(text, 1, 255, true);
}
bool DigitsOnly(std::u16string_view text) {
    return IntegerRangeRule(text, 1, 255, false);
}

struct RuleCase {
    const char* rule;
    Rule check;
    std::u16string text;
    bool expected;
};

void PrintTo(const RuleCase& c, std::ostream* out) {
    *out << c.rule << "(\"" << std::string(c.text.begin(), c.text.end()) << "\")";
}

class InputRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(InputRuleTest, acceptsExactlyTheAllowedTexts) {
    EXPECT_EQ(GetParam().check(GetParam().text), GetParam().expected);
}

#define CASE(rule, text, expected)                                                                 \
    RuleCase {                                                                                     \
#rule, rule, text, expected                                                                \
    }

INSTANTIATE_TEST_SUITE_P(
    Cases, InputRuleTest,
    ::testing::Values(
        CASE(ByteFrom1To255, u"1", true), CASE(ByteFrom1To255, u"255", true),
        CASE(ByteFrom1To255, u"007", true), CASE(ByteFrom1To255, u"0", false),
        CASE(ByteFrom1To255, u"256", false), CASE(ByteFrom1To255, u"", false),
        CASE(ByteFrom1To255, u"+1", false), CASE(ByteFrom1To255, u"-1", false),
        CASE(ByteFrom1To255, u" 1", false), CASE(ByteFrom1To255, u"1 ", false),
        CASE(ByteFrom1To255, u"1.5", false), CASE(ByteFrom1To255, u"\uFF11", false),
        CASE(ByteFrom1To255, u"12345678901", false),
        CASE(ByteFrom1To255, u"00000000000000000000001", true),
        CASE(DigitsOnly, u"12345678901", true), CASE(DigitsOnly, u"", false),
        CASE(DigitsOnly, u"1a", false), CASE(DottedQuadRule, u"192.168.0.1", true),
        CASE(DottedQuadRule, u"0.0.0.0", true), CASE(DottedQuadRule, u"001.002.003.004", true),
        CASE(DottedQuadRule, u"256.1.1.1", false), CASE(DottedQuadRule, u"1.1.1.256", false),
        CASE(DottedQuadRule, u"1..2.3", false), CASE(DottedQuadRule, u".1.2.3", false),
        CASE(DottedQuadRule, u"1.2.3.", false), CASE(DottedQuadRule, u"1.2.3.4.5", false),
        CASE(DottedQuadRule, u"1.2.3", false), CASE(DottedQuadRule, u"1.2. 3.4", false),
        CASE(FrequencyTextRule, u"463.125", true), CASE(FrequencyTextRule, u"463x125", false),
        CASE(FrequencyTextRule, u"463,125", false), CASE(FrequencyTextRule, u"000.000", true),
        CASE(FrequencyTextRule, u"46.125", false), CASE(FrequencyTextRule, u"463.1250", false),
        CASE(FrequencyTextRule, u"463.12a", false), CASE(AlphanumericRule, u"abc123", true),
        CASE(AlphanumericRule, u"", false), CASE(AlphanumericRule, u"ab c", false),
        CASE(AlphanumericRule, u"ab_c", false), CASE(AlphanumericRule, u"\u00E9", false),
        CASE(PrefixRule, u"", true), CASE(PrefixRule, u"A", true), CASE(PrefixRule, u"7", true),
        CASE(PrefixRule, u"_", true), CASE(PrefixRule, u"AB", false),
        CASE(PrefixRule, u"#", false)));

#undef CASE

TEST(IntegerRangeRuleTest, hugeValuesCountAsTheLargestInteger) {
    EXPECT_TRUE(IntegerRangeRule(u"99999999999999999999", 2147483647, 2147483647, true));
}

} // namespace
} // namespace kestrava
