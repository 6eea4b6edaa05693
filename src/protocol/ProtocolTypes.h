#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrava {

using Byte = std::uint8_t;
using Bytes = std::vector<Byte>;

// Text exactly as it travels on the wire: bytes in the receiver's 8-bit code page. The protocol
// library never converts text; the front ends convert at their boundary.
using ByteString = std::string;

} // namespace kestrava
