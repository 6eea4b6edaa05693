#include "settings/CodePage.h"

namespace kestrava {

CodePage Latin1CodePage() {
    CodePage page;
    page.toUtf16 = [](std::string_view bytes) {
        std::u16string text;
        text.reserve(bytes.size());
        for (const char c : bytes) {
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
        }
        return text;
    };
    page.fromUtf16 = [](std::u16string_view text) {
        std::string bytes;
        bytes.reserve(text.size());
        for (const char16_t c : text) {
            bytes.push_back(c <= 0xFF ? static_cast<char>(static_cast<unsigned char>(c)) : '?');
        }
        return bytes;
    };
    return page;
}

} // namespace kestrava
