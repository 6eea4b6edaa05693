#include "cli/PortCommands.h"

#include "serial/SerialPortList.h"

namespace kestrava {

int PortCommands::listPorts(std::ostream& out) {
    const auto ports = SerialPortList::available();
    if (ports.empty()) {
        out << "no serial ports found\n";
    }
    for (const auto& entry : ports) {
        out << entry.name.toStdString();
        if (!entry.description.isEmpty()) {
            out << "  " << entry.description.toStdString();
        }
        out << '\n';
    }
    return 0;
}

} // namespace kestrava
