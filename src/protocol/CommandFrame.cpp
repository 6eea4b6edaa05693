#include "protocol/CommandFrame.h"

#include "protocol/Checksums.h"

#include <algorithm>

namespace kestrava {

std::size_t CommandFrame::build(Bytes& out, Byte cls, Byte sub, std::span<const Byte> payload) {
    const std::size_t length = std::min(payload.size(), kMaxPayload);
    out.clear();
    out.reserve(length + kOverhead);
    out.push_back(kDollar);
    out.push_back(kDollar);
    out.push_back(cls);
    out.push_back(sub);
    out.push_back(static_cast<Byte>(length & 0xFFu));
    out.push_back(static_cast<Byte>((length >> 8) & 0xFFu));
    out.insert(out.end(), payload.begin(), payload.begin() + static_cast<std::ptrdiff_t>(length));
    out.push_back(DollarChecksum(out.data(), 2, out.size() - 1));
    out.push_back(0x0D);
    out.push_back(0x0A);
    return out.size();
}

Bytes CommandFrame::make(Byte cls, Byte sub, std::span<const Byte> payload) {
    Bytes out;
    build(out, cls, sub, payload);
    return out;
}

} // namespace kestrava
