#include "app/PortRouter.h"

#include <utility>

namespace kestrava {

PortRouter::PortRouter(ExchangePort& serial, ExchangePort& named, QString name)
    : m_serial(serial), m_named(named), m_name(std::move(name)), m_active(&serial) {}

void PortRouter::setOwner(SerialPortOwner* owner) {
    m_serial.setOwner(owner);
    m_named.setOwner(owner);
}

bool PortRouter::open(const QString& portName, std::int32_t baudRate) {
    ExchangePort* next = portName == m_name ? &m_named : &m_serial;
    if (next != m_active && m_active->readerAlive()) {
        m_active->shutdown(); // its port-closed notice still follows
    }
    m_active = next;
    return m_active->open(portName, baudRate);
}

void PortRouter::setHoldInputOpen(bool hold) {
    m_serial.setHoldInputOpen(hold);
    m_named.setHoldInputOpen(hold);
}

void PortRouter::setChunkComplete(std::function<bool(const std::uint8_t*, std::size_t)> complete) {
    m_serial.setChunkComplete(complete);
    m_named.setChunkComplete(std::move(complete));
}

} // namespace kestrava
