#pragma once

#include "cli/PortVerbs.h"

#include <ostream>
#include <string>
#include <vector>

namespace kestrava {

// kestrava-cli caster: the caster check from this computer's own internet link.
//   caster list HOST[:PORT]                     the mount points, one a line
//   caster check HOST[:PORT] MOUNT [--user U] [--password P] [--seconds N]
//   --port DEVICE caster check [--seconds N]    what the receiver is set to use
// Exit 0 done, 1 usage, 3 no answer or unreachable (or no RTCM 3 data), 4 refused by the
// caster (the login, or a mount point it does not have).
class CasterVerb {
public:
    static constexpr int kDefaultSeconds = 5;

    // The verb without a receiver; needs a Qt core application object.
    static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
    // The verb on a receiver.
    static PortVerb verb();

    static void printHelp(std::ostream& out);
};

} // namespace kestrava
