#include "app/EmulatorExchangePort.h"

#include "emulator/InProcessLine.h"
#include "serial/PortCourier.h"

#include <chrono>
#include <optional>
#include <utility>

namespace kestrava {

EmulatorExchangePort::EmulatorExchangePort(InProcessLine& line, QString name)
    : m_line(line), m_name(std::move(name)),
      m_courier(std::make_unique<PortCourier>([this] { serveDelivery(); },
                                              [this] { servePortEvent(); }, [] {})) {}

EmulatorExchangePort::~EmulatorExchangePort() {
    stopReader();
}

bool EmulatorExchangePort::open(const QString& portName, std::int32_t baudRate) {
    (void)portName;
    (void)baudRate;
    stopReader();
    m_line.hostPurge();
    {
        std::lock_guard lock(m_mutex);
        m_chunks.clear();
    }
    m_stop = false;
    m_alive = true;
    m_reader = std::thread([this] { readLoop(); });
    return true;
}

bool EmulatorExchangePort::queueWrite(const std::uint8_t* bytes, std::size_t length) {
    if (!m_alive || length > kWriteBufferSize || (length > 0 && bytes == nullptr)) {
        return false;
    }
    // Every command starts from an empty receive queue, as after the serial port's purge.
    ++m_generation;
    m_line.hostPurge();
    m_line.wakeHost();
    m_line.hostWrite(std::span<const Byte>(bytes, length));
    return true;
}

void EmulatorExchangePort::shutdown() {
    m_stop = true;
    m_line.wakeHost();
}

void EmulatorExchangePort::setChunkComplete(
    std::function<bool(const std::uint8_t*, std::size_t)> complete) {
    std::lock_guard lock(m_mutex);
    m_complete = std::move(complete);
}

void EmulatorExchangePort::stopReader() {
    if (m_reader.joinable()) {
        shutdown();
        m_reader.join();
    }
}

void EmulatorExchangePort::readLoop() {
    using std::chrono::milliseconds;
    while (!stopping()) {
        const std::uint64_t generation = m_generation.load();
        Bytes gathered = m_line.hostRead(milliseconds(kReadIntervalMs));
        if (gathered.empty()) {
            continue;
        }
        std::function<bool(const std::uint8_t*, std::size_t)> complete;
        {
            std::lock_guard lock(m_mutex);
            complete = m_complete;
        }
        // The hold is bounded by time: a 5 ms wait lasts a whole timer tick on Windows.
        std::optional<std::chrono::steady_clock::time_point> holdEnd;
        bool quiet = false; // the line has been quiet for the read interval since the last byte
        while (!stopping() && m_generation.load() == generation) {
            if (complete && complete(gathered.data(), gathered.size())) {
                break; // the awaited reply is whole: no need to wait for a quiet line
            }
            const Bytes more = m_line.hostRead(milliseconds(quiet ? kIdlePollMs : kReadIntervalMs));
            if (!more.empty()) {
                gathered.insert(gathered.end(), more.begin(), more.end());
                quiet = false; // read on until the line is quiet again
                continue;
            }
            // Quiet: while input is held open, look again every 5 ms, for about 105 ms in all
            // in one pass (not counted afresh when more input comes).
            quiet = true;
            const auto now = std::chrono::steady_clock::now();
            if (!holdEnd) {
                holdEnd = now + milliseconds(kIdlePollMs * (kMaxIdlePolls + 1));
            }
            if (!m_hold || now >= *holdEnd) {
                break;
            }
        }
        if (stopping() || m_generation.load() != generation) {
            continue; // dropped, as the purge of the next write drops it
        }
        {
            std::lock_guard lock(m_mutex);
            m_chunks.push_back({generation, std::move(gathered)});
        }
        m_courier->postDelivery();
    }
    m_alive = false;
    m_courier->postPortEvent();
}

void EmulatorExchangePort::serveDelivery() {
    Chunk chunk;
    {
        std::lock_guard lock(m_mutex);
        if (m_chunks.empty()) {
            return;
        }
        chunk = std::move(m_chunks.front());
        m_chunks.pop_front();
    }
    if (chunk.generation != m_generation.load() || !m_alive) {
        return; // a command was sent after it was gathered, or the port was closed
    }
    if (m_owner != nullptr) {
        m_owner->onSerialData(chunk.bytes.data(), chunk.bytes.size());
    }
}

void EmulatorExchangePort::servePortEvent() {
    if (m_owner != nullptr && !m_alive) {
        m_owner->onPortEvent();
    }
}

} // namespace kestrava
