#pragma once

#include "exchange/ExchangePort.h"

#include <QString>

namespace kestrava {

// One port for the exchange over two: the serial port, and a port of its own for one name (the
// built-in emulator where it runs in-process). open() picks the port by the name it is given;
// everything else goes to the port last picked.
class PortRouter : public ExchangePort {
public:
    PortRouter(ExchangePort& serial, ExchangePort& named, QString name);

    void setOwner(SerialPortOwner* owner) override;
    bool readerAlive() const override { return m_active->readerAlive(); }
    bool open(const QString& portName, std::int32_t baudRate) override;
    QString openError() const override { return m_active->openError(); }
    bool queueWrite(const std::uint8_t* bytes, std::size_t length) override {
        return m_active->queueWrite(bytes, length);
    }
    void shutdown() override { m_active->shutdown(); }
    void setHoldInputOpen(bool hold) override;
    void setChunkComplete(std::function<bool(const std::uint8_t*, std::size_t)> complete) override;
    QString portName() const override { return m_active->portName(); }

private:
    ExchangePort& m_serial;
    ExchangePort& m_named;
    QString m_name;
    ExchangePort* m_active;
};

} // namespace kestrava
