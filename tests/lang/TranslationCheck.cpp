#include "lang/TranslationCheck.h"

#include "settings/CStdioFileEx.h"
#include "settings/LanguageManager.h"
#include "settings/TextTrim.h"

namespace kestrava {

std::u16string TranslationCheck::toU16(const std::string& utf8) {
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        char32_t code = byte;
        std::size_t length = 1;
        if (byte >= 0xF0) {
            code = byte & 0x07U;
            length = 4;
        } else if (byte >= 0xE0) {
            code = byte & 0x0FU;
            length = 3;
        } else if (byte >= 0xC0) {
            code = byte & 0x1FU;
            length = 2;
        }
        for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3FU);
        }
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (code >> 10));
            out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
    }
    return out;
}

std::vector<SourceTexts::Text>
TranslationCheck::missing(const std::vector<SourceTexts::Text>& texts,
                          const std::filesystem::path& languageFile) {
    std::vector<SourceTexts::Text> result;
    for (const SourceTexts::Text& text : texts) {
        CStdioFileEx file;
        if (!file.open(languageFile)) {
            return texts;
        }
        file.skip(2);
        const auto translation = LanguageManager::findTranslation(file, toU16(text.english));
        if (!translation || trimmed(*translation).empty()) {
            result.push_back(text);
        }
    }
    return result;
}

std::vector<SourceTexts::Text>
TranslationCheck::unmatchable(const std::vector<SourceTexts::Text>& texts) {
    std::vector<SourceTexts::Text> result;
    for (const SourceTexts::Text& text : texts) {
        const std::u16string key = toU16(text.english);
        if (key.find_first_of(u"\r\n") != std::u16string::npos || trimmed(key) != key) {
            result.push_back(text);
        }
    }
    return result;
}

std::string TranslationCheck::listing(const std::vector<SourceTexts::Text>& texts) {
    std::string out;
    for (const SourceTexts::Text& text : texts) {
        out += text.english + "\n";
    }
    return out;
}

} // namespace kestrava
