#pragma once

#include "emulator/InMemoryLink.h"
#include "exchange/ExchangePort.h"
#include "protocol/ProtocolTypes.h"

#include <vector>

namespace kestrava::test {

// The exchange's port over the receiver emulator in memory. Writes go to the emulator at once;
// its answers come back only when the test pumps, the way the serial reader hands over one chunk
// per quiet line: pump() reads one chunk after each write and delivers it to the owner (whose
// follow-up writes are answered in the same pump), then delivers a due port-closed notice.
class InMemoryExchangePort : public ExchangePort {
public:
    // The serial port's write buffer: a longer frame is refused, as the real port refuses it.
    static constexpr std::size_t kWriteBufferSize = 1024;

    explicit InMemoryExchangePort(InMemoryLink& link) : m_link(link) {}

    void setOwner(SerialPortOwner* owner) override { m_owner = owner; }
    bool readerAlive() const override { return m_alive; }
    bool open(const QString& portName, std::int32_t baudRate) override;
    bool queueWrite(const std::uint8_t* bytes, std::size_t length) override;
    void shutdown() override;
    void setHoldInputOpen(bool hold) override { m_holdInput = hold; }
    QString portName() const override { return m_name; }

    // Delivers everything due, or at most maxChunks chunks (the rest stays due, like input the
    // reader has not read yet while the user clicks); returns the number of chunks delivered.
    int pump(int maxChunks = -1);

    void setOpenFails(bool fails) { m_openFails = fails; }
    const std::vector<Bytes>& writes() const { return m_writes; }
    void clearWrites() { m_writes.clear(); }
    // Writes that start with the given bytes.
    int countWrites(const Bytes& prefix) const;
    bool holdInput() const { return m_holdInput; }
    std::int32_t baudRate() const { return m_baud; }
    int opens() const { return m_opens; }

private:
    InMemoryLink& m_link;
    SerialPortOwner* m_owner = nullptr;
    bool m_alive = false;
    bool m_openFails = false;
    bool m_readPending = false;
    int m_portEventsPending = 0;
    bool m_holdInput = true;
    QString m_name;
    std::int32_t m_baud = 0;
    int m_opens = 0;
    std::vector<Bytes> m_writes;
};

} // namespace kestrava::test
