#include "app/PortWatcher.h"

#include "serial/SerialPortList.h"

#include <QFileInfo>

namespace kestrava {

PortWatcher::PortWatcher(QObject* parent) : QObject(parent) {
    m_timer.setInterval(kPollMs);
    connect(&m_timer, &QTimer::timeout, this, &PortWatcher::look);
}

void PortWatcher::watch(const QString& portName) {
    m_portName = portName;
    m_seenInARow = 0;
    m_timer.start();
}

void PortWatcher::stop() {
    m_timer.stop();
    m_seenInARow = 0;
}

bool PortWatcher::devicePresent(const QString& portName) {
    if (portName.isEmpty()) {
        return false;
    }
#if defined(Q_OS_WIN)
    for (const SerialPortList::Entry& entry : SerialPortList::available()) {
        if (entry.name.compare(portName, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
#else
    return QFileInfo::exists(portName); // follows a link to the device
#endif
}

void PortWatcher::look() {
    if (!devicePresent(m_portName)) {
        m_seenInARow = 0;
        return;
    }
    if (++m_seenInARow >= 2) {
        emit deviceReturned(m_portName);
    }
}

} // namespace kestrava
