#include "settings/InputRules.h"

#include "settings/TextNumbers.h"

#include <algorithm>

namespace kestrava {

namespace {

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool isLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool allDigits(std::u16string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

} // namespace

bool IntegerRangeRule(std::u16string_view text, std::int32_t minimum, std::int32_t maximum,
                      bool checkRange) {
    if (!allDigits(text)) {
        return false;
    }
    if (!checkRange) {
        return true;
    }
    const std::int32_t value = LeadingDecimal(text);
    return minimum <= value && value <= maximum;
}

bool DottedQuadRule(std::u16string_view text) {
    const auto first = text.find(u'.');
    if (first == std::u16string_view::npos || first == 0) {
        return false;
    }
    const auto second = text.find(u'.', first + 1);
    if (second == std::u16string_view::npos || second == first + 1) {
        return false;
    }
    const auto third = text.find(u'.', second + 1);
    if (third == std::u16string_view::npos || third == second + 1 || third + 1 == text.size()) {
        return false;
    }
    const std::u16string_view parts[] = {
        text.substr(0, first), text.substr(first + 1, second - first - 1),
        text.substr(second + 1, third - second - 1), text.substr(third + 1)};
    return std::all_of(std::begin(parts), std::end(parts), [](std::u16string_view part) {
        return IntegerRangeRule(part, 0, 255, true);
    });
}

bool FrequencyTextRule(std::u16string_view text) {
    // The separator must be a full stop: a frequency typed as "463x125" would otherwise pass
    // and be read as 463.000 MHz when the text is converted.
    return text.size() == 7 && isDigit(text[0]) && isDigit(text[1]) && isDigit(text[2]) &&
           text[3] == u'.' && isDigit(text[4]) && isDigit(text[5]) && isDigit(text[6]);
}

bool AlphanumericRule(std::u16string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](char16_t c) { return isDigit(c) || isLetter(c); });
}

bool PrefixRule(std::u16string_view text) {
    if (text.empty()) {
        return true;
    }
    return text.size() == 1 && (isDigit(text[0]) || isLetter(text[0]) || text[0] == u'_');
}

} // namespace kestrava
