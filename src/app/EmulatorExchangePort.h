#pragma once

#include "exchange/ExchangePort.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kestrava {

class InProcessLine;
class PortCourier;

// The exchange's port over the built-in emulator's in-process line, for systems without
// pseudo-terminals. It behaves as the serial port does: a reader thread per opening gathers each
// reply until the line has been quiet for 50 ms (waiting up to about 100 ms more while input is
// held open, handing it over early once the awaited reply is complete), every write first throws
// away input not yet handed over, and closing posts the port-closed notice. Input and notices
// reach the owner on the thread that created the port.
class EmulatorExchangePort : public ExchangePort {
public:
    static constexpr std::size_t kWriteBufferSize = 1024;
    static constexpr int kReadIntervalMs = 50;
    static constexpr int kIdlePollMs = 5;
    static constexpr int kMaxIdlePolls = 20;

    EmulatorExchangePort(InProcessLine& line, QString name);
    ~EmulatorExchangePort() override;
    EmulatorExchangePort(const EmulatorExchangePort&) = delete;
    EmulatorExchangePort& operator=(const EmulatorExchangePort&) = delete;

    void setOwner(SerialPortOwner* owner) override { m_owner = owner; }
    bool readerAlive() const override { return m_alive.load(); }
    // Any name opens the line; baudRate is the line's business (the emulator follows the
    // receiver's own rate changes).
    bool open(const QString& portName, std::int32_t baudRate) override;
    bool queueWrite(const std::uint8_t* bytes, std::size_t length) override;
    void shutdown() override;
    void setHoldInputOpen(bool hold) override { m_hold = hold; }
    void setChunkComplete(std::function<bool(const std::uint8_t*, std::size_t)> complete) override;
    QString portName() const override { return m_name; }

private:
    struct Chunk {
        std::uint64_t generation = 0;
        std::vector<std::uint8_t> bytes;
    };

    void readLoop();
    void stopReader();
    bool stopping() const { return m_stop.load(); }
    void serveDelivery();
    void servePortEvent();

    InProcessLine& m_line;
    QString m_name;
    SerialPortOwner* m_owner = nullptr;
    std::unique_ptr<PortCourier> m_courier;
    std::thread m_reader;
    std::atomic<bool> m_alive{false};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_hold{true};
    // Bumped by every write: a chunk gathered before it is stale.
    std::atomic<std::uint64_t> m_generation{0};

    std::mutex m_mutex;
    std::deque<Chunk> m_chunks;
    std::function<bool(const std::uint8_t*, std::size_t)> m_complete;
};

} // namespace kestrava
