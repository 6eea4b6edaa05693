#include "settings/TextNumbers.h"
#include "settings/TextTrim.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace kestrava {

std::int32_t LeadingDecimal(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isTextSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Accumulate in 64 bits and stop growing once past the 32-bit range.
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > limit) {
            value = limit;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value); // -2^31 at most
}

float LeadingFraction(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isTextSpace(text[i])) {
        ++i;
    }
    std::string ascii;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // from_chars wants plain ASCII and no sign of its own; stop at the first other character.
    for (;
         i < text.size() && text[i] > u' ' && text[i] < 0x7F && text[i] != u'+' && text[i] != u'-';
         ++i) {
        ascii.push_back(static_cast<char>(text[i]));
    }
    // An exponent sign belongs to the number ("1e-3"): take it and the digits after it.
    if (!ascii.empty() && (ascii.back() == 'e' || ascii.back() == 'E') && i < text.size() &&
        (text[i] == u'+' || text[i] == u'-')) {
        ascii.push_back(static_cast<char>(text[i]));
        for (++i; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
            ascii.push_back(static_cast<char>(text[i]));
        }
    }
    double value = 0.0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large gives infinity, too small gives zero, as the C conversion does.
        const auto digits = ascii.find_first_of("123456789");
        const auto exponent = ascii.find_first_of("eE");
        const bool tiny = exponent != std::string::npos && exponent + 1 < ascii.size() &&
                          ascii[exponent + 1] == '-';
        value =
            (digits == std::string::npos || tiny) ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    if (negative) {
        value = -value;
    }
    // Beyond the float range the stored value is an infinity of the same sign.
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) {
        return value > 0 ? std::numeric_limits<float>::infinity()
                         : -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}

std::u16string DecimalText(std::int64_t value) {
    return AsciiToUtf16(std::to_string(value));
}

std::u16string FixedSixText(float value) {
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::fixed, 6);
    return AsciiToUtf16(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

std::u16string AsciiToUtf16(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

} // namespace kestrava
