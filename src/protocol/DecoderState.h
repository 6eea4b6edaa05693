#pragma once

#include "protocol/LastSentFrame.h"
#include "protocol/MainInfoRecord.h"
#include "protocol/ProtocolTypes.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace kestrava {

// The values that reply decoding keeps next to ExpectedReply between replies, and that the
// command builders read back (the stored voice block, the firmware transfer's position). The
// owner of the exchange holds exactly one and passes it in; the protocol library keeps nothing.
struct DecoderState {
    // Main information (kind 1).
    MainInfoRecord mainInfo;
    Byte receiverVersion = 0; // the plain version byte (25 = 2.5)
    std::int32_t motherboardCode = MOTHERBOARD_OTHER;

    // Module band (kind 7).
    Byte band2g = 0;
    Byte band3g = 0;
    Byte moduleCode = 0;

    // The last voice block read for a set (kind 40): the reply frame without its checksum
    // (38 bytes for the 32-byte block) stored at the front of a 41-byte area, which a setter
    // rewrites in place into the 41-byte set frame. All 0xFF until the first block is read; a
    // copy never exceeds the area.
    static constexpr std::size_t kVoiceBlockSize = 41;
    std::array<Byte, kVoiceBlockSize> voiceBlock = [] {
        std::array<Byte, kVoiceBlockSize> block{};
        block.fill(0xFF);
        return block;
    }();
    Byte rinexFlag = 0; // kind 41

    // The firmware transfer (kinds 30 and 31).
    int firmwareRetryCount = 0; // refusals of the current block so far
    // 88 or 98, from the image file being sent. Kept whole: the handshake answer carries one
    // byte, and a code such as 344 must not pass for 88.
    std::int32_t firmwareHardwareCode = 0;
    std::uint32_t firmwareAddress = 0;    // running target address after the block just sent
    std::uint32_t firmwareLastLength = 0; // byte count of the block just sent

    // The frame the program wrote last, noted by whoever writes it: its copy coming back on an
    // echoing line is not the receiver's answer.
    LastSentFrame sent;
};

} // namespace kestrava
