#pragma once

#include "protocol/DecoderState.h"
#include "protocol/ExpectedReply.h"
#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kestrava {

// Builders of the firmware transfer's frames. Both replace out with the exact bytes to write,
// arm expected for the receiver's answer and return the number of bytes to write.
//
// How a transfer uses them:
//  1. FirmwareStart(first form) announces the update; while the receiver's loader has not
//     answered, the repeat form goes out every 500 ms. The answer tells the hardware code of
//     the receiver and whether it wants the fast transfer (115200 baud, large blocks).
//  2. The layout follows from the image's hardware code and the speed (firmwareLayoutFor).
//     Then, block after block, the transfer reads up to firmwareBlockCapacity(layout) bytes of
//     the image and sends FirmwareBlock with them and with the block's target address (small
//     layouts) or its block number from 0 (large layout). After each block it advances its
//     running address by the block's byte count and stores that address in
//     DecoderState::firmwareAddress; FirmwareBlock itself records the byte count in
//     DecoderState::firmwareLastLength. The receiver acknowledges a block by echoing its
//     address, which the reply decoding checks against firmwareAddress - firmwareLastLength.
//  3. To resend a refused block, the transfer steps its address, block number and file
//     position back by the last byte count and builds the same block again.
//  4. A read of 0 bytes ends the image: no block is sent for it.

// 'V','S' announcing an update of target 0 (module) or 1 (receiver):
//   24 24 56 53 01 b5 target checksum 0D 0A
// where b5 is 0x00, except in the repeats for target 1, which carry 0x31. Kind 30. 10 bytes.
std::size_t FirmwareStart(Bytes& out, ExpectedReply& expected, Byte target, bool repeat);

// The three block layouts; none carries CR LF. Multi-byte numbers are big-endian.
enum class FirmwareLayout {
    // Fast transfer: 24 24 56 58, byte count (2) at 4, block number (2) at 6, 512 data bytes
    // at 8, XOR of the data area at 520. 521 bytes.
    Large,
    // Hardware code 88: 24 24 56 58, byte count (1) at 4, target address (4) at 5, 128 data
    // bytes at 9, no checksum. 137 bytes.
    Small88,
    // Hardware code 98: 24 24 56 58, byte count (2) at 4, target address (4) at 6, 256 data
    // bytes at 10, XOR of the data area at 266. 267 bytes.
    Small98,
};

// Data bytes per block of the layout: 512, 128 or 256.
std::size_t firmwareBlockCapacity(FirmwareLayout layout);

// The layout for an image of the given hardware code: Large when fast, else Small88 or Small98.
// No layout exists for another hardware code, fast or not.
std::optional<FirmwareLayout> firmwareLayoutFor(std::int32_t hardwareCode, bool fast);

// One 'V','X' block. data holds the bytes read from the image (at most the layout's capacity;
// bytes beyond it are left out); the rest of the data area is zero. The byte count is the
// number of data bytes rounded up to a multiple of 4, and is also stored in
// state.firmwareLastLength. position is the target address (small layouts) or the block number
// (large layout, its low 16 bits). Kind 31. 521, 137 or 267 bytes.
std::size_t FirmwareBlock(Bytes& out, ExpectedReply& expected, DecoderState& state,
                          FirmwareLayout layout, std::span<const Byte> data,
                          std::uint32_t position);

} // namespace kestrava
