#include "exchange/TracingExchangePort.h"

#include "exchange/CommandExchange.h"
#include "exchange/ProtocolTrace.h"
#include "protocol/CommandNames.h"
#include "protocol/ReplyKind.h"

namespace kestrava {
namespace {

QString kindName(std::int32_t kind) {
    const std::string_view name = replyKindName(kind);
    return name.empty() ? QStringLiteral("kind %1").arg(kind)
                        : QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

TracingExchangePort::TracingExchangePort(ExchangePort& inner, ProtocolTrace& trace)
    : m_inner(inner), m_trace(trace) {}

TracingExchangePort::~TracingExchangePort() {
    QObject::disconnect(m_replies);
}

void TracingExchangePort::attach(CommandExchange& exchange) {
    QObject::disconnect(m_replies);
    m_exchange = &exchange;
    m_replies = QObject::connect(&exchange, &CommandExchange::replyHandled, [this](int kind, int) {
        if (m_inChunk) {
            m_chunkKinds.append(kindName(kind));
        }
    });
}

void TracingExchangePort::setOwner(SerialPortOwner* owner) {
    m_owner = owner;
    m_inner.setOwner(this);
}

bool TracingExchangePort::readerAlive() const {
    return m_inner.readerAlive();
}

bool TracingExchangePort::open(const QString& portName, std::int32_t baudRate) {
    const bool opened = m_inner.open(portName, baudRate);
    if (opened && m_baud != 0 && baudRate != m_baud) {
        m_trace.event("baud", QStringLiteral("%1 -> %2 baud").arg(m_baud).arg(baudRate));
    }
    m_trace.event("open", QStringLiteral("%1 at %2 baud%3")
                              .arg(portName)
                              .arg(baudRate)
                              .arg(opened ? QString() : QStringLiteral(": failed")));
    if (opened) {
        m_baud = baudRate;
    }
    return opened;
}

QString TracingExchangePort::describeSend(const std::uint8_t* bytes, std::size_t length) const {
    ExpectedReply armed;
    if (m_exchange != nullptr) {
        armed = m_exchange->expectedReply();
    }
    const std::string_view name = CommandNames::identify(bytes, length, armed);
    QString comment = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    if (m_exchange != nullptr) {
        comment += QStringLiteral("; awaits class %1 sub %2 kind %3 mode %4")
                       .arg(armed.replyClass, 2, 16, QLatin1Char('0'))
                       .arg(armed.replySub, 2, 16, QLatin1Char('0'))
                       .arg(armed.kind)
                       .arg(armed.mode);
    }
    return comment;
}

bool TracingExchangePort::queueWrite(const std::uint8_t* bytes, std::size_t length) {
    const bool queued = m_inner.queueWrite(bytes, length);
    QString comment = describeSend(bytes, length);
    if (!queued) {
        m_trace.event("error",
                      QStringLiteral("write of %1 bytes refused: %2").arg(length).arg(comment));
        return false;
    }
    if (m_inChunk) {
        m_pending.push_back(
            {m_trace.elapsedMs(), std::vector<std::uint8_t>(bytes, bytes + length), comment});
    } else {
        m_trace.sent(bytes, length, comment);
    }
    return true;
}

void TracingExchangePort::shutdown() {
    m_inner.shutdown();
}

void TracingExchangePort::setHoldInputOpen(bool hold) {
    m_inner.setHoldInputOpen(hold);
}

void TracingExchangePort::setChunkComplete(
    std::function<bool(const std::uint8_t*, std::size_t)> complete) {
    m_inner.setChunkComplete(std::move(complete));
}

QString TracingExchangePort::portName() const {
    return m_inner.portName();
}

void TracingExchangePort::onSerialData(const std::uint8_t* bytes, std::size_t count) {
    ExpectedReply awaited;
    if (m_exchange != nullptr) {
        awaited = m_exchange->expectedReply();
    }
    m_inChunk = true;
    m_chunkKinds.clear();
    m_pending.clear();
    if (m_owner != nullptr) {
        m_owner->onSerialData(bytes, count);
    }
    m_inChunk = false;
    QString comment;
    if (m_exchange == nullptr) {
        comment = QString();
    } else if (awaited.isIdle()) {
        comment = QStringLiteral("nothing awaited");
    } else if (m_chunkKinds.isEmpty()) {
        comment = QStringLiteral("no reply decoded (awaiting %1)").arg(kindName(awaited.kind));
    } else {
        comment = m_chunkKinds.join(QLatin1Char(' '));
    }
    m_trace.received(bytes, count, comment);
    for (const PendingSend& send : m_pending) {
        m_trace.sent(send.bytes.data(), send.bytes.size(), send.comment);
    }
    m_pending.clear();
}

void TracingExchangePort::onPortEvent() {
    m_trace.event("close", QStringLiteral("%1 closed").arg(m_inner.portName()));
    if (m_owner != nullptr) {
        m_owner->onPortEvent();
    }
}

} // namespace kestrava
