#pragma once

#include "protocol/ProtocolTypes.h"

#include <cstddef>

namespace kestrava {

// XOR of bytes[first] .. bytes[last] inclusive, starting from 0.
Byte DollarChecksum(const Byte* bytes, std::size_t first, std::size_t last);

// XOR of the first count bytes.
Byte RadioChecksum(const Byte* bytes, std::size_t count);

// Sum of bytes[1] .. bytes[n-1] modulo 256; the start byte is never summed. 0 for n below 2.
Byte PacketChecksum(const Byte* bytes, std::size_t n);

} // namespace kestrava
