#pragma once

#include "cli/PortVerbs.h"

namespace kestrava {

// kestrava-cli --port DEV voice on|off: switches the voice prompts on or off, as the Advanced
// page's "Enable" and "Disable" do for receivers below type 'Q'.
class VoiceVerb {
public:
    static PortVerb make();
};

} // namespace kestrava
