#pragma once

#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <vector>

namespace kestrava {

// Where the secrets lie in bytes on the line, so that a record of them (the protocol trace) can
// leave them out: the remote password digest, the old and new WiFi passwords, the APN password,
// and the caster login (user and password, in base64) of the network parameters. Found in every
// dollar frame of those commands and of their read replies, wherever it starts in the bytes; a
// frame cut off by the end of the bytes has the part that is present found.
class PasswordFields {
public:
    struct Range {
        std::size_t from = 0; // first byte
        std::size_t to = 0;   // one past the last byte
        bool operator==(const Range&) const = default;
    };

    // The ranges in bytes[0 .. count-1], in order, not overlapping.
    static std::vector<Range> find(const Byte* bytes, std::size_t count);
};

} // namespace kestrava
