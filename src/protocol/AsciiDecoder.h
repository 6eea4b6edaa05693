#pragma once

#include "protocol/DecoderState.h"
#include "protocol/ExpectedReply.h"
#include "protocol/ProtocolTypes.h"
#include "protocol/ReplySink.h"

#include <cstddef>
#include <string_view>

namespace kestrava {

// Decodes the motherboard's version log from a chunk of text. The chunk must hold the word
// "VERSION" somewhere after its first character; the quoted fields after the word are taken as
// model, serial, (skipped) and software version, and delivered as kind 10 with
// {serial, model, software version}. The walk stops at the first empty or unterminated field; the
// fields it did not reach stay empty. No byte outside chunk[0 .. count-1] is read.
class AsciiDecoder {
public:
    static void decode(const Byte* chunk, std::size_t count, ExpectedReply& expected,
                       DecoderState& state, ReplySink& sink);

    // The three texts of a chunk; false when the chunk holds no version log (no "VERSION", or
    // the word at the very first character).
    static bool parse(std::string_view text, ByteString& serial, ByteString& model,
                      ByteString& software);
};

} // namespace kestrava
