#include "protocol/ReplyDelivery.h"

namespace kestrava {

namespace {

bool sameArming(const ExpectedReply& a, const ExpectedReply& b) {
    return a.replyClass == b.replyClass && a.replySub == b.replySub && a.kind == b.kind &&
           a.mode == b.mode;
}

} // namespace

void ReplyDelivery::deliver(ExpectedReply& expected, ReplySink& sink, const ReplyData& data,
                            std::int32_t kind, Reset reset) {
    switch (reset) {
    case Reset::Before:
        expected.reset();
        sink.onReply(data, kind);
        break;
    case Reset::After: {
        const ExpectedReply seen = expected;
        sink.onReply(data, kind);
        if (sameArming(expected, seen)) {
            expected.reset();
        }
        break;
    }
    case Reset::None:
        sink.onReply(data, kind);
        break;
    }
}

} // namespace kestrava
