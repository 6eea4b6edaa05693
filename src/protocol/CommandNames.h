#pragma once

#include "protocol/ExpectedReply.h"
#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <string_view>

namespace kestrava {

// Names the command a frame carries, from its bytes and the reply it armed: the name a trace
// shows for what was sent. Commands that share a header are told apart by their payload, and the
// three voice-block setters (whose frames differ only in one payload byte) by the kind armed.
class CommandNames {
public:
    // The command's name ("ReadMainInfo"), or "unknown" for bytes that are no command.
    static std::string_view identify(const Byte* frame, std::size_t count,
                                     const ExpectedReply& armed);
};

} // namespace kestrava
