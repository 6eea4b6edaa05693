#pragma once

#include "cli/PortVerbs.h"

#include <string>
#include <vector>

namespace kestrava {

// kestrava-cli --port DEV firmware FILE [--type module|receiver] [--yes] [--timeout SECONDS]:
// the window's firmware update with the same checks and messages. The handshake waits up to the
// timeout (60 s unless given) for the receiver to be switched on; a progress line goes to
// standard error when it is a terminal. Exit 0 only on "Update successfully".
class FirmwareVerb {
public:
    static constexpr int kDefaultTimeoutSeconds = 60;

    struct Options {
        std::string file;
        int type = 0; // 0 module, 1 receiver
        bool yes = false;
        int timeoutSeconds = kDefaultTimeoutSeconds;
    };

    // Empty when the arguments are fine; else what is wrong with them.
    static std::string parse(const std::vector<std::string>& args, Options& options);

    static PortVerb verb();
    static int run(PortVerbContext& context);
};

} // namespace kestrava
