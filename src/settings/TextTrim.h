#pragma once

#include <string_view>

namespace kestrava {

// White space as the profile functions and the language files treat it: blank, tab, line feed,
// vertical tab, form feed and carriage return.
inline bool isTextSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

// text without the white space at either end.
inline std::u16string_view trimmed(std::u16string_view text) {
    while (!text.empty() && isTextSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isTextSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace kestrava
