#pragma once

#include "protocol/CommandFrame.h"
#include "protocol/ExpectedReply.h"
#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace kestrava {

// Builds a dollar command and arms expected for the reply of the same class and sub, of the
// given kind, in dollar framing. Returns the frame's length.
inline std::size_t buildArmedDollar(Bytes& out, ExpectedReply& expected, Byte cls, Byte sub,
                                    std::int32_t kind, std::span<const Byte> payload = {}) {
    expected.arm(cls, sub, kind);
    return CommandFrame::build(out, cls, sub, payload);
}

} // namespace kestrava
