#include "cli/IniText.h"

#include "exchange/TextCodec.h"
#include "settings/IniFile.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <map>
#include <utility>

namespace kestrava {
namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n\v\f");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n\v\f");
    return text.substr(first, last - first + 1);
}

std::string atLine(std::size_t index) {
    return "line " + std::to_string(index + 1) + ": ";
}

// Whether the reader would give back something else than `value`.
bool needsQuotes(const std::string& value) {
    if (value.empty()) {
        return false;
    }
    if (trim(value) != value) {
        return true;
    }
    return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
           value.back() == value.front();
}

} // namespace

bool IniText::parse(std::istream& in, std::vector<Entry>& entries, std::string& error) {
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const CodePage page = TextCodec::codePage();
    const IniDocument document = IniFile::decode(bytes, page);
    using Kind = IniDocument::LineKind;

    std::string section;
    std::map<std::string, std::size_t> headings; // folded section name -> its line
    std::map<std::string, std::size_t> keys;     // folded "section.key" -> its line
    for (std::size_t i = 0; i < document.lines().size(); ++i) {
        const std::string line = trim(document.lineBytes(i, page));
        switch (document.lineKind(i)) {
        case Kind::Blank:
        case Kind::Comment:
            continue;
        case Kind::Heading: {
            section = page.fromUtf16(document.lineName(i));
            if (line.back() != ']' || section.empty()) {
                error = atLine(i) + "malformed section \"" + line + "\"";
                return false;
            }
            const auto [first, added] = headings.emplace(lower(section), i);
            if (!added) {
                error = atLine(i) + "[" + section + "] comes a second time (first on line " +
                        std::to_string(first->second + 1) +
                        "); only the first is read, keep its keys under one heading";
                return false;
            }
            continue;
        }
        case Kind::Key:
        case Kind::Other:
            break;
        }
        if (line.front() == '#') {
            continue; // a comment, also when it holds a '=' (no key is named so)
        }
        const std::string key = page.fromUtf16(document.lineName(i));
        if (document.lineKind(i) != Kind::Key || key.empty()) {
            error = atLine(i) + "expected Key=value, found \"" + line + "\"";
            return false;
        }
        if (section.empty()) {
            error = atLine(i) + "\"" + line + "\" comes before any [Section]";
            return false;
        }
        const auto [first, added] = keys.emplace(lower(section) + '.' + lower(key), i);
        if (!added) {
            error = atLine(i) + section + '.' + key + " is given again (first on line " +
                    std::to_string(first->second + 1) + "); only the first is read";
            return false;
        }
        entries.push_back(
            {section, key, document.lineValueBytes(i, page), static_cast<int>(i + 1)});
    }
    return true;
}

void IniText::write(const std::vector<Entry>& entries, std::ostream& out) {
    std::vector<std::string> sections;
    for (const Entry& entry : entries) {
        if (std::find(sections.begin(), sections.end(), entry.section) == sections.end()) {
            sections.push_back(entry.section);
        }
    }
    bool first = true;
    for (const std::string& section : sections) {
        if (!first) {
            out << '\n';
        }
        first = false;
        out << '[' << section << "]\n";
        for (const Entry& entry : entries) {
            if (entry.section == section) {
                out << entry.key << '='
                    << (needsQuotes(entry.value) ? '"' + entry.value + '"' : entry.value) << '\n';
            }
        }
    }
}

} // namespace kestrava
