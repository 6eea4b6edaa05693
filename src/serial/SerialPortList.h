#pragma once

#include <QString>

#include <vector>

namespace kestrava {

// The serial ports that the main window offers, sorted by name as text (COM10 before COM3).
class SerialPortList {
public:
    struct Entry {
        QString name;        // "COM3" on Windows, "/dev/ttyUSB0" on Linux
        QString description; // the driver's description, may be empty
    };

    static std::vector<Entry> available();
    static void sortByName(std::vector<Entry>& entries);
};

} // namespace kestrava
