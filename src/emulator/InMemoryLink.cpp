#include "emulator/InMemoryLink.h"

namespace kestrava {

InMemoryLink::InMemoryLink(ReceiverProfile profile, Emulator::Timing timing, FaultPlan faults)
    : m_emulator(std::make_unique<Emulator>(std::move(profile), m_clock, timing, faults)) {}

Bytes InMemoryLink::readChunk(SimTime quiet, SimTime limit) {
    Bytes chunk;
    SimTime deadline = m_clock.now() + limit;
    while (true) {
        const auto next = m_emulator->nextDue();
        if (!next || *next > deadline) {
            m_clock.set(std::max(m_clock.now(), deadline));
            return chunk;
        }
        m_clock.set(std::max(m_clock.now(), *next));
        const Bytes due = m_emulator->takeDue();
        chunk.insert(chunk.end(), due.begin(), due.end());
        if (!chunk.empty()) {
            deadline = m_clock.now() + quiet;
        }
    }
}

Bytes InMemoryLink::readFor(SimTime span) {
    Bytes out;
    const SimTime end = m_clock.now() + span;
    while (true) {
        const auto next = m_emulator->nextDue();
        if (!next || *next > end) {
            break;
        }
        m_clock.set(std::max(m_clock.now(), *next));
        const Bytes due = m_emulator->takeDue();
        out.insert(out.end(), due.begin(), due.end());
    }
    m_clock.set(end);
    return out;
}

} // namespace kestrava
