#pragma once

#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <cstdint>

namespace kestrava {

// Joins a download block that the serial line handed over in two pieces. The splitter looks at
// one chunk at a time and drops a reply cut across two; during a download that would leave the
// transfer waiting for ever, since nothing asks for a block again. A chunk that ends inside a
// download frame (header 24 24 46 74, its length says more bytes follow) is kept and put in
// front of the next chunk. Only frames that can be data blocks (payload 1..4095) are waited for,
// so a malformed length never holds input back.
class DownloadChunkJoiner {
public:
    // The largest frame waited for: 9 bytes of framing around a 4095-byte block.
    static constexpr std::size_t kMaxFrame = 4095 + 9;

    // Puts the bytes to split now into out and returns true; or keeps them (the chunk ends inside
    // a download frame) and returns false.
    bool join(const std::uint8_t* bytes, std::size_t count, Bytes& out);
    // Forgets a kept piece (a download starts or ends).
    void reset() { m_kept.clear(); }
    bool holding() const { return !m_kept.empty(); }

private:
    Bytes m_kept;
};

} // namespace kestrava
