#pragma once

#include "protocol/DecoderState.h"
#include "protocol/ExpectedReply.h"
#include "protocol/ProtocolTypes.h"
#include "protocol/ReplySink.h"

#include <cstddef>

namespace kestrava {

// Decodes one frame of the internal UHF radio module (0x96, length, 0x80, code, body) by its
// code byte; no checksum is tested. 'b' or 'd' answers a channel write (kind 5 armed) or carries
// the channel table (kind 3 armed); 'q' answers an air baud write and 's' carries the air baud
// rate, whichever radio kind is armed. Frames shorter than their fields deliver nothing; no byte
// outside frame[0 .. length-1] is read.
class RadioDecoder {
public:
    static void decode(const Byte* frame, std::size_t length, ExpectedReply& expected,
                       DecoderState& state, ReplySink& sink);
};

} // namespace kestrava
