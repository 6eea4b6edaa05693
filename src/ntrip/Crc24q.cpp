#include "ntrip/Crc24q.h"

namespace kestrava {

std::uint32_t Crc24q(const std::uint8_t* bytes, std::size_t count) {
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < count; ++i) {
        crc ^= static_cast<std::uint32_t>(bytes[i]) << 16;
        for (int bit = 0; bit < 8; ++bit) {
            crc <<= 1;
            if ((crc & 0x1000000u) != 0) {
                crc ^= 0x1864CFBu;
            }
        }
    }
    return crc & 0xFFFFFFu;
}

} // namespace kestrava
