#pragma once

#include "cli/PortVerbs.h"

#include <string>
#include <vector>

namespace kestrava {

// password remote NEW | password wifi NEW: the Basic page's two password groups. The password
// is checked by the page's form; the receiver must confirm the change.
class PasswordVerb {
public:
    static PortVerb verb();

    // Checks the arguments before the port is opened; empty when they are fine.
    static std::string check(const std::vector<std::string>& args);
    static int run(PortVerbContext& context);
};

} // namespace kestrava
