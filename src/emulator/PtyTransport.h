#pragma once

#include "emulator/Emulator.h"

#include <atomic>
#include <memory>
#include <string>

namespace kestrava {

// The emulator on a pseudo-terminal: the host opens slavePath() as if it were the receiver's
// serial port. The terminal is raw (no echo, no line editing, 8 bits); the emulator keeps a
// handle of the slave side open itself, so a host may close and reopen the device at will.
class PtyTransport {
public:
    // A new pseudo-terminal, or nothing with the reason in error.
    static std::unique_ptr<PtyTransport> open(std::string& error);
    ~PtyTransport();
    PtyTransport(const PtyTransport&) = delete;
    PtyTransport& operator=(const PtyTransport&) = delete;

    const std::string& slavePath() const { return m_slavePath; }

    // Moves bytes between the host and the emulator until stop is set (checked at least every
    // 50 ms and whenever a signal interrupts the wait). Bytes that the host does not read while
    // the device's buffer is full are lost, as on a real line.
    void serve(Emulator& emulator, const EmulatorClock& clock, const std::atomic<bool>& stop);

private:
    PtyTransport(int master, int slave, std::string path);

    int m_master;
    int m_slave;
    std::string m_slavePath;
};

} // namespace kestrava
