// Prints, one per line, every English text of the program that a language file does not
// translate, so they can be translated and appended (scripts/lang-add.py). Exit status 1 when
// any text is missing or can never be matched, 0 when the file is complete.
//
//   kestrava_lang_missing <source folder> <language file>
#include "lang/SourceTexts.h"
#include "lang/TranslationCheck.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: kestrava_lang_missing <source folder> <language file>\n";
        return 2;
    }
    using kestrava::SourceTexts;
    using kestrava::TranslationCheck;
    const auto texts = SourceTexts::programTexts(argv[1]);
    const auto unmatchable = TranslationCheck::unmatchable(texts);
    for (const auto& text : unmatchable) {
        std::cerr << text.file << ":" << text.line
                  << ": a language file cannot hold this text (line break or white space at an "
                     "end): \""
                  << text.english << "\"\n";
    }
    const auto missing = TranslationCheck::missing(texts, argv[2]);
    std::cout << TranslationCheck::listing(missing);
    std::cerr << texts.size() << " texts, " << missing.size() << " without a translation\n";
    return missing.empty() && unmatchable.empty() ? 0 : 1;
}
