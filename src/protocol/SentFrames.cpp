#include "protocol/SentFrames.h"

#include "protocol/ReplyKind.h"

#include <algorithm>

namespace kestrava {

namespace {

constexpr std::size_t kHeader = 4; // '$' '$' class sub, or as much of any other frame

} // namespace

void SentFrames::note(const Byte* frame, std::size_t length) {
    if (frame == nullptr || length == 0) {
        return;
    }
    m_frames[m_next].assign(frame, frame + length);
    m_next = (m_next + 1) % kKept;
}

void SentFrames::clear() {
    for (Bytes& frame : m_frames) {
        frame.clear();
    }
    m_next = 0;
}

std::size_t SentFrames::copyAt(const Byte* at, std::size_t present) const {
    if (at == nullptr) {
        return 0;
    }
    for (const Bytes& frame : m_frames) {
        const std::size_t compared = std::min(present, frame.size());
        if (frame.size() < kHeader || compared < kHeader) {
            continue;
        }
        if (std::equal(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(compared), at)) {
            return frame.size();
        }
    }
    return 0;
}

bool SentFrames::answerCopiesCommand(std::int32_t kind) {
    switch (kind) {
    case KindRadioConnected:
    case KindVoiceOn:
    case KindVoiceOff:
    case KindStaticVoiceOff:
    case KindStoreLocationSet:
        return true;
    default:
        return false;
    }
}

} // namespace kestrava
