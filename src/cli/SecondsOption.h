#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestrava {

// The "[--seconds N]" a listening verb takes (snr, status): nothing gives the default, anything
// but a whole number of seconds from 1 to 999999 is the verb's usage error.
class SecondsOption {
public:
    static std::optional<int> parse(const std::vector<std::string>& args, const std::string& verb,
                                    int defaultSeconds, std::string& error);
};

} // namespace kestrava
