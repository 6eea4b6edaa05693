#pragma once

#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <span>
#include <string_view>

namespace kestrava {

// Base64 with the standard alphabet ('+' and '/') and '=' padding, as used for the caster login
// that travels in the network parameters.
class Base64 {
public:
    // Standard encoding: three input bytes give four characters; a final group of one byte ends
    // in "==", of two bytes in "=". The empty input gives the empty text.
    static ByteString encode(std::span<const Byte> data);
    static ByteString encode(std::string_view text);

    // Lenient decoding of a fixed-width, zero-padded login field as the receiver returns it.
    // The text is read in whole groups of four characters, (length - 4) / 4 + 1 groups, so that
    // trailing characters that do not fill a group are ignored; every group gives three bytes.
    // '=' and every character outside the alphabet (such as a zero byte of padding) count as
    // the value 0. The result ends before its first zero byte. A text shorter than four
    // characters holds no whole group and gives the empty result.
    static ByteString decode(std::span<const Byte> text);
    static ByteString decode(std::string_view text);
};

} // namespace kestrava
