#pragma once

#include "emulator/SimTime.h"
#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <deque>
#include <optional>

namespace kestrava {

// The receiver's transmit line. Bursts of bytes are queued for a start time; without pacing a
// burst leaves whole at its start time, with pacing byte by byte at the line rate (10 bits a
// byte), and a burst never starts before the one ahead of it has left the line.
class OutputLine {
public:
    void setPacing(bool on) { m_pacing = on; }
    void setBaud(unsigned baud) { m_baud = baud == 0 ? 1 : baud; }
    bool pacing() const { return m_pacing; }
    unsigned baud() const { return m_baud; }
    // Time one byte takes on the line at the current rate; zero without pacing.
    SimTime byteTime() const;

    // Queues a burst; bursts leave in the order of their start times (equal times in queue order).
    void queue(SimTime start, Bytes bytes);
    // Removes and returns every byte due by now.
    Bytes takeDue(SimTime now);
    // When the next byte is due; nothing when the queue is empty.
    std::optional<SimTime> nextDue() const;
    bool empty() const { return m_bursts.empty(); }
    void clear() { m_bursts.clear(); }

private:
    struct Burst {
        SimTime start;
        Bytes bytes;
        std::size_t sent = 0;
        std::optional<SimTime> begun; // when its first byte went onto the line
    };

    SimTime dueOf(const Burst& burst, std::size_t index) const;

    std::deque<Burst> m_bursts;
    bool m_pacing = false;
    unsigned m_baud = 19200;
    SimTime m_lineFree{0};
};

} // namespace kestrava
