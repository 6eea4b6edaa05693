#pragma once

#include <ostream>

namespace kestrava {

// The serial ports the system reports. Needs a Qt core application object to exist.
class PortCommands {
public:
    // Lists the serial ports with their descriptions, one per line. Exit status 0.
    static int listPorts(std::ostream& out);
};

} // namespace kestrava
