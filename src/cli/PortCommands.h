#pragma once

#include <QString>

#include <ostream>

namespace kestrava {

// The command-line verbs that talk to a real port, through the same exchange core as the
// program's window. They need a Qt core application object to exist.
class PortCommands {
public:
    // Lists the serial ports with their descriptions, one per line. Exit status 0.
    static int listPorts(std::ostream& out);

    // Opens device at 19200 baud, runs the main information chain and waits until it has ended
    // (motherboard answered, its retries exhausted, or no motherboard request for this code),
    // then prints the panel as the window shows it, one "Label: value" line per field. Exit
    // status 0 when the main information arrived; 1 with "No reply from receiver" when it did
    // not; 2 when the device cannot be opened.
    static int info(const QString& device, std::ostream& out, std::ostream& err);
};

} // namespace kestrava
