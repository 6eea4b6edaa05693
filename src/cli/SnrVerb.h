#pragma once

#include "cli/PortVerbs.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrava {

// kestrava-cli --port DEV snr [--seconds N]: runs the net module's signal test, prints what the
// receiver sends as it arrives, and stops the test after N seconds (10 by default) or on
// Ctrl-C. The stop command is always sent before the verb ends.
class SnrVerb {
public:
    static constexpr int kDefaultSeconds = 10;

    static PortVerb make();
    // The test's duration from the arguments; nothing (with the reason) when they are wrong.
    static std::optional<int> seconds(const std::vector<std::string>& args, std::string& error);
};

} // namespace kestrava
