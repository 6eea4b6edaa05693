#pragma once

#include "protocol/FramingMode.h"
#include "protocol/ProtocolTypes.h"
#include "protocol/ReplyKind.h"

#include <cstdint>

namespace kestrava {

// What the one command in flight waits for. A builder arms it before its frame is written; the
// decoders read it and, when a reply has been delivered, return it to idle. A newer command
// simply overwrites it: there is no queue.
struct ExpectedReply {
    Byte replyClass = 0;              // class byte of the awaited dollar reply
    Byte replySub = 0;                // sub byte of the awaited dollar reply
    std::int32_t kind = KindNone;     // the ReplyKind awaited; 0 = nothing pending
    std::int32_t mode = FRAMING_IDLE; // the FramingMode the splitter applies

    void arm(Byte cls, Byte sub, std::int32_t replyKind, std::int32_t framing = FRAMING_DOLLAR) {
        replyClass = cls;
        replySub = sub;
        kind = replyKind;
        mode = framing;
    }
    // Idle: kind 0, mode 4. The class and sub bytes are left as they were.
    void reset() {
        kind = KindNone;
        mode = FRAMING_IDLE;
    }
    bool isIdle() const { return mode == FRAMING_IDLE; }
};

} // namespace kestrava
