#pragma once

#include "protocol/ProtocolTypes.h"

#include <array>
#include <cstddef>

namespace kestrava {

// The 16-byte choice of NMEA output: byte 0 the port (0 COM1, 1 COM2), byte 1 "clear all first",
// then an on/off byte and a rate index (0..5: 1, 2, 5, 10, 0.5, 0.2 s) per sentence in the fixed
// order GGA, GSV, RMC, GSA, VTG, ZDA, GST. This order is the stored and the sent one.
struct NmeaOutputChoice {
    static constexpr std::size_t kSentences = 7;
    enum Sentence : std::size_t { GGA = 0, GSV, RMC, GSA, VTG, ZDA, GST };

    std::array<Byte, 16> bytes{};

    Byte port() const { return bytes[0]; }
    Byte clearAll() const { return bytes[1]; }
    Byte on(std::size_t sentence) const { return bytes[2 + 2 * sentence]; }
    Byte rate(std::size_t sentence) const { return bytes[3 + 2 * sentence]; }
    void setPort(Byte value) { bytes[0] = value; }
    void setClearAll(Byte value) { bytes[1] = value; }
    void setOn(std::size_t sentence, Byte value) { bytes[2 + 2 * sentence] = value; }
    void setRate(std::size_t sentence, Byte value) { bytes[3 + 2 * sentence] = value; }

    bool operator==(const NmeaOutputChoice&) const = default;
};

} // namespace kestrava
