#include "ntrip/ChunkedBody.h"

#include <algorithm>
#include <cctype>

namespace kestrava {
namespace {
constexpr std::size_t kMaxLine = 256;
constexpr std::size_t kMaxChunk = std::size_t{1} << 24;
} // namespace

void ChunkedBody::feed(const std::uint8_t* bytes, std::size_t count, std::string& body) {
    std::size_t at = 0;
    while (at < count && m_state != State::Done && m_state != State::Broken) {
        if (m_state == State::Data) {
            const std::size_t take = std::min(m_left, count - at);
            body.append(reinterpret_cast<const char*>(bytes + at), take);
            at += take;
            m_left -= take;
            if (m_left == 0) {
                m_state = State::DataEnd;
            }
            continue;
        }
        const char c = static_cast<char>(bytes[at++]);
        if (c != '\n') {
            if (m_line.size() >= kMaxLine) {
                m_state = State::Broken;
            } else if (c != '\r') {
                m_line.push_back(c);
            }
            continue;
        }
        const std::string line = std::move(m_line);
        m_line.clear();
        switch (m_state) {
        case State::DataEnd:
            m_state = line.empty() ? State::Size : State::Broken;
            break;
        case State::Trailer:
            if (line.empty()) {
                m_state = State::Done;
            }
            break;
        case State::Size: {
            const std::string size = line.substr(0, line.find(';'));
            std::size_t value = 0;
            bool digits = !size.empty();
            for (const char h : size) {
                if (std::isxdigit(static_cast<unsigned char>(h)) == 0 || value > kMaxChunk) {
                    digits = false;
                    break;
                }
                value =
                    value * 16 + static_cast<std::size_t>(
                                     std::isdigit(static_cast<unsigned char>(h)) != 0
                                         ? h - '0'
                                         : std::tolower(static_cast<unsigned char>(h)) - 'a' + 10);
            }
            if (!digits || value > kMaxChunk) {
                m_state = State::Broken;
            } else if (value == 0) {
                m_state = State::Trailer;
            } else {
                m_left = value;
                m_state = State::Data;
            }
            break;
        }
        default:
            break;
        }
    }
}

} // namespace kestrava
