#pragma once

#include "protocol/FieldReader.h"
#include "protocol/NetParams.h"

#include <cstddef>
#include <optional>

namespace kestrava {

// The network parameter record from the payload of a 'G','C' reply.
class NetParamsDecoder {
public:
    // The short record: every field up to the end of the server name (40 bytes from 120). A
    // shorter payload is not decoded, so that a cut reply never reaches the page (and from there
    // the settings file and the next set) with fields silently emptied.
    static constexpr std::size_t kMinPayload = 160;
    // A reply frame (without CR LF) of at least this many bytes is the long form, whose login
    // may continue at payload offset 160.
    static constexpr std::size_t kLongFormFrame = 191;

    // payload: the reply's payload; frameLength: the whole frame without CR LF.
    static std::optional<NetParams> decode(const FieldReader& payload, std::size_t frameLength);

    // Splits a decoded "user:password" login at its first colon. Without a colon the user name is
    // empty and the password is the whole text.
    static void splitLogin(const ByteString& login, NetParams& params);

    // The Base64 login text as stored in the payload, 0xFF bytes made zero: the 30-byte field of
    // the short form, or the 60-byte joined text of the long form.
    static ByteString loginField(const FieldReader& payload, std::size_t frameLength);
};

} // namespace kestrava
