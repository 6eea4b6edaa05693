#include "support/InMemoryExchangePort.h"

#include <algorithm>

namespace kestrava::test {

bool InMemoryExchangePort::open(const QString& portName, std::int32_t baudRate) {
    if (m_alive) {
        // A reader still running is ended first; its notice still follows.
        m_alive = false;
        ++m_portEventsPending;
    }
    if (m_openFails) {
        return false;
    }
    m_alive = true;
    m_name = portName;
    m_baud = baudRate;
    m_holdInput = true;
    ++m_opens;
    return true;
}

bool InMemoryExchangePort::queueWrite(const std::uint8_t* bytes, std::size_t length) {
    if (!m_alive || length > kWriteBufferSize) {
        return false;
    }
    m_writes.emplace_back(bytes, bytes + length);
    m_link.write(m_writes.back());
    m_readPending = true;
    return true;
}

void InMemoryExchangePort::shutdown() {
    if (m_alive) {
        m_alive = false;
        ++m_portEventsPending;
    }
}

int InMemoryExchangePort::pump(int maxChunks) {
    int chunks = 0;
    while (maxChunks < 0 || chunks < maxChunks) {
        if (m_readPending && m_alive) {
            m_readPending = false;
            const Bytes chunk = m_link.readChunk();
            if (!chunk.empty() && m_owner != nullptr) {
                ++chunks;
                m_owner->onSerialData(chunk.data(), chunk.size());
            }
            continue;
        }
        m_readPending = false;
        if (m_portEventsPending > 0) {
            --m_portEventsPending;
            if (m_owner != nullptr) {
                m_owner->onPortEvent();
            }
            continue;
        }
        return chunks;
    }
    return chunks;
}

int InMemoryExchangePort::countWrites(const Bytes& prefix) const {
    return static_cast<int>(std::count_if(m_writes.begin(), m_writes.end(), [&](const Bytes& w) {
        return w.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), w.begin());
    }));
}

} // namespace kestrava::test
