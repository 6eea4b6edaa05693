#pragma once

#include "protocol/ProtocolTypes.h"

#include <array>
#include <cstdint>

namespace kestrava {

// One raw data file in the receiver's storage. Its contents are not stored: every byte is a
// function of the file's name, extension and offset, so any copy downloaded from the emulator can
// be checked byte for byte without the emulator holding megabytes.
class StaticFile {
public:
    static constexpr std::size_t kEntrySize = 32;

    // name is cut to 8 bytes and extension to 3. fatDate and fatTime are FAT directory values.
    StaticFile(ByteString name, ByteString extension, std::uint32_t size, std::uint16_t fatDate,
               std::uint16_t fatTime);

    // The index-th file of a generated set: names KV<index>, sizes and times varied but fixed.
    static StaticFile generated(std::uint32_t index);

    const ByteString& name() const { return m_name; }
    const ByteString& extension() const { return m_extension; }
    std::uint32_t size() const { return m_size; }
    std::uint16_t fatDate() const { return m_fatDate; }
    std::uint16_t fatTime() const { return m_fatTime; }

    Byte byteAt(std::uint32_t offset) const;
    Bytes contents() const;
    void appendContents(Bytes& out, std::uint32_t offset, std::uint32_t count) const;

    // The 32-byte list entry: name (8), extension (3), time at 14 and date at 16 (little-endian),
    // size at 28 (little-endian); everything else zero.
    std::array<Byte, kEntrySize> listEntry() const;

    // True when an 8-byte name field of a delete or download command names this file. The field
    // ends at its first zero byte or full stop, so "KV000001" and "KV000001.STH" both match.
    bool isNamedBy(const Byte* field8) const;

private:
    ByteString m_name;
    ByteString m_extension;
    std::uint32_t m_size;
    std::uint16_t m_fatDate;
    std::uint16_t m_fatTime;
    std::uint64_t m_seed;
};

} // namespace kestrava
