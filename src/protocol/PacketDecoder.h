#pragma once

#include "protocol/DecoderState.h"
#include "protocol/ExpectedReply.h"
#include "protocol/ProtocolTypes.h"
#include "protocol/ReplySink.h"

#include <cstddef>

namespace kestrava {

// Decodes the motherboard's serial reply packet (type 0x07, checksum already found good) into
// {serial (10 bytes at 49), type text (8 bytes at 12), version (byte 22 '.' bytes 23 and 24)} and
// delivers it as kind 9. A packet that does not reach the end of the serial field (offset 58)
// delivers nothing, so the motherboard timeout reports it; no byte outside packet[0 .. length-1]
// is read.
class PacketDecoder {
public:
    static constexpr std::size_t kMinPacket = 59;

    static void decode(const Byte* packet, std::size_t length, ExpectedReply& expected,
                       DecoderState& state, ReplySink& sink);
};

} // namespace kestrava
