#include "cli/CommandArguments.h"

#include "cli/HexText.h"

#include <cerrno>
#include <cstdlib>

namespace kestrava {

std::optional<CommandArguments> CommandArguments::parse(const std::vector<std::string>& tokens,
                                                        std::string& error) {
    CommandArguments args;
    for (const std::string& token : tokens) {
        const auto eq = token.find('=');
        if (eq == std::string::npos || eq == 0) {
            error = "argument \"" + token + "\" is not of the form name=value";
            return std::nullopt;
        }
        std::string name = token.substr(0, eq);
        if (args.m_values.count(name) != 0) {
            error = "argument \"" + name + "\" is given twice";
            return std::nullopt;
        }
        args.m_values.emplace(std::move(name), token.substr(eq + 1));
    }
    return args;
}

bool CommandArguments::has(std::string_view name) const {
    return m_values.find(name) != m_values.end();
}

const std::string* CommandArguments::find(std::string_view name) {
    const auto it = m_values.find(name);
    if (it == m_values.end()) {
        return nullptr;
    }
    m_used.emplace(name);
    return &it->second;
}

void CommandArguments::fail(const std::string& message) {
    if (m_error.empty()) {
        m_error = message;
    }
}

long long CommandArguments::integer(std::string_view name, long long min, long long max,
                                    long long fallback) {
    const std::string* value = find(name);
    if (value == nullptr || !ok()) {
        return fallback;
    }
    const std::string& text = *value;
    const bool hexForm = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text.c_str(), &end, hexForm ? 16 : 10);
    if (text.empty() || end == nullptr || *end != '\0' || errno == ERANGE) {
        fail(std::string(name) + "=" + text + ": not an integer");
        return fallback;
    }
    if (parsed < min || parsed > max) {
        fail(std::string(name) + "=" + text + ": must be between " + std::to_string(min) + " and " +
             std::to_string(max));
        return fallback;
    }
    return parsed;
}

double CommandArguments::decimal(std::string_view name, double min, double max, double fallback) {
    const std::string* value = find(name);
    if (value == nullptr || !ok()) {
        return fallback;
    }
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(value->c_str(), &end);
    if (value->empty() || end == nullptr || *end != '\0' || errno == ERANGE || parsed != parsed) {
        fail(std::string(name) + "=" + *value + ": not a number");
        return fallback;
    }
    if (parsed < min || parsed > max) {
        fail(std::string(name) + "=" + *value + ": must be between " + std::to_string(min) +
             " and " + std::to_string(max));
        return fallback;
    }
    return parsed;
}

ByteString CommandArguments::text(std::string_view name, const ByteString& fallback) {
    const std::string* value = find(name);
    return value == nullptr ? fallback : ByteString(*value);
}

std::vector<ByteString> CommandArguments::list(std::string_view name) {
    std::vector<ByteString> items;
    const std::string* value = find(name);
    if (value == nullptr || value->empty()) {
        return items;
    }
    std::size_t start = 0;
    while (true) {
        const auto comma = value->find(',', start);
        items.emplace_back(value->substr(start, comma - start));
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return items;
}

std::size_t CommandArguments::choice(std::string_view name,
                                     const std::vector<std::string_view>& words,
                                     std::size_t fallback) {
    const std::string* value = find(name);
    if (value == nullptr || !ok()) {
        return fallback;
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (*value == words[i]) {
            return i;
        }
    }
    std::string allowed;
    for (std::string_view word : words) {
        allowed += allowed.empty() ? "" : ", ";
        allowed += word;
    }
    fail(std::string(name) + "=" + *value + ": must be one of " + allowed);
    return fallback;
}

Bytes CommandArguments::hex(std::string_view name) {
    const std::string* value = find(name);
    if (value == nullptr || value->empty() || !ok()) {
        return {};
    }
    std::string error;
    auto bytes = HexText::parse({*value}, error);
    if (!bytes) {
        fail(std::string(name) + ": " + error);
        return {};
    }
    return *bytes;
}

std::vector<std::string> CommandArguments::unused() const {
    std::vector<std::string> names;
    for (const auto& [name, value] : m_values) {
        if (m_used.count(name) == 0) {
            names.push_back(name);
        }
    }
    return names;
}

} // namespace kestrava
