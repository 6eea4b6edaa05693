#include "ntrip/Rtcm3Framer.h"

#include "ntrip/Crc24q.h"

#include <algorithm>

namespace kestrava {

namespace {
constexpr std::size_t kHeader = 3;
constexpr std::size_t kCrc = 3;
} // namespace

Rtcm3Framer::Rtcm3Framer(FrameHandler handler) : m_handler(std::move(handler)) {}

void Rtcm3Framer::feed(const std::uint8_t* bytes, std::size_t count) {
    m_buffer.insert(m_buffer.end(), bytes, bytes + count);
    scan();
}

void Rtcm3Framer::scan() {
    std::size_t at = 0;
    while (true) {
        const auto start = std::find(m_buffer.begin() + static_cast<std::ptrdiff_t>(at),
                                     m_buffer.end(), kPreamble);
        const auto skipped = static_cast<std::size_t>(start - m_buffer.begin()) - at;
        m_skipped += skipped;
        at += skipped;
        if (m_buffer.size() - at < kHeader) {
            break;
        }
        const std::uint8_t* head = m_buffer.data() + at;
        if ((head[1] & 0xFCu) != 0) { // the six reserved bits must be zero
            ++m_skipped;
            ++at;
            continue;
        }
        const std::size_t length = (static_cast<std::size_t>(head[1] & 0x03u) << 8) | head[2];
        const std::size_t total = kHeader + length + kCrc;
        if (m_buffer.size() - at < total) {
            break; // the rest has not arrived yet
        }
        const std::uint32_t sent = (static_cast<std::uint32_t>(head[total - 3]) << 16) |
                                   (static_cast<std::uint32_t>(head[total - 2]) << 8) |
                                   head[total - 1];
        if (Crc24q(head, kHeader + length) != sent) {
            ++m_bad;
            ++m_skipped;
            ++at;
            continue;
        }
        ++m_valid;
        if (m_handler) {
            m_handler(head + kHeader, length);
        }
        at += total;
    }
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(at));
}

int Rtcm3Framer::messageNumber(const std::uint8_t* payload, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    return (payload[0] << 4) | (payload[1] >> 4);
}

std::vector<std::uint8_t> Rtcm3Framer::frame(const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> out;
    const std::size_t length = std::min(payload.size(), kMaxPayload);
    out.push_back(kPreamble);
    out.push_back(static_cast<std::uint8_t>(length >> 8));
    out.push_back(static_cast<std::uint8_t>(length & 0xFFu));
    out.insert(out.end(), payload.begin(), payload.begin() + static_cast<std::ptrdiff_t>(length));
    const std::uint32_t crc = Crc24q(out.data(), out.size());
    out.push_back(static_cast<std::uint8_t>(crc >> 16));
    out.push_back(static_cast<std::uint8_t>(crc >> 8));
    out.push_back(static_cast<std::uint8_t>(crc));
    return out;
}

} // namespace kestrava
