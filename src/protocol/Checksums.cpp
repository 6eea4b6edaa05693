#include "protocol/Checksums.h"

namespace kestrava {

Byte DollarChecksum(const Byte* bytes, std::size_t first, std::size_t last) {
    Byte sum = 0;
    for (std::size_t i = first; i <= last; ++i) {
        sum ^= bytes[i];
    }
    return sum;
}

Byte RadioChecksum(const Byte* bytes, std::size_t count) {
    Byte sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        sum ^= bytes[i];
    }
    return sum;
}

Byte PacketChecksum(const Byte* bytes, std::size_t n) {
    unsigned sum = 0;
    for (std::size_t i = 1; i < n; ++i) {
        sum += bytes[i];
    }
    return static_cast<Byte>(sum & 0xFFu);
}

} // namespace kestrava
