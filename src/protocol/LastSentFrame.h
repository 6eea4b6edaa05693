#pragma once

#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <cstdint>

namespace kestrava {

// The frame the program wrote last, so that a line which echoes what it receives never has its
// copy of the command taken for the receiver's answer. A copy is recognised byte for byte, also
// when the chunk ends inside it (the rest of the copy follows in the next chunk). Only the command
// in flight counts: the answer to a read is often byte for byte an earlier set of the same values.
class LastSentFrame {
public:
    void note(const Byte* frame, std::size_t length);
    void clear() { m_last.clear(); }

    // The length of the written frame that the bytes at `at` are a copy of (only as many bytes as
    // are present are compared, at least the 4-byte header), or 0 when they are no copy of it.
    std::size_t copyAt(const Byte* at, std::size_t present) const;

    // Whether the receiver's answer awaited as kind is itself byte for byte the command (the
    // internal radio connection, the voice switches, a store location set to 0). Such a copy
    // cannot be told from the answer and is taken as it.
    static bool answerCopiesCommand(std::int32_t kind);

private:
    Bytes m_last;
};

} // namespace kestrava
