#include "exchange/SerialExchangePort.h"

#include "serial/CSerialPort.h"

namespace kestrava {

SerialExchangePort::SerialExchangePort(CSerialPort& port) : m_port(port) {}

bool SerialExchangePort::readerAlive() const {
    return m_port.readerAlive();
}

bool SerialExchangePort::open(const QString& portName, std::int32_t baudRate) {
    if (!m_port.OpenPort(m_owner, portName, baudRate, kEventMask)) {
        return false;
    }
    return m_port.startReader();
}

QString SerialExchangePort::openError() const {
    return m_port.openError();
}

bool SerialExchangePort::queueWrite(const std::uint8_t* bytes, std::size_t length) {
    return m_port.QueueWrite(bytes, length);
}

void SerialExchangePort::shutdown() {
    m_port.signalShutdown();
}

void SerialExchangePort::setHoldInputOpen(bool hold) {
    holdInputOpen.store(hold ? 1 : 0);
}

void SerialExchangePort::setChunkComplete(
    std::function<bool(const std::uint8_t*, std::size_t)> complete) {
    m_port.setChunkComplete(std::move(complete));
}

QString SerialExchangePort::portName() const {
    return m_port.portName();
}

} // namespace kestrava
