#pragma once

#include "exchange/ExchangePort.h"

namespace kestrava {

class CSerialPort;

// The exchange's port over the real serial link. The CSerialPort is the caller's and must
// outlive this adapter; it is opened with the event mask 3 and its reader started at once.
class SerialExchangePort : public ExchangePort {
public:
    static constexpr std::uint32_t kEventMask = 3;

    explicit SerialExchangePort(CSerialPort& port);

    void setOwner(SerialPortOwner* owner) override { m_owner = owner; }
    bool readerAlive() const override;
    bool open(const QString& portName, std::int32_t baudRate) override;
    QString openError() const override;
    bool queueWrite(const std::uint8_t* bytes, std::size_t length) override;
    void shutdown() override;
    void setHoldInputOpen(bool hold) override;
    QString portName() const override;
    void setChunkComplete(std::function<bool(const std::uint8_t*, std::size_t)> complete) override;

private:
    CSerialPort& m_port;
    SerialPortOwner* m_owner = nullptr;
};

} // namespace kestrava
