#pragma once

#include "protocol/DecoderState.h"
#include "protocol/ExpectedReply.h"
#include "protocol/ProtocolTypes.h"
#include "protocol/ReplySink.h"

#include <cstddef>

namespace kestrava {

// Decodes one dollar reply frame against the armed ExpectedReply and delivers it to the sink.
// frame holds length bytes: the frame without CR LF ('$' '$' class sub length payload checksum).
// Firmware start and block answers and the remote password answer are taken without a checksum
// test; every other frame must pass it. A frame that fails, that does not fit the armed kind or
// that is too short for its fields delivers nothing and leaves ExpectedReply armed, so that the
// command's timeout reports the silence. No byte outside frame[0 .. length-1] is read, whatever
// length is.
class DollarDispatcher {
public:
    static void decode(const Byte* frame, std::size_t length, ExpectedReply& expected,
                       DecoderState& state, ReplySink& sink);

private:
    static void decodeFirmwareStart(const Byte* frame, std::size_t length, ExpectedReply& expected,
                                    DecoderState& state, ReplySink& sink);
    static void decodeFirmwareBlock(const Byte* frame, std::size_t length, ExpectedReply& expected,
                                    DecoderState& state, ReplySink& sink);
    static void decodeDownload(const Byte* frame, std::size_t length, ExpectedReply& expected,
                               ReplySink& sink);
    static void decodeVoiceBlock(const Byte* frame, std::size_t length, ExpectedReply& expected,
                                 DecoderState& state, ReplySink& sink);
    static void decodeChecked(const Byte* frame, std::size_t length, ExpectedReply& expected,
                              DecoderState& state, ReplySink& sink);
};

} // namespace kestrava
