#include "cli/IniText.h"

#include <algorithm>

namespace kestrava {
namespace {

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

bool IniText::parse(std::istream& in, std::vector<Entry>& entries, std::string& error) {
    std::string raw;
    std::string section;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        std::string line = trim(raw);
        if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) {
            line = trim(line.substr(3));
        }
        if (line.empty() || line[0] == ';' || line[0] == '#') {
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3) {
                error = "line " + std::to_string(number) + ": malformed section \"" + line + "\"";
                return false;
            }
            section = trim(line.substr(1, line.size() - 2));
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos || equals == 0) {
            error =
                "line " + std::to_string(number) + ": expected Key=value, found \"" + line + "\"";
            return false;
        }
        if (section.empty()) {
            error =
                "line " + std::to_string(number) + ": \"" + line + "\" comes before any [Section]";
            return false;
        }
        entries.push_back(
            {section, trim(line.substr(0, equals)), trim(line.substr(equals + 1)), number});
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
                out << entry.key << '=' << entry.value << '\n';
            }
        }
    }
}

} // namespace kestrava
