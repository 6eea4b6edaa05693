#pragma once

#include "protocol/ExpectedReply.h"
#include "protocol/ReplyData.h"
#include "protocol/ReplySink.h"

#include <cstdint>

namespace kestrava {

// Hands one decoded reply to the sink and returns ExpectedReply to idle at the moment the reply's
// kind calls for. The sink runs synchronously and may send a follow-up command from inside it.
class ReplyDelivery {
public:
    enum class Reset {
        Before, // idle before the sink runs: the handler's follow-up command arms a fresh record
        After,  // idle once the sink has returned: the handler still sees what was awaited
        None,   // the record stays armed: the next reply of the same exchange is awaited
    };

    // With Reset::After the record is returned to idle only if the sink left it as it was: a
    // command that the sink sent meanwhile keeps the reply it armed.
    static void deliver(ExpectedReply& expected, ReplySink& sink, const ReplyData& data,
                        std::int32_t kind, Reset reset);

    // The same, for a reply that carries a number (or 0).
    static void deliverValue(ExpectedReply& expected, ReplySink& sink, std::int32_t value,
                             std::int32_t kind, Reset reset) {
        deliver(expected, sink, ReplyData{value}, kind, reset);
    }
};

} // namespace kestrava
