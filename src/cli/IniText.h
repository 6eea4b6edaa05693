#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace kestrava {

// Settings as INI text, the form get prints and set --from and profiles read: "[Section]" lines,
// then "Key=value" lines. The text is read with the window's own reader of recvcfg.ini, so a
// file means the same to both: names are trimmed, a value is trimmed and then loses one pair of
// surrounding quotes, a file in the system code page keeps its value bytes as they are, and a
// UTF-16LE file (byte-order mark FF FE) or a UTF-8 byte-order mark is understood.
// Blank lines, lines starting with ';' or '#', and "#key=value" lines are comments.
class IniText {
public:
    struct Entry {
        std::string section;
        std::string key;
        std::string value;
        int line = 0;
    };

    // False with error set (naming the line) when a line is neither a section, a key=value pair,
    // blank nor a comment, a key comes before any section, a section heading comes a second
    // time, or a key is given twice (naming both lines): the window would read only the first
    // of them, so the file cannot mean one thing.
    static bool parse(std::istream& in, std::vector<Entry>& entries, std::string& error);

    // Writes entries grouped by section, sections in the order they first appear. A value that
    // the reader would change (white space at either end, surrounding quotes) is written in
    // double quotes, so that it reads back as it was.
    static void write(const std::vector<Entry>& entries, std::ostream& out);
};

} // namespace kestrava
