#pragma once

#include "lang/SourceTexts.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kestrava {

// Holds the program's English texts against a language file, with the program's own lookup.
class TranslationCheck {
public:
    // The texts that `languageFile` does not translate: no line matches them, or the line after
    // the match is empty.
    static std::vector<SourceTexts::Text> missing(const std::vector<SourceTexts::Text>& texts,
                                                  const std::filesystem::path& languageFile);

    // The texts that no line of a language file can ever match: a line break splits the key over
    // two lines, and white space at either end is trimmed from every line before comparing.
    static std::vector<SourceTexts::Text> unmatchable(const std::vector<SourceTexts::Text>& texts);

    // One text per line, for a failure message or for the person adding translations.
    static std::string listing(const std::vector<SourceTexts::Text>& texts);

    static std::u16string toU16(const std::string& utf8);
};

} // namespace kestrava
