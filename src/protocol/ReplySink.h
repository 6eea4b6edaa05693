#pragma once

#include "protocol/ReplyData.h"

#include <cstdint>

namespace kestrava {

// Receives MSG_REPLY: one decoded reply, synchronously, from inside the decoder. The handler may
// send a follow-up command (which re-arms ExpectedReply) before it returns.
class ReplySink {
public:
    virtual ~ReplySink() = default;
    virtual void onReply(const ReplyData& data, std::int32_t kind) = 0;
};

} // namespace kestrava
