#include "serial/SerialPortList.h"

#include "serial/PortDescription.h"

#include <QtGlobal>
#ifndef Q_OS_WIN
#include <QSerialPortInfo>
#endif

#include <algorithm>

namespace kestrava {

// Windows reads its ports from the registry (win32/SerialPortList.cpp).
#ifndef Q_OS_WIN
std::vector<SerialPortList::Entry> SerialPortList::available() {
    std::vector<Entry> entries;
    const auto ports = QSerialPortInfo::availablePorts();
    entries.reserve(static_cast<std::size_t>(ports.size()));
    for (const QSerialPortInfo& info : ports) {
        const QString name = info.systemLocation();
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
#endif

void SerialPortList::sortByName(std::vector<Entry>& entries) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.name < b.name; });
}

} // namespace kestrava
