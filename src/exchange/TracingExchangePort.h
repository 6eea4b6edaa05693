#pragma once

#include "exchange/ExchangePort.h"
#include "serial/SerialPortOwner.h"

#include <QMetaObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace kestrava {

class CommandExchange;
class ProtocolTrace;

// Puts a protocol trace between the exchange and its port: every frame written, every chunk
// received, every opening, closing and baud change becomes a line of the trace; everything else
// passes through unchanged. The received line is written after the exchange has handled the chunk,
// so it can name the reply kinds decoded from it; commands the exchange sends while handling a
// chunk follow that line, in the order they went out. The trace changes nothing of the
// conversation: every call, the hand-over of a reply as soon as it is whole included, reaches the
// inner port as it would without it.
class TracingExchangePort : public ExchangePort, public SerialPortOwner {
public:
    // inner and trace must outlive this object.
    TracingExchangePort(ExchangePort& inner, ProtocolTrace& trace);
    ~TracingExchangePort() override;

    // The exchange whose armed replies name the frames and whose handled replies name the
    // chunks. Without it, frames are traced with their names only.
    void attach(CommandExchange& exchange);

    // ExchangePort.
    void setOwner(SerialPortOwner* owner) override;
    bool readerAlive() const override;
    bool open(const QString& portName, std::int32_t baudRate) override;
    QString openError() const override { return m_inner.openError(); }
    bool queueWrite(const std::uint8_t* bytes, std::size_t length) override;
    void shutdown() override;
    void setHoldInputOpen(bool hold) override;
    void setChunkComplete(std::function<bool(const std::uint8_t*, std::size_t)> complete) override;
    QString portName() const override;

    // SerialPortOwner: the inner port delivers here first.
    void onSerialData(const std::uint8_t* bytes, std::size_t count) override;
    void onPortEvent() override;

private:
    struct PendingSend {
        double ms = 0;
        std::vector<std::uint8_t> bytes;
        QString comment;
    };

    QString describeSend(const std::uint8_t* bytes, std::size_t length) const;

    ExchangePort& m_inner;
    ProtocolTrace& m_trace;
    SerialPortOwner* m_owner = nullptr;
    CommandExchange* m_exchange = nullptr;
    QMetaObject::Connection m_replies;
    std::int32_t m_baud = 0;
    bool m_inChunk = false;
    QStringList m_chunkKinds;
    std::vector<PendingSend> m_pending;
};

} // namespace kestrava
