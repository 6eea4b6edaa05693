#pragma once

#include "protocol/ProtocolTypes.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kestrava {

// The name=value arguments of one command on the command line. Getters check the value and
// record the first problem as a message for the user; after an error they return the fallback,
// so a builder can read all its arguments and the caller reports once.
class CommandArguments {
public:
    // Every token must have the form name=value with a non-empty name; a name may appear once.
    static std::optional<CommandArguments> parse(const std::vector<std::string>& tokens,
                                                 std::string& error);

    bool has(std::string_view name) const;

    // A decimal or 0x-prefixed hexadecimal integer in [min, max].
    long long integer(std::string_view name, long long min, long long max, long long fallback);
    // A decimal fraction in [min, max].
    double decimal(std::string_view name, double min, double max, double fallback);
    // The value as it stands (bytes of the command line, passed on unconverted).
    ByteString text(std::string_view name, const ByteString& fallback = {});
    // Comma-separated values ("a,b,c"); empty when absent.
    std::vector<ByteString> list(std::string_view name);
    // One of the given words; returns its index.
    std::size_t choice(std::string_view name, const std::vector<std::string_view>& words,
                       std::size_t fallback);
    // Hexadecimal bytes ("0102ff" or "01 02 ff").
    Bytes hex(std::string_view name);

    // Records a problem found by the caller (the first one wins).
    void fail(const std::string& message);

    bool ok() const { return m_error.empty(); }
    const std::string& error() const { return m_error; }
    // Names given on the command line that no getter asked for.
    std::vector<std::string> unused() const;

private:
    const std::string* find(std::string_view name);

    std::map<std::string, std::string, std::less<>> m_values;
    std::set<std::string, std::less<>> m_used;
    std::string m_error;
};

} // namespace kestrava
