#pragma once

#include "protocol/DecoderState.h"
#include "protocol/ExpectedReply.h"
#include "protocol/ProtocolTypes.h"
#include "protocol/ReplySink.h"

#include <cstddef>

namespace kestrava {

// Finds the first complete reply of the armed framing in one chunk of received bytes and hands it
// to the decoder of that framing, which delivers it to sink synchronously:
//   FRAMING_DOLLAR  the first dollar frame with the armed class and sub bytes
//                   that the decoder takes, anywhere in the chunk, passing over
//                   copies of the frames the program wrote (state.sent)      -> DollarDispatcher
//   FRAMING_RADIO   the first radio frame (0x96, nonzero length, 0x80) that
//                   is not a copy of one the program wrote                     -> RadioDecoder
//   FRAMING_PACKET  the first serial reply packet (0x02, status, 0x07) whose
//                   checksum holds (the end byte is not tested)                -> PacketDecoder
//   FRAMING_ASCII   the whole chunk                                            -> AsciiDecoder
//   FRAMING_IDLE    (or any other mode) nothing
// Nothing is kept between chunks: a reply cut across two chunks is lost, and everything after the
// first reply delivered from a chunk is dropped. Bytes are never read outside chunk[0 .. count-1],
// whatever count is (0 included).
void SplitChunk(const Byte* chunk, std::size_t count, ExpectedReply& expected, DecoderState& state,
                ReplySink& sink);

} // namespace kestrava
