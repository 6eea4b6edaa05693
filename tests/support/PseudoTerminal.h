#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrava::test {

// A pseudo-terminal pair in raw mode. The code under test opens the slave by its path, as it
// would a serial device; the test plays the far end through the master.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();

    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool isOpen() const { return m_master >= 0; }
    const std::string& slavePath() const { return m_slavePath; }

    // Writes all bytes to the master (the far end sends them). False on failure.
    bool send(const std::vector<std::uint8_t>& bytes);

    // Reads from the master what the code under test sent: stops once count bytes have arrived
    // or nothing arrived for quietMs.
    std::vector<std::uint8_t> receive(std::size_t count, int quietMs = 500);

    // Bytes sent by the far end that wait in the slave's input queue, not yet read by anyone.
    std::size_t queuedAtSlave() const;

    // Closes the master: the slave hangs up, as a serial device does when its cable is pulled.
    void closeMaster();

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

} // namespace kestrava::test
