#pragma once

#include "emulator/SimTime.h"
#include "protocol/ProtocolTypes.h"

#include <cstdint>

namespace kestrava {

// Faults injected on demand. Counters marked "next N" apply to the next N replies to commands
// (periodic output such as NMEA sentences and signal-test lines is never affected) and count
// down as they are used. A block number is counted from 0 within one transfer.
struct FaultPlan {
    enum class Noise { None, Nmea, Echo };

    std::uint32_t dropNext = 0;        // the next N replies are not sent
    bool dropAll = false;              // no reply is sent at all
    std::uint32_t badChecksumNext = 0; // the next N replies carry a wrong checksum byte
    std::uint32_t splitNext = 0;       // the next N replies go out as two bursts ...
    SimTime splitGap{50'000};          // ... this far apart
    std::uint32_t noiseNext = 0;       // the next N replies are preceded by noise
    Noise noise = Noise::Nmea;         // an NMEA sentence, or an echo of the command
    std::uint32_t delayNext = 0;       // the next N replies are held back ...
    SimTime delay{500'000};            // ... for this much longer than the latency

    // Firmware loader.
    std::uint32_t firmwareRefusals = 0;          // refuse this many blocks in a row ...
    Byte firmwareRefusalStatus = 1;              // ... with status 1 or 2 ...
    std::int32_t firmwareRefusalBlock = 0;       // ... starting at this block
    std::int32_t firmwareWrongAddressBlock = -1; // accept this block but echo another address
    std::int32_t firmwareFailBlock = -1;         // answer this block with a failure status
    Byte firmwareFailStatus = 7;
    SimTime firmwareLateStart{0}; // the first handshake answer comes this much later (booting)

    bool echo = false; // the line echoes every byte the host sends, ahead of any reply

    // Static file download.
    std::int32_t downloadFailBlock = -1;  // instead of this data block, send a failure status
    Byte downloadFailStatus = 1;          // 1 or 2
    std::int32_t downloadDeadBlock = -1;  // before this data block the line goes dead for good
    std::int32_t downloadTwiceBlock = -1; // the line delivers this data block twice ...
    SimTime downloadTwiceGap{0};          // ... the copy this much later (0: in the same burst)

    bool boardSilent = false; // the motherboard answers nothing and outputs no NMEA

    // Settings: a set of this class and sub (class << 8 | sub) is answered as if it were taken,
    // but the receiver keeps what it held (a receiver that acknowledges and ignores a change).
    std::uint16_t ignoreSetOf = 0;

    // Consumes one use of a "next N" counter: true when the fault applies to this reply.
    static bool take(std::uint32_t& counter) {
        if (counter == 0) {
            return false;
        }
        --counter;
        return true;
    }
};

} // namespace kestrava
