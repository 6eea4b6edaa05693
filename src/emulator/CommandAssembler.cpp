#include "emulator/CommandAssembler.h"

namespace kestrava {

namespace {

constexpr Byte kDollar = 0x24;
constexpr Byte kRadioStart = 0x96;
constexpr Byte kRadioMarker = 0x80;
constexpr Byte kPacketStart = 0x02;
constexpr std::size_t kFirmwareStartSize = 10;

bool isTextByte(Byte b) {
    return (b >= 0x20 && b < 0x7F && b != kDollar) || b == '\r' || b == '\n' || b == '\t';
}

} // namespace

void CommandAssembler::append(std::span<const Byte> bytes) {
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
}

void CommandAssembler::discardPartial() {
    skip(m_buffer.size());
}

void CommandAssembler::skip(std::size_t count) {
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(count));
    m_consumed += count;
}

std::optional<HostCommand> CommandAssembler::take(HostCommand::Type type, std::size_t length) {
    HostCommand command;
    command.type = type;
    command.bytes.assign(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(length));
    skip(length);
    command.endOffset = m_consumed;
    return command;
}

std::optional<HostCommand> CommandAssembler::next() {
    while (!m_buffer.empty()) {
        const Byte first = m_buffer[0];
        const std::size_t have = m_buffer.size();
        if (first == kDollar) {
            if (have < 2) {
                return std::nullopt;
            }
            if (m_buffer[1] != kDollar) {
                skip(1);
                continue;
            }
            if (have < 4) {
                return std::nullopt;
            }
            const Byte cls = m_buffer[2];
            const Byte sub = m_buffer[3];
            if (cls == 'V' && sub == 'S') {
                if (have < kFirmwareStartSize) {
                    return std::nullopt;
                }
                return take(HostCommand::Type::FirmwareStart, kFirmwareStartSize);
            }
            if (cls == 'V' && sub == 'X') {
                if (m_blockSize == 0) {
                    skip(2);
                    continue;
                }
                if (have < m_blockSize) {
                    return std::nullopt;
                }
                return take(HostCommand::Type::FirmwareBlock, m_blockSize);
            }
            if (have < 6) {
                return std::nullopt;
            }
            const std::size_t frame = (static_cast<std::size_t>(m_buffer[4]) |
                                       (static_cast<std::size_t>(m_buffer[5]) << 8)) +
                                      9;
            if (frame > kMaxDollarFrame) {
                skip(1);
                continue;
            }
            if (have < frame) {
                return std::nullopt;
            }
            return take(HostCommand::Type::Dollar, frame);
        }
        if (first == kRadioStart) {
            if (have < 3) {
                return std::nullopt;
            }
            const std::size_t n = m_buffer[1];
            if (n < 3 || m_buffer[2] != kRadioMarker) {
                skip(1);
                continue;
            }
            if (have < n + 2) {
                return std::nullopt;
            }
            return take(HostCommand::Type::Radio, n + 2);
        }
        if (first == kPacketStart) {
            if (have < 4) {
                return std::nullopt;
            }
            const std::size_t length = static_cast<std::size_t>(m_buffer[3]) + 6;
            if (have < length) {
                return std::nullopt;
            }
            return take(HostCommand::Type::Packet, length);
        }
        if (isTextByte(first) && first != '\r' && first != '\n') {
            std::size_t end = 0;
            while (end < have && isTextByte(m_buffer[end]) && m_buffer[end] != '\n') {
                ++end;
            }
            if (end == have) {
                if (have > kMaxTextLine) {
                    skip(have);
                }
                return std::nullopt;
            }
            if (m_buffer[end] != '\n') {
                // A line broken by a byte that no text holds: the text so far is noise.
                skip(end);
                continue;
            }
            std::size_t length = end;
            while (length > 0 && m_buffer[length - 1] == '\r') {
                --length;
            }
            auto command = take(HostCommand::Type::Text, end + 1);
            command->bytes.resize(length);
            return command;
        }
        skip(1);
    }
    return std::nullopt;
}

} // namespace kestrava
