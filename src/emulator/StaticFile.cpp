#include "emulator/StaticFile.h"

#include <cstdio>

namespace kestrava {

namespace {

std::uint64_t mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

} // namespace

StaticFile::StaticFile(ByteString name, ByteString extension, std::uint32_t size,
                       std::uint16_t fatDate, std::uint16_t fatTime)
    : m_name(name.substr(0, 8)), m_extension(extension.substr(0, 3)), m_size(size),
      m_fatDate(fatDate), m_fatTime(fatTime), m_seed(0xCBF29CE484222325ull) {
    // FNV-1a over "name.ext": the seed of the contents.
    const ByteString full = m_name + "." + m_extension;
    for (const char c : full) {
        m_seed ^= static_cast<Byte>(c);
        m_seed *= 0x100000001B3ull;
    }
}

StaticFile StaticFile::generated(std::uint32_t index) {
    char name[16];
    std::snprintf(name, sizeof name, "KV%06u", static_cast<unsigned>(index % 1000000u));
    // Sizes cycle through small, odd and multi-block values so that paging and block splitting
    // are exercised: 0, 1000, 4095, 4096, 8191, 20000, 3000 + 4096*index ...
    static constexpr std::uint32_t kSizes[] = {1000, 4096, 8191, 20000, 4095, 2048, 12289, 0};
    const std::uint32_t size = index < 8 ? kSizes[index] : 3000u + 4096u * (index % 32u);
    // 2026-03-01 plus index days (day-of-month wraps inside March), 08:00:00 plus index minutes.
    const std::uint16_t day = static_cast<std::uint16_t>(1 + index % 28u);
    const std::uint16_t date = static_cast<std::uint16_t>(((2026 - 1980) << 9) | (3 << 5) | day);
    const std::uint16_t minute = static_cast<std::uint16_t>(index % 60u);
    const std::uint16_t time = static_cast<std::uint16_t>((8 << 11) | (minute << 5) | 7);
    return StaticFile(name, "STH", size, date, time);
}

Byte StaticFile::byteAt(std::uint32_t offset) const {
    return static_cast<Byte>(mix(m_seed ^ (static_cast<std::uint64_t>(offset) << 8)) & 0xFFu);
}

Bytes StaticFile::contents() const {
    Bytes out;
    appendContents(out, 0, m_size);
    return out;
}

void StaticFile::appendContents(Bytes& out, std::uint32_t offset, std::uint32_t count) const {
    out.reserve(out.size() + count);
    for (std::uint32_t i = 0; i < count && offset + i < m_size; ++i) {
        out.push_back(byteAt(offset + i));
    }
}

std::array<Byte, StaticFile::kEntrySize> StaticFile::listEntry() const {
    std::array<Byte, kEntrySize> entry{};
    for (std::size_t i = 0; i < m_name.size(); ++i) {
        entry[i] = static_cast<Byte>(m_name[i]);
    }
    for (std::size_t i = 0; i < m_extension.size(); ++i) {
        entry[8 + i] = static_cast<Byte>(m_extension[i]);
    }
    entry[14] = static_cast<Byte>(m_fatTime & 0xFFu);
    entry[15] = static_cast<Byte>(m_fatTime >> 8);
    entry[16] = static_cast<Byte>(m_fatDate & 0xFFu);
    entry[17] = static_cast<Byte>(m_fatDate >> 8);
    for (std::size_t i = 0; i < 4; ++i) {
        entry[28 + i] = static_cast<Byte>((m_size >> (8 * i)) & 0xFFu);
    }
    return entry;
}

bool StaticFile::isNamedBy(const Byte* field8) const {
    std::size_t length = 0;
    while (length < 8 && field8[length] != 0 && field8[length] != '.') {
        ++length;
    }
    return length > 0 && ByteString(reinterpret_cast<const char*>(field8), length) == m_name;
}

} // namespace kestrava
