#pragma once

#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kestrava {

// Bounded writes into a zero-filled payload of fixed size. Every field is clipped to the
// payload, so a field that a caller places beyond it is dropped instead of growing or
// overrunning the buffer.
class PayloadWriter {
public:
    explicit PayloadWriter(std::size_t size) : m_bytes(size, 0) {}

    const Bytes& bytes() const { return m_bytes; }
    Bytes& bytes() { return m_bytes; }

    void byte(std::size_t offset, Byte value) {
        if (offset < m_bytes.size()) {
            m_bytes[offset] = value;
        }
    }

    void bigEndian16(std::size_t offset, std::uint32_t value) {
        byte(offset, static_cast<Byte>((value >> 8) & 0xFFu));
        byte(offset + 1, static_cast<Byte>(value & 0xFFu));
    }

    void bigEndian32(std::size_t offset, std::uint32_t value) {
        bigEndian16(offset, value >> 16);
        bigEndian16(offset + 2, value & 0xFFFFu);
    }

    // A fixed-width text field: the text cut to width; the rest of the field stays zero.
    void text(std::size_t offset, std::size_t width, std::string_view value) {
        for (std::size_t i = 0; i < width && i < value.size(); ++i) {
            byte(offset + i, static_cast<Byte>(value[i]));
        }
    }

private:
    Bytes m_bytes;
};

} // namespace kestrava
