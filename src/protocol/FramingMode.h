#pragma once

#include <cstdint>

namespace kestrava {

// Which framing the stream splitter looks for in received bytes.
enum FramingMode : std::int32_t {
    FRAMING_DOLLAR = 0, // the receiver's own dollar frames
    FRAMING_RADIO = 1,  // frames of the internal UHF radio module
    FRAMING_PACKET = 2, // packets of a code-4 motherboard
    FRAMING_ASCII = 3,  // version text of a code-0 motherboard
    FRAMING_IDLE = 4,   // nothing awaited: received bytes are not split at all
};

} // namespace kestrava
