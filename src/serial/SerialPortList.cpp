#include "serial/SerialPortList.h"

#include <QSerialPortInfo>

#include <algorithm>

namespace kestrava {

std::vector<SerialPortList::Entry> SerialPortList::available() {
    std::vector<Entry> entries;
    const auto ports = QSerialPortInfo::availablePorts();
    entries.reserve(static_cast<std::size_t>(ports.size()));
    for (const QSerialPortInfo& info : ports) {
#ifdef Q_OS_WIN
        entries.push_back({info.portName(), info.description()});
#else
        entries.push_back({info.systemLocation(), info.description()});
#endif
    }
    sortByName(entries);
    return entries;
}

void SerialPortList::sortByName(std::vector<Entry>& entries) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.name < b.name; });
}

} // namespace kestrava
