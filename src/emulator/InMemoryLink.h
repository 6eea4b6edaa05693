#pragma once

#include "emulator/Emulator.h"
#include "emulator/ManualClock.h"

#include <memory>
#include <span>

namespace kestrava {

// The emulator on a line that exists only in memory, with a clock that jumps from one due byte
// to the next: a whole download or firmware transfer runs in milliseconds of real time while the
// emulator's clock shows the time a real line would have taken.
class InMemoryLink {
public:
    explicit InMemoryLink(ReceiverProfile profile = {}, Emulator::Timing timing = {},
                          FaultPlan faults = {});

    // The host writes bytes now.
    void write(std::span<const Byte> bytes) { m_emulator->receive(bytes); }

    // Reads the way a serial reader gathers a chunk: waits up to limit for the first byte, then
    // keeps reading until the line has been quiet for quiet. The clock ends at the moment the
    // chunk was complete.
    Bytes readChunk(SimTime quiet = SimTime{50'000}, SimTime limit = SimTime{5'000'000});
    // Everything that arrives within the next span of time; the clock ends span later.
    Bytes readFor(SimTime span);
    // write, then readChunk.
    Bytes exchange(std::span<const Byte> bytes) {
        write(bytes);
        return readChunk();
    }

    Emulator& emulator() { return *m_emulator; }
    ManualClock& clock() { return m_clock; }

private:
    ManualClock m_clock;
    std::unique_ptr<Emulator> m_emulator;
};

} // namespace kestrava
