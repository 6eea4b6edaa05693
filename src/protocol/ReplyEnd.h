#pragma once

#include "protocol/ExpectedReply.h"
#include "protocol/LastSentFrame.h"
#include "protocol/ProtocolTypes.h"

#include <cstddef>

namespace kestrava {

// Whether the bytes received so far already hold the whole of the awaited reply, trailer
// included, so that the reader may hand them over without waiting for the line to go quiet.
//
// Only replies whose end can be told from their bytes qualify: a dollar frame by its length
// field and its CR LF, the firmware loader's answers (the handshake answer of at least 8 bytes,
// the block answer of at least 10, each closed by CR LF), a radio frame by its length byte and
// a motherboard packet by its data length. Everything else (the motherboard's version text, the
// remote password answer, nothing awaited) is never complete here: the quiet line decides, as
// before. A yes means the splitter finds the same frame at the same place in these bytes. With
// sent, copies of the program's own frames (an echoing line) are passed over, as the splitter
// passes them over.
class ReplyEnd {
public:
    static bool complete(const ExpectedReply& expected, const Byte* bytes, std::size_t count,
                         const LastSentFrame* sent = nullptr);
};

} // namespace kestrava
