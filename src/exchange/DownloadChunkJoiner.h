#pragma once

#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <cstdint>

namespace kestrava {

// Joins a download block that the serial line handed over in two pieces, and notices a chunk
// that holds more than one download reply. The splitter looks at one chunk at a time and drops a
// reply cut across two; during a download that would leave the transfer waiting for ever, since
// nothing asks for a block again. A chunk that ends inside a download frame (header 24 24 46 74,
// its length says more bytes follow) is kept and put in front of the next chunk. Only frames that
// can be data blocks (payload 1..4095) are waited for, so a malformed length never holds input
// back.
//
// The receiver answers each request with one reply, and the next request goes out only when that
// reply has been handled, so one chunk never holds two download replies of a sound line. A second
// one (a block the line delivered twice) would otherwise be dropped by the splitter, or written as
// if it were the next block; it is reported instead, and the download cannot be trusted.
class DownloadChunkJoiner {
public:
    // The largest frame waited for: 9 bytes of framing around a 4095-byte block.
    static constexpr std::size_t kMaxFrame = 4095 + 9;

    enum class Result {
        Ready,         // out holds the bytes to split now
        Held,          // the chunk ends inside a download frame: kept for the next chunk
        SeveralFrames, // the chunk holds more than one download reply (out holds it all)
    };

    Result join(const std::uint8_t* bytes, std::size_t count, Bytes& out);
    // Forgets a kept piece (a download starts or ends).
    void reset() { m_kept.clear(); }
    bool holding() const { return !m_kept.empty(); }

private:
    Bytes m_kept;
};

} // namespace kestrava
