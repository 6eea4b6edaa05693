#pragma once

#include "cli/PortVerbs.h"
#include "protocol/NmeaFix.h"

#include <string>

namespace kestrava {

// kestrava-cli --port DEVICE status [--seconds N]: the receiver's live fix from the NMEA it sends
// on this port, one line a second: time, fix type, satellites, HDOP, age of corrections,
// latitude, longitude and height, tab-separated. Exit 0 when GGA arrived, 3 when none did.
class StatusVerb {
public:
    static constexpr int kDefaultSeconds = 5;

    static PortVerb verb();
    // One line of the fix ("-" for what is not known).
    static std::string line(const NmeaFix& fix);
};

} // namespace kestrava
