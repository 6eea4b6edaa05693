#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrava {

// Number texts of the settings and language files, independent of the process locale.

// The leading decimal integer of `text`: leading white space, an optional sign, then digits; text
// that does not start that way gives 0. Values beyond the signed 32-bit range saturate.
std::int32_t LeadingDecimal(std::u16string_view text);

// The leading decimal fraction of `text` ("459.225006", "1e2", "inf"), rounded to float; 0 when
// the text does not start with a number.
float LeadingFraction(std::u16string_view text);

// "%d" of a signed 32-bit value.
std::u16string DecimalText(std::int64_t value);

// "%3f" of a float: fixed notation with six decimals ("459.225006").
std::u16string FixedSixText(float value);

// ASCII-only conversions for texts that are known to be numbers or key names.
std::u16string AsciiToUtf16(std::string_view text);

} // namespace kestrava
