#pragma once

#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <cstdint>

namespace kestrava {

// Bounded reads of the fields of one reply. Every accessor checks its offset against the size it
// was given, so a decoder that asks for a field beyond the reply gets 0 or a shorter text instead
// of bytes from outside it.
class FieldReader {
public:
    FieldReader(const Byte* data, std::size_t size) : m_data(data), m_size(data ? size : 0) {}

    std::size_t size() const { return m_size; }
    const Byte* data() const { return m_data; }

    // True when bytes offset .. offset+width-1 all lie inside.
    bool has(std::size_t offset, std::size_t width = 1) const {
        return offset <= m_size && width <= m_size - offset;
    }

    Byte byte(std::size_t offset) const { return offset < m_size ? m_data[offset] : Byte{0}; }

    std::uint32_t bigEndian16(std::size_t offset) const {
        return (static_cast<std::uint32_t>(byte(offset)) << 8) | byte(offset + 1);
    }

    std::uint32_t bigEndian32(std::size_t offset) const {
        return (bigEndian16(offset) << 16) | bigEndian16(offset + 2);
    }

    std::uint32_t littleEndian16(std::size_t offset) const {
        return byte(offset) | (static_cast<std::uint32_t>(byte(offset + 1)) << 8);
    }

    std::uint32_t littleEndian32(std::size_t offset) const {
        return littleEndian16(offset) | (littleEndian16(offset + 2) << 16);
    }

    // The fixed-width text field at offset, cut at its first zero byte and at the end of the data.
    ByteString text(std::size_t offset, std::size_t width) const {
        ByteString out;
        for (std::size_t i = 0; i < width && offset + i < m_size; ++i) {
            const Byte c = m_data[offset + i];
            if (c == 0) {
                break;
            }
            out.push_back(static_cast<char>(c));
        }
        return out;
    }

    // The view of the bytes from offset on (empty when offset lies beyond the data).
    FieldReader from(std::size_t offset) const {
        return offset < m_size ? FieldReader(m_data + offset, m_size - offset)
                               : FieldReader(nullptr, 0);
    }

private:
    const Byte* m_data;
    std::size_t m_size;
};

} // namespace kestrava
