#include "protocol/ReplyEnd.h"

#include "protocol/CommandFrame.h"
#include "protocol/FramingMode.h"

namespace kestrava {

namespace {

constexpr Byte kCr = 0x0D;
constexpr Byte kLf = 0x0A;

bool endsWithCrLf(const Byte* bytes, std::size_t count) {
    return count >= 2 && bytes[count - 2] == kCr && bytes[count - 1] == kLf;
}

bool dollarComplete(const ExpectedReply& expected, const Byte* bytes, std::size_t count,
                    const LastSentFrame* sent) {
    const Byte cls = expected.replyClass;
    const Byte sub = expected.replySub;
    const bool copiesCount = LastSentFrame::answerCopiesCommand(expected.kind);
    for (std::size_t i = 0; i + 5 < count; ++i) {
        if (bytes[i] != CommandFrame::kDollar || bytes[i + 1] != CommandFrame::kDollar ||
            bytes[i + 2] != cls || bytes[i + 3] != sub) {
            continue;
        }
        const std::size_t present = count - i;
        if (sent != nullptr && !copiesCount) {
            if (const std::size_t copy = sent->copyAt(bytes + i, present); copy > 0) {
                i += copy - 1; // the echo of a command: the answer is still to come
                continue;
            }
        }
        if (cls == 'V' && sub == 'S') {
            // 8 bytes that count, then whatever the loader adds, closed by CR LF.
            return present >= 10 && endsWithCrLf(bytes, count);
        }
        if (cls == 'V' && sub == 'X') {
            // Taken up to the end of the chunk: ten bytes that count (the status and the echoed
            // address), then the loader's trailer closed by CR LF.
            return present >= 12 && endsWithCrLf(bytes, count);
        }
        if (cls == 'I' && sub == 'C') {
            return false; // no length and no known end
        }
        const std::size_t frame = CommandFrame::payloadLength(bytes + i) + 7;
        return present >= frame + 2 && bytes[i + frame] == kCr && bytes[i + frame + 1] == kLf;
    }
    return false;
}

bool radioComplete(const Byte* bytes, std::size_t count, const LastSentFrame* sent) {
    for (std::size_t j = 0; j + 2 < count; ++j) {
        if (bytes[j] != 0x96 || bytes[j + 1] == 0 || bytes[j + 2] != 0x80) {
            continue;
        }
        if (sent != nullptr) {
            if (const std::size_t copy = sent->copyAt(bytes + j, count - j); copy > 0) {
                j += copy - 1; // the echo of the command: the answer is still to come
                continue;
            }
        }
        return count - j >= static_cast<std::size_t>(bytes[j + 1]) + 2;
    }
    return false;
}

bool packetComplete(const Byte* bytes, std::size_t count) {
    for (std::size_t k = 0; k + 3 < count; ++k) {
        if (bytes[k] != 0x02 || bytes[k + 2] != 0x07) {
            continue;
        }
        return count - k >= static_cast<std::size_t>(bytes[k + 3]) + 6;
    }
    return false;
}

} // namespace

bool ReplyEnd::complete(const ExpectedReply& expected, const Byte* bytes, std::size_t count,
                        const LastSentFrame* sent) {
    if (bytes == nullptr || count == 0 || expected.kind == 0) {
        return false;
    }
    switch (expected.mode) {
    case FRAMING_DOLLAR:
        return dollarComplete(expected, bytes, count, sent);
    case FRAMING_RADIO:
        return radioComplete(bytes, count, sent);
    case FRAMING_PACKET:
        return packetComplete(bytes, count);
    default:
        return false;
    }
}

} // namespace kestrava
