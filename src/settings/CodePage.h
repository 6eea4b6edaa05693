#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kestrava {

// Conversion between the system's 8-bit code page and UTF-16, supplied by the caller: the Qt
// front end uses the system codec, tests use Latin-1. Both directions must accept any input;
// characters the code page cannot hold become whatever the converter substitutes.
struct CodePage {
    std::function<std::u16string(std::string_view bytes)> toUtf16;
    std::function<std::string(std::u16string_view text)> fromUtf16;
};

// ISO 8859-1: every byte is the code point of the same value; characters above U+00FF become '?'.
// Round-trips every byte string unchanged.
CodePage Latin1CodePage();

} // namespace kestrava
