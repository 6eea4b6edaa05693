#include "protocol/LastSentFrame.h"

#include "protocol/ReplyKind.h"

#include <algorithm>

namespace kestrava {

namespace {

constexpr std::size_t kHeader = 4; // '$' '$' class sub, or as much of any other frame

} // namespace

void LastSentFrame::note(const Byte* frame, std::size_t length) {
    if (frame == nullptr) {
        return;
    }
    m_last.assign(frame, frame + length);
}

std::size_t LastSentFrame::copyAt(const Byte* at, std::size_t present) const {
    const std::size_t compared = std::min(present, m_last.size());
    if (at == nullptr || m_last.size() < kHeader || compared < kHeader) {
        return 0;
    }
    return std::equal(m_last.begin(), m_last.begin() + static_cast<std::ptrdiff_t>(compared), at)
               ? m_last.size()
               : 0;
}

bool LastSentFrame::answerCopiesCommand(std::int32_t kind) {
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
