#pragma once

#include "protocol/ProtocolTypes.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace kestrava {

// The last few frames the program wrote, so that a line which echoes what it receives never has
// its copy of a command taken for the receiver's answer. A copy is recognised byte for byte, also
// when the chunk ends inside it (the rest of the copy follows in the next chunk).
class SentFrames {
public:
    static constexpr std::size_t kKept = 4;

    void note(const Byte* frame, std::size_t length);
    void clear();

    // The length of the written frame that the bytes at `at` are a copy of (only as many bytes as
    // are present are compared, at least the 4-byte header), or 0 when they copy none of them.
    std::size_t copyAt(const Byte* at, std::size_t present) const;

    // Whether the receiver's answer awaited as kind is itself byte for byte the command (the
    // internal radio connection, the voice switches, a store location set to 0). Such a copy
    // cannot be told from the answer and is taken as it.
    static bool answerCopiesCommand(std::int32_t kind);

private:
    std::array<Bytes, kKept> m_frames;
    std::size_t m_next = 0;
};

} // namespace kestrava
