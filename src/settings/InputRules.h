#pragma once

#include <cstdint>
#include <string_view>

namespace kestrava {

// The checks the pages apply to what the user typed before anything is sent. Each takes the
// text of an edit and says whether it is acceptable; the pages choose the message. Matching is
// exact and case-sensitive; nothing is trimmed.

// One or more ASCII digits; with `checkRange`, also minimum <= value <= maximum, where value is
// the decimal value saturated at 2147483647.
bool IntegerRangeRule(std::u16string_view text, std::int32_t minimum, std::int32_t maximum,
                      bool checkRange);

// Four non-empty parts separated by full stops, each digits only with a value of 0..255.
bool DottedQuadRule(std::u16string_view text);

// Three digits, a full stop, three digits ("463.125").
bool FrequencyTextRule(std::u16string_view text);

// One or more ASCII letters or digits.
bool AlphanumericRule(std::u16string_view text);

// Empty, or a single ASCII letter, digit or underscore.
bool PrefixRule(std::u16string_view text);

} // namespace kestrava
