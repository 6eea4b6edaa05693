#pragma once

#include "protocol/ProtocolTypes.h"

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace kestrava {

// The MD5 message digest (RFC 1321), used to send the remote connection password as a digest
// rather than as plain text.
class Md5 {
public:
    using Digest = std::array<Byte, 16>;

    // The 16-byte digest of the given bytes.
    static Digest digest(std::span<const Byte> data);
    static Digest digest(std::string_view text);

    // The digest as 32 lower-case hexadecimal digits, high nibble of each byte first.
    static std::string hexDigest(std::span<const Byte> data);
    static std::string hexDigest(std::string_view text);
};

} // namespace kestrava
