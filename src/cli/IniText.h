#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace kestrava {

// Settings as INI text, the form get prints and set --from reads: "[Section]" lines, then
// "Key=value" lines. Blank lines and lines starting with ';' or '#' are skipped; names and
// values are trimmed of blanks; a value keeps everything after the first '='.
class IniText {
public:
    struct Entry {
        std::string section;
        std::string key;
        std::string value;
        int line = 0;
    };

    // False with error set (naming the line) when a line is neither a section, a key=value pair,
    // blank nor a comment, or a key comes before any section.
    static bool parse(std::istream& in, std::vector<Entry>& entries, std::string& error);

    // Writes entries grouped by section, sections in the order they first appear.
    static void write(const std::vector<Entry>& entries, std::ostream& out);
};

} // namespace kestrava
