#pragma once

#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <span>

namespace kestrava {

// The dollar frame, used for the receiver's own commands and replies:
//   '$' '$' class sub length(2, little-endian) payload checksum CR LF
// where the checksum is the XOR of class, sub, both length bytes and every payload byte.
class CommandFrame {
public:
    static constexpr Byte kDollar = 0x24;
    static constexpr std::size_t kHeaderSize = 6; // '$' '$' class sub lengthLow lengthHigh
    static constexpr std::size_t kOverhead = 9;   // header + checksum + CR LF
    static constexpr std::size_t kMaxPayload = 0xFFFF;

    // Replaces the contents of out with the complete frame; returns its length (payload + 9).
    // A payload longer than kMaxPayload is cut to it.
    static std::size_t build(Bytes& out, Byte cls, Byte sub, std::span<const Byte> payload = {});

    // The frame as a new vector.
    static Bytes make(Byte cls, Byte sub, std::span<const Byte> payload = {});

    // The little-endian payload length of bytes 4 and 5 of a frame of at least 6 bytes.
    static std::size_t payloadLength(const Byte* frame) {
        return static_cast<std::size_t>(frame[4]) | (static_cast<std::size_t>(frame[5]) << 8);
    }
};

} // namespace kestrava
