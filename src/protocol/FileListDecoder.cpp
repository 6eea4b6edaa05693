#include "protocol/FileListDecoder.h"

#include <cstdio>

namespace kestrava {

ByteString FileListDecoder::sizeText(std::uint32_t sizeBytes) {
    const std::uint32_t kilobytes = sizeBytes > 1023 ? sizeBytes / 1024 : 1;
    char text[16] = {};
    std::snprintf(text, sizeof text, "%uK", static_cast<unsigned>(kilobytes));
    return text;
}

FileListRow FileListDecoder::decodeEntry(const FieldReader& entry) {
    FileListRow row;
    // Name, '.', extension as one text that ends at its first zero byte: a name shorter than
    // eight characters therefore shows without its extension.
    ByteString name;
    for (std::size_t i = 0; i < 11; ++i) {
        if (i == 8) {
            name.push_back('.');
        }
        name.push_back(static_cast<char>(entry.byte(i)));
    }
    row.name = name.substr(0, name.find('\0'));

    row.fatTime = static_cast<std::uint16_t>(entry.littleEndian16(14));
    row.fatDate = static_cast<std::uint16_t>(entry.littleEndian16(16));
    row.hour = (row.fatTime >> 11) & 0x1F;
    row.minute = (row.fatTime >> 5) & 0x3F;
    row.second = (row.fatTime & 0x1F) * 2;
    row.year = 1980 + ((row.fatDate >> 9) & 0x7F);
    row.month = (row.fatDate >> 5) & 0x0F;
    row.day = row.fatDate & 0x1F;

    row.sizeBytes = entry.littleEndian32(28);
    row.sizeText = sizeText(row.sizeBytes);
    return row;
}

std::vector<FileListRow> FileListDecoder::decode(const FieldReader& payload) {
    std::vector<FileListRow> rows;
    const std::size_t entries = payload.size() / kEntrySize;
    rows.reserve(entries);
    for (std::size_t k = 0; k < entries; ++k) {
        rows.push_back(decodeEntry(payload.from(k * kEntrySize)));
    }
    return rows;
}

} // namespace kestrava
