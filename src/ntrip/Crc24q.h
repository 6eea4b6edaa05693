#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrava {

// The 24-bit CRC of RTCM 3 frames (CRC-24Q: polynomial 0x1864CFB, initial value 0).
std::uint32_t Crc24q(const std::uint8_t* bytes, std::size_t count);

} // namespace kestrava
