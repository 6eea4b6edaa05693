#include "emulator/InProcessLine.h"

#include <algorithm>

namespace kestrava {

namespace {

constexpr SimTime kLongestWait{50'000};

} // namespace

void InProcessLine::hostWrite(std::span<const Byte> bytes) {
    {
        std::lock_guard lock(m_mutex);
        m_toEmulator.insert(m_toEmulator.end(), bytes.begin(), bytes.end());
    }
    m_toEmulatorCv.notify_all();
}

Bytes InProcessLine::hostRead(std::chrono::milliseconds wait) {
    std::unique_lock lock(m_mutex);
    m_toHostCv.wait_for(lock, wait, [this] { return !m_toHost.empty() || m_hostWoken; });
    m_hostWoken = false;
    Bytes bytes;
    bytes.swap(m_toHost);
    return bytes;
}

std::size_t InProcessLine::hostQueued() const {
    std::lock_guard lock(m_mutex);
    return m_toHost.size();
}

void InProcessLine::hostPurge() {
    std::lock_guard lock(m_mutex);
    m_toHost.clear();
}

void InProcessLine::wakeHost() {
    {
        std::lock_guard lock(m_mutex);
        m_hostWoken = true;
    }
    m_toHostCv.notify_all();
}

void InProcessLine::wakeServer() {
    {
        std::lock_guard lock(m_mutex);
        m_serverWoken = true;
    }
    m_toEmulatorCv.notify_all();
}

void InProcessLine::serve(Emulator& emulator, const EmulatorClock& clock,
                          const std::atomic<bool>& stop) {
    while (!stop.load()) {
        Bytes in;
        {
            std::lock_guard lock(m_mutex);
            in.swap(m_toEmulator);
        }
        if (!in.empty()) {
            emulator.receive(in);
        }
        const Bytes out = emulator.takeDue();
        if (!out.empty()) {
            {
                std::lock_guard lock(m_mutex);
                m_toHost.insert(m_toHost.end(), out.begin(), out.end());
            }
            m_toHostCv.notify_all();
        }
        SimTime wait = kLongestWait;
        if (const auto next = emulator.nextDue()) {
            wait = std::clamp(*next - clock.now(), SimTime{0}, kLongestWait);
        }
        std::unique_lock lock(m_mutex);
        m_toEmulatorCv.wait_for(lock, wait,
                                [this] { return !m_toEmulator.empty() || m_serverWoken; });
        m_serverWoken = false;
    }
}

} // namespace kestrava
