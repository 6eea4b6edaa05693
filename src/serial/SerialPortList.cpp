#include "serial/SerialPortList.h"

#include "serial/PortDescription.h"

#include <QSerialPortInfo>

#include <algorithm>

namespace kestrava {

std::vector<SerialPortList::Entry> SerialPortList::available() {
    std::vector<Entry> entries;
    const auto ports = QSerialPortInfo::availablePorts();
    entries.reserve(static_cast<std::size_t>(ports.size()));
    for (const QSerialPortInfo& info : ports) {
#ifdef Q_OS_WIN
        const QString name = info.portName();
#else
        const QString name = info.systemLocation();
#endif
        PortDescription::Facts facts{name, info.description(), info.manufacturer(), {}, {}};
        if (info.hasVendorIdentifier() && info.hasProductIdentifier()) {
            facts.vendorId = info.vendorIdentifier();
            facts.productId = info.productIdentifier();
        }
        entries.push_back({name, PortDescription::describe(facts)});
    }
    sortByName(entries);
    return entries;
}

void SerialPortList::sortByName(std::vector<Entry>& entries) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.name < b.name; });
}

} // namespace kestrava
