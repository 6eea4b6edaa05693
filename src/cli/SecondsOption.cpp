#include "cli/SecondsOption.h"

namespace kestrava {

std::optional<int> SecondsOption::parse(const std::vector<std::string>& args,
                                        const std::string& verb, int defaultSeconds,
                                        std::string& error) {
    if (args.empty()) {
        return defaultSeconds;
    }
    if (args.size() == 2 && args[0] == "--seconds") {
        const std::string& text = args[1];
        const bool digits = !text.empty() && text.size() <= 6 &&
                            text.find_first_not_of("0123456789") == std::string::npos;
        if (digits && std::stoi(text) > 0) {
            return std::stoi(text);
        }
    }
    error = verb + ": usage: " + verb + " [--seconds N] (N a whole number of seconds, 1 or more)";
    return std::nullopt;
}

} // namespace kestrava
