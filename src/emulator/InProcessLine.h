#pragma once

#include "emulator/Emulator.h"
#include "protocol/ProtocolTypes.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <span>

namespace kestrava {

// The emulator on a line inside the process, where no pseudo-terminal exists (Windows): the host
// writes and reads its end from any thread, while serve() moves the bytes on the emulator's side
// at the times the emulator says they are due.
class InProcessLine {
public:
    // The host sends bytes.
    void hostWrite(std::span<const Byte> bytes);
    // Takes what has arrived for the host, waiting up to wait for the first byte; empty when
    // nothing came in time or the host end was woken (wakeHost).
    Bytes hostRead(std::chrono::milliseconds wait);
    // Bytes waiting for the host.
    std::size_t hostQueued() const;
    // Throws away what is waiting for the host, as a purge of the receive queue does.
    void hostPurge();
    // Ends a hostRead that is waiting now.
    void wakeHost();

    // Moves bytes between the host and the emulator until stop is set (checked at least every
    // 50 ms and whenever the host writes).
    void serve(Emulator& emulator, const EmulatorClock& clock, const std::atomic<bool>& stop);
    // Wakes serve() so that it sees stop.
    void wakeServer();

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_toEmulatorCv;
    std::condition_variable m_toHostCv;
    Bytes m_toEmulator;
    Bytes m_toHost;
    bool m_hostWoken = false;
    bool m_serverWoken = false;
};

} // namespace kestrava
